#include "shell/key_preview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace qw::shell {

int ClassicKeyCode(int qt_key) {
  if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) return qt_key;  // same codes, 65-90
  if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9) return qt_key;  // 48-57
  if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F12) return 112 + (qt_key - Qt::Key_F1);
  switch (qt_key) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      return 0;
  }
}

KeyPreview::KeyPreview(QWidget* window, QWidget* entry_list, QObject* parent)
    : QObject(parent), window_(window), entry_list_(entry_list) {}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  // A key that its first receiver ignores travels on to the parents, and the
  // filter sees it again: only the focused control's delivery counts.
  QWidget* focus = QApplication::focusWidget();
  if (!focus || watched != focus || focus->window() != window_) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool in_list = focus == entry_list_ || entry_list_->isAncestorOf(focus);
  if (on_key_down) on_key_down(ClassicKeyCode(key->key()), in_list);
  const QString text = key->text();
  if (in_list && !text.isEmpty() && text[0].unicode() < 256 && on_entry_key_press) {
    on_entry_key_press(text[0].unicode());
  }
  return false;
}

}  // namespace qw::shell
