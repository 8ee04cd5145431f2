// The editor's command line: how its arguments are read, and what the window shows after
// `quillwright [--whole] FILE` for each kind of file and for a file that cannot be opened.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "document/editor.h"
#include "document/module_document.h"
#include "shell/command_line.h"
#include "shell/frm_edit32.h"
#include "shell/qt_port.h"

using namespace qw::shell;
using Action = CommandLine::Action;

namespace {

const QByteArray kModule =
    "Option Explicit\r\nSub Alpha()\r\n  x = 1\r\nEnd Sub\r\nFunction Beta()\r\nEnd Function\r\n";

std::vector<std::string> Words(const QString& line) {
  std::vector<std::string> words;
  for (const QString& w : line.split(u' ', Qt::SkipEmptyParts)) words.push_back(w.toStdString());
  return words;
}

}  // namespace

class TestCommandLine : public QObject {
  Q_OBJECT

 private slots:
  void parses_data() {
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("action");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("whole");
    const int start = int(Action::kStart), bad = int(Action::kBadUsage);
    QTest::newRow("nothing") << "" << start << "" << false;
    QTest::newRow("a file") << "A.BAS" << start << "A.BAS" << false;
    QTest::newRow("whole, before") << "--whole a.bas" << start << "a.bas" << true;
    QTest::newRow("whole, after") << "a.bas --whole" << start << "a.bas" << true;
    QTest::newRow("help wins") << "a.bas --help" << int(Action::kHelp) << "a.bas" << false;
    QTest::newRow("short help") << "-h" << int(Action::kHelp) << "" << false;
    QTest::newRow("version") << "--version" << int(Action::kVersion) << "" << false;
    QTest::newRow("dash-dash file") << "-- -odd.bas" << start << "-odd.bas" << false;
    QTest::newRow("help after dash-dash is a file") << "-- --help" << start << "--help" << false;
    QTest::newRow("unknown option") << "--wholly a.bas" << bad << "" << false;
    QTest::newRow("two files") << "a.bas b.bas" << bad << "a.bas" << false;
    QTest::newRow("whole without file") << "--whole" << bad << "" << true;
  }
  void parses() {
    QFETCH(QString, args);
    QFETCH(int, action);
    QFETCH(QString, file);
    QFETCH(bool, whole);
    const CommandLine line = ParseCommandLine(Words(args));
    QCOMPARE(int(line.action), action);
    QCOMPARE(QString::fromStdString(line.file), file);
    QCOMPARE(line.whole, whole);
    QCOMPARE(line.error.empty(), action != int(Action::kBadUsage));
  }

  void helpAndVersionTexts() {
    QVERIFY(UsageText().starts_with("usage: quillwright [--whole] [FILE]\n"));
    QVERIFY(VersionText().starts_with("quillwright ") && VersionText().ends_with("\n"));
  }

  // FILE as it is written on the command line (relative to the current folder), with or
  // without --whole: the entries listed, what the pane holds, and the message shown.
  void opensTheFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<int>("entries");  // -1: opened whole
    QTest::addColumn<QString>("box");  // the text of the one message box, "" for none
    QTest::newRow("module") << "MAIN.BAS" << false << 3 << "";
    QTest::newRow("module, small letters") << "main.prg" << false << 3 << "";
    QTest::newRow("form") << "Main.Frm" << false << 3 << "";
    QTest::newRow("class") << "K.CLS" << false << 3 << "";
    QTest::newRow("project") << "P.VBP" << false << -1 << "";
    QTest::newRow("text") << "NOTES.TXT" << false << -1 << "";
    QTest::newRow("no extension") << "README" << false << -1 << "";
    QTest::newRow("dot in the folder only") << "V1.BAS/README" << false << -1 << "";
    QTest::newRow("module forced whole") << "MAIN.BAS" << true << -1 << "";
    QTest::newRow("missing") << "GONE.BAS" << false << 0 << "Can't open file: ";
    QTest::newRow("folder") << "V1.BAS" << false << 0 << "Can't open file: ";
  }
  void opensTheFile() {
    QFETCH(QString, name);
    QFETCH(bool, whole);
    QFETCH(int, entries);
    QFETCH(QString, box);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir("V1.BAS"));
    const QString path = dir.filePath(name);
    if (!name.startsWith("GONE") && name != "V1.BAS") {
      QFile f(path);
      QVERIFY(f.open(QIODevice::WriteOnly));
      // A form file opens with its description block, which belongs to no entry.
      if (name.endsWith(".Frm")) f.write("VERSION 5.00\r\nBegin VB.Form F\r\nEnd\r\n");
      f.write(kModule);
    }
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    frmEdit32 window;
    PortScript script;
    window.port().SetScript(&script);
    CommandLine line = ParseCommandLine(Words((whole ? "--whole " : "") + name));
    OpenFromCommandLine(window, line);
    QDir::setCurrent(before);

    const qw::ModuleDocument& doc = window.editor().doc();
    const std::string full = path.toStdString();
    if (!box.isEmpty()) {
      QCOMPARE(script.boxes.size(), size_t(1));
      QCOMPARE(QString::fromStdString(script.boxes[0].text), box + path);
      QCOMPARE(script.boxes[0].title, std::string("File Error"));
      QCOMPARE(window.port().Caption(), std::string(kInitialCaption));
      QCOMPARE(window.port().PaneText(), std::string());
      QCOMPARE(doc.file_name(), std::string());
      return;
    }
    QVERIFY(script.boxes.empty());
    QCOMPARE(doc.file_name(), full);
    QVERIFY(!doc.changed());
    const std::string upper = path.toUpper().toStdString();
    if (entries < 0) {
      QVERIFY(!doc.indexed());
      QCOMPARE(window.port().PaneText(), kModule.toStdString());  // no form file opens whole
      QCOMPARE(window.port().Caption(), "QW: " + upper);
      QCOMPARE(window.cbProc()->count(), 0);
    } else {
      QVERIFY(doc.indexed());
      QCOMPARE(window.cbProc()->count(), entries);
      QCOMPARE(window.port().PaneText(), std::string("Option Explicit\r\n"));
      QCOMPARE(window.port().Caption(), "QW: (declarations) of " + upper);
    }
  }
};

QTEST_MAIN(TestCommandLine)
#include "tst_command_line.moc"
