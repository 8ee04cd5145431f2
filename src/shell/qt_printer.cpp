#include "shell/qt_printer.h"

#include <QByteArray>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "platform/fault.h"

namespace qw::shell {

namespace {

constexpr int kTabColumns = 8;
// A PDF page has no edge that cannot be printed on; it gets the half inch of
// margin a listing on paper would have.
constexpr double kPdfMarginMillimeters = 12.7;
// Slack for rounding when the last line of a page ends exactly at its bottom.
constexpr double kBottomSlack = 0.5;

}  // namespace

QString ListingLineText(std::string_view line) {
  const QString latin1 = QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
  if (!latin1.contains(QLatin1Char('\t'))) return latin1;
  QString expanded;
  expanded.reserve(latin1.size() + kTabColumns);
  for (const QChar c : latin1) {
    if (c == QLatin1Char('\t')) {
      expanded.append(QString(kTabColumns - expanded.size() % kTabColumns, QLatin1Char(' ')));
    } else {
      expanded.append(c);
    }
  }
  return expanded;
}

QtPrinter::QtPrinter() = default;

QtPrinter::QtPrinter(std::string pdf_path, QPageSize page_size)
    : pdf_path_(std::move(pdf_path)), page_size_(std::move(page_size)) {}

// A document still under way is ended by the painter: what was drawn is printed.
QtPrinter::~QtPrinter() = default;

void QtPrinter::SetFontName(const std::string& name) {
  if (name == font_name_) return;
  font_name_ = name;
  font_applied_ = false;
}

void QtPrinter::SetFontSize(int points) {
  if (points <= 0) {
    throw Fault(kFaultInvalidCall, "Invalid procedure call or argument: a font size of " +
                                       std::to_string(points) + " points");
  }
  if (points == font_size_) return;
  font_size_ = points;
  font_applied_ = false;
}

void QtPrinter::SetBold(bool bold) {
  if (bold == bold_) return;
  bold_ = bold;
  font_applied_ = false;
}

QFont QtPrinter::ListingFont() const {
  QFont font(QString::fromLatin1(font_name_.data(), static_cast<qsizetype>(font_name_.size())),
             font_size_);
  // Where the family is missing, the hints steer the font matcher to a fixed-pitch font.
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  if (!QFontInfo(font).fixedPitch()) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(font_size_);
  }
  font.setBold(bold_);
  return font;
}

void QtPrinter::StartDocumentIfNone() {
  if (painter_) return;
  std::unique_ptr<QPrinter> printer;
  if (pdf_path_) {
    const QString path = QFile::decodeName(QByteArray::fromStdString(*pdf_path_));
    // Opening the file first names the reason when it cannot be written, which
    // QPainter::begin does not.
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
      throw Fault(kFaultPrinter, "Printer error: cannot write the PDF file " + *pdf_path_ + " (" +
                                     probe.errorString().toStdString() + ")");
    }
    probe.close();
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    if (page_size_.isValid()) printer->setPageSize(page_size_);
    const double m = kPdfMarginMillimeters;
    printer->setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
  } else {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || QPrinterInfo::availablePrinterNames().isEmpty()) {
      throw Fault(kFaultPrinter,
                  "No printer is installed: there is no default printer to print on");
    }
    printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  }
  printer->setDocName(QStringLiteral("Quillwright listing"));
  printer->setCreator(QStringLiteral("Quillwright"));

  auto painter = std::make_unique<QPainter>();
  if (!painter->begin(printer.get())) {
    throw Fault(kFaultPrinter, pdf_path_ ? "Printer error: cannot start the PDF file " + *pdf_path_
                                         : "Printer error: the printer " +
                                               printer->printerName().toStdString() +
                                               " cannot start a document");
  }
  printer_ = std::move(printer);
  painter_ = std::move(painter);
  page_height_ = printer_->pageRect(QPrinter::DevicePixel).height();
  font_applied_ = false;
  y_ = 0;
}

void QtPrinter::ApplyFont() {
  painter_->setFont(ListingFont());
  const QFontMetricsF metrics(painter_->font(), printer_.get());
  line_step_ = std::min(metrics.lineSpacing(), page_height_ / kLinesPerPage);
  baseline_ = std::min(metrics.ascent(), line_step_ - metrics.descent());
  font_applied_ = true;
}

void QtPrinter::StartPage() {
  if (!printer_->newPage()) AbandonDocument("Printer error: the printer cannot start a new page");
  y_ = 0;
}

void QtPrinter::PrintLine(std::string_view text) {
  StartDocumentIfNone();
  if (!font_applied_) ApplyFont();
  if (y_ + line_step_ > page_height_ + kBottomSlack) StartPage();
  painter_->drawText(QPointF(0, y_ + baseline_), ListingLineText(text));
  y_ += line_step_;
}

void QtPrinter::NewPage() {
  StartDocumentIfNone();
  StartPage();
}

void QtPrinter::EndDoc() {
  if (!painter_) return;
  const bool ended = painter_->end() && printer_->printerState() != QPrinter::Error;
  painter_.reset();
  printer_.reset();
  if (!ended) {
    throw Fault(kFaultPrinter,
                pdf_path_ ? "Printer error: the PDF file " + *pdf_path_ + " could not be written"
                          : "Printer error: the printer did not take the document");
  }
}

void QtPrinter::AbandonDocument(const std::string& description) {
  painter_->end();
  painter_.reset();
  printer_.reset();
  throw Fault(kFaultPrinter, description);
}

}  // namespace qw::shell
