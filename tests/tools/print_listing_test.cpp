#include "tools/print_listing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fault.h"
#include "platform/limits.h"
#include "tools/print_layout.h"

namespace qw {
namespace {

std::string NumberedLine(int n) {
  return "n = " + std::to_string(n);
}

// Lines first..last of a text whose line n is NumberedLine(n), each with CR LF.
std::string NumberedText(int first, int last) {
  std::string text;
  for (int n = first; n <= last; ++n) text += NumberedLine(n) + "\r\n";
  return text;
}

// The layout of pages and bold comment lines is checked through qwtool print
// --layout (tests/data/cli/print_pages.sh). An empty text prints the margin;
// a listing starts a fresh page count in the weight it finds the printer in.
TEST(PrintListing, EmptyTextAndTheWeightTheListingFinds) {
  LayoutPrinter printer;
  PrintListing(printer, "");
  EXPECT_EQ(printer.text(), "   \r\n   \r\n");
  LayoutPrinter bold;
  bold.SetBold(true);  // as a listing ending with a comment leaves it
  PrintListing(bold, NumberedText(1, 30));
  std::string want = "B  \r\nB  \r\n";
  for (int n = 1; n <= 30; ++n) want += "  " + NumberedLine(n) + "\r\n";
  EXPECT_EQ(bold.text(), want);
}

// A printer that fails on its Nth printed line (never when N is 0).
class FailingPrinter : public Printer {
 public:
  explicit FailingPrinter(int fail_at) : fail_at_(fail_at) {}
  void SetFontName(const std::string&) override {}
  void SetFontSize(int) override {}
  void SetBold(bool) override {}
  void PrintLine(std::string_view) override {
    if (++lines == fail_at_) throw Fault(482, "Printer error");
  }
  void NewPage() override {}
  void EndDoc() override { ++end_docs; }

  int lines = 0;
  int end_docs = 0;

 private:
  int fail_at_;
};

TEST(PrintListing, PrinterFaultEscapesAndLeavesTheDocumentOpen) {
  struct Case {
    const char* name;
    int fail_at;
    int lines;
    int end_docs;
  };
  const Case cases[] = {
      {"NoFault", 0, 60, 1}, {"FirstMargin", 1, 1, 0}, {"MarginOfPageTwo", 56, 56, 0}};
  const std::string text = NumberedText(1, 56);
  for (const auto& c : cases) {
    FailingPrinter printer(c.fail_at);
    if (c.fail_at == 0) {
      PrintListing(printer, text);
    } else {
      EXPECT_THROW(PrintListing(printer, text), Fault) << c.name;
    }
    EXPECT_EQ(printer.lines, c.lines) << c.name;
    EXPECT_EQ(printer.end_docs, c.end_docs) << c.name;
  }
}

TEST(PrintListing, TextOverTheClassicLimitPrintsNothing) {
  const std::string text = NumberedText(1, 4000);  // over 32,767 bytes
  FailingPrinter printer(0);
  EXPECT_THAT([&] { PrintListing(printer, text); },
              ::testing::Throws<Fault>(::testing::Property(&Fault::number, kFaultOverflow)));
  EXPECT_EQ(printer.lines, 0);

  SetClassicLimits(false);
  PrintListing(printer, text);
  SetClassicLimits(true);
  EXPECT_EQ(printer.lines, 4000 + 2 * (4000 / 53 + 1));
}

}  // namespace
}  // namespace qw
