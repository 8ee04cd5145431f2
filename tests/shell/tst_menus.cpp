// The menu bar as a user meets it: every item's caption, shortcut, place and
// visibility, and the access keys that the keystrokes "%(EP)" rely on.
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

  // Each item as "name=caption[=shortcut]", "~" before a hidden one, "-" for a separator.
  void layout_data() {
    QTest::addColumn<QString>("menu");   // "" for the bar itself
    QTest::addColumn<QString>("items");  // separated by "|"
    auto row = [](const char* name, const char* menu, const char* items) {
      QTest::newRow(name) << menu << items;
    };
    row("bar", "",
        "mnuFile=&File|mnuEdit=&Edit|mnuOptions=&Options|~mnuWindows=&Window|~mnuHelp=&Help");
    row("File", "mnuFile",
        "~mnuFileNew=File &New|mnuFileOpen=&File Open|mnuOpenModule=&Module Open|"
        "mnuFileClose=&Close|mnuFileSave=&Save|mnuSaveAs=Save &As|"
        "mnuPrint=&Print Selected Text=Ctrl+P|-|mnuFileExit=E&xit=Ctrl+E");
    row("File Open", "mnuFileOpen",
        "mnuFileBas=.&BAS Files|mnuFilePrg=.&PRG Files|mnuFileFRM=.&FRM Files|mnuVbp=&.VBP|"
        "mnuMakFiles=.&MAK Files|mnuClsFiles=.&CLS Files|mnuFillAll=&All Files");
    row("Module Open", "mnuOpenModule",
        "mnuBasFiles=.&BAS Files|mnuFrmFilesn=.&FRM Files|mnuCls=.&CLS Files|"
        "mnuPrgFiles=.&PRG Files");
    row("Edit", "mnuEdit",
        "mnuCut=Cu&t=Ctrl+X|mnuCopy=&Copy=Ctrl+C|mnuConcatenate=C&oncatenate=Ctrl+O|"
        "mnuClear=C&lear|mnuPaste=&Paste=Ctrl+V|-|mnuDeleteText=&Delete All Text=Ctrl+D|"
        "mnjSelectAll=&Select All=Ctrl+A|mnuSelectCut=S&elect && Cut=Ctrl+K|-|"
        "mnuFind=&Find=F2|mnuFindNext=Find &Next=F3|-|mnuReplace=Replace=Ctrl+R");
    row("Options", "mnuOptions",
        "mnuComment=&Comment=F4|mnuUncomment=&Uncomment=Shift+F4|-|"
        "mnuIndent=&Indent Selected Text=F5|mnuConvert=&Convert Selected xBase Text=F6|"
        "~mnuFindDiff=Find &Difference=F7|~menuFontSizeToggle=Font Size &Toggle");
    row("Window", "mnuWindows", "~mnuTile=&Tile|~mnuCascade=&Cascade");
    row("Help", "mnuHelp", "~mnuHelponHelp=&Help|~mnuAbout=&About Kv Quillwright");
  }
  void layout() {
    QFETCH(QString, menu);
    QFETCH(QString, items);
    const QList<QAction*> actions =
        menu.isEmpty() ? window_->menuBar()->actions() : Item(menu)->menu()->actions();
    QStringList seen;
    for (QAction* a : actions) {
      // A hidden item can be neither seen nor used, shortcut included.
      QVERIFY2(a->isEnabled() == a->isVisible(), qPrintable(a->objectName()));
      if (a->isSeparator()) {
        seen << "-";
        continue;
      }
      QString item = (a->isVisible() ? "" : "~") + a->objectName() + "=" + a->text();
      if (!a->shortcut().isEmpty()) item += "=" + a->shortcut().toString();
      seen << item;
    }
    QCOMPARE(seen, items.split('|'));
  }

  void accessKeysReachOnlyUsableItems_data() {
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("reached");  // "" when nothing may run
    QTest::newRow("paste") << QByteArray("%(EP)") << "mnuPaste";
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
    QCOMPARE(SendAccessKeys(window_->menuBar(), keys.toStdString()), !reached.isEmpty());
    QCOMPARE(triggered, reached.isEmpty() ? QStringList() : QStringList({reached}));
  }

  // "&File" and "S&elect && Cut" are reached above by "%(FMB)" and "%(EE)".
  void accessKeys() {
    QStringList keys;
    for (const char* caption : {"Cu&t", "A && B", "&.VBP", "Replace", "Save&"}) {
      const QChar key = AccessKey(caption);
      keys << (key.isNull() ? QString("none") : QString(key));
    }
    QCOMPARE(keys, QStringList({"T", "none", ".", "none", "none"}));
    // "%(EP)" must not be able to reach any other item of the Edit menu.
    QStringList with_p;
    for (QAction* a : Item("mnuEdit")->menu()->actions()) {
      if (AccessKey(a->text()) == u'P') with_p << a->objectName();
    }
    QCOMPARE(with_p, QStringList({"mnuPaste"}));
  }
};

QTEST_MAIN(TestMenus)
#include "tst_menus.moc"
