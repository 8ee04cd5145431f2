#include "document/module_document.h"

namespace qw {

std::string FormatPosition(Int position) {
  std::string digits = std::to_string(position);
  if (digits.size() < 7) digits.insert(0, 7 - digits.size(), '0');
  return digits;
}

std::string ProcedureEntry::Text() const {
  return name + "|" + FormatPosition(position);
}

}  // namespace qw
