#include "convert/statement_rules.h"

#include <string_view>

#include "convert/expression_rules.h"
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

// PUBLIC / PRIVATE / LOCAL: the keyword comes off the line as a comment line;
// every further word becomes its own declaration line.
void Declarations(ConversionState& s, std::string& out) {
  std::string_view keyword = "Dim ";
  std::string_view message = " converted to Dims";
  if (s.upper_line.starts_with("PUBL")) {
    keyword = "Global ";
    message = " converted to Global (must be moved to Moduele Declaration Section)";
  } else if (s.upper_line.starts_with("PRIV")) {
    message = " converted to Dim (may need to move to Module Scope)";
  }
  const std::string xbase_keyword = GetNextCodeWord(s.line);
  AppendLine(out, "' " + xbase_keyword + std::string(message));
  for (;;) {
    const std::string word = GetNextCodeWord(s.line);
    if (IsEmptyValue(std::string_view(word))) break;
    std::string declaration = std::string(keyword) + word;
    AppendLine(out, RenameReserved(declaration));
  }
}

// The first field of a REPLACE becomes an assignment to the record set.
void Replace(ConversionState& s, std::string& out) {
  std::string copy = s.line;
  GetNextVBWord(copy);
  const std::string field = GetNextVBWord(copy);
  // The value starts one character after "with"; a missing "with" counts as
  // position 0, so the value is then the text from the fifth character on.
  const size_t with = static_cast<size_t>(InStrNoCase(s.line, "with"));
  const size_t from = with + 4;
  const std::string value = from < s.line.size() ? Trim(s.line.substr(from)) : "";
  AppendLine(out, "' " + Trim(s.line));
  // A field already qualified by its alias ('cust!name') keeps only that.
  const std::string target = Contains(field, "!") ? field : s.record_set + "!" + field;
  AppendLine(out, target + " = " + value);
}

// RETURN with a value assigns it to the procedure's name.
void Return(ConversionState& s, std::string& out) {
  std::string& line = s.line;
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

// SELECT names the work area for the record-set name; no output.
void Select(ConversionState& s) {
  StartScan(s.line);
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

// Procedure and function headers.
void Headers(ConversionState& s, std::string& out) {
  const std::string& up = s.upper_line;
  std::string& line = s.line;
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
  if (Contains(up_view.substr(0, 9), "PROCEDURE")) ReplaceFirst(line, "PROCEDURE", "Sub");
  if (Contains(up_view.substr(0, 8), "FUNCTION")) ReplaceFirst(line, "FUNCTION ", "Function ");
  if (Contains(up_view.substr(0, 5), "FUNC ")) ReplaceFirst(line, "func ", "Function ");
  if (Contains(up_view.substr(0, 5), "PROC ")) ReplaceFirst(line, "proc ", "Sub ");
  const bool function_header = StartsNoCase(line, "FUNCTION ");
  if (function_header || StartsNoCase(line, "SUB ")) {
    s.is_function = function_header;
    s.area_name.clear();
    std::string copy = line;
    GetNextVBWord(copy);
    s.procedure_name = GetNextVBWord(copy);
  }
}

// Counts blocks opened and closed by the line. True when the line is a
// closing statement and is to be emitted now.
bool TrackBlocks(ConversionState& s) {
  const std::string& up = s.upper_line;
  if (up.starts_with("IF ") || up.starts_with("SELECT CASE")) {
    OpenBlock(s);
    return false;
  }
  if (up.starts_with("WHILE ")) return false;  // already counted when it became Do While
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
  if (CloseBlock(s) && word == "END") s.line = "' END SEQUENCE " + s.line;
  return true;
}

// Record moves, each tried in turn on the changing line.
void RecordMoves(ConversionState& s) {
  struct Move {
    std::string_view looks_for, replaces, by;
  };
  static constexpr Move kMoves[] = {
      {"go top", "GO TOP", ".MoveFirst"},     {"go bottom", "go bottom", ".MoveLast"},
      {"goto top", "GOTO TOP", ".MoveFirst"}, {"goto bottom", "goto bottom", ".MoveLast"},
      {"goto ", "GOTO", ".BookMark = "},      {"go ", "go", ".BookMark = "},
  };
  if (!ContainsNoCase(s.line, "go")) return;  // every search text starts with "go"
  for (const Move& m : kMoves) {
    if (ContainsNoCase(s.line, m.looks_for)) {
      ReplaceFirst(s.line, m.replaces, s.record_set + std::string(m.by));
    }
  }
}

// IF and ELSEIF get their Then; DO of a procedure becomes a call.
void IfElseIfDo(ConversionState& s) {
  std::string& line = s.line;
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
  if (s.upper_line.starts_with("DO ") && !ContainsNoCase(line, "while") &&
      !ContainsNoCase(line, "enddo")) {
    ReplaceFirst(line, "DO ", "");
    line = StrTranNoCase(line, " with ", " ");
  }
}

// --- The rules of the chain, in their order ---------------------------------------
// Each rule looks at the line and either lets the chain go on with the next
// rule, or ends it: the line is to be emitted, or the rule wrote its own lines.

enum class Step { kGoOn, kEmit, kNextLine };

bool Starts(const ConversionState& s, std::string_view keyword) {
  return s.upper_line.starts_with(keyword);
}

Step DeclarationsRule(ConversionState& s, std::string& out) {
  if (!Starts(s, "PUBL") && !Starts(s, "PRIV") && !Starts(s, "LOCA")) return Step::kGoOn;
  Declarations(s, out);
  return Step::kNextLine;
}

Step PreprocessorLineRule(ConversionState& s, std::string&) {
  const size_t first = s.line.find_first_not_of(' ');
  if (first == std::string::npos || s.line[first] != '#') return Step::kGoOn;
  ReplaceFirst(s.line, "#", "' #");
  return Step::kEmit;
}

Step LocalInsideRule(ConversionState& s, std::string&) {
  if (ContainsNoCase(s.line, "local ")) ReplaceFirst(s.line, "local", "Dim");
  return Step::kGoOn;
}

Step RecordSetNameRule(ConversionState& s, std::string&) {
  s.record_set = Trim(s.area_name);
  if (s.record_set.empty()) s.record_set = "oKV";
  return Step::kGoOn;
}

Step FoundRule(ConversionState& s, std::string&) {
  if (ContainsNoCase(s.line, "found()")) ReplaceFirst(s.line, "found()", s.record_set + ".NoMatch");
  return Step::kGoOn;
}

Step OperatorsRule(ConversionState& s, std::string&) {
  ApplyOperatorRules(s.line);
  return Step::kGoOn;
}

Step DeleteRule(ConversionState& s, std::string&) {
  if (!Starts(s, "DELETE")) return Step::kGoOn;
  ReplaceFirst(s.line, "delete", s.record_set + ".Delete");
  return Step::kEmit;
}

// Statements with no Basic counterpart.
Step NoCounterpartRule(ConversionState& s, std::string&) {
  for (std::string_view keyword :
       {"PACK", "DECLARE", "READ", "RELEASE", "SAVE", "RESTORE", "RESTSCREEN", "@", "SET "}) {
    if (Starts(s, keyword)) {
      CommentOut(s.line);
      return Step::kEmit;
    }
  }
  return Step::kGoOn;
}

Step IndexOnRule(ConversionState& s, std::string&) {
  if (!Starts(s, "INDEX ON")) return Step::kGoOn;
  ReplaceFirst(s.line, "index on", s.record_set + ".Index = ");
  return Step::kEmit;
}

Step BreakRule(ConversionState& s, std::string&) {
  if (!Starts(s, "BREAK")) return Step::kGoOn;
  ReplaceFirst(s.line, "BREAK", "GoTo " + s.procedure_name + "BreakEnd");
  return Step::kEmit;
}

Step CloseRule(ConversionState& s, std::string& out) {
  if (!Starts(s, "CLOSE")) return Step::kGoOn;
  AppendLine(out, "' " + Trim(s.line));
  s.line = Contains(s.line, "database") ? std::string("DB.Close") : s.record_set + ".Close";
  return Step::kEmit;
}

Step ReplaceRule(ConversionState& s, std::string& out) {
  if (!Starts(s, "REPLACE")) return Step::kGoOn;
  Replace(s, out);
  return Step::kNextLine;
}

Step RunRule(ConversionState& s, std::string&) {
  if (!Starts(s, "RUN ")) return Step::kGoOn;
  CommentOut(s.line);
  return Step::kEmit;
}

Step AppendRule(ConversionState& s, std::string&) {
  if (!Starts(s, "APPEND")) return Step::kGoOn;
  ReplaceFirst(s.line, "append", s.record_set + ".AddNew");
  return Step::kEmit;
}

Step EraseRule(ConversionState& s, std::string&) {
  if (!Starts(s, "ERASE")) return Step::kGoOn;
  ReplaceFirst(s.line, "erase", "Kill");
  return Step::kEmit;
}

// LOOP jumps to the end of the loop; the label follows its ENDDO.
Step LoopRule(ConversionState& s, std::string&) {
  if (!Starts(s, "LOOP") || Contains(s.line, ":")) return Step::kGoOn;
  ReplaceFirst(s.line, "LOOP", "GoTo " + s.procedure_name + "LupEnd");
  s.loop_label_pending = true;
  return Step::kEmit;
}

Step ReturnRule(ConversionState& s, std::string& out) {
  if (!Starts(s, "RETURN")) return Step::kGoOn;
  Return(s, out);
  return Step::kEmit;
}

Step EndIfRule(ConversionState& s, std::string&) {
  if (!Starts(s, "ENDIF")) return Step::kGoOn;
  ReplaceFirst(s.line, "endif", "End If");
  if (CloseBlock(s)) CommentOut(s.line);
  return Step::kEmit;
}

Step EndDoRule(ConversionState& s, std::string& out) {
  if (!Starts(s, "ENDDO")) return Step::kGoOn;
  ReplaceFirst(s.line, "ENDDO", "Loop");
  if (CloseBlock(s)) CommentOut(s.line);
  if (s.loop_label_pending) {
    AppendLine(out, s.procedure_name + "LupEnd:");
    s.loop_label_pending = false;
  }
  AppendLine(out, s.line);
  return Step::kNextLine;
}

// END closes an IF, or, with no block open, a BEGIN SEQUENCE.
Step EndRule(ConversionState& s, std::string& out) {
  if (!Starts(s, "END ") && s.upper_line != "END") return Step::kGoOn;
  ReplaceFirst(s.line, "end", "End If");
  if (CloseBlock(s)) {
    AppendLine(out, "' END SEQUENCE");
    s.line = s.procedure_name + "BreakEnd:";
  }
  return Step::kEmit;
}

Step SelectRule(ConversionState& s, std::string&) {
  if (!Starts(s, "SELECT") || Starts(s, "SELECT(")) return Step::kGoOn;
  Select(s);
  return Step::kNextLine;
}

// ELSE in Basic's letter case; the keyword tests after it see the new line.
Step ElseRule(ConversionState& s, std::string&) {
  ReplaceFirst(s.line, "else", "Else");
  s.upper_line = Upper(Trim(s.line));
  return Step::kGoOn;
}

Step WhileRule(ConversionState& s, std::string&) {
  if (!Starts(s, "WHILE")) return Step::kGoOn;
  s.loop_kind = "Do";
  ReplaceFirst(s.line, "while", "Do While");
  OpenBlock(s);
  return Step::kGoOn;
}

Step ForRule(ConversionState& s, std::string&) {
  if (Starts(s, "FOR ")) s.loop_kind = "For";
  return Step::kGoOn;
}

Step EofRule(ConversionState& s, std::string&) {
  ReplaceFirst(s.line, "eof()", s.record_set + ".EOF");
  return Step::kGoOn;
}

Step DoCaseRule(ConversionState& s, std::string&) {
  if (!Starts(s, "DO CASE")) return Step::kGoOn;
  s.line = "' Do Case Sequence converted due to Incompatability with VB";
  s.case_open = false;
  return Step::kEmit;
}

// The CASEs of a DO CASE become an If ... ElseIf chain.
Step CaseRule(ConversionState& s, std::string&) {
  if (!Starts(s, "CASE ")) return Step::kGoOn;
  if (s.case_open) {
    ReplaceFirst(s.line, "CASE", "ElseIf");
  } else {
    s.case_open = true;
    ReplaceFirst(s.line, "CASE", "If");
  }
  return Step::kGoOn;
}

Step OtherwiseRule(ConversionState& s, std::string&) {
  if (!Starts(s, "OTHERWISE")) return Step::kGoOn;
  ReplaceFirst(s.line, "OTHERWISE", "Else");
  return Step::kEmit;
}

Step EndCaseRule(ConversionState& s, std::string&) {
  if (!Starts(s, "ENDCASE")) return Step::kGoOn;
  ReplaceFirst(s.line, "ENDCASE", "End If");
  return Step::kEmit;
}

Step HeadersRule(ConversionState& s, std::string& out) {
  Headers(s, out);
  return Step::kGoOn;
}

Step ContinueRule(ConversionState& s, std::string&) {
  if (!Starts(s, "CONTINUE")) return Step::kGoOn;
  ReplaceFirst(s.line, "CONTINUE", s.record_set + ".FindNext ");
  return Step::kEmit;
}

Step BlockCountRule(ConversionState& s, std::string&) {
  return TrackBlocks(s) ? Step::kEmit : Step::kGoOn;
}

Step FunctionsRule(ConversionState& s, std::string& out) {
  ApplyFunctionRules(s.line, out);
  return Step::kGoOn;
}

Step ExitRule(ConversionState& s, std::string&) {
  if (!Starts(s, "EXIT")) return Step::kGoOn;
  ReplaceFirst(s.line, "EXIT", "Exit " + s.loop_kind);
  return Step::kEmit;
}

Step BeginSequenceRule(ConversionState& s, std::string&) {
  if (!Starts(s, "BEGIN SEQUENCE")) return Step::kGoOn;
  CommentOut(s.line);
  return Step::kEmit;
}

Step SkipRule(ConversionState& s, std::string&) {
  if (!ContainsNoCase(s.line, "skip")) return Step::kGoOn;
  ReplaceFirst(s.line, "skip",
               s.record_set + (Contains(s.line, "-1") ? ".MovePrevious" : ".MoveNext"));
  return Step::kEmit;
}

Step RecordMovesRule(ConversionState& s, std::string&) {
  RecordMoves(s);
  return Step::kGoOn;
}

Step SeekRule(ConversionState& s, std::string&) {
  if (!Starts(s, "SEEK ")) return Step::kGoOn;
  ReplaceFirst(s.line, "Seek ", s.record_set + ".Seek \"=\",");
  ReplaceFirst(s.line, "+", ",");
  return Step::kEmit;
}

// Never reached: the declarations rule takes every line beginning "LOCA" first.
Step LocateRule(ConversionState& s, std::string&) {
  if (!Starts(s, "LOCATE")) return Step::kGoOn;
  ReplaceFirst(s.line, "LOCATE ", s.record_set + ".FindFirst ");
  return Step::kEmit;
}

Step UseRule(ConversionState& s, std::string&) {
  if (!Starts(s, "USE ")) return Step::kGoOn;
  ReplaceFirst(s.line, "USE", "' USE");
  return Step::kEmit;
}

Step IfElseIfDoRule(ConversionState& s, std::string&) {
  IfElseIfDo(s);
  return Step::kEmit;
}

struct StatementRule {
  const char* name;
  Step (*apply)(ConversionState&, std::string& out);
};

// The chain, in the order the rules are tried. The order is part of the
// result: a rule sees the line as the rules before it left it.
constexpr StatementRule kStatementChain[] = {
    {"declarations", DeclarationsRule},
    {"preprocessor line", PreprocessorLineRule},
    {"local inside a line", LocalInsideRule},
    {"record-set name", RecordSetNameRule},
    {"found()", FoundRule},
    {"operators", OperatorsRule},
    {"DELETE", DeleteRule},
    {"no Basic counterpart", NoCounterpartRule},
    {"INDEX ON", IndexOnRule},
    {"BREAK", BreakRule},
    {"CLOSE", CloseRule},
    {"REPLACE", ReplaceRule},
    {"RUN", RunRule},
    {"APPEND", AppendRule},
    {"ERASE", EraseRule},
    {"LOOP", LoopRule},
    {"RETURN", ReturnRule},
    {"ENDIF", EndIfRule},
    {"ENDDO", EndDoRule},
    {"END", EndRule},
    {"SELECT", SelectRule},
    {"ELSE", ElseRule},
    {"WHILE", WhileRule},
    {"FOR", ForRule},
    {"eof()", EofRule},
    {"DO CASE", DoCaseRule},
    {"CASE", CaseRule},
    {"OTHERWISE", OtherwiseRule},
    {"ENDCASE", EndCaseRule},
    {"procedure headers", HeadersRule},
    {"CONTINUE", ContinueRule},
    {"block count", BlockCountRule},
    {"functions", FunctionsRule},
    {"EXIT", ExitRule},
    {"BEGIN SEQUENCE", BeginSequenceRule},
    {"SKIP", SkipRule},
    {"record moves", RecordMovesRule},
    {"SEEK", SeekRule},
    {"LOCATE", LocateRule},
    {"USE", UseRule},
    {"IF, ELSEIF and DO", IfElseIfDoRule},
};

}  // namespace

ChainEnd RunStatementChain(ConversionState& s, std::string& out) {
  for (const StatementRule& rule : kStatementChain) {
    switch (rule.apply(s, out)) {
      case Step::kGoOn:
        continue;
      case Step::kEmit:
        return ChainEnd::kEmit;
      case Step::kNextLine:
        return ChainEnd::kNextLine;
    }
  }
  return ChainEnd::kEmit;
}

}  // namespace qw
