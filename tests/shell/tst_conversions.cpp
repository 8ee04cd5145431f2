// The shell's small conversions, as rows of tests/data/shell/conversions.txt: a function, its
// input, and what it gives; a field of the answer ending in "..." is compared by its start. And the
// menu bar as built against its design in tests/data/shell/menus.txt.
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <functional>
#include <map>

#include "shell/access_keys.h"
#include "shell/command_line.h"
#include "shell/form_layout.h"
#include "shell/key_preview.h"
#include "shell/menu_table.h"
#include "shell/qt_port.h"
#include "shell/qt_printer.h"
#include "shell/script_file.h"
#include "shell/source_lexer.h"
#include "shell/toolbar.h"

using namespace qw::shell;
using Gives = std::function<QStringList(const QString&)>;

namespace {

std::string Bytes(const QString& field) {
  return field.toLatin1().toStdString();
}
QString Text(const std::string& s) {
  return QString::fromStdString(s);
}
QString Rect(const QRect& r) {
  return QString("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QStringList SendKeys(const QString& keys) {
  QMainWindow window;
  window.menuBar()->setNativeMenuBar(false);
  BuildMenus(window.menuBar());
  QStringList ran;
  for (QAction* a : window.menuBar()->findChildren<QAction*>()) {
    QObject::connect(a, &QAction::triggered, [&ran, a] { ran << a->objectName(); });
  }
  const bool any = SendAccessKeys(window.menuBar(), Bytes(keys));
  return {ran.join(' '), any ? "yes" : "no"};
}

QStringList Parse(const QString& args) {
  std::vector<std::string> words;
  for (const QString& w : args.split(' ', Qt::SkipEmptyParts)) words.push_back(Bytes(w));
  const CommandLine c = ParseCommandLine(words);
  const char* actions[] = {"start", "help", "version", "bad usage"};
  return {actions[int(c.action)], Text(c.file), c.whole ? "yes" : "no",
          c.error.empty() ? "no" : "yes"};
}

const std::map<QString, Gives> kFunctions = {
    {"filter", [](const QString& in) { return QStringList{ConvertDialogFilter(Bytes(in))}; }},
    {"kind",
     [](const QString& in) {
       return QStringList{QStringList{"plain", "basic", "xbase"}[int(KindOfFile(Bytes(in)))]};
     }},
    {"tooltip", [](const QString& in) { return QStringList{TooltipFromTag(in)}; }},
    {"key",
     [](const QString& in) {
       return QStringList{QString::number(ClassicKeyCode(QKeySequence(in)[0].key()))};
     }},
    {"access-key",
     [](const QString& in) {
       const QChar key = AccessKey(in);
       return QStringList{key.isNull() ? QString("none") : QString(key)};
     }},
    {"send-keys", SendKeys},
    {"listing", [](const QString& in) { return QStringList{ListingLineText(Bytes(in))}; }},
    {"command-line", Parse},
    {"usage", [](const QString&) { return QStringList{Text(UsageText())}; }},
    {"version",  // one line
     [](const QString&) {
       const QString text = Text(VersionText());
       return QStringList{text.section('\n', 0, 0), text.count('\n') == 1 && text.endsWith('\n')
                                                        ? "one line"
                                                        : "not one line"};
     }},
    {"layout",
     [](const QString& in) {
       const FormLayout l =
           ComputeFormLayout(in.section(' ', 0, 0).toInt(), in.section(' ', 1).toInt());
       return QStringList{Rect(l.txtEdit), Rect(l.panToolbar)};
     }},
};

}  // namespace

class TestConversions : public QObject {
  Q_OBJECT

 private slots:
  void rows_data() {
    QTest::addColumn<QStringList>("row");
    const auto rows = testing::ReadScript("shell/conversions.txt");
    QCOMPARE(rows.size(), 67);  // none lost, the file read
    for (const auto& line : rows) QTest::newRow(qPrintable(line.where)) << line.fields;
  }
  void rows() {
    QFETCH(QStringList, row);
    QVERIFY2(row.size() >= 3 && kFunctions.contains(row[0]), qPrintable(row[0]));
    const QStringList got = kFunctions.at(row[0])(row[1]);
    QStringList want = row.mid(2);
    for (qsizetype i = 0; i < want.size(); ++i) {
      want[i] = testing::Utf8(want[i]);
      if (want[i].endsWith("...") && got.value(i).startsWith(want[i].chopped(3))) want[i] = got[i];
    }
    QCOMPARE(got, want);
  }

  // Per menu, its items in order; a hidden item is disabled too, so that no shortcut runs it.
  void menusAsDesigned() {
    QMainWindow window;
    BuildMenus(window.menuBar());
    QMap<QString, QStringList> built, wanted;
    for (const auto& line : testing::ReadScript("shell/menus.txt")) {
      const QStringList& f = line.fields;
      const QStringList item = {f.value(0), f.value(2), f.value(3), f.value(4)};
      wanted[f.value(1)] << (f.value(2) == "-" ? "-" : item.join('|'));
    }
    QCOMPARE(wanted.value("").size(), 5);
    for (const QString& menu : wanted.keys()) {
      QMenuBar* bar = window.menuBar();
      for (QAction* a :
           menu.isEmpty() ? bar->actions() : FindMenuAction(bar, Bytes(menu))->menu()->actions()) {
        QVERIFY2(a->isEnabled() == a->isVisible(), qPrintable(a->objectName()));
        const QStringList item = {a->objectName(), a->text(), a->shortcut().toString(),
                                  a->isVisible() ? "shown" : "hidden"};
        built[menu] << (a->isSeparator() ? "-" : item.join('|'));
      }
    }
    QCOMPARE(built, wanted);
    // "%(EP)" reaches Paste only: no other item of the Edit menu has the access key P.
    QStringList with_p;
    for (QAction* a : FindMenuAction(window.menuBar(), "mnuEdit")->menu()->actions()) {
      if (AccessKey(a->text()) == u'P') with_p << a->objectName();
    }
    QCOMPARE(with_p, QStringList({"mnuPaste"}));
  }
};

QTEST_MAIN(TestConversions)
#include "tst_conversions.moc"
