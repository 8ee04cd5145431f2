#include "document/module_document.h"

#include <cstdio>

namespace qw {

std::string FormatPosition(Int position) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%07lld", static_cast<long long>(position));
  return buf;
}

std::string ProcedureEntry::Text() const {
  return name + "|" + FormatPosition(position);
}

}  // namespace qw
