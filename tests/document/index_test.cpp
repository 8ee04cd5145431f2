// Opening a module: the entries the indexer lists and the text each shows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc_fixture.h"
#include "document/module_document.h"
#include "textlib/cliplib.h"

namespace qw::testing {
namespace {

using IndexTest = DocTest;

struct Expect {
  std::string name;
  std::string header;  // the entry's first line; "" for position 1
};

struct IndexRow {
  const char* name;
  std::string file;
  std::string bytes;
  std::vector<Expect> want;
};

TEST_F(IndexTest, ListsTheEntriesOfEachKindOfModule) {
  const IndexRow rows[] = {
      {"no_declarations_lines",
       "M.BAS",
       Lines({"Sub Main()", "End Sub"}),
       {{"(declarations)", ""}, {"Main", ""}}},
      {"header_names",
       "N.BAS",
       Lines({"Option Explicit", "Private Sub Form_Load()", "End Sub", "Function Total$(a, b)",
              "End Function"}),
       {{"(declarations)", ""},
        {"Form_Load", "Private Sub Form_Load()"},
        {"Total", "Function Total$(a, b)"}}},
      {"xbase_method_proc_and_capital_static_unlisted",
       "R.PRG",
       Lines({"* report", "PROCEDURE Main()", "  RETURN", "METHOD Paint() CLASS W", "  RETURN Self",
              "PROC Init", "STATIC FUNCTION Tidy( c )", "FUNCTION Calc( nX )", "  RETURN 1"}),
       {{"(declarations)", ""}, {"Main", "PROCEDURE Main()"}, {"Calc", "FUNCTION Calc( nX )"}}},
      {"private_static_sub_unlisted",
       "P.BAS",
       Lines({"Dim a", "Private Static Sub T()", "End Sub", "Sub U()", "End Sub"}),
       {{"(declarations)", ""}, {"U", "Sub U()"}}},
      {"bas_in_a_folder_name",
       "MY.BAS/NOTES.TXT",
       Lines({"notes", "Sub X()", "End Sub"}),
       {{"(declarations)", ""}, {"X", "Sub X()"}}},
      {"no_declarations_entry",
       "NOTES.TXT",
       Lines({"text", "Sub X()", "End Sub", "more", "Function Y()", "End Function"}),
       {{"X", "Sub X()"}, {"Y", "Function Y()"}}},
      {"form_with_nested_blocks",
       "f.frm",
       Lines({"VERSION 5.00", "Begin VB.Form F", "   BeginProperty Font", "   EndProperty",
              "   Begin VB.Label L", "   End", "End", "Attribute VB_Name = \"F\"",
              "Private Sub Form_Load()", "End Sub"}),
       {{"(declarations)", "Attribute VB_Name = \"F\""}, {"Form_Load", "Private Sub Form_Load()"}}},
      {"class_property_unlisted",
       "A.CLS",
       Lines({"Private m As Long", "Public Property Get P() As Long", "End Property",
              "Public Sub Deposit(ByVal a As Long)", "End Sub"}),
       {{"(declarations)", ""}, {"Deposit", "Public Sub Deposit(ByVal a As Long)"}}},
      {"lf_only",
       "U.BAS",
       Lines({"Dim a", "Sub A()", "End Sub", "Sub B()"}, "\n"),
       {{"(declarations)", ""}, {"A", "Sub A()"}, {"B", "Sub B()"}}},
      {"end_sub_in_capitals",
       "C.BAS",
       Lines({"Sub A()", "END SUB", "Sub B()", "end sub"}),
       {{"(declarations)", ""}, {"A", ""}, {"B", "Sub B()"}}},
      {"static_variable_inside",
       "S.BAS",
       Lines({"Sub A()", "Static subTotal As Long", "End Sub", "Sub B()", "End Sub"}),
       {{"(declarations)", ""}, {"A", ""}, {"B", "Sub B()"}}},
  };
  for (const IndexRow& r : rows) {
    const std::string path = Write(r.file, r.bytes);
    port.boxes.clear();
    Open(path);
    std::vector<std::string> want;
    std::vector<std::string> names;
    for (const Expect& e : r.want) {
      want.push_back(
          ProcedureEntry{e.name, e.header.empty() ? 1 : PosOf(r.bytes, e.header)}.Text());
      names.push_back(e.name);
    }
    EXPECT_EQ(Listed(), want) << r.name;
    EXPECT_EQ(port.items, names) << r.name;
    EXPECT_EQ(ed.doc().entry_count, static_cast<Int>(want.size())) << r.name;
    EXPECT_TRUE(port.boxes.empty()) << r.name;
    EXPECT_FALSE(ed.doc().changed) << r.name;
    EXPECT_EQ(port.busy_depth, 0) << r.name;
  }
}

struct TextRow {
  const char* name;
  std::string file;
  std::string bytes;
  std::string entry;
  std::string want;
};

TEST_F(IndexTest, ShowsEachEntrysOwnLines) {
  const TextRow rows[] = {
      {"last_procedure_keeps_end_sub", "A.BAS", Lines({"Dim a", "Sub A()", "  x = 1", "End Sub"}),
       "A", Lines({"Sub A()", "  x = 1", "End Sub"})},
      {"comment_between_belongs_to_no_entry", "B.BAS",
       Lines({"Function F()", "End Function", "' about G", "", "Sub G()", "End Sub"}), "F",
       Lines({"Function F()", "End Function"})},
      {"xbase_return_does_not_end", "C.PRG",
       Lines({"FUNCTION F()", "  RETURN 1", "  x := 2", "FUNCTION G()"}), "F",
       Lines({"FUNCTION F()", "  RETURN 1", "  x := 2"})},
      {"method_line_ends_the_entry_before", "D.PRG",
       Lines({"FUNCTION F()", "  RETURN 1", "METHOD Paint()", "  RETURN Self"}), "F",
       Lines({"FUNCTION F()", "  RETURN 1"})},
      {"function_count_ends_a_procedure", "E.BAS",
       Lines({"Sub A()", "FunctionCount = 1", "End Sub"}), "A", Lines({"Sub A()"})},
      {"blank_first_line_declarations", "F.BAS", Lines({"", "Option Explicit", "Sub A()"}),
       "(declarations)", Lines({"", "Option Explicit"})},
      {"declarations_empty_before_first_sub", "G.BAS", Lines({"Sub Main()", "End Sub"}),
       "(declarations)", ""},
      {"xbase_first_line_procedure", "H.PRG", Lines({"PROCEDURE Main()", "  RETURN"}),
       "(declarations)", ""},
      {"private_static_sub_in_declarations", "I.BAS",
       Lines({"Dim a", "Private Static Sub T()", "  x = 1", "End Sub", "Sub U()", "End Sub"}),
       "(declarations)", Lines({"Dim a", "Private Static Sub T()", "  x = 1", "End Sub"})},
      {"form_declarations_after_block", "J.FRM",
       Lines({"VERSION 5.00", "Begin VB.Form F", "End", "Option Explicit", "Sub A()"}),
       "(declarations)", Lines({"Option Explicit"})},
      {"lf_file_shows_crlf", "K.BAS", Lines({"Sub A()", "  x = 1", "End Sub"}, "\n"), "A",
       Lines({"Sub A()", "  x = 1", "End Sub"})},
      {"last_line_without_line_end", "L.BAS", "Sub A()\r\n  x = 1", "A",
       Lines({"Sub A()", "  x = 1"})},
      {"tab_indented_end_is_not_an_end", "M.BAS", Lines({"Sub A()", "\tEnd Sub", "Sub B()"}), "A",
       Lines({"Sub A()", "\tEnd Sub"})},
  };
  for (const TextRow& r : rows) {
    Open(Write(r.file, r.bytes));
    const int index = IndexOf(r.entry);
    ASSERT_GE(index, 0) << r.name;
    if (index != 0) Select(index);
    EXPECT_EQ(port.pane, r.want) << r.name;
    EXPECT_EQ(ed.doc().current_entry_name, r.entry) << r.name;
    EXPECT_FALSE(ed.doc().changed) << r.name;
    EXPECT_TRUE(port.boxes.empty()) << r.name;
  }
}

TEST_F(IndexTest, EveryByteValuePassesThrough) {
  std::string body;
  for (int c = 0; c < 256; ++c) {
    if (c != '\n' && c != '\r') body += static_cast<char>(c);
  }
  Open(Write("BYTES.BAS", Lines({"Sub A()", body, "End Sub"})));
  Select(1);
  EXPECT_EQ(port.pane, Lines({"Sub A()", body, "End Sub"}));
}

// An entry "Sub Big()" .. "End Sub" whose text is `total` characters.
std::string BigEntry(Int total, bool with_end) {
  std::string text = "Sub Big()\r\n";
  const Int end_size = with_end ? 9 : 0;
  while (static_cast<Int>(text.size()) + end_size < total) {
    const Int left = total - end_size - static_cast<Int>(text.size());
    const Int line = left >= 103 ? 100 : (left > 100 ? left - 50 : left);
    text += std::string(static_cast<size_t>(line - 2), 'x') + "\r\n";
  }
  if (with_end) text += "End Sub\r\n";
  return text;
}

TEST_F(IndexTest, SizeLimitsOfAnEntry) {
  const struct {
    const char* name;
    Int size;
    bool with_end;
    std::vector<std::string> titles;
    bool loads;
  } rows[] = {
      {"exactly_30000_no_warning", 30000, true, {}, true},
      {"30001_warns_and_loads", 30001, true, {"Large File Warning"}, true},
      {"end_line_carries_past_32000", 32004, true, {"Large File Warning"}, true},
      {"passes_32000_while_adding", 32100, true, {"Procedure Too Large"}, false},
      {"at_end_of_file_no_warning", 31000, false, {}, true},
  };
  for (const auto& r : rows) {
    const std::string entry = BigEntry(r.size, r.with_end);
    ASSERT_EQ(static_cast<Int>(entry.size()), r.size) << r.name;
    Open(Write("BIG.BAS", "Dim a\r\n" + entry));
    port.boxes.clear();
    Select(1);
    EXPECT_EQ(port.Titles(), r.titles) << r.name;
    EXPECT_EQ(port.pane, r.loads ? entry : "") << r.name;
    EXPECT_EQ(port.busy_depth, 0) << r.name;
    if (!r.loads) {
      ASSERT_EQ(port.boxes.size(), 1u) << r.name;
      EXPECT_EQ(port.boxes[0].text,
                "Procedure too large, Please \nbreak the Procedure into\ntwo smaller procedures!");
      EXPECT_EQ(port.boxes[0].icon, Icon::kStop);
    }
  }
}

TEST_F(IndexTest, CaptionNamesTheEntryAndTheFileInCapitals) {
  Open(Write("Main.frm",
             Lines({"VERSION 5.00", "Begin VB.Form F", "End", "Sub Form_Load()", "End Sub"})));
  EXPECT_EQ(port.caption, "QW: (declarations) of " + Upper(Path("Main.frm")));
  Select(1);
  EXPECT_EQ(port.caption, "QW: Form_Load of " + Upper(Path("Main.frm")));
}

TEST_F(IndexTest, WholeTextOpenShowsTheFileAndEmptiesTheList) {
  Open(Write("A.BAS", Lines({"Sub A()", "End Sub"})));
  ASSERT_EQ(port.items.size(), 2u);
  const std::string project = "Type=Exe\r\nForm=Main.frm\n\x01\xff";
  Open(Write("P.VBP", project), false);
  EXPECT_EQ(port.pane, project);
  EXPECT_EQ(port.caption, "QW: " + Upper(Path("P.VBP")));
  EXPECT_TRUE(port.items.empty());
  EXPECT_TRUE(ed.doc().entries.empty());
  EXPECT_FALSE(ed.doc().split_mode);
  EXPECT_FALSE(ed.doc().changed);
}

TEST_F(IndexTest, BadFilesGiveAClearMessageAndLoseNothing) {
  Open(Write("GOOD.BAS", Lines({"Dim a", "Sub A()", "End Sub"})));
  const std::string shown = port.pane;
  const std::string good = ed.doc().file_name;
  std::filesystem::create_directory(Path("FOLDER.BAS"));
  const struct {
    const char* name;
    std::string path;
  } rows[] = {{"missing", Path("NONE.BAS")}, {"folder", Path("FOLDER.BAS")}};
  for (const auto& r : rows) {
    for (bool split : {true, false}) {
      port.boxes.clear();
      Open(r.path, split);
      ASSERT_EQ(port.boxes.size(), 1u) << r.name;
      EXPECT_EQ(port.boxes[0].text, "Can't open file: " + r.path) << r.name;
      EXPECT_EQ(port.boxes[0].title, "File Error") << r.name;
      EXPECT_EQ(port.boxes[0].icon, Icon::kStop) << r.name;
      // The document shown keeps its own name, mode and entries.
      EXPECT_EQ(ed.doc().file_name, good) << r.name;
      EXPECT_TRUE(ed.doc().split_mode) << r.name;
      EXPECT_EQ(port.pane, shown) << r.name;
      EXPECT_EQ(ed.doc().entries.size(), 2u) << r.name;
    }
  }
}

TEST_F(IndexTest, EmptyModuleReportsItsMissingFirstLine) {
  Open(Write("EMPTY.BAS", ""));
  EXPECT_EQ(port.Titles(), std::vector<std::string>{"Quillwright Error"});
  EXPECT_EQ(Listed(), std::vector<std::string>{"(declarations)|0000001"});
  EXPECT_EQ(port.pane, "");
  EXPECT_EQ(port.busy_depth, 0);
}

TEST_F(IndexTest, NulBytesWithoutLineEndsAreOneLine) {
  const std::string garbage(3'000'000, '\0');
  Open(Write("BIN.BAS", garbage));
  EXPECT_TRUE(port.boxes.empty());
  EXPECT_EQ(port.pane, garbage + "\r\n");
}

TEST_F(IndexTest, ModuleWithoutEntriesShowsAnEmptyPane) {
  Open(Write("A.BAS", Lines({"Dim a", "Sub A()", "End Sub"})));
  Open(Write("NOTES.TXT", Lines({"just", "notes"})));
  EXPECT_TRUE(port.items.empty());
  EXPECT_EQ(port.pane, "");
  EXPECT_EQ(ed.doc().current_entry_name, "");
  EXPECT_TRUE(port.boxes.empty());
}

TEST_F(IndexTest, FormWhoseBlockNeverClosesLeavesNothingToSave) {
  Open(Write("A.BAS", Lines({"Dim a", "Sub A()", "End Sub"})));
  const std::string form =
      Lines({"VERSION 5.00", "Begin VB.Form F", "Caption = 1", "Sub A()", "  x = 1"});
  const std::string path = Write("OPEN.FRM", form);
  Open(path);
  EXPECT_EQ(port.Titles(), std::vector<std::string>{"Quillwright Error"});
  EXPECT_TRUE(port.items.empty());
  EXPECT_EQ(port.pane, "");
  ed.mnuFileSave_Click();
  EXPECT_EQ(Read(path), form);
  EXPECT_FALSE(std::filesystem::exists(Path("OPEN.BAK")));
}

TEST_F(IndexTest, PositionsPastSevenDigitsWiden) {
  std::string bytes = "Dim a\r\n" + std::string(10'000'000, '\'') + "\r\nSub Far()\r\nEnd Sub\r\n";
  Open(Write("FAR.BAS", bytes));
  ASSERT_EQ(ed.doc().entries.size(), 2u);
  EXPECT_EQ(Listed()[1], "Far|10000010");
  Select(1);
  EXPECT_EQ(port.pane, Lines({"Sub Far()", "End Sub"}));
}

TEST_F(IndexTest, MoreThan32767EntriesAreListedWholeUnderEitherLimits) {
  std::string bytes;
  for (int i = 0; i < 32800; ++i) bytes += "Sub P" + std::to_string(i) + "()\r\nEnd Sub\r\n";
  const std::string path = Write("MANY.BAS", bytes);
  for (const bool classic : {false, true}) {
    SetClassicLimits(classic);
    Open(path);
    EXPECT_EQ(ed.doc().entries.size(), 32801u) << classic;
    EXPECT_EQ(port.items.back(), "P32799") << classic;
    EXPECT_TRUE(port.boxes.empty()) << classic;
  }
  Select(32801 - 1);
  EXPECT_EQ(port.pane, Lines({"Sub P32799()", "End Sub"}));
}

}  // namespace
}  // namespace qw::testing
