// A printer that renders a listing as text, the layout `qwtool print --layout`
// writes: one line per printed line, prefixed by "B " when it is bold and by
// two blanks when it is not, and a line holding only a form feed (character
// 12) where a new page starts. Every line ends with CR LF. Font name and size
// do not show.
#pragma once

#include <string>
#include <string_view>

#include "platform/printer.h"

namespace qw {

class LayoutPrinter : public Printer {
 public:
  void SetFontName(const std::string& name) override;
  void SetFontSize(int points) override;
  void SetBold(bool bold) override;
  void PrintLine(std::string_view text) override;
  void NewPage() override;
  // Marks the document finished: printing into it, or ending it again, is then
  // fault 5 (Invalid procedure call).
  void EndDoc() override;

  // The layout so far.
  const std::string& text() const { return text_; }

 private:
  void CheckOpen() const;

  std::string text_;
  bool bold_ = false;
  bool ended_ = false;
};

}  // namespace qw
