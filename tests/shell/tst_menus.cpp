// The menu bar as a user meets it: every item's caption, shortcut, place and
// visibility, the hidden items and their shortcuts out of reach, and the
// access keys that the keystrokes "%(EP)" rely on.
#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

#include "shell/access_keys.h"
#include "shell/menu_table.h"

using namespace qw::shell;

class TestMenus : public QObject {
  Q_OBJECT

 private:
  QMainWindow* window_ = nullptr;

  QAction* Item(const char* name) { return FindMenuAction(window_->menuBar(), name); }

 private slots:
  void init() {
    window_ = new QMainWindow;
    window_->menuBar()->setNativeMenuBar(false);
    BuildMenus(window_->menuBar());
  }
  void cleanup() { delete window_; }

  void items_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("menu");  // object name of the action of the menu holding it
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("shown");
    auto row = [](const char* name, const char* menu, const char* caption, const char* shortcut,
                  bool shown) {
      QTest::newRow(name) << name << menu << caption << shortcut << shown;
    };
    row("mnuFile", "", "&File", "", true);
    row("mnuFileNew", "mnuFile", "File &New", "", false);
    row("mnuFileOpen", "mnuFile", "&File Open", "", true);
    row("mnuFileBas", "mnuFileOpen", ".&BAS Files", "", true);
    row("mnuFilePrg", "mnuFileOpen", ".&PRG Files", "", true);
    row("mnuFileFRM", "mnuFileOpen", ".&FRM Files", "", true);
    row("mnuVbp", "mnuFileOpen", "&.VBP", "", true);
    row("mnuMakFiles", "mnuFileOpen", ".&MAK Files", "", true);
    row("mnuClsFiles", "mnuFileOpen", ".&CLS Files", "", true);
    row("mnuFillAll", "mnuFileOpen", "&All Files", "", true);
    row("mnuOpenModule", "mnuFile", "&Module Open", "", true);
    row("mnuBasFiles", "mnuOpenModule", ".&BAS Files", "", true);
    row("mnuFrmFilesn", "mnuOpenModule", ".&FRM Files", "", true);
    row("mnuCls", "mnuOpenModule", ".&CLS Files", "", true);
    row("mnuPrgFiles", "mnuOpenModule", ".&PRG Files", "", true);
    row("mnuFileClose", "mnuFile", "&Close", "", true);
    row("mnuFileSave", "mnuFile", "&Save", "", true);
    row("mnuSaveAs", "mnuFile", "Save &As", "", true);
    row("mnuPrint", "mnuFile", "&Print Selected Text", "Ctrl+P", true);
    row("mnuFileExit", "mnuFile", "E&xit", "Ctrl+E", true);
    row("mnuEdit", "", "&Edit", "", true);
    row("mnuCut", "mnuEdit", "Cu&t", "Ctrl+X", true);
    row("mnuCopy", "mnuEdit", "&Copy", "Ctrl+C", true);
    row("mnuConcatenate", "mnuEdit", "C&oncatenate", "Ctrl+O", true);
    row("mnuClear", "mnuEdit", "C&lear", "", true);
    row("mnuPaste", "mnuEdit", "&Paste", "Ctrl+V", true);
    row("mnuDeleteText", "mnuEdit", "&Delete All Text", "Ctrl+D", true);
    row("mnjSelectAll", "mnuEdit", "&Select All", "Ctrl+A", true);
    row("mnuSelectCut", "mnuEdit", "S&elect && Cut", "Ctrl+K", true);
    row("mnuFind", "mnuEdit", "&Find", "F2", true);
    row("mnuFindNext", "mnuEdit", "Find &Next", "F3", true);
    row("mnuReplace", "mnuEdit", "Replace", "Ctrl+R", true);
    row("mnuOptions", "", "&Options", "", true);
    row("mnuComment", "mnuOptions", "&Comment", "F4", true);
    row("mnuUncomment", "mnuOptions", "&Uncomment", "Shift+F4", true);
    row("mnuIndent", "mnuOptions", "&Indent Selected Text", "F5", true);
    row("mnuConvert", "mnuOptions", "&Convert Selected xBase Text", "F6", true);
    row("mnuFindDiff", "mnuOptions", "Find &Difference", "F7", false);
    row("menuFontSizeToggle", "mnuOptions", "Font Size &Toggle", "", false);
    row("mnuWindows", "", "&Window", "", false);
    row("mnuTile", "mnuWindows", "&Tile", "", false);
    row("mnuCascade", "mnuWindows", "&Cascade", "", false);
    row("mnuHelp", "", "&Help", "", false);
    row("mnuHelponHelp", "mnuHelp", "&Help", "", false);
    row("mnuAbout", "mnuHelp", "&About Kv Quillwright", "", false);
  }
  void items() {
    QFETCH(QString, name);
    QFETCH(QString, menu);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, shown);
    QAction* item = Item(name.toLatin1().constData());
    QVERIFY2(item, qPrintable(name));
    QCOMPARE(item->text(), caption);
    QCOMPARE(item->shortcut(), QKeySequence(shortcut));
    QCOMPARE(item->isVisible(), shown);
    QCOMPARE(item->isEnabled(), shown);
    // The item stands in the menu the table names, or on the bar.
    const QList<QAction*> siblings = menu.isEmpty()
                                         ? window_->menuBar()->actions()
                                         : Item(menu.toLatin1().constData())->menu()->actions();
    QVERIFY(siblings.contains(item));
  }

  void menusListTheirItemsInOrderWithSeparators() {
    auto names = [](QMenu* menu) {
      QStringList out;
      for (QAction* a : menu->actions()) out << (a->isSeparator() ? "-" : a->objectName());
      return out;
    };
    QCOMPARE(names(Item("mnuFile")->menu()),
             QStringList({"mnuFileNew", "mnuFileOpen", "mnuOpenModule", "mnuFileClose",
                          "mnuFileSave", "mnuSaveAs", "mnuPrint", "-", "mnuFileExit"}));
    QCOMPARE(names(Item("mnuEdit")->menu()),
             QStringList({"mnuCut", "mnuCopy", "mnuConcatenate", "mnuClear", "mnuPaste", "-",
                          "mnuDeleteText", "mnjSelectAll", "mnuSelectCut", "-", "mnuFind",
                          "mnuFindNext", "-", "mnuReplace"}));
    QCOMPARE(names(Item("mnuOptions")->menu()),
             QStringList({"mnuComment", "mnuUncomment", "-", "mnuIndent", "mnuConvert",
                          "mnuFindDiff", "menuFontSizeToggle"}));
  }

  void theVisibleBarIsFileEditOptions() {
    QStringList shown;
    for (QAction* a : window_->menuBar()->actions()) {
      if (a->isVisible()) shown << a->text();
    }
    QCOMPARE(shown, QStringList({"&File", "&Edit", "&Options"}));
  }

  void onlyPasteTakesPInTheEditMenu() {
    QStringList with_p;
    for (QAction* a : Item("mnuEdit")->menu()->actions()) {
      if (AccessKey(a->text()) == u'P') with_p << a->objectName();
    }
    QCOMPARE(with_p, QStringList({"mnuPaste"}));
  }

  void altEPReachesPasteAndNothingElse() {
    QSignalSpy paste(Item("mnuPaste"), &QAction::triggered);
    QSignalSpy cut(Item("mnuCut"), &QAction::triggered);
    QVERIFY(SendAccessKeys(window_->menuBar(), "%(EP)"));
    QCOMPARE(paste.count(), 1);
    QCOMPARE(cut.count(), 0);
  }

  void accessKeysReachOnlyUsableItems_data() {
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("reached");  // "" when nothing may run
    QTest::newRow("submenu item") << QByteArray("%(FMB)") << "mnuBasFiles";
    QTest::newRow("lower case keys") << QByteArray("%(ep)") << "mnuPaste";
    QTest::newRow("select and cut by e") << QByteArray("%(EE)") << "mnuSelectCut";
    QTest::newRow("hidden menu") << QByteArray("%(WT)") << "";
    QTest::newRow("hidden item") << QByteArray("%(OT)") << "";
    QTest::newRow("menu left open") << QByteArray("%E") << "";
    QTest::newRow("no alt") << QByteArray("EP") << "";
    QTest::newRow("unknown key") << QByteArray("%(EQ)") << "";
    QTest::newRow("past an item") << QByteArray("%(EPX)") << "";
  }
  void accessKeysReachOnlyUsableItems() {
    QFETCH(QByteArray, keys);
    QFETCH(QString, reached);
    QStringList triggered;
    for (QAction* a : window_->menuBar()->findChildren<QAction*>()) {
      connect(a, &QAction::triggered, this, [&triggered, a] { triggered << a->objectName(); });
    }
    const bool ran = SendAccessKeys(window_->menuBar(), keys.toStdString());
    QCOMPARE(ran, !reached.isEmpty());
    QCOMPARE(triggered, reached.isEmpty() ? QStringList() : QStringList({reached}));
  }

  void accessKeys_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("key");
    QTest::newRow("first letter") << "&File"
                                  << "F";
    QTest::newRow("inside") << "Cu&t"
                            << "T";
    QTest::newRow("after a literal ampersand") << "S&elect && Cut"
                                               << "E";
    QTest::newRow("only literal") << "A && B"
                                  << "";
    QTest::newRow("dot") << "&.VBP"
                         << ".";
    QTest::newRow("none") << "Replace"
                          << "";
    QTest::newRow("trailing ampersand") << "Save&"
                                        << "";
  }
  void accessKeys() {
    QFETCH(QString, caption);
    QFETCH(QString, key);
    const QChar got = AccessKey(caption);
    QCOMPARE(got.isNull() ? QString() : QString(got), key);
  }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
