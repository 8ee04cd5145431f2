#include "convert/statement_rules.h"

#include <string_view>

#include "convert/expression_rules.h"
#include "convert/line_tests.h"
#include "convert/rename_reserved.h"
#include "convert/scanners.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

void CommentOut(std::string& line) {
  line = "' " + Trim(line);
}

// Lowers the depth for a closing statement; true when it went below 0 (the
// depth is then put back to 0).
bool CloseBlock(ConversionState& s) {
  s.block_depth = Check16(s.block_depth - 1);
  if (s.block_depth >= 0) return false;
  s.block_depth = 0;
  return true;
}

void OpenBlock(ConversionState& s) {
  s.block_depth = Check16(s.block_depth + 1);
}

// Rule 1: PUBLIC / PRIVATE / LOCAL. The keyword comes off CurLine as a comment
// line; every further word becomes its own declaration line.
void Declarations(ConversionState& s, std::string& out) {
  std::string_view keyword = "Dim ";
  std::string_view message = " converted to Dims";
  if (s.upper_line.starts_with("PUBL")) {
    keyword = "Global ";
    message = " converted to Global (must be moved to Moduele Declaration Section)";
  } else if (s.upper_line.starts_with("PRIV")) {
    message = " converted to Dim (may need to move to Module Scope)";
  }
  const std::string xbase_keyword = GetNextCodeWord(s.CurLine);
  AppendLine(out, "' " + xbase_keyword + std::string(message));
  for (;;) {
    const std::string word = GetNextCodeWord(s.CurLine);
    if (IsEmptyValue(std::string_view(word))) break;
    std::string declaration = std::string(keyword) + word;
    AppendLine(out, RenameReserved(declaration));
  }
}

// Rule 17: the first field of a REPLACE becomes an assignment to the record set.
void Replace(ConversionState& s, std::string& out) {
  std::string copy = s.CurLine;
  GetNextVBWord(copy);
  const std::string field = GetNextVBWord(copy);
  // The value starts one character after "with"; a missing "with" counts as
  // position 0, so the value is then the text from the fifth character on.
  const size_t with = static_cast<size_t>(InStrNoCase(s.CurLine, "with"));
  const size_t from = with + 4;
  const std::string value = from < s.CurLine.size() ? Trim(s.CurLine.substr(from)) : "";
  AppendLine(out, "' " + Trim(s.CurLine));
  // A field already qualified by its alias ('cust!name') keeps only that.
  const std::string target = Has(field, "!") ? field : s.record_set + "!" + field;
  AppendLine(out, target + " = " + value);
}

// Rule 22: RETURN with a value assigns it to the procedure's name.
void Return(ConversionState& s, std::string& out) {
  std::string& line = s.CurLine;
  line = StrTran(Upper(line), "RETURN", "");
  if (!IsEmptyValue(std::string_view(line))) {
    line = StrTran(StrTran(line, "(", ""), ")", "");
    line = StrTran(StrTran(line, ".T.", "True"), ".F.", "False");
    AppendLine(out, s.procedure_name + " = " + Trim(line));
    line = "Exit Function";
  } else {
    line = s.is_function ? "   Exit Function" : "   Exit Sub";
  }
}

// Rule 26: SELECT names the work area for the record-set name; no output.
void Select(ConversionState& s) {
  StartScan(s.CurLine);
  auto next_non_blank = [] {
    std::string token;
    do {
      token = GetNextWord();
    } while (!token.empty() && IsEmptyValue(std::string_view(token)));
    return token;
  };
  next_non_blank();  // the word SELECT itself
  s.area_name = next_non_blank();
}

// Rule 35: procedure and function headers.
void Headers(ConversionState& s, std::string& out) {
  const std::string& up = s.upper_line;
  std::string& line = s.CurLine;
  const bool proc = up.starts_with("PROCEDURE") || up.starts_with("PROC ");
  const bool func = up.starts_with("FUNC ") || up.starts_with("FUNCTION");
  if ((proc || func) && !s.procedure_name.empty()) {
    AppendLine(out, s.is_function ? "End Function" : "End Sub");
    AppendLine(out, " ");
  }
  if (proc) {
    s.is_function = false;
  } else if (func) {
    s.is_function = true;
  }
  const std::string_view up_view = up;
  if (Has(up_view.substr(0, 9), "PROCEDURE")) ReplaceFirst(line, "PROCEDURE", "Sub");
  if (Has(up_view.substr(0, 8), "FUNCTION")) ReplaceFirst(line, "FUNCTION ", "Function ");
  if (Has(up_view.substr(0, 5), "FUNC ")) ReplaceFirst(line, "func ", "Function ");
  if (Has(up_view.substr(0, 5), "PROC ")) ReplaceFirst(line, "proc ", "Sub ");
  const bool function_header = StartsNoCase(line, "FUNCTION ");
  if (function_header || StartsNoCase(line, "SUB ")) {
    s.is_function = function_header;
    s.area_name.clear();
    std::string copy = line;
    GetNextVBWord(copy);
    s.procedure_name = GetNextVBWord(copy);
  }
}

// Rule 37: counts blocks opened and closed by the line. True when the line is
// a closing statement and is to be emitted now.
bool TrackBlocks(ConversionState& s) {
  const std::string& up = s.upper_line;
  if (up.starts_with("IF ") || up.starts_with("SELECT CASE")) {
    OpenBlock(s);
    return false;
  }
  if (up.starts_with("WHILE ")) return false;  // already counted once, by rule 28
  if (up.starts_with("DO WHILE")) {
    s.loop_kind = "Do";
    OpenBlock(s);
    return false;
  }
  std::string copy = up;
  const std::string word = TakeWord(copy, "_");
  if (word != "LOOP" && word != "END" && word != "WEND" && word != "ENDIF" && word != "ENDCASE" &&
      word != "ENDDO") {
    return false;
  }
  if (CloseBlock(s) && word == "END") s.CurLine = "' END SEQUENCE " + s.CurLine;
  return true;
}

// Rule 42: record moves, each tried in turn on the changing line.
void RecordMoves(ConversionState& s) {
  struct Move {
    std::string_view looks_for, replaces, by;
  };
  static constexpr Move kMoves[] = {
      {"go top", "GO TOP", ".MoveFirst"},     {"go bottom", "go bottom", ".MoveLast"},
      {"goto top", "GOTO TOP", ".MoveFirst"}, {"goto bottom", "goto bottom", ".MoveLast"},
      {"goto ", "GOTO", ".BookMark = "},      {"go ", "go", ".BookMark = "},
  };
  if (!HasNoCase(s.CurLine, "go")) return;  // every search text starts with "go"
  for (const Move& m : kMoves) {
    if (HasNoCase(s.CurLine, m.looks_for)) {
      ReplaceFirst(s.CurLine, m.replaces, s.record_set + std::string(m.by));
    }
  }
}

// Rule 46: IF and ELSEIF get their Then; DO of a procedure becomes a call.
void IfElseIfDo(ConversionState& s) {
  std::string& line = s.CurLine;
  if (StartsNoCase(Trim(line), "IF ")) {
    ReplaceFirst(line, "if", "If");
    const size_t quote = line.find('\'');
    if (quote != std::string::npos) {
      line = Trim(line.substr(0, quote)) + " Then " + line.substr(quote);
    } else {
      line = RTrim(line) + " Then";
    }
  }
  if (StartsNoCase(Trim(line), "ELSEIF")) {
    ReplaceFirst(line, "elseif", "ElseIf");
    const size_t quote = line.find('\'');
    if (quote != std::string::npos) {
      line.insert(quote, " Then ");
    } else {
      line += " Then";
    }
  }
  if (s.upper_line.starts_with("DO ") && !HasNoCase(line, "while") && !HasNoCase(line, "enddo")) {
    ReplaceFirst(line, "DO ", "");
    line = StrTranNoCase(line, " with ", " ");
  }
}

}  // namespace

ChainEnd RunStatementChain(ConversionState& s, std::string& out) {
  std::string& line = s.CurLine;
  auto starts = [&s](std::string_view k) { return s.upper_line.starts_with(k); };
  const std::string& P = s.procedure_name;

  if (starts("PUBL") || starts("PRIV") || starts("LOCA")) {  // 1
    Declarations(s, out);
    return ChainEnd::kNextLine;
  }
  const size_t first = line.find_first_not_of(' ');
  if (first != std::string::npos && line[first] == '#') {  // 2
    ReplaceFirst(line, "#", "' #");
    return ChainEnd::kEmit;
  }
  if (HasNoCase(line, "local ")) ReplaceFirst(line, "local", "Dim");  // 3
  s.record_set = Trim(s.area_name);                                   // 4
  if (s.record_set.empty()) s.record_set = "oKV";
  const std::string& R = s.record_set;
  if (HasNoCase(line, "found()")) ReplaceFirst(line, "found()", R + ".NoMatch");  // 5
  ApplyOperatorRules(line);                                                       // 6

  if (starts("DELETE")) {  // 7
    ReplaceFirst(line, "delete", R + ".Delete");
    return ChainEnd::kEmit;
  }
  if (starts("PACK") || starts("DECLARE") ||                    // 8
      starts("READ") || starts("RELEASE") ||                    // 9
      starts("SAVE") || starts("RESTORE") ||                    // 10
      starts("RESTSCREEN") || starts("@") || starts("SET ")) {  // 11, 12, 13
    CommentOut(line);
    return ChainEnd::kEmit;
  }
  if (starts("INDEX ON")) {  // 14
    ReplaceFirst(line, "index on", R + ".Index = ");
    return ChainEnd::kEmit;
  }
  if (starts("BREAK")) {  // 15
    ReplaceFirst(line, "BREAK", "GoTo " + P + "BreakEnd");
    return ChainEnd::kEmit;
  }
  if (starts("CLOSE")) {  // 16
    AppendLine(out, "' " + Trim(line));
    line = Has(line, "database") ? std::string("DB.Close") : R + ".Close";
    return ChainEnd::kEmit;
  }
  if (starts("REPLACE")) {  // 17
    Replace(s, out);
    return ChainEnd::kNextLine;
  }
  if (starts("RUN ")) {  // 18
    CommentOut(line);
    return ChainEnd::kEmit;
  }
  if (starts("APPEND")) {  // 19
    ReplaceFirst(line, "append", R + ".AddNew");
    return ChainEnd::kEmit;
  }
  if (starts("ERASE")) {  // 20
    ReplaceFirst(line, "erase", "Kill");
    return ChainEnd::kEmit;
  }
  if (starts("LOOP") && !Has(line, ":")) {  // 21
    ReplaceFirst(line, "LOOP", "GoTo " + P + "LupEnd");
    s.loop_label_pending = true;
    return ChainEnd::kEmit;
  }
  if (starts("RETURN")) {  // 22
    Return(s, out);
    return ChainEnd::kEmit;
  }
  if (starts("ENDIF")) {  // 23
    ReplaceFirst(line, "endif", "End If");
    if (CloseBlock(s)) CommentOut(line);
    return ChainEnd::kEmit;
  }
  if (starts("ENDDO")) {  // 24
    ReplaceFirst(line, "ENDDO", "Loop");
    if (CloseBlock(s)) CommentOut(line);
    if (s.loop_label_pending) {
      AppendLine(out, P + "LupEnd:");
      s.loop_label_pending = false;
    }
    AppendLine(out, line);
    return ChainEnd::kNextLine;
  }
  if (starts("END ") || s.upper_line == "END") {  // 25
    ReplaceFirst(line, "end", "End If");
    if (CloseBlock(s)) {  // no open block: the end of a BEGIN SEQUENCE
      AppendLine(out, "' END SEQUENCE");
      line = P + "BreakEnd:";
    }
    return ChainEnd::kEmit;
  }
  if (starts("SELECT") && !starts("SELECT(")) {  // 26
    Select(s);
    return ChainEnd::kNextLine;
  }
  ReplaceFirst(line, "else", "Else");  // 27
  s.upper_line = Upper(Trim(line));
  if (starts("WHILE")) {  // 28
    s.loop_kind = "Do";
    ReplaceFirst(line, "while", "Do While");
    OpenBlock(s);
  }
  if (starts("FOR ")) s.loop_kind = "For";  // 29
  ReplaceFirst(line, "eof()", R + ".EOF");  // 30
  if (starts("DO CASE")) {                  // 31
    line = "' Do Case Sequence converted due to Incompatability with VB";
    s.case_open = false;
    return ChainEnd::kEmit;
  }
  if (starts("CASE ")) {  // 32
    if (s.case_open) {
      ReplaceFirst(line, "CASE", "ElseIf");
    } else {
      s.case_open = true;
      ReplaceFirst(line, "CASE", "If");
    }
  }
  if (starts("OTHERWISE")) {  // 33
    ReplaceFirst(line, "OTHERWISE", "Else");
    return ChainEnd::kEmit;
  }
  if (starts("ENDCASE")) {  // 34
    ReplaceFirst(line, "ENDCASE", "End If");
    return ChainEnd::kEmit;
  }
  Headers(s, out);           // 35
  if (starts("CONTINUE")) {  // 36
    ReplaceFirst(line, "CONTINUE", R + ".FindNext ");
    return ChainEnd::kEmit;
  }
  if (TrackBlocks(s)) return ChainEnd::kEmit;  // 37
  ApplyFunctionRules(line, out);               // 38
  if (starts("EXIT")) {                        // 39
    ReplaceFirst(line, "EXIT", "Exit " + s.loop_kind);
    return ChainEnd::kEmit;
  }
  if (starts("BEGIN SEQUENCE")) {  // 40
    CommentOut(line);
    return ChainEnd::kEmit;
  }
  if (HasNoCase(line, "skip")) {  // 41
    ReplaceFirst(line, "skip", R + (Has(line, "-1") ? ".MovePrevious" : ".MoveNext"));
    return ChainEnd::kEmit;
  }
  RecordMoves(s);         // 42
  if (starts("SEEK ")) {  // 43
    ReplaceFirst(line, "Seek ", R + ".Seek \"=\",");
    ReplaceFirst(line, "+", ",");
    return ChainEnd::kEmit;
  }
  if (starts("LOCATE")) {  // 44: never reached, rule 1 takes "LOCA" first
    ReplaceFirst(line, "LOCATE ", R + ".FindFirst ");
    return ChainEnd::kEmit;
  }
  if (starts("USE ")) {  // 45
    ReplaceFirst(line, "USE", "' USE");
    return ChainEnd::kEmit;
  }
  IfElseIfDo(s);  // 46
  return ChainEnd::kEmit;
}

}  // namespace qw
