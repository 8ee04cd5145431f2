// Case folding of single bytes: for every byte value, the byte of its
// upper-case letter in the same code page (the byte itself when it has none
// there). A search that ignores letter case folds text and pattern with the
// same table, so that a match always has the pattern's length. Which table
// applies depends on the code page the pane shows its bytes in; the port tells.
#pragma once

#include <array>

namespace qw {

using CaseFold = std::array<unsigned char, 256>;

// Windows-1252: a-z, the accented letters 0xE0-0xFE but 0xF7, and the pairs
// 0x8A/0x9A, 0x8C/0x9C, 0x8E/0x9E and 0x9F/0xFF.
const CaseFold& Windows1252CaseFold();

}  // namespace qw
