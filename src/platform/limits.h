// The editor's 16-bit limits. Positions, lengths, counts and levels of the
// design are 16-bit signed integers: a value outside -32,768..32,767 is fault 6
// ("Overflow"). One process-wide switch decides whether the limits apply: the
// editor always applies them, qwtool only with --classic. For every value
// within the limits both give the same results.
#pragma once

#include <cstdint>

namespace qw {

// Integers of the core: wide enough for files of any size once the limits are lifted.
using Int = std::int64_t;

inline constexpr Int kInt16Min = -32768;
inline constexpr Int kInt16Max = 32767;

// True (the default) when the 16-bit limits apply.
bool ClassicLimits();
void SetClassicLimits(bool on);

// Returns v; throws Fault(kFaultOverflow) when the limits apply and v is
// outside the 16-bit range.
Int Check16(Int v);

}  // namespace qw
