// Fuzz target: comment and uncomment on an arbitrary text, and uncomment on
// what comment made of it.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "platform/limits.h"
#include "tools/comment.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qw::SetClassicLimits(size > 0 && (data[0] & 1) != 0);
  const std::string commented = qw::fuzz::Twice("comment", [&] { return qw::CommentText(text); });
  qw::fuzz::Twice("uncomment", [&] { return qw::UncommentText(text); });
  qw::fuzz::Twice("uncomment commented", [&] { return qw::UncommentText(commented); });
  return 0;
}
