#include "find/search_commands.h"

#include <algorithm>

#include "find/text_search.h"
#include "platform/report.h"
#include "textlib/cliplib.h"

namespace qw {

size_t SearchPaneText(std::string_view text, const SearchState& state, Int sel_start,
                      const CaseFold& fold) {
  const Int offset = (sel_start == state.last_found_pos && !state.new_search) ? 1 : 0;
  const auto start = static_cast<size_t>(std::max<Int>(sel_start, 0));
  if (state.direction == kSearchForwards) {
    return FindForwards(text, state.find_text, start + static_cast<size_t>(offset),
                        state.match_case, fold);
  }
  return FindBackwards(text, state.find_text, start, state.match_case, fold);
}

Notice CannotFind(const std::string& text) {
  return {NoticeKind::kWarning, "Cannot find \"" + text + "\"", "", Buttons::kOk,
          Icon::kExclamation};
}

void ApplyFindAnswer(const FindDialogAnswer& answer, SearchState& state) {
  state.direction = answer.direction;
  if (answer.match_case_clicked) state.match_case = answer.match_case;
  if (answer.closed != DialogClose::kCloseBox) {
    state.find_text = answer.text;
    state.match_case = answer.match_case;
  }
}

void SearchCommands::Find() {
  const FindDialogAnswer answer = port_.ShowFindDialog(port_.PaneSelectedText());
  state_.new_search = true;
  ApplyFindAnswer(answer, state_);
  Search(true);
}

void SearchCommands::FindNext() {
  if (!state_.find_text.empty()) Search(false);
}

void SearchCommands::Search(bool narrow_start) {
  RunTrapped(port_, [&] {
    const Int sel_start = port_.PaneSelStart();
    if (narrow_start) Check16(sel_start);
    const size_t found = SearchPaneText(port_.PaneText(), state_, sel_start, port_.PaneCaseFold());
    if (found != std::string_view::npos) {
      port_.SetPaneSelection(static_cast<long>(found), static_cast<long>(state_.find_text.size()));
    } else {
      port_.MessageBox(CannotFind(state_.find_text));
    }
    state_.last_found_pos = Check16(port_.PaneSelStart());
    state_.new_search = false;
  });
}

void SearchCommands::Replace() {
  const ReplaceDialogAnswer answer = port_.ShowReplaceDialog();
  if (answer.closed == DialogClose::kAccept) {
    state_.match_case = answer.case_sensitive;
    state_.find_text = answer.find_what;
    state_.replace_text = answer.replace_with;
  } else {
    state_.find_text.clear();
    state_.replace_text.clear();
  }
  if (!state_.find_text.empty()) ReplaceAllInPane();
}

void SearchCommands::ReplaceAllInPane() {
  const long caret = port_.PaneSelStart();
  const std::string text = StrTran(port_.PaneText(), state_.find_text, state_.replace_text);
  port_.SetPaneText(text);
  port_.SetPaneSelection(std::min(caret, static_cast<long>(text.size())), 0);
}

}  // namespace qw
