// The printer: what a printed listing needs from the platform's default printer, or from any
// other target that renders a listing (a PDF file, qwtool's text layout). Texts are bytes.
// Every operation may throw a Fault (platform/fault.h): no printer, a printer error.
#pragma once

#include <string>
#include <string_view>

namespace qw {

class Printer {
 public:
  virtual ~Printer() = default;
  virtual void SetFontName(const std::string& name) = 0;
  virtual void SetFontSize(int points) = 0;
  virtual void SetBold(bool bold) = 0;
  // Prints one line: the text, then a move to the start of the next line.
  virtual void PrintLine(std::string_view text) = 0;
  virtual void NewPage() = 0;
  // Ends the document and hands it to the printer.
  virtual void EndDoc() = 0;
};

// The printer of a port that has none: every operation is fault 482 ("Printer
// error"), its description ending with `what`.
class NoPrinter final : public Printer {
 public:
  explicit NoPrinter(std::string what = ": there is no printer to print on")
      : what_(std::move(what)) {}
  void SetFontName(const std::string&) override { Fail(); }
  void SetFontSize(int) override { Fail(); }
  void SetBold(bool) override { Fail(); }
  void PrintLine(std::string_view) override { Fail(); }
  void NewPage() override { Fail(); }
  void EndDoc() override { Fail(); }

 private:
  [[noreturn]] void Fail() const;
  std::string what_;
};

}  // namespace qw
