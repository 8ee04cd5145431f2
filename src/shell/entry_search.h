// EntrySearch: finding an entry by typing part of its name in the entry
// list's text field. Each edit of the text by the user offers, in a popup
// under the list, every entry whose name holds the text (letter case
// ignored); choosing one (click, or Enter on it) switches to it as choosing
// it in the list does. The popup holds indices into the list, never copies
// of the names, so a keystroke on a list of 60,000 entries costs one scan of
// the names (a keystroke that adds to the text searches only the entries
// offered before). It also widens the list's drop-down to its longest name.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QCompleter;

namespace qw::shell {

class EntryMatches;
class EntryNames;
class EntryPopup;

class EntrySearch final : public QObject {
 public:
  // `list` is cbProc showing `shown`; `choose` switches to an entry by its
  // index in it.
  EntrySearch(QComboBox* list, const EntryNames* shown, std::function<void(int)> choose);

  // The list's names have changed (`shown` holds the new ones).
  void NamesChanged();

  // Offers the entries whose names hold `text`; hides the offer when none does.
  void Offer(const QString& text);
  // The entries offered, as indices into the list.
  const std::vector<int>& offered() const { return offered_; }
  QCompleter* completer() const { return completer_; }

 protected:
  // The first time the text field takes the focus, the popup's window is
  // made (and styled and sized) before any keystroke: under X, showing it
  // the first time cost 15-150 ms of waiting for the server.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QComboBox* list_;
  std::function<void(int)> choose_;
  const EntryNames* shown_;  // the names as the list shows them
  std::vector<int> offered_;
  std::string offered_for_;  // the text typed when offered_ was found
  EntryMatches* matches_;
  QCompleter* completer_;
  EntryPopup* popup_ = nullptr;  // the completer's
  int popup_width_ = 0;
  bool popup_made_ = false;
};

}  // namespace qw::shell
