// Key preview for the main window: an application-wide event filter that sees
// every key pressed in the window before the focused control does. It reports
// each key down with its classic key code and whether the entry list is the
// active control, and each character typed into the entry list with its
// character code. It never consumes a key.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace qw::shell {

// The classic key code of a Qt key: 13 for Enter and Return, 27 for Escape,
// 65-90 for letters, 112-123 for F1-F12 and so on; 0 for keys without one.
int ClassicKeyCode(int qt_key);

class KeyPreview final : public QObject {
 public:
  // `window` is the main window, `entry_list` its cbProc; both outlive the filter.
  KeyPreview(QWidget* window, QWidget* entry_list, QObject* parent);

  std::function<void(int key_code, bool active_is_entry_list)> on_key_down;
  std::function<void(int key_ascii)> on_entry_key_press;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  QWidget* entry_list_;
};

}  // namespace qw::shell
