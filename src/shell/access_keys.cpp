#include "shell/access_keys.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace qw::shell {
namespace {

QAction* ActionForKey(const QList<QAction*>& actions, QChar key) {
  for (QAction* a : actions) {
    if (a->isSeparator() || !a->isVisible() || !a->isEnabled()) continue;
    if (AccessKey(a->text()) == key) return a;
  }
  return nullptr;
}

}  // namespace

QChar AccessKey(const QString& caption) {
  for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] == u'&') {
      ++i;  // "&&" is a plain "&"
      continue;
    }
    return caption[i + 1].toUpper();
  }
  return QChar();
}

bool SendAccessKeys(QMenuBar* bar, std::string_view keys) {
  if (keys.size() < 2 || keys[0] != '%') return false;
  std::string_view held = keys.substr(1);
  if (held.front() == '(') {
    if (held.size() < 3 || held.back() != ')') return false;
    held = held.substr(1, held.size() - 2);
  } else if (held.size() != 1) {
    return false;
  }
  QList<QAction*> actions = bar->actions();
  QAction* reached = nullptr;
  for (char k : held) {
    reached = ActionForKey(actions, QChar::fromLatin1(k).toUpper());
    if (!reached) return false;
    if (QMenu* menu = reached->menu()) {
      actions = menu->actions();
    } else {
      actions.clear();
    }
  }
  if (reached->menu()) return false;  // a menu opened and left open: nothing to run
  reached->trigger();
  return true;
}

}  // namespace qw::shell
