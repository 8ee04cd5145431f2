// What the processor can do beyond the baseline the program is built for.
// The byte scanners take their wider paths only where it says so.
#pragma once

namespace qw {

// True when the processor reads 32 bytes at a time (AVX2) and the environment
// does not hold QW_NO_AVX2, which sends the scanners down their SSE2 paths as a
// processor without AVX2 would (the tests walk both). Asked once per process.
bool CpuHasAvx2();

// True when the processor reads 64 bytes at a time with byte masks
// (AVX-512BW), CpuHasAvx2 holds and the environment does not hold
// QW_NO_AVX512, which sends the scanners down their AVX2 paths (the tests
// walk each). Asked once per process.
bool CpuHasAvx512();

}  // namespace qw
