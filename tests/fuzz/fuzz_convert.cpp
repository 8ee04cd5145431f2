// Fuzz target: the xBase-to-Basic converter on an arbitrary text.
#include <cstdint>
#include <string>
#include <string_view>

#include "convert/converter.h"
#include "fuzz_check.h"
#include "platform/limits.h"
#include "platform/port.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  qw::SetClassicLimits(size > 0 && (data[0] & 1) != 0);
  qw::fuzz::Twice("convert", [&] {
    std::string out;
    qw::ConvertXBaseBlock(qw::CurrentPort(), text, out);
    return out;
  });
  return 0;
}
