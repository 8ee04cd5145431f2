// The main window driven as a user drives it, with the file dialogs and the
// message boxes answered from a script: layout and resizing, opening a
// module, switching entries, saving, closing, the keyboard, and faults that
// escape a handler.
#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

#include "document/editor.h"
#include "document/module_document.h"
#include "platform/fault.h"
#include "shell/form_layout.h"
#include "shell/frm_edit32.h"
#include "shell/menu_table.h"
#include "shell/qt_port.h"

using qw::Answer;
using qw::Buttons;
using qw::Icon;
using namespace qw::shell;

Q_DECLARE_METATYPE(qw::Answer)

namespace {

const char kModule[] =
    "Attribute VB_Name = \"Main\"\r\n"
    "Option Explicit\r\n"
    "Dim Count As Integer\r\n"
    "\r\n"
    "Sub Alpha()\r\n"
    "  Count = 1\r\n"
    "End Sub\r\n"
    "\r\n"
    "Function Beta(a As Long) As Long\r\n"
    "  Beta = a * 2\r\n"
    "End Function\r\n";

const char kAlpha[] = "Sub Alpha()\r\n  Count = 1\r\nEnd Sub\r\n";
const char kBeta[] = "Function Beta(a As Long) As Long\r\n  Beta = a * 2\r\nEnd Function\r\n";

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "<missing>";
  return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

std::string Upper(const QString& s) {
  return s.toUpper().toStdString();
}

}  // namespace

class TestFrmEdit32 : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<frmEdit32> window_;
  PortScript script_;
  QTemporaryDir dir_;
  QString module_;  // dir_/MAIN.BAS

  QAction* Item(const char* name) { return FindMenuAction(window_->menuBar(), name); }
  qw::ModuleDocument& Doc() { return window_->editor().doc(); }
  std::string Pane() { return window_->port().PaneText(); }
  std::string Caption() { return window_->port().Caption(); }

  // Chooses item `index` of cbProc as a click in its drop-down does.
  void Pick(int index) {
    window_->cbProc()->setCurrentIndex(index);
    emit window_->cbProc()->activated(index);
  }

  // Types `text` at the end of line `line` (0-based) of the pane.
  void TypeAtEndOfLine(int line, const QString& text) {
    window_->txtEdit()->setCursorPosition(line, window_->txtEdit()->lineLength(line) - 2);
    QTest::keyClicks(window_->txtEdit(), text);
  }

  void OpenModule() {
    script_.paths.push_back(module_.toStdString());
    Item("mnuBasFiles")->trigger();
    QCOMPARE(window_->cbProc()->count(), 3);
  }

  QStringList BoxTitles() const {
    QStringList titles;
    for (const ShownBox& b : script_.boxes) titles << QString::fromStdString(b.title);
    return titles;
  }

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    module_ = dir_.filePath("MAIN.BAS");
    WriteAll(module_, kModule);
    for (const char* old : {"MAIN.BAK", "SAVED.BAS", "SAVED.BAK", "COPY.BAS"}) {
      QFile::remove(dir_.filePath(old));
    }
    window_ = std::make_unique<frmEdit32>();
    script_ = PortScript{};
    window_->port().SetScript(&script_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void cleanup() {
    // Whatever a test left unsaved, the window goes without a question.
    Doc().changed = false;
    window_.reset();
  }

  // --- The window as it starts --------------------------------------------------

  void startsEmptyAndCaptioned() {
    QCOMPARE(window_->windowTitle(), QString("Quillwright Editor"));
    QCOMPARE(Pane(), std::string());
    QCOMPARE(window_->cbProc()->count(), 0);
    QVERIFY(!Doc().changed);
    QVERIFY(window_->cbProc()->isEditable());
    QCOMPARE(window_->txtEdit()->lexer(), nullptr);
    QCOMPARE(window_->txtEdit()->font().pointSize(), 9);
    QVERIFY(window_->txtEdit()->marginLineNumbers(0));
    QVERIFY(window_->txtEdit()->marginWidth(0) > 0);
  }

  void toolbarControlsStandAtTheirDesignPositions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");  // left, top, width, height
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<bool>("shown");
    QTest::newRow("tbComment") << "tbComment" << QRect(60, 120, 330, 330) << "Comment Selected Text"
                               << true;
    QTest::newRow("tbUncomment") << "tbUncomment" << QRect(390, 120, 330, 330)
                                 << "Uncomment Selected Text" << true;
    QTest::newRow("Command3D1") << "Command3D1" << QRect(720, 120, 330, 330)
                                << "Indent Selected Text" << true;
    QTest::newRow("Command3D3") << "Command3D3" << QRect(1050, 120, 330, 330)
                                << "Concatenate to Clipboard" << true;
    QTest::newRow("tbPrint") << "tbPrint" << QRect(1380, 120, 330, 330) << "Print Selected Text"
                             << true;
    QTest::newRow("Command3D2") << "Command3D2" << QRect(1710, 120, 330, 330)
                                << "Convert Selected Text xBase to VB" << true;
    QTest::newRow("tbFindDiff") << "tbFindDiff" << QRect(5070, 90, 330, 330) << "Find Difference"
                                << false;
  }
  void toolbarControlsStandAtTheirDesignPositions() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, tooltip);
    QFETCH(bool, shown);
    auto* button = window_->panToolbar()->findChild<QToolButton*>(name);
    QVERIFY(button);
    QCOMPARE(button->geometry(),
             QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
    QCOMPARE(button->toolTip(), tooltip);
    QCOMPARE(button->isVisible(), shown);
    QVERIFY(!button->icon().isNull());
  }

  void labelAndListStandAtTheirDesignPositions() {
    auto* label = window_->panToolbar()->findChild<QLabel*>("Label1");
    QVERIFY(label);
    QCOMPARE(label->text(), QString("Procedure"));
    QCOMPARE(label->pos(), QPoint(148, 2));
    QVERIFY(label->width() >= 49 && label->height() >= 13);
    QVERIFY(label->width() >= label->sizeHint().width());  // the caption is not cut
    QCOMPARE(window_->cbProc()->parentWidget(), window_->panToolbar());
    QCOMPARE(window_->cbProc()->pos(), QPoint(146, 16));
    QCOMPARE(window_->cbProc()->width(), 163);
  }

  // --- Form_Resize ------------------------------------------------------------------

  void resizeRules_data() {
    QTest::addColumn<int>("width");  // twips
    QTest::addColumn<int>("height");
    QTest::addColumn<QRect>("pane");  // pixels
    QTest::addColumn<QRect>("panel");
    QTest::newRow("usual") << 9600 << 7200 << QRect(0, 40, 634, 396) << QRect(0, 0, 634, 41);
    QTest::newRow("exact minimum") << 90 << 1260 << QRect(0, 40, 0, 0) << QRect(0, 0, 0, 41);
    QTest::newRow("too small") << 30 << 600 << QRect(0, 40, 0, 0) << QRect(0, 0, 0, 41);
    QTest::newRow("not a whole pixel")
        << 1000 << 2000 << QRect(0, 40, 60, 49) << QRect(0, 0, 60, 41);
  }
  void resizeRules() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QRect, pane);
    QFETCH(QRect, panel);
    const FormLayout layout = ComputeFormLayout(width, height);
    QCOMPARE(layout.txtEdit, pane);
    QCOMPARE(layout.panToolbar, panel);
  }

  void resizingTheWindowFollowsTheRules() {
    window_->resize(700, 500);
    QTRY_COMPARE(window_->size(), QSize(700, 500));
    const QSize outer = window_->frameGeometry().size();
    QCOMPARE(window_->txtEdit()->geometry(), QRect(0, 40, outer.width() - 6, outer.height() - 84));
    QCOMPARE(window_->panToolbar()->geometry(), QRect(0, 0, outer.width() - 6, 41));
    const QRect pane = window_->txtEdit()->geometry();
    window_->resize(800, 560);
    QTRY_COMPARE(window_->txtEdit()->width(), pane.width() + 100);
    QCOMPARE(window_->txtEdit()->height(), pane.height() + 60);
    QCOMPARE(window_->panToolbar()->width(), pane.width() + 100);
  }

  void aTinyWindowShrinksThePaneToNothing() {
    window_->setMinimumSize(1, 1);
    window_->menuBar()->setMinimumSize(0, 0);
    window_->resize(1, 1);
    QTRY_VERIFY(window_->frameGeometry().width() < 6);
    QVERIFY(window_->frameGeometry().height() < 84);
    QCOMPARE(window_->txtEdit()->width(), 0);
    QCOMPARE(window_->txtEdit()->height(), 0);
    window_->resize(640, 480);
    QTRY_COMPARE(window_->txtEdit()->width(), window_->frameGeometry().width() - 6);
  }

  void minimisingAndRestoringKeepsTheLayout() {
    window_->resize(640, 480);
    QTRY_COMPARE(window_->size(), QSize(640, 480));
    const QRect pane = window_->txtEdit()->geometry();
    const QRect panel = window_->panToolbar()->geometry();
    window_->showMinimized();
    QTRY_VERIFY(window_->isMinimized());
    window_->showNormal();
    QTRY_VERIFY(!window_->isMinimized());
    QCOMPARE(window_->txtEdit()->geometry(), pane);
    QCOMPARE(window_->panToolbar()->geometry(), panel);
  }

  // --- Opening ------------------------------------------------------------------------

  void openAModuleThroughTheDialog() {
    OpenModule();
    QCOMPARE(script_.dialogs.size(), size_t{1});
    QCOMPARE(script_.dialogs[0].filter, std::string("Program (*.bas)|*.bas"));
    QVERIFY(!script_.dialogs[0].save);
    QStringList items;
    for (int i = 0; i < window_->cbProc()->count(); ++i) items << window_->cbProc()->itemText(i);
    QCOMPARE(items, QStringList({"(declarations)", "Alpha", "Beta"}));
    QCOMPARE(window_->cbProc()->currentText(), QString("(declarations)"));
    QCOMPARE(Pane(), std::string("Attribute VB_Name = \"Main\"\r\nOption Explicit\r\n"
                                 "Dim Count As Integer\r\n\r\n"));
    QCOMPARE(Caption(), "QW: (declarations) of " + Upper(module_));
    QVERIFY(Doc().split_mode);
    QVERIFY(!Doc().changed);
    QCOMPARE(window_->lexer_kind(), SourceKind::kBasic);
    QCOMPARE(QByteArray(window_->txtEdit()->lexer()->lexer()), QByteArray("vb"));
    QVERIFY(script_.boxes.empty());
  }

  void openingColoursByTheKindOfFile_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("lexer");  // "" for none
    QTest::newRow("xBase module") << "APP.PRG"
                                  << "mnuPrgFiles" << QByteArray("flagship");
    QTest::newRow("project as whole text") << "APP.VBP"
                                           << "mnuVbp" << QByteArray();
    QTest::newRow("class as whole text") << "THING.CLS"
                                         << "mnuClsFiles" << QByteArray("vb");
  }
  void openingColoursByTheKindOfFile() {
    QFETCH(QString, file);
    QFETCH(QString, item);
    QFETCH(QByteArray, lexer);
    const QString path = dir_.filePath(file);
    WriteAll(path, "FUNCTION Main\r\n  RETURN NIL\r\n");
    script_.paths.push_back(path.toStdString());
    Item(item.toLatin1().constData())->trigger();
    QCOMPARE(QString::fromStdString(Doc().file_name), path);
    QsciLexer* shown = window_->txtEdit()->lexer();
    QCOMPARE(shown ? QByteArray(shown->lexer()) : QByteArray(), lexer);
    if (shown) QCOMPARE(shown->font(0).pointSize(), 9);
  }

  void cancelledFileOpenLeavesTheModuleAndItsMode() {
    OpenModule();
    Pick(1);
    TypeAtEndOfLine(1, "0");
    script_.paths.push_back(std::nullopt);
    Item("mnuFileBas")->trigger();
    QCOMPARE(script_.dialogs.size(), size_t{2});
    QVERIFY(Doc().split_mode);
    QCOMPARE(Pane(), std::string("Sub Alpha()\r\n  Count = 10\r\nEnd Sub\r\n"));
    QCOMPARE(Caption(), "QW: Alpha of " + Upper(module_));
    // The next save still rebuilds the module around the entry.
    Item("mnuFileSave")->trigger();
    QByteArray expected(kModule);
    expected.replace("Count = 1\r\n", "Count = 10\r\n");
    QCOMPARE(ReadAll(module_), expected);
    QVERIFY(script_.boxes.empty());
  }

  // --- Switching entries -----------------------------------------------------------------

  void switchingWithoutChangesShowsTheEntry() {
    OpenModule();
    Pick(2);
    QCOMPARE(Pane(), std::string(kBeta));
    QCOMPARE(Caption(), "QW: Beta of " + Upper(module_));
    QVERIFY(!Doc().changed);
    Pick(1);
    QCOMPARE(Pane(), std::string(kAlpha));
    QVERIFY(script_.boxes.empty());
  }

  void switchingWithChangesWarnsOnceThenSwitches() {
    OpenModule();
    Pick(1);
    TypeAtEndOfLine(1, "0");
    QVERIFY(Doc().changed);
    const std::string edited = Pane();
    Pick(2);
    QCOMPARE(script_.boxes.size(), size_t{1});
    const ShownBox& warning = script_.boxes[0];
    QCOMPARE(warning.title, std::string("Save or Lose Changes"));
    QCOMPARE(warning.text, std::string("The currenty entity has been changed,\n"
                                       "to save, use the File Save Menu.\n"
                                       "You will not be prompted again unless\n"
                                       "additional changes are made!"));
    QCOMPARE(warning.icon, Icon::kExclamation);
    QCOMPARE(window_->cbProc()->currentText(), QString("Alpha"));
    QCOMPARE(Pane(), edited);
    Pick(2);
    QCOMPARE(script_.boxes.size(), size_t{1});
    QCOMPARE(Pane(), std::string(kBeta));
    QCOMPARE(window_->cbProc()->currentText(), QString("Beta"));
  }

  void deleteAllTextThenSwitchingAsksNothing() {
    OpenModule();
    Pick(1);
    TypeAtEndOfLine(1, "0");
    window_->txtEdit()->setFocus();
    QTest::keyClick(window_->txtEdit(), Qt::Key_D, Qt::ControlModifier);  // Delete All Text
    QCOMPARE(Pane(), std::string());
    QVERIFY(!Doc().changed);
    QCOMPARE(QApplication::focusWidget(), window_->txtEdit());
    Pick(2);
    QVERIFY(script_.boxes.empty());
    QCOMPARE(Pane(), std::string(kBeta));
  }

  void selectAllSelectsTheWholeText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty pane") << QByteArray();
    QTest::newRow("two lines") << QByteArray("a\r\nbc\r\n");
  }
  void selectAllSelectsTheWholeText() {
    QFETCH(QByteArray, text);
    window_->port().SetPaneText(text.toStdString());
    window_->txtEdit()->setFocus();
    QTest::keyClick(window_->txtEdit(), Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(window_->port().PaneSelStart(), 0L);
    QCOMPARE(window_->port().PaneSelLength(), static_cast<long>(text.size()));
    QVERIFY(script_.boxes.empty());
  }

  // --- Keyboard ----------------------------------------------------------------------------

  void enterInTheListMovesTheFocusToThePane() {
    OpenModule();
    window_->cbProc()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), window_->cbProc());
    QTest::keyClick(window_->cbProc(), Qt::Key_Return);
    QVERIFY(Doc().focus_editor);
    QCOMPARE(QApplication::focusWidget(), window_->txtEdit());
    QCOMPARE(Pane(), std::string("Attribute VB_Name = \"Main\"\r\nOption Explicit\r\n"
                                 "Dim Count As Integer\r\n\r\n"));
  }

  void enterInThePaneIsAnOrdinaryKey() {
    window_->txtEdit()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), window_->txtEdit());
    QTest::keyClick(window_->txtEdit(), Qt::Key_Return);
    QVERIFY(!Doc().focus_editor);
    QCOMPARE(Pane(), std::string("\r\n"));
    QVERIFY(Doc().changed);
    QCOMPARE(QApplication::focusWidget(), window_->txtEdit());
  }

  void hiddenItemsCannotBeReachedByTheirShortcuts() {
    QSignalSpy hidden(Item("mnuFindDiff"), &QAction::triggered);
    QSignalSpy shown(Item("mnuComment"), &QAction::triggered);
    window_->txtEdit()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), window_->txtEdit());
    QTest::keyClick(window_->txtEdit(), Qt::Key_F7);
    QTest::keyClick(window_->txtEdit(), Qt::Key_F4);
    QCOMPARE(hidden.count(), 0);
    QCOMPARE(shown.count(), 1);
    QCOMPARE(Pane(), std::string());
  }

  // --- Saving ---------------------------------------------------------------------------------

  void saveRebuildsTheModuleAndKeepsABackup() {
    OpenModule();
    Pick(2);
    TypeAtEndOfLine(1, " + 1");
    Item("mnuFileSave")->trigger();
    QByteArray expected(kModule);
    expected.replace("Beta = a * 2\r\n", "Beta = a * 2 + 1\r\n");
    QCOMPARE(ReadAll(module_), expected);
    QCOMPARE(ReadAll(dir_.filePath("MAIN.BAK")), QByteArray(kModule));
    QVERIFY(!Doc().changed);
    QCOMPARE(window_->cbProc()->count(), 3);
    QVERIFY(script_.boxes.empty());
  }

  void saveAsWritesTheNewFileAndLeavesTheOld() {
    OpenModule();
    Pick(1);
    TypeAtEndOfLine(0, " ' first");
    const QString copy = dir_.filePath("COPY.BAS");
    script_.paths.push_back(copy.toStdString());
    Item("mnuSaveAs")->trigger();
    QCOMPARE(script_.dialogs.back().filter, std::string("Program (*.bas)|*.bas"));
    QVERIFY(script_.dialogs.back().save);
    QByteArray expected(kModule);
    expected.replace("Sub Alpha()\r\n", "Sub Alpha() ' first\r\n");
    QCOMPARE(ReadAll(copy), expected);
    QCOMPARE(ReadAll(module_), QByteArray(kModule));
    QVERIFY(!QFile::exists(dir_.filePath("COPY.BAK")));
    QCOMPARE(QString::fromStdString(Doc().file_name), copy);
    QVERIFY(QString::fromStdString(Caption()).endsWith(copy.toUpper()));
  }

  void saveAsCancelledWritesNothing() {
    OpenModule();
    Pick(1);
    TypeAtEndOfLine(1, "0");
    script_.paths.push_back(std::nullopt);
    Item("mnuSaveAs")->trigger();
    QCOMPARE(ReadAll(module_), QByteArray(kModule));
    QVERIFY(Doc().changed);
    QVERIFY(script_.boxes.empty());
  }

  // --- Closing -----------------------------------------------------------------------------

  void closing_data() {
    QTest::addColumn<bool>("by_menu");           // Close command, else the close box
    QTest::addColumn<QList<Answer>>("answers");  // in order
    QTest::addColumn<bool>("dialog_answer");     // the Save As dialog: a path, else Cancel
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("saved");
    const Answer yes = Answer::kYes, no = Answer::kNo, cancel = Answer::kCancel;
    QTest::newRow("box cancel") << false << QList<Answer>{cancel} << false << 1 << false << false;
    QTest::newRow("box no") << false << QList<Answer>{no} << false << 1 << true << false;
    QTest::newRow("box yes, dialog cancelled")
        << false << QList<Answer>{yes} << false << 1 << false << false;
    QTest::newRow("box yes, saved") << false << QList<Answer>{yes} << true << 1 << true << true;
    QTest::newRow("menu cancel") << true << QList<Answer>{cancel} << false << 1 << false << false;
    QTest::newRow("menu no, then no")
        << true << QList<Answer>{no, no} << false << 2 << true << false;
    QTest::newRow("menu no, then cancel")
        << true << QList<Answer>{no, cancel} << false << 2 << false << false;
    QTest::newRow("menu yes, dialog cancelled")
        << true << QList<Answer>{yes} << false << 1 << false << false;
    QTest::newRow("menu yes, saved") << true << QList<Answer>{yes} << true << 1 << true << true;
  }
  void closing() {
    QFETCH(bool, by_menu);
    QFETCH(QList<Answer>, answers);
    QFETCH(bool, dialog_answer);
    QFETCH(int, questions);
    QFETCH(bool, closed);
    QFETCH(bool, saved);
    OpenModule();
    Pick(1);
    TypeAtEndOfLine(1, "0");
    const std::string caption = Caption();
    for (Answer a : answers) script_.answers.push_back(a);
    const QString target = dir_.filePath("SAVED.BAS");
    script_.paths.push_back(dialog_answer ? std::optional(target.toStdString()) : std::nullopt);
    if (by_menu) {
      Item("mnuFileClose")->trigger();
    } else {
      window_->close();
    }
    QCOMPARE(BoxTitles(), QStringList(questions, "Confirm Save"));
    const std::string what = by_menu ? caption : module_.toStdString();
    QCOMPARE(script_.boxes[0].text,
             "The text in [" + what + "] has changed.\r\nDo you want to save the changes?");
    QCOMPARE(script_.boxes[0].buttons, Buttons::kYesNoCancel);
    QCOMPARE(script_.boxes[0].icon, Icon::kExclamation);
    if (questions == 2) {
      QCOMPARE(script_.boxes[1].text, "The text in [" + module_.toStdString() +
                                          "] has changed.\r\nDo you want to save the changes?");
    }
    QCOMPARE(!window_->isVisible(), closed);
    QCOMPARE(QFile::exists(target), saved);
    if (!closed) QCOMPARE(Pane(), std::string("Sub Alpha()\r\n  Count = 10\r\nEnd Sub\r\n"));
    QCOMPARE(ReadAll(module_), QByteArray(kModule));
  }

  void exitWithoutChangesClosesAtOnce() {
    OpenModule();
    Item("mnuFileExit")->trigger();
    QVERIFY(!window_->isVisible());
    QVERIFY(script_.boxes.empty());
  }

  // --- Commands and faults ---------------------------------------------------------------------

  void toolCommandsGiveTheFocusBackWhereTheTableSays_data() {
    QTest::addColumn<QString>("item");  // a menu item or a toolbar button
    QTest::addColumn<QString>("operation");
    QTest::addColumn<bool>("focus_back");
    QTest::newRow("mnuComment") << "mnuComment"
                                << "CommentSelection" << true;
    QTest::newRow("mnuUncomment") << "mnuUncomment"
                                  << "UncommentSelection" << false;
    QTest::newRow("mnuConvert") << "mnuConvert"
                                << "ConvertXBaseProc" << true;
    QTest::newRow("mnuCopy") << "mnuCopy"
                             << "CopySelection" << true;
    QTest::newRow("mnuClear") << "mnuClear"
                              << "ClearClipboard" << false;
    QTest::newRow("tbUncomment") << "tbUncomment"
                                 << "UncommentSelection" << true;
    QTest::newRow("tbPrint") << "tbPrint"
                             << "PrintSelection" << true;
    QTest::newRow("Command3D1") << "Command3D1"
                                << "IndentSelection" << true;
    QTest::newRow("Command3D3") << "Command3D3"
                                << "ConcatenateToClipboard" << true;
  }
  void toolCommandsGiveTheFocusBackWhereTheTableSays() {
    QFETCH(QString, item);
    QFETCH(QString, operation);
    QFETCH(bool, focus_back);
    int ran = 0;
    window_->SetOperation(operation.toStdString(), [&] {
      ++ran;
      window_->cbProc()->setFocus();
    });
    if (auto* button = window_->panToolbar()->findChild<QToolButton*>(item)) {
      QTest::mouseClick(button, Qt::LeftButton);
    } else {
      Item(item.toLatin1().constData())->trigger();
    }
    QCOMPARE(ran, 1);
    QCOMPARE(QApplication::focusWidget() == window_->txtEdit(), focus_back);
  }

  void commandsOfLaterToolsDoNothingYet() {
    window_->port().SetPaneText("x");
    for (const char* name : {"mnuComment", "mnuIndent", "mnuPrint", "mnuFind", "mnuReplace",
                             "mnuSelectCut", "mnuPaste"}) {
      Item(name)->trigger();
    }
    QCOMPARE(Pane(), std::string("x"));
    QVERIFY(script_.boxes.empty());
  }

  void sendKeysRunsPasteBeforeReturning() {
    int pasted = 0;
    window_->SetOperation("PasteClipboard", [&] { ++pasted; });
    window_->port().SendKeys("%(EP)");
    QCOMPARE(pasted, 1);
  }

  void faultsEscapingAHandlerAreReported_data() {
    QTest::addColumn<int>("kind");  // 0 a Fault, 1 a standard exception, 2 anything else
    QTest::addColumn<QString>("text");
    QTest::newRow("fault") << 0 << "File not found";
    QTest::newRow("exception") << 1 << "vector::at";
    QTest::newRow("unknown") << 2 << "Invalid procedure call or argument";
  }
  void faultsEscapingAHandlerAreReported() {
    QFETCH(int, kind);
    QFETCH(QString, text);
    window_->SetOperation("CommentSelection", [kind] {
      if (kind == 0) throw qw::Fault(qw::kFaultFileNotFound);
      if (kind == 1) throw std::out_of_range("vector::at");
      throw 42;
    });
    window_->cbProc()->setFocus();
    QTest::keyClick(window_->cbProc(), Qt::Key_F4);  // Comment
    QCOMPARE(script_.boxes.size(), size_t{1});
    QCOMPARE(QString::fromStdString(script_.boxes[0].text), text);
    QCOMPARE(script_.boxes[0].title, std::string("Quillwright Error"));
    QCOMPARE(script_.boxes[0].icon, Icon::kStop);
    QCOMPARE(QApplication::focusWidget(), window_->txtEdit());  // failed, still given back
    QVERIFY(window_->isVisible());
  }
};

QTEST_MAIN(TestFrmEdit32)
#include "tst_frm_edit32.moc"
