// QtPrinter renders listings into PDF files, checked with poppler's pdfinfo,
// pdffonts and pdftotext: pages, fonts, where each page starts, and the
// printer errors. How a line is laid out is in tests/data/shell/conversions.txt.
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>
#include <string>

#include "platform/fault.h"
#include "shell/qt_printer.h"
#include "tools/print_listing.h"

using qw::shell::QtPrinter;

namespace {

// A text of `lines` lines, CR LF ended: every tenth one, from the first, an indented comment.
std::string Text(int lines) {
  std::string text;
  for (int n = 1; n <= lines; ++n) {
    text += (n % 10 == 1 ? "   ' Note " : "Print \"caf\xE9\" ") + std::to_string(n) + "\r\n";
  }
  return text;
}

// The standard output of a poppler tool; nullopt when it did not run or failed.
std::optional<QString> Poppler(const QString& tool, const QStringList& args) {
  QProcess process;
  process.start(tool, args);
  if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
      process.exitCode() != 0) {
    qWarning("%s failed (poppler-utils installed?): %s", qPrintable(tool),
             qPrintable(process.readAllStandardError()));
    return std::nullopt;
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

int Pages(const QString& pdf) {
  const auto info = Poppler("pdfinfo", {pdf});
  if (!info) return -1;
  const auto match = QRegularExpression(R"(Pages:\s+(\d+))").match(*info);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// The first line on page `page` that holds more than blanks; "" for none.
QString FirstText(const QString& pdf, int page) {
  const QString p = QString::number(page);
  const auto text = Poppler("pdftotext", {"-f", p, "-l", p, "-layout", pdf, "-"});
  for (const QString& line : text.value_or("").split('\n')) {
    if (!line.trimmed().isEmpty()) return line.trimmed();
  }
  return "";
}

}  // namespace

class TestQtPrinter : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString Pdf(const QString& name) const { return dir_.filePath(name); }

 private slots:
  // A missing family falls back to a fixed-pitch font of the size asked for.
  void fontIsFixedPitch() {
    for (const char* family : {"Courier", "No Such Family Qw"}) {
      QtPrinter printer(Pdf("unused.pdf").toStdString());
      printer.SetFontName(family);
      printer.SetFontSize(11);
      printer.SetBold(true);
      const QFont font = printer.ListingFont();
      QVERIFY2(QFontInfo(font).fixedPitch(), qPrintable(QFontInfo(font).family()));
      QCOMPARE(font.pointSize(), 11);
      QVERIFY(font.bold());
    }
  }

  // The listing's own page breaks: 53 lines of text a page, line 54 opening page 2; comment
  // lines in a bold font, the others in a regular one.
  void listingPagesAndFonts() {
    const QString pdf = Pdf("listing.pdf");
    QtPrinter printer(pdf.toStdString());
    qw::PrintListing(printer, Text(60));
    QCOMPARE(Pages(pdf), 2);
    QCOMPARE(FirstText(pdf, 2), QString::fromUtf8("Print \"café\" 54"));
    const auto fonts = Poppler("pdffonts", {pdf});
    QVERIFY(fonts);
    QStringList names;  // after the two heading lines, one line per font, its name first
    for (const QString& line : fonts->split('\n').mid(2)) {
      if (!line.isEmpty()) names << line.section(' ', 0, 0);
    }
    QCOMPARE(names.size(), 2);
    QCOMPARE(names.filter("Bold").size(), 1);
  }

  // However short the paper, 55 lines fit on a page, and a 56th starts the next.
  void shortPaperHoldsAPage() {
    const QString pdf = Pdf("a7.pdf");
    QtPrinter printer(pdf.toStdString(), QPageSize(QPageSize::A7));
    for (int n = 1; n <= 56; ++n) printer.PrintLine("Line " + std::to_string(n));
    printer.EndDoc();
    QCOMPARE(Pages(pdf), 2);
    QCOMPARE(FirstText(pdf, 2), "Line 56");  // alone on its page, it reads
  }

  // One printer, two listings: two complete documents, the second from a fresh first page.
  void listingsInARow() {
    const QString pdf = Pdf("row.pdf");
    QtPrinter printer(pdf.toStdString());
    qw::PrintListing(printer, Text(60));
    QVERIFY(QFile::rename(pdf, Pdf("first.pdf")));
    qw::PrintListing(printer, Text(3));
    printer.EndDoc();  // nothing under way: no document
    QCOMPARE(Pages(Pdf("first.pdf")), 2);
    QCOMPARE(Pages(pdf), 1);
    QCOMPARE(FirstText(pdf, 1), "' Note 1");
  }

  // Both fail at the first line, with a description naming the cause; nothing is left started.
  void printerErrors_data() {
    QTest::addColumn<bool>("toPdf");
    QTest::addColumn<QString>("named");
    QTest::newRow("unwritable PDF") << true << Pdf("missing-folder/x.pdf");
    QTest::newRow("no default printer") << false << "No printer";
  }
  void printerErrors() {
    QFETCH(bool, toPdf);
    QFETCH(QString, named);
    if (!toPdf && !QPrinterInfo::defaultPrinter().isNull()) QSKIP("a default printer is installed");
    const auto printer =
        toPdf ? std::make_unique<QtPrinter>(named.toStdString()) : std::make_unique<QtPrinter>();
    try {
      printer->PrintLine(" ");
      QFAIL("no fault");
    } catch (const qw::Fault& fault) {
      QCOMPARE(fault.number(), 482);
      QVERIFY2(fault.description().find(named.toStdString()) != std::string::npos, fault.what());
    }
    printer->EndDoc();
  }
};

QTEST_MAIN(TestQtPrinter)
#include "tst_qt_printer.moc"
