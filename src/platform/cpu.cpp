#include "platform/cpu.h"

#include <cstdlib>

namespace qw {

bool CpuHasAvx2() {
#if defined(__x86_64__)
  static const bool has = __builtin_cpu_supports("avx2") && std::getenv("QW_NO_AVX2") == nullptr;
  return has;
#else
  return false;
#endif
}

bool CpuHasAvx512() {
#if defined(__x86_64__)
  static const bool has =
      CpuHasAvx2() && __builtin_cpu_supports("avx512bw") && std::getenv("QW_NO_AVX512") == nullptr;
  return has;
#else
  return false;
#endif
}

}  // namespace qw
