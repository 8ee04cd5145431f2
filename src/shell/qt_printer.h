// QtPrinter: the listing printer on Qt's print support. It draws through a
// QPainter on a QPrinter, either on the system's default printer or into a PDF
// file. A document starts at the first line or page break after construction
// or after the last EndDoc, so one QtPrinter serves listing after listing, and
// the font settings carry over from one to the next.
//
// Every page holds at least kLinesPerPage lines: lines are one font line apart
// down the printable area, closer together when the paper is too short for
// that. A line that would fall below the page starts a new one. Lines are never
// wrapped; the page clips what runs past its right edge. Bytes are shown as
// Latin-1, as everywhere in the editor.
#pragma once

#include <QFont>
#include <QPageSize>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/printer.h"

class QPainter;
class QPrinter;

namespace qw::shell {

// A listing line as drawn: its bytes as Latin-1, each tab expanded with blanks
// to the next multiple of eight columns, as the edit pane shows it.
QString ListingLineText(std::string_view line);

class QtPrinter final : public Printer {
 public:
  static constexpr int kLinesPerPage = 55;

  // Prints on the system's default printer, as it is when a document starts.
  QtPrinter();
  // Writes each document into the PDF file `pdf_path` (bytes, the file
  // system's own encoding), replacing it. An invalid `page_size` keeps
  // QPrinter's default paper.
  explicit QtPrinter(std::string pdf_path, QPageSize page_size = QPageSize());
  ~QtPrinter() override;
  QtPrinter(const QtPrinter&) = delete;
  QtPrinter& operator=(const QtPrinter&) = delete;

  void SetFontName(const std::string& name) override;
  void SetFontSize(int points) override;
  void SetBold(bool bold) override;
  void PrintLine(std::string_view text) override;
  void NewPage() override;
  void EndDoc() override;

  // The font lines are drawn in: the family asked for, or the nearest
  // fixed-pitch font when that family is missing or proportional.
  QFont ListingFont() const;

 private:
  void StartDocumentIfNone();
  void StartPage();
  // Ends a document that a printer error interrupted, so that the next listing
  // starts a fresh one, and throws the printer error with `description`.
  [[noreturn]] void AbandonDocument(const std::string& description);
  void ApplyFont();

  std::optional<std::string> pdf_path_;  // none: the default printer
  QPageSize page_size_;
  std::string font_name_ = "Courier";
  int font_size_ = 10;
  bool bold_ = false;

  // The document under way; printer_ outlives painter_.
  std::unique_ptr<QPrinter> printer_;
  std::unique_ptr<QPainter> painter_;
  bool font_applied_ = false;
  double page_height_ = 0;  // of the printable area, in device pixels
  double line_step_ = 0;
  double baseline_ = 0;  // from the top of a line's slot
  double y_ = 0;         // top of the next line's slot
};

}  // namespace qw::shell
