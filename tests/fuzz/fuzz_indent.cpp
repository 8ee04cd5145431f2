// Fuzz target: the block indenter on an arbitrary text.
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "platform/limits.h"
#include "tools/indenter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qw::SetClassicLimits(size > 0 && (data[0] & 1) != 0);
  qw::fuzz::Twice("indent", [&] { return qw::IndentText(text); });
  return 0;
}
