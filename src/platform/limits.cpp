#include "platform/limits.h"

#include "platform/fault.h"

namespace qw {
namespace {
bool classic_limits = true;
}  // namespace

bool ClassicLimits() { return classic_limits; }
void SetClassicLimits(bool on) { classic_limits = on; }

Int Check16(Int v) {
  if (classic_limits && (v < kInt16Min || v > kInt16Max)) throw Fault(kFaultOverflow);
  return v;
}

}  // namespace qw
