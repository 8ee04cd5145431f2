#include "tools/print_listing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
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

// Builds an expected layout line by line.
class Layout {
 public:
  Layout& Line(const std::string& text, bool bold = false) {
    text_ += (bold ? "B " : "  ") + text + "\r\n";
    return *this;
  }
  Layout& Bold(const std::string& text) { return Line(text, true); }
  Layout& Margin(bool bold = false) { return Line(" ", bold).Line(" ", bold); }
  Layout& Numbered(int first, int last) {
    for (int n = first; n <= last; ++n) Line(NumberedLine(n));
    return *this;
  }
  Layout& NewPage() {
    text_ += "\f\r\n";
    return Margin();
  }
  const std::string& str() const { return text_; }

 private:
  std::string text_;
};

std::string Printed(const std::string& text) {
  LayoutPrinter printer;
  PrintListing(printer, text);
  return printer.text();
}

TEST(PrintListing, PagesOf53LinesCommentsBoldEachLineAsItStands) {
  const std::string page1 = NumberedText(1, 52);
  const struct {
    const char* name;
    std::string text;
    Layout expected;
  } cases[] = {
      {"EmptyText", "", Layout().Margin()},
      {"FullPageAddsAPageOfMarginOnly", NumberedText(1, 53),
       Layout().Margin().Numbered(1, 53).NewPage()},
      {"Line54OnPageTwo", NumberedText(1, 54),
       Layout().Margin().Numbered(1, 53).NewPage().Numbered(54, 54)},
      {"ThirdPage", NumberedText(1, 107),
       Layout().Margin().Numbered(1, 53).NewPage().Numbered(54, 106).NewPage().Numbered(107, 107)},
      {"CommentThenCode", "' note\r\nx = 1", Layout().Margin().Bold("' note").Line("x = 1")},
      {"IndentedComment", "   ' note  ", Layout().Margin().Bold("   ' note  ")},
      {"TabBeforeMarkIsRegular", "\t' note", Layout().Margin().Line("\t' note")},
      {"MarkInTheMiddleIsRegular", "x = 1 ' note", Layout().Margin().Line("x = 1 ' note")},
      {"EmptyLineCounts", page1 + "\r\nnext",
       Layout().Margin().Numbered(1, 52).Line("").NewPage().Line("next")},
      {"MarginRegularAfterBoldLastLine", page1 + "' last\r\nnext",
       Layout().Margin().Numbered(1, 52).Bold("' last").NewPage().Line("next")},
  };
  for (const auto& c : cases) EXPECT_EQ(Printed(c.text), c.expected.str()) << c.name;
  // A listing starts a fresh page count in the weight it finds the printer in.
  LayoutPrinter printer;
  printer.SetBold(true);  // as a listing ending with a comment leaves it
  PrintListing(printer, NumberedText(1, 30));
  EXPECT_EQ(printer.text(), Layout().Margin(true).Numbered(1, 30).str());
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
