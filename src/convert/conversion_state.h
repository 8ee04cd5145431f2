// The conversion state: what the xBase-to-Basic converter keeps while it
// walks the lines of one block. It starts afresh with every ConvertXBaseBlock
// call; the line rules read and change it, and append to the output text.
#pragma once

#include <string>
#include <string_view>

#include "platform/limits.h"

namespace qw {

struct ConversionState {
  std::string line;                 // the line being converted
  std::string upper_line;           // the line trimmed and in upper case (keyword tests)
  std::string pending;              // earlier lines that ended in ";", joined
  bool in_block_comment = false;    // inside a /* ... */ that spans lines
  std::string procedure_name;       // name of the last converted header
  bool is_function = false;         // that header was a function
  std::string area_name;            // work area chosen by the last SELECT
  Int block_depth = 0;              // open blocks; a 16-bit level, never below 0
  bool case_open = false;           // a CASE of the current DO CASE was converted
  bool loop_label_pending = false;  // a LOOP jumped to a label still to be written
  std::string loop_kind;            // "Do" or "For": the loop opened last, for EXIT
  std::string record_set;           // the area name trimmed, or "oKV"; worked out per line
};

// Appends `text` and CR LF to `out` (the "append" of the line rules: no renaming).
inline void AppendLine(std::string& out, std::string_view text) {
  out.append(text);
  out.append("\r\n");
}

}  // namespace qw
