#include "convert/scanners.h"

#include <string_view>

#include "platform/fault.h"
#include "platform/port.h"
#include "platform/report.h"
#include "textlib/cliplib.h"

namespace qw {
namespace {

ScanState scan_state;

bool IsSpacedWordChar(char c) { return c != ' '; }
bool IsOperandChar(char c) {
  return IsCodeWordChar(c) || c == '(' || c == ')' || c == '[' || c == ']';
}

// The rule of the first three scanners: skip leading separators, take word
// characters, consume the separator that ends the word. A rest of blanks only
// is left in the text.
template <typename IsWordChar>
std::string ScanWord(std::string& text, IsWordChar is_word_char) {
  std::string word;
  const size_t last = text.find_last_not_of(' ');
  size_t i = 0;
  while (last != std::string::npos && i <= last) {
    Check16(static_cast<Int>(i + 1));
    const char c = text[i++];
    if (is_word_char(c)) {
      word += c;
    } else if (!IsEmptyValue(std::string_view(word))) {
      break;
    }
  }
  text.erase(0, i);
  return word;
}

// Runs a scanner, trapping its faults in the scanner's own form of report.
template <typename Body>
std::string Trapped(const char* program_error_name, Body body) {
  try {
    return body();
  } catch (const Fault& f) {
    if (program_error_name) ReportProgramError(CurrentPort(), f, program_error_name);
    else ShowProcedureError(CurrentPort(), f);
  } catch (const std::exception&) {
    const Fault f(kFaultInvalidCall);
    if (program_error_name) ReportProgramError(CurrentPort(), f, program_error_name);
    else ShowProcedureError(CurrentPort(), f);
  }
  return {};
}

bool IsMarker(unsigned char c) { return c == 223 || c == 181 || c == 239 || c == 167; }

}  // namespace

std::string GetNextVBWord(std::string& text) {
  return Trapped("GetNextVBWord", [&] { return ScanWord(text, IsCodeWordChar); });
}

std::string GetNextCodeWord(std::string& text) {
  return Trapped(nullptr, [&] { return ScanWord(text, IsCodeWordChar); });
}

std::string GetNextSpacedWord(std::string& text) {
  return Trapped(nullptr, [&] { return ScanWord(text, IsSpacedWordChar); });
}

std::string GetNextPSOWord(std::string& text) {
  return Trapped("GetNextPSOWord", [&]() -> std::string {
    std::string word;
    Int depth = 0;
    bool in_quote = false;
    size_t i = 0;  // characters of the text consumed so far
    const size_t last = text.find_last_not_of(' ');
    auto finish = [&](std::string result) {
      text.erase(0, i);
      return result;
    };
    for (;;) {
      if (last == std::string::npos || i > last) {
        if (depth > 0) ReplaceFirst(word, "(", "");
        return finish(word);
      }
      Check16(static_cast<Int>(i + 1));
      const char c = text[i];
      if (c == '"') in_quote = !in_quote;
      if (!in_quote && c == '(') {
        depth = Check16(depth + 1);
      } else if (!in_quote && c == ')') {
        depth = Check16(depth - 1);
        if (depth < 0) {
          depth = 0;
          ++i;  // an unmatched ")" is dropped
          continue;
        }
      }
      if (in_quote || IsOperandChar(c)) {
        word += c;
        ++i;
        continue;
      }
      ++i;  // a separator
      if (word.empty()) continue;
      if (depth > 0) ReplaceFirst(word, "(", "");
      if (word.empty()) continue;
      return finish(word);
    }
  });
}

ScanState& TheScanState() { return scan_state; }

void StartScan(const std::string& line) {
  scan_state.ScanText = line;
  scan_state.ScanPos = 1;
  scan_state.ScanEnd = static_cast<Int>(line.size());
}

std::string GetNextWord() {
  return Trapped("GetNextWord", []() -> std::string {
    ScanState& s = scan_state;
    std::string word;
    bool in_blanks = false;
    auto at = [&](Int pos) -> char {
      if (pos < 1 || pos > static_cast<Int>(s.ScanText.size())) throw Fault(kFaultInvalidCall);
      return s.ScanText[static_cast<size_t>(pos - 1)];
    };
    for (;;) {
      if (s.ScanPos > s.ScanEnd) return word;
      const char c = at(s.ScanPos);
      s.ScanPos = Check16(s.ScanPos + 1);
      if (c == ' ') {
        if (in_blanks) {
          word += c;
          continue;
        }
        if (!word.empty()) {
          --s.ScanPos;
          return word;
        }
        word = c;
        in_blanks = true;
        continue;
      }
      if (c == '\r') {
        if (!word.empty()) {
          --s.ScanPos;
          return word;
        }
        if (s.ScanPos <= static_cast<Int>(s.ScanText.size()) && at(s.ScanPos) == '\n') {
          s.ScanPos = Check16(s.ScanPos + 1);
          return std::string("\r\n");
        }
        return std::string("\r");
      }
      if (IsMarker(static_cast<unsigned char>(c))) {
        if (word.empty()) return std::string(1, c);
        --s.ScanPos;
        return word;
      }
      if (in_blanks) {
        --s.ScanPos;
        return word;
      }
      word += c;
    }
  });
}

}  // namespace qw
