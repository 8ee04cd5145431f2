// The menu bar built from its table, and the access keys that the keystrokes
// "%(EP)" rely on.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "shell/access_keys.h"
#include "shell/menu_table.h"

using namespace qw::shell;

class TestMenus : public QObject {
  Q_OBJECT

 private:
  QMainWindow* window_ = nullptr;

  QAction* Item(const QString& name) {
    return FindMenuAction(window_->menuBar(), name.toStdString());
  }

 private slots:
  void init() {
    window_ = new QMainWindow;
    window_->menuBar()->setNativeMenuBar(false);
    BuildMenus(window_->menuBar());
  }
  void cleanup() { delete window_; }

  // Every row of the menu table is built as it says, in its menu, in table order; a hidden item
  // can be neither seen nor used, shortcut included.
  void menusAreBuiltFromTheTable() {
    QMap<QString, QStringList> built, wanted;  // per menu ("" for the bar): the items in order
    for (const MenuEntry& e : MenuTable()) {
      QString item = QString(e.shown ? "" : "~") + e.name + "=" + e.caption;
      if (*e.shortcut) item += "=" + QKeySequence(e.shortcut).toString();
      wanted[e.parent] << (QString(e.caption) == "-" ? "-" : item);
    }
    for (const QString& menu : wanted.keys()) {
      const QList<QAction*> actions =
          menu.isEmpty() ? window_->menuBar()->actions() : Item(menu)->menu()->actions();
      for (QAction* a : actions) {
        QVERIFY2(a->isEnabled() == a->isVisible(), qPrintable(a->objectName()));
        QString item = (a->isVisible() ? "" : "~") + a->objectName() + "=" + a->text();
        if (!a->shortcut().isEmpty()) item += "=" + a->shortcut().toString();
        built[menu] << (a->isSeparator() ? "-" : item);
      }
    }
    QCOMPARE(built, wanted);
  }

  // "%(EP)" must not be able to reach any other item of the Edit menu. Access keys and the
  // keystrokes sent to the menu bar are rows of tests/data/shell/conversions.txt.
  void onlyPasteHasTheAccessKeyP() {
    QStringList with_p;
    for (QAction* a : Item("mnuEdit")->menu()->actions()) {
      if (AccessKey(a->text()) == u'P') with_p << a->objectName();
    }
    QCOMPARE(with_p, QStringList({"mnuPaste"}));
  }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
