// The editor's command line: how its arguments are read. What the window shows after
// `quillwright [--whole] FILE` is in tests/data/window/command_line.txt.
#include <QTest>

#include "shell/command_line.h"

using namespace qw::shell;
using Action = CommandLine::Action;

namespace {

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
};

QTEST_MAIN(TestCommandLine)
#include "tst_command_line.moc"
