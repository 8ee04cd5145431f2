// Fuzz target: the searches. The input is a flag byte, a pattern length, the
// pattern and a text. The first match found forwards must match there and
// have no match before it; the lines found in the text and in the text
// indexed as a module must be the same twice.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/module_index.h"
#include "find/module_search.h"
#include "find/text_search.h"
#include "fuzz_check.h"
#include "platform/port.h"

namespace {

std::string Lines(const std::vector<qw::ModuleHit>& hits) {
  std::string out;
  for (const qw::ModuleHit& h : hits) {
    out += std::to_string(h.entry) + "|" + std::to_string(h.line) + "|" + std::to_string(h.offset) +
           "|" + h.line_text + "\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const bool match_case = (data[0] & 1) != 0;
  const size_t length = std::min<size_t>(data[1] % 16, size - 2);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string_view pattern = bytes.substr(2, length), text = bytes.substr(2 + length);
  const size_t first = qw::FindForwards(text, pattern, 0, match_case);
  if (first != std::string_view::npos && !pattern.empty()) {
    const size_t before = qw::FindBackwards(text, pattern, first, match_case);
    if (!qw::MatchesAt(text, first, pattern, match_case) || before != std::string_view::npos) {
      std::fprintf(stderr, "search: the first match forwards is not the first\n");
      std::abort();
    }
  }
  qw::fuzz::Twice("lines", [&] { return Lines(qw::FindLinesInText(text, pattern, match_case)); });
  qw::fuzz::Twice("module", [&] {
    const auto entries = qw::IndexModule(text, "F.BAS", {}, qw::CurrentPort());
    return Lines(qw::FindInModuleBytes(text, entries, {}, pattern, match_case));
  });
  return 0;
}
