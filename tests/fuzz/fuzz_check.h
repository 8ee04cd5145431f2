// Shared by the fuzz targets: an operation run twice on the same input must
// give the same result, a fault included; anything else stops the run.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "platform/fault.h"

namespace qw::fuzz {

// The result of `op`, or "fault N" when it throws a Fault.
inline std::string Outcome(const std::function<std::string()>& op) {
  try {
    return op();
  } catch (const Fault& f) {
    return "fault " + std::to_string(f.number());
  }
}

// Runs `op` twice and aborts when the two outcomes differ.
inline std::string Twice(const char* what, const std::function<std::string()>& op) {
  const std::string first = Outcome(op), second = Outcome(op);
  if (first != second) {
    std::fprintf(stderr, "%s: two runs on the same input differ\n", what);
    std::abort();
  }
  return first;
}

}  // namespace qw::fuzz
