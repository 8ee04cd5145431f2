#include "document/module_document.h"

#include <algorithm>
#include <bit>
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
  if (std::endian::native == std::endian::little && position >= 0 && position < 10'000'000) {
    // The usual seven digits, as eight with a leading zero worked out side by
    // side in one number, the first digit in its lowest byte: its halves hold
    // four digits each, then its quarters two, then its bytes one (the
    // divisions by 100 and 10 are a multiplication and a shift, exact for
    // these ranges). The eight bytes are written, the leading zero shifted out.
    const auto p = static_cast<uint64_t>(position);
    uint64_t v = (p / 10'000) | ((p % 10'000) << 32);
    const uint64_t hundreds = ((v * 10'486) >> 20) & 0x0000'007f'0000'007f;
    v = hundreds | ((v - hundreds * 100) << 16);
    const uint64_t tens = ((v * 103) >> 10) & 0x000f'000f'000f'000f;
    v = tens | ((v - tens * 10) << 8);
    v = (v | 0x3030'3030'3030'3030) >> 8;
    std::memcpy(at, &v, 8);
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
