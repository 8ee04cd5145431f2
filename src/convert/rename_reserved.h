// Reserved-word renaming: the last step before a converted line is written.
// Identifiers of the xBase source that are reserved words in Basic (LINE,
// STRING, LEFT, ...) get new names ("pString", "cString", "nLeft", ...).
#pragma once

#include <string>

namespace qw {

// Walks the words of `line` (letters, digits and "_"); for each word that
// equals, in any letter case, a reserved word of the table, replaces the first
// occurrence of that word's text anywhere in `line` (any case, also inside a
// longer word) by its new name. Changes `line` and returns it. Never fails.
std::string RenameReserved(std::string& line);

}  // namespace qw
