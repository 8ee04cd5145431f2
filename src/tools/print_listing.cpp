#include "tools/print_listing.h"

#include "platform/fault.h"
#include "platform/limits.h"
#include "platform/report.h"
#include "textlib/cliplib.h"
#include "tools/comment.h"
#include "tools/selection.h"

namespace qw {
namespace {

// The counter after a page's two margin lines, and the count past which the
// page is full: 53 lines of text a page.
constexpr int kCountAfterMargin = 5;
constexpr int kLastCountOnPage = 57;
constexpr int kCountAtNewPage = 3;

// The page line counter: 5 once a page's top margin is printed, one more for
// every line of text after it. It keeps its value after a listing until the
// next one sets it again.
int page_line_counter = 0;

void PrintTopMargin(Printer& printer) {
  printer.PrintLine(" ");
  printer.PrintLine(" ");
}

}  // namespace

void PrintListing(Printer& printer, std::string_view text) {
  Check16(static_cast<Int>(text.size()));
  page_line_counter = kCountAfterMargin;
  printer.SetFontName("Courier");
  printer.SetFontSize(10);
  // The first page's margin keeps whatever weight the printer was left in.
  PrintTopMargin(printer);
  const Int lines = MLCount(text, 0);
  for (Int n = 1; n <= lines; ++n) {
    const std::string line = MemoLine(text, 0, n);
    printer.SetBold(IsCommentLine(line));
    printer.PrintLine(line);
    CountPrintedLine(printer);
  }
  printer.EndDoc();
}

void CountPrintedLine(Printer& printer) {
  ++page_line_counter;
  if (page_line_counter > kLastCountOnPage) {
    StartPrintPage(printer);
    // A new page's margin is regular, whatever the last line before it was.
    printer.SetBold(false);
    PrintTopMargin(printer);
    page_line_counter = kCountAfterMargin;
  }
}

void StartPrintPage(Printer& printer) {
  page_line_counter = kCountAtNewPage;
  printer.NewPage();
}

void PrintSelection(Port& port) {
  RunTrapped(port, [&] {
    const std::optional<std::string> text = TextToWorkOn(
        port, EmptyPane::kBlank, "You have no text selected!", WholeText::kLeaveSelection);
    if (!text) return;
    try {
      PrintListing(port.DefaultPrinter(), *text);
    } catch (const Fault& f) {
      port.MessageBox(
          {NoticeKind::kFault, f.description(), "Print Error", Buttons::kOk, Icon::kStop});
    }
  });
}

}  // namespace qw
