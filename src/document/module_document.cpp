#include "document/module_document.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace qw {

std::string FormatPosition(Int position) {
  std::string digits;
  AppendPosition(digits, position);
  return digits;
}

void AppendPosition(std::string& out, Int position) {
  char digits[kPositionRoom];
  out.append(digits, static_cast<size_t>(WritePosition(digits, position) - digits));
}

char* WritePosition(char* at, Int position) {
  if (position >= 0 && position < 10'000'000) {
    // The usual seven digits, two at a time from a table of "00" to "99".
    static constexpr auto kPairs = [] {
      std::array<char, 200> pairs{};
      for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
      }
      return pairs;
    }();
    const auto p = static_cast<uint32_t>(position);
    const uint32_t low = p % 100'000, tail = low % 1000;
    std::memcpy(at, &kPairs[2 * (p / 100'000)], 2);
    std::memcpy(at + 2, &kPairs[2 * (low / 1000)], 2);
    std::memcpy(at + 4, &kPairs[2 * (tail / 10)], 2);
    at[6] = static_cast<char>('0' + tail % 10);
    return at + 7;
  }
  char digits[kPositionRoom];
  const char* end = std::to_chars(digits, digits + sizeof digits, position).ptr;
  const size_t n = static_cast<size_t>(end - digits);
  if (n < 7) at = std::fill_n(at, 7 - n, '0');
  return std::copy_n(digits, n, at);
}

void ModuleDocument::SetFile(std::string file_name, OpenMode mode) {
  file_name_ = std::move(file_name);
  mode_ = mode;
  if (mode == OpenMode::kWholeText) ForgetIndex();
}

void ModuleDocument::SetIndex(EntryList entries, FileStamp stamp) {
  entries_ = std::move(entries);
  stamp_ = stamp;
  current_ = 0;
}

EntryList ModuleDocument::TakeIndex() {
  EntryList entries = std::move(entries_);
  ForgetIndex();
  return entries;
}

std::string ModuleDocument::current_entry_name() const {
  return entries_.empty() ? std::string() : std::string(entries_.name(current_));
}

void ModuleDocument::ShowEntry(Int index) {
  if (HasEntry(index)) current_ = static_cast<size_t>(index);
}

bool ModuleDocument::TakePaneFocusRequest() {
  const bool requested = focus_pane_requested_;
  focus_pane_requested_ = false;
  return requested;
}

}  // namespace qw
