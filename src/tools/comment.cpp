#include "tools/comment.h"

#include "platform/limits.h"
#include "textlib/cliplib.h"
#include "tools/selection.h"

namespace qw {
namespace {

constexpr std::string_view kCrLf = "\r\n";

// Calls `write(line)` for every line of `text`, divided as MLCount and
// MemoLine divide it, after checking the text's length against the limits.
template <typename Write>
void ForEachLine(std::string_view text, Write write) {
  Check16(static_cast<Int>(text.size()));
  const Int lines = MLCount(text, 0);
  for (Int n = 1; n <= lines; ++n) write(MemoLine(text, 0, n));
}

}  // namespace

bool IsCommentLine(std::string_view line) {
  const size_t first = line.find_first_not_of(' ');
  return first != std::string_view::npos && line[first] == '\'';
}

std::string CommentText(std::string_view selection) {
  std::string result;
  // Room for the apostrophes of lines some eight bytes long on average.
  result.reserve(selection.size() + selection.size() / 8 + 3);
  ForEachLine(selection, [&](const std::string& line) {
    result.append(static_cast<size_t>(CountLeadingBlanks(line)), ' ');
    result += '\'';
    result += Trim(line);
    result += kCrLf;
  });
  return result;
}

std::string UncommentText(std::string_view selection) {
  std::string result;
  result.reserve(selection.size() + 2);
  ForEachLine(selection, [&](std::string line) {
    if (IsCommentLine(line)) ReplaceFirst(line, "'", "");
    result += RTrim(line);
    result += kCrLf;
  });
  return result;
}

void CommentSelection(Port& port) {
  RewriteSelection(port, EmptyPane::kBlank, "You have no text selected!", CommentText);
}

void UncommentSelection(Port& port) {
  RewriteSelection(port, EmptyPane::kNoCharacters, "You have no text selected!", UncommentText);
}

}  // namespace qw
