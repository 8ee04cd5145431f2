// The search state: what the Find and Replace dialogs leave behind for the
// searches that follow. One SearchState lives as long as the window (or the
// qwtool run) that owns it; only the dialogs and the searches change it.
#pragma once

#include <string>

#include "platform/limits.h"

namespace qw {

// The search direction: forwards (down) is 1, every other value searches
// backwards (up).
inline constexpr int kSearchForwards = 1;
inline constexpr int kSearchBackwards = 0;

struct SearchState {
  std::string find_text;             // the text last searched for; empty at start
  bool match_case = false;           // letter case must match
  int direction = kSearchBackwards;  // the Find dialog sets it to forwards each time it opens
  Int last_found_pos = 0;    // the pane's selection start after the last search, found or not
  bool new_search = false;   // the Find dialog was just used: search from the caret itself
  std::string replace_text;  // the replacement of the Replace dialog; empty at start
};

}  // namespace qw
