#include "convert/converter.h"

#include <algorithm>
#include <new>

#include "convert/conversion_state.h"
#include "convert/rename_reserved.h"
#include "convert/statement_rules.h"
#include "platform/fault.h"
#include "platform/limits.h"
#include "platform/report.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

// Writes the line: renamed, trailing blanks removed, ended by CR LF.
void Emit(ConversionState& s, std::string& out) {
  RenameReserved(s.line);
  AppendLine(out, RTrim(s.line));
}

// Whole-line comment markers, tried in this order at the first non-blank character.
std::string_view WholeLineCommentMarker(std::string_view line) {
  const size_t first = line.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::string_view rest = line.substr(first);
  for (std::string_view marker : {"*", "//", "&&"}) {
    if (rest.starts_with(marker)) return marker;
  }
  return {};
}

// Block comments. True when the line has been emitted.
bool BlockComments(ConversionState& s, std::string& out) {
  std::string& line = s.line;
  const size_t first = line.find_first_not_of(' ');
  const std::string_view head =
      first == std::string::npos ? std::string_view() : std::string_view(line).substr(first, 2);
  if (head == "/*") {
    line = StrTran(line, "/*", "'");
    s.in_block_comment = true;
    if (Contains(line, "*/")) {
      line = StrTran(line, "*/", "");
      s.in_block_comment = false;
    }
    Emit(s, out);
    return true;
  }
  if (head == "*/") {
    line = StrTran(line, "*/", "' */");
    s.in_block_comment = false;
    Emit(s, out);
    return true;
  }
  const size_t open = line.find("/*");
  if (open != std::string::npos) {
    // A comment that starts behind code goes out ahead of that code.
    s.in_block_comment = !Contains(line, "*/");
    AppendLine(out, "' " + StrTran(StrTran(line.substr(open), "/*", ""), "*/", ""));
    line.resize(open);
  }
  if (Contains(line, "*/")) {
    s.in_block_comment = false;
    ReplaceFirst(line, "*/", "' */");
  }
  if (s.in_block_comment) {
    line = "' " + Trim(line);
    Emit(s, out);
    return true;
  }
  return false;
}

// One input line through the pipeline.
void ConvertLine(ConversionState& s, std::string text, std::string& out) {
  s.line = std::move(text);
  std::string& line = s.line;
  if (IsEmptyValue(std::string_view(line))) {
    Emit(s, out);
    return;
  }
  // A comment behind a continuation ";" is dropped.
  const size_t semi = line.find(';');
  if (semi != std::string::npos) {
    const size_t amps = line.find("&&");
    const size_t slashes = line.find("//");
    if (amps == std::string::npos) {
      if (slashes != std::string::npos && semi < slashes) line.resize(slashes);
    } else if (semi < amps) {
      line.resize(amps);
    }
  }
  // Continuation: the statement goes on in the next line.
  const size_t last = line.find_last_not_of(' ');
  if (last != std::string::npos && line[last] == ';') {
    s.pending += Trim(std::string_view(line).substr(0, last));
    return;
  }
  line = s.pending + Trim(line);
  s.pending.clear();
  s.upper_line = Upper(line);
  std::replace(line.begin(), line.end(), '\'', '"');
  if (BlockComments(s, out)) return;

  const std::string_view marker = WholeLineCommentMarker(line);
  if (!marker.empty()) {
    ReplaceFirst(line, marker, "'");
    line = SignificantText(Trim(line));
    Emit(s, out);
    return;
  }
  // A trailing comment goes out ahead of its code line.
  size_t cut = line.find("//");
  if (cut == std::string::npos) cut = line.find("&&");
  if (cut != std::string::npos) {
    const std::string comment = SignificantText("' " + line.substr(cut + 2));
    line.resize(cut);
    if (!comment.empty()) AppendLine(out, comment);
  }
  if (RunStatementChain(s, out) == ChainEnd::kEmit) Emit(s, out);
}

void CloseProcedure(const ConversionState& s, std::string& out) {
  if (s.procedure_name.empty()) return;
  if (s.is_function) {
    AppendLine(out, "End Function");
    AppendLine(out, "");
  } else {
    AppendLine(out, "End Sub");
    AppendLine(out, " ");
  }
}

// Runs `body`, reporting any fault as a "Program Error" naming `procname`.
template <typename Body>
void Trapped(Port& port, const char* procname, Body body) {
  try {
    body();
  } catch (const Fault& f) {
    ReportProgramError(port, f, procname);
  } catch (const std::bad_alloc&) {
    ReportProgramError(port, Fault(7, "Out of memory"), procname);
  } catch (const std::exception&) {
    ReportProgramError(port, Fault(kFaultInvalidCall), procname);
  }
}

}  // namespace

void ConvertXBaseBlock(Port& port, std::string_view input, std::string& output) {
  Trapped(port, "ConvertXBaseBlock", [&] {
    Check16(static_cast<Int>(input.size()));
    // Converted code runs about a quarter longer than its source.
    output.reserve(output.size() + input.size() + input.size() / 4);
    ConversionState state;
    const Int lines = MLCount(input, 0);
    for (Int n = 1; n <= lines; ++n) ConvertLine(state, MemoLine(input, 0, n), output);
    CloseProcedure(state, output);
  });
}

void ConvertXBaseProc(Port& port) {
  PortScope scope(port);
  Trapped(port, "ConvertXBaseProc", [&] {
    if (port.PaneSelLength() == 0) {
      port.SetPaneSelection(0, static_cast<long>(port.PaneText().size()));
    }
    const std::string input = port.PaneSelectedText();
    Check16(static_cast<Int>(input.size()));
    std::string output;
    ConvertXBaseBlock(port, input, output);
    ReplaceThroughPaste(port, output);
  });
}

}  // namespace qw
