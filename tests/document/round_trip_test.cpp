// Saving an entry unchanged gives the file back byte for byte: for every entry
// of thousands of generated modules (odd closing lines, trailing blanks, tabs,
// forms with nested and indented blocks, LF files, files without a final line
// end or ending in a DOS end-of-file byte) and of the sample modules, showing
// the entry and saving the pane's text as it stands changes nothing.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "doc_fixture.h"
#include "textlib/cliplib.h"

namespace qw::testing {
namespace {

// Builds a random module of the kind its file name says, one line at a time.
class ModuleGenerator {
 public:
  explicit ModuleGenerator(unsigned seed) : rng_(seed) {}

  // The file name and bytes of a module.
  std::pair<std::string, std::string> Next() {
    text_.clear();
    static const char* const kKinds[] = {"M.BAS", "C.CLS", "F.FRM", "P.PRG"};
    const std::string name = kKinds[Pick(4)];
    end_ = Pick(5) == 0 ? "\n" : "\r\n";
    if (name == "F.FRM") FormBlock();
    for (int i = Pick(4); i > 0; --i) Line(Any({"Option Explicit", "Dim a As Long", "", "' note"}));
    for (int i = 1 + Pick(5); i > 0; --i) name == "P.PRG" ? XBaseEntry() : BasicEntry();
    switch (Pick(4)) {  // how the file ends
      case 0:
        text_.erase(text_.size() - end_.size());
        break;
      case 1:
        text_ += "\x1a";
        break;
      default:
        break;
    }
    return {name, text_};
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
  std::string Any(std::initializer_list<const char*> choices) {
    return *(choices.begin() + Pick(static_cast<int>(choices.size())));
  }
  std::string Pad() { return std::string(static_cast<size_t>(Pick(3)) * 2, ' '); }
  void Line(const std::string& s) { text_ += s + end_; }

  void FormBlock() {
    Line("VERSION 5.00");
    Line("Begin VB.Form frmMain ");
    Line("   Caption         =   \"Main\"   ");
    for (int i = Pick(3); i > 0; --i) {
      Line("   BeginProperty Font ");
      Line("      Name            =   \"Arial\"");
      Line("   EndProperty");
      Line("   Begin VB.CommandButton cmd" + std::to_string(i));
      Line("\t  Caption  =  \"OK\"  ");
      Line("   End ");
    }
    Line("End");
    Line("Attribute VB_Name = \"frmMain\"");
  }

  void Body() {
    for (int i = Pick(4); i > 0; --i) {
      Line(Pad() + Any({"x = 1", "s = \"a\tb\"  ", "\tIf x Then y = 2", "' comment  ", "",
                        "Static subTotal As Long", "Debug.Print x: End If", "   "}));
    }
  }

  void BasicEntry() {
    const std::string n = std::to_string(Pick(1000));
    Line(Pad() +
         Any({"Sub S", "Private Sub P", "Public Function F", "Function G", "Static Sub T"}) + n +
         Any({"()", "(a As Long)", "(ByVal s$) As String"}) + Any({"", "  ", " ' head"}));
    Body();
    Line(Pad() + Any({"End Sub", "End  Sub", "End Sub: x = 1", "END FUNCTION", "End Sub'comment",
                      "End Function   ", "end sub", "\tEnd Sub"}));
    for (int i = Pick(3); i > 0; --i) Line(Any({"", "' between", "Dim keep As Integer"}));
  }

  void XBaseEntry() {
    const std::string n = std::to_string(Pick(1000));
    Line(Any({"PROCEDURE Init", "FUNCTION Calc( nX )", "STATIC FUNCTION Tidy", "PROC Go",
              "METHOD Paint() CLASS W", "function lower( a )"}) +
         n);
    for (int i = Pick(4); i > 0; --i) {
      Line(Pad() +
           Any({"x := 1", "RETURN", "RETURN nX * 2", "* comment", "IF x > 1", "ENDIF", ""}));
    }
  }

  std::mt19937 rng_;
  std::string text_;
  std::string end_;
};

class RoundTripTest : public DocTest {
 protected:
  // Saves every entry of `bytes` unchanged; returns the entries saved.
  int SaveEveryEntryUnchanged(const std::string& name, const std::string& bytes,
                              const std::string& what) {
    const std::string path = Write(name, bytes);
    Open(path);
    const size_t count = ed.doc().entry_count();
    int saved = 0;
    for (size_t i = 0; i < count; ++i) {
      Write(name, bytes);
      Open(path);
      if (i != 0) Select(static_cast<int>(i));
      if (IsEmptyValue(std::string_view(port.PaneText()))) continue;  // nothing a save would write
      port.boxes.clear();
      Type(port.PaneText());  // the user touches the text and leaves it as it was
      ed.Save();
      EXPECT_EQ(Read(path), bytes) << what << " entry " << i;
      EXPECT_TRUE(port.boxes.empty()) << what << " entry " << i;
      ++saved;
    }
    return saved;
  }
};

TEST_F(RoundTripTest, SavingAnUnchangedEntryGivesBackTheFileOfGeneratedModules) {
  ModuleGenerator generate(20261206);
  int saved = 0;
  for (int n = 0; n < 2000 && !HasFailure(); ++n) {
    const auto [name, bytes] = generate.Next();
    saved += SaveEveryEntryUnchanged(name, bytes, "module " + std::to_string(n));
  }
  EXPECT_GT(saved, 6000);
}

TEST_F(RoundTripTest, SavingAnUnchangedEntryGivesBackTheSampleModules) {
  for (const std::string module : {"MAIN.BAS", "NODECL.BAS", "DIALOG.FRM", "ACCOUNT.CLS",
                                   "REPORT.PRG", "FIRSTPROC.PRG", "UNIX.BAS"}) {
    EXPECT_GT(SaveEveryEntryUnchanged(module, Fixture(module), module), 1);
    EXPECT_EQ(Read(Path(module.substr(0, module.find('.')) + ".BAK")), Fixture(module));
  }
}

}  // namespace
}  // namespace qw::testing
