// A monkey test of the real window: thousands of random commands, keys, entry
// choices, resizes and dialog answers against modules in a temporary folder,
// from a fixed seed. The window must never crash, the entry list must always
// name the entries of the index, no temporary file may ever stand in the
// folder, and a module file on disk only ever changes with its old bytes
// kept in its backup.
#include <Qsci/qsciscintilla.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "document/editor.h"
#include "document/module_document.h"
#include "shell/commands.h"
#include "shell/frm_edit32.h"
#include "shell/hit_list.h"
#include "shell/qt_port.h"
#include "tools/print_layout.h"

using namespace qw::shell;
using qw::Answer;
using qw::DialogClose;

namespace {

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

const Command kCommands[] = {
    Command::kNew,       Command::kOpenBasModule, Command::kOpenPrgModule, Command::kOpenFrmModule,
    Command::kOpenAll,   Command::kSave,          Command::kSaveAs,        Command::kPrint,
    Command::kCut,       Command::kCopy,          Command::kConcatenate,   Command::kClearClipboard,
    Command::kPaste,     Command::kDeleteAllText, Command::kSelectAll,     Command::kComment,
    Command::kUncomment, Command::kIndent,        Command::kConvert,       Command::kFind,
    Command::kFindNext,  Command::kReplace,       Command::kFindInModule,
};

}  // namespace

class TestMonkey : public QObject {
  Q_OBJECT

 private slots:
  void randomUseKeepsTheFilesAndTheListSound() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path();
    // Three of the sample modules, under the names the open commands are answered with.
    std::map<QString, QByteArray> known;  // each module file as last seen
    for (auto [name, sample] : {std::pair{"MAIN.BAS", "MAIN.BAS"},
                                {"OTHER.PRG", "REPORT.PRG"},
                                {"FORM.FRM", "DIALOG.FRM"}}) {
      known[name] = ReadAll(QW_TEST_DATA "/modules/" + QString(sample));
      QVERIFY2(known[name] != "<missing>", sample);
      WriteAll(folder + "/" + name, known[name]);
    }
    WriteAll(folder + "/NOTES.TXT", "notes\r\n");

    frmEdit32 window;
    PortScript script;
    qw::LayoutPrinter printer;
    script.printer = &printer;
    window.port().SetScript(&script);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    std::mt19937 rng(20261206);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    int copies = 0, changes = 0;
    std::set<QString> whole_text;  // files saved as whole text
    constexpr int kSteps = 2500;
    for (int step = 0; step < kSteps; ++step) {
      const QString at = QString("step %1").arg(step);
      if (pick(4) == 0) {
        const Answer answers[] = {Answer::kOk, Answer::kYes, Answer::kNo, Answer::kCancel};
        script.answers.push_back(answers[pick(4)]);
      }
      switch (pick(6)) {
        case 0:
        case 1: {  // a command, with what its dialog will answer
          const Command c = kCommands[pick(static_cast<int>(std::size(kCommands)))];
          std::optional<std::string> path;
          if (c == Command::kOpenBasModule) path = "MAIN.BAS";
          if (c == Command::kOpenPrgModule) path = "OTHER.PRG";
          if (c == Command::kOpenFrmModule) path = "FORM.FRM";
          if (c == Command::kOpenAll) path = "NOTES.TXT";
          if (c == Command::kSaveAs) {
            const std::string current = window.editor().doc().file_name();
            const std::string copy = "COPY" + std::to_string(++copies) + ".BAS";
            if (pick(2) == 0) path = copy;
            if (pick(2) == 0 && !current.empty() && window.editor().doc().indexed()) {
              path = current.substr(current.rfind('/') + 1);
            }
          }
          // The search dialogs are answered at random: a word of the modules or not,
          // each way of leaving, either direction and letter case.
          const char* const words[] = {"Sub", "end", "x", "zzz", ""};
          const DialogClose how[] = {DialogClose::kAccept, DialogClose::kCancel,
                                     DialogClose::kCloseBox};
          script.find_answers = {
              {how[pick(3)], words[pick(5)], pick(2) == 0, pick(2) == 0, pick(2)}};
          script.replace_answers = {{how[pick(3)], words[pick(5)], words[pick(5)], pick(2) == 0}};
          script.paths.clear();
          if (path) script.paths.push_back((folder + "/").toStdString() + *path);
          if (c == Command::kSaveAs && !path) script.paths.push_back(std::nullopt);
          window.Execute(c, true);
          // Now and then a hit of Find in Module is chosen.
          if (HitList* hits = window.port().hit_list(); hits && hits->rowCount() > 0 && pick(2)) {
            QTableView* table = hits->table();
            emit table->activated(table->model()->index(pick(hits->rowCount()), 0));
          }
          // A whole-text file is saved without a backup: it is not watched.
          if (!window.editor().doc().indexed() && !window.editor().doc().file_name().empty()) {
            const std::string name = window.editor().doc().file_name();
            whole_text.insert(QString::fromStdString(name.substr(name.rfind('/') + 1)));
          }
          break;
        }
        case 2:
          if (window.cbProc()->count() > 0) {
            const int index = pick(window.cbProc()->count());
            window.cbProc()->setCurrentIndex(index);
            emit window.cbProc()->activated(index);
          }
          break;
        case 3: {
          static const char* const kTyped[] = {"x",  "Sub Gamma()",  "End Sub",     "' c", " ",
                                               "\t", "End Function", "PROCEDURE P", "1"};
          window.txtEdit()->setFocus();
          QTest::keyClicks(window.txtEdit(), kTyped[pick(static_cast<int>(std::size(kTyped)))]);
          break;
        }
        case 4: {
          const Qt::Key keys[] = {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete,
                                  Qt::Key_Up,     Qt::Key_Down,      Qt::Key_Home,
                                  Qt::Key_End,    Qt::Key_PageDown};
          QTest::keyClick(window.txtEdit(), keys[pick(static_cast<int>(std::size(keys)))]);
          break;
        }
        case 5:
          window.resize(200 + pick(900), 150 + pick(700));
          break;
      }
      QCoreApplication::processEvents();

      // The entry list names the entries of the index, in order.
      const auto& entries = window.editor().doc().entries();
      QCOMPARE(window.cbProc()->count(), static_cast<int>(entries.size()));
      for (int i = 0; i < window.cbProc()->count(); ++i) {
        QCOMPARE(window.cbProc()->itemText(i).toStdString(),
                 std::string(entries.name(static_cast<size_t>(i))));
      }
      // No temporary file, and a changed module keeps its old bytes in its backup.
      for (const QString& f : QDir(folder).entryList(QDir::Files | QDir::Hidden)) {
        QVERIFY2(!f.startsWith('.'), qPrintable(at + ": " + f));
        if (!f.endsWith(".BAS") && !f.endsWith(".PRG") && !f.endsWith(".FRM")) continue;
        if (whole_text.contains(f)) continue;
        const QByteArray now = ReadAll(folder + "/" + f);
        const auto seen = known.find(f);
        if (seen != known.end() && seen->second != now) {
          ++changes;
          const QString backup = f.left(f.indexOf('.')) + ".BAK";
          QVERIFY2(ReadAll(folder + "/" + backup) == seen->second, qPrintable(at + ": " + f));
        }
        known[f] = now;
      }
    }
    window.editor().StartUp();  // whatever is unsaved goes without a question
    qInfo("%d steps, %d boxes, %d dialogs, %zu files, %d changes of a module on disk", kSteps,
          static_cast<int>(script.boxes.size()), static_cast<int>(script.dialogs.size()),
          known.size(), changes);
    QVERIFY(changes > 20);
  }
};

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
