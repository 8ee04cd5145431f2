// The main window driven as a user drives it, with the file dialogs and the message boxes
// answered from a script.
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
#include "shell/toolbar.h"
#include "tools/print_layout.h"

using qw::Answer;
using qw::Buttons;
using qw::Icon;
using namespace qw::shell;

// Closing with an entry changed: how, the answers to the questions in order, whether the Save
// As dialog gives a path, and the outcome.
struct Closing {
  bool by_menu;  // the Close command, else the close box
  QList<qw::Answer> answers;
  bool dialog_answer, closed, saved;
};
Q_DECLARE_METATYPE(Closing)

namespace {

const char kDeclarations[] =
    "Attribute VB_Name = \"Main\"\r\nOption Explicit\r\nDim Count As Integer\r\n\r\n";
const char kAlpha[] = "Sub Alpha()\r\n  Count = 1\r\nEnd Sub\r\n";
const char kBeta[] = "Function Beta(a As Long) As Long\r\n  Beta = a * 2\r\nEnd Function\r\n";
const QByteArray kModule = QByteArray(kDeclarations) + kAlpha + "\r\n" + kBeta;
const char kAlphaEdited[] = "Sub Alpha()\r\n  Count = 10\r\nEnd Sub\r\n";
const QByteArray kModuleEdited = QByteArray(kModule).replace(kAlpha, kAlphaEdited);

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

}  // namespace

class TestFrmEdit32 : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<frmEdit32> window_;
  PortScript script_;
  std::unique_ptr<QTemporaryDir> dir_;
  QString module_;  // dir_/MAIN.BAS

  QAction* Item(const QString& name) {
    return FindMenuAction(window_->menuBar(), name.toStdString());
  }
  const qw::ModuleDocument& Doc() { return window_->editor().doc(); }
  std::string Pane() { return window_->port().PaneText(); }
  std::string Caption() { return window_->port().Caption(); }
  std::string CaptionOf(const char* entry) {
    return "QW: " + std::string(entry) + " of " + module_.toUpper().toStdString();
  }

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

  // Opens the module and turns "Count = 1" of Alpha into "Count = 10".
  void OpenAndEditAlpha() {
    OpenModule();
    Pick(1);
    TypeAtEndOfLine(1, "0");
    QVERIFY(Doc().changed());
  }

  void FocusAndWait(QWidget* widget) {
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    module_ = dir_->filePath("MAIN.BAS");
    WriteAll(module_, kModule);
    window_ = std::make_unique<frmEdit32>();
    script_ = PortScript{};
    window_->port().SetScript(&script_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void cleanup() {
    // Whatever a test left unsaved, the window goes without a question.
    window_->editor().StartUp();
    window_.reset();
  }

  void startsEmptyWithItsControlsInPlace() {
    QCOMPARE(window_->windowTitle(), QString("Quillwright Editor"));
    QCOMPARE(Pane(), std::string());
    QCOMPARE(window_->cbProc()->count(), 0);
    QVERIFY(!Doc().changed());
    QVERIFY(window_->cbProc()->isEditable());
    QCOMPARE(window_->txtEdit()->lexer(), nullptr);
    QCOMPARE(window_->txtEdit()->font().pointSize(), 9);
    QVERIFY(window_->txtEdit()->marginLineNumbers(0));
    QVERIFY(window_->txtEdit()->marginWidth(0) > 0);
    auto* label = window_->panToolbar()->findChild<QLabel*>("Label1");
    QVERIFY(label);
    QCOMPARE(label->text(), QString("Procedure"));
    QCOMPARE(label->pos(), QPoint(148, 2));
    QVERIFY(label->width() >= 49 && label->height() >= 13);
    QVERIFY(label->width() >= label->sizeHint().width());  // the caption is not cut
    QCOMPARE(window_->cbProc()->parentWidget(), window_->panToolbar());
    QCOMPARE(window_->cbProc()->pos(), QPoint(146, 16));
    QCOMPARE(window_->cbProc()->width(), 163);
    for (const ToolButtonEntry& e : ToolButtonTable()) {  // each button where its row says
      auto* b = window_->panToolbar()->findChild<QToolButton*>(e.name);
      QVERIFY2(b && !b->icon().isNull(), e.name);
      QCOMPARE(b->geometry(), TwipRect(e.left, e.top, 330, 330));
      QCOMPARE(b->toolTip(), TooltipFromTag(e.tag));
      QCOMPARE(b->isVisible(), e.shown);
    }
    QCOMPARE(TooltipFromTag("TT:[Print Selected Text]"), QString("Print Selected Text"));
  }

  void resizeRules() {
    QList<QRect> got;  // from a size in twips: the pane and the panel in pixels
    for (QSize twips : {QSize(9600, 7200), QSize(90, 1260), QSize(30, 600), QSize(1000, 2000)}) {
      const FormLayout layout = ComputeFormLayout(twips.width(), twips.height());
      got << layout.txtEdit << layout.panToolbar;
    }
    QCOMPARE(got, QList<QRect>({QRect(0, 40, 634, 396), QRect(0, 0, 634, 41),  // usual
                                QRect(0, 40, 0, 0), QRect(0, 0, 0, 41),        // exact minimum
                                QRect(0, 40, 0, 0), QRect(0, 0, 0, 41),        // too small
                                QRect(0, 40, 60, 49), QRect(0, 0, 60, 41)}));  // not a whole pixel
  }

  void resizingMinimisingAndShrinkingFollowTheRules() {
    auto layout = [this] {
      return std::pair(window_->txtEdit()->geometry(), window_->panToolbar()->geometry());
    };
    window_->resize(700, 500);
    QTRY_COMPARE(window_->size(), QSize(700, 500));
    const QSize outer = window_->frameGeometry().size();
    const QRect pane(0, 40, outer.width() - 6, outer.height() - 84);
    QCOMPARE(layout(), std::pair(pane, QRect(0, 0, outer.width() - 6, 41)));
    window_->resize(800, 560);
    QTRY_COMPARE(window_->txtEdit()->width(), pane.width() + 100);
    QCOMPARE(window_->txtEdit()->height(), pane.height() + 60);
    QCOMPARE(window_->panToolbar()->width(), pane.width() + 100);
    const auto before = layout();  // minimising and restoring keeps it
    window_->showMinimized();
    QTRY_VERIFY(window_->isMinimized());
    window_->showNormal();
    QTRY_VERIFY(!window_->isMinimized());
    QCOMPARE(layout(), before);
    window_->setMinimumSize(1, 1);  // a tiny window shrinks the pane to nothing, not below
    window_->menuBar()->setMinimumSize(0, 0);
    window_->resize(1, 1);
    QTRY_VERIFY(window_->frameGeometry().width() < 6);
    QVERIFY(window_->frameGeometry().height() < 84);
    QCOMPARE(window_->txtEdit()->size(), QSize(0, 0));
    window_->resize(640, 480);
    QTRY_COMPARE(window_->txtEdit()->width(), window_->frameGeometry().width() - 6);
  }

  void openAModuleThroughTheDialogEnterTheListAndExit() {
    OpenModule();
    QCOMPARE(script_.dialogs.size(), size_t{1});
    QCOMPARE(script_.dialogs[0].filter, std::string("Program (*.bas)|*.bas"));
    QVERIFY(!script_.dialogs[0].save);
    QStringList items;
    for (int i = 0; i < window_->cbProc()->count(); ++i) items << window_->cbProc()->itemText(i);
    QCOMPARE(items, QStringList({"(declarations)", "Alpha", "Beta"}));
    QCOMPARE(window_->cbProc()->currentText(), QString("(declarations)"));
    QCOMPARE(Pane(), std::string(kDeclarations));
    QCOMPARE(Caption(), CaptionOf("(declarations)"));
    QVERIFY(Doc().indexed());
    QVERIFY(!Doc().changed());
    QCOMPARE(window_->lexer_kind(), SourceKind::kBasic);
    QCOMPARE(QByteArray(window_->txtEdit()->lexer()->lexer()), QByteArray("vb"));
    FocusAndWait(window_->cbProc());
    QTest::keyClick(window_->cbProc(), Qt::Key_Return);  // moves the focus to the pane
    QVERIFY(Doc().pane_focus_requested());
    QCOMPARE(QApplication::focusWidget(), window_->txtEdit());
    QCOMPARE(Pane(), std::string(kDeclarations));
    Item("mnuFileExit")->trigger();  // nothing changed: closes at once
    QVERIFY(!window_->isVisible());
    QVERIFY(script_.boxes.empty());
  }

  void openingColoursByTheKindOfFile() {
    QStringList seen;  // the file, then the lexer and its size, or "plain"
    for (auto [file, item] : {std::pair{"APP.PRG", "mnuPrgFiles"},
                              {"APP.VBP", "mnuVbp"},
                              {"THING.CLS", "mnuClsFiles"}}) {
      const QString path = dir_->filePath(file);
      WriteAll(path, "FUNCTION Main\r\n  RETURN NIL\r\n");
      script_.paths.push_back(path.toStdString());
      Item(item)->trigger();
      QCOMPARE(QString::fromStdString(Doc().file_name()), path);
      const QsciLexer* shown = window_->txtEdit()->lexer();
      seen << file + (shown
                          ? QString(" %1 %2pt").arg(shown->lexer()).arg(shown->font(0).pointSize())
                          : QString(" plain"));
    }
    QCOMPARE(seen, QStringList({"APP.PRG flagship 9pt", "APP.VBP plain", "THING.CLS vb 9pt"}));
  }

  // Cancelled dialogs change nothing; Save As writes the whole module around the entry.
  void cancelledDialogsThenSaveAsThenSave() {
    OpenAndEditAlpha();
    script_.paths = {std::nullopt, std::nullopt};
    Item("mnuFileBas")->trigger();
    Item("mnuSaveAs")->trigger();
    QCOMPARE(script_.dialogs.size(), size_t{3});
    QVERIFY(Doc().indexed());
    QVERIFY(Doc().changed());
    QCOMPARE(QString::fromStdString(Doc().file_name()), module_);
    QCOMPARE(Pane(), std::string(kAlphaEdited));
    QCOMPARE(Caption(), CaptionOf("Alpha"));
    const QString copy = dir_->filePath("COPY.BAS");
    script_.paths.push_back(copy.toStdString());
    Item("mnuSaveAs")->trigger();
    QCOMPARE(script_.dialogs.back().filter, std::string("Program (*.bas)|*.bas"));
    QVERIFY(script_.dialogs.back().save);
    QCOMPARE(ReadAll(copy), kModuleEdited);
    QCOMPARE(ReadAll(module_), kModule);
    QCOMPARE(QString::fromStdString(Doc().file_name()), copy);
    QVERIFY(!Doc().changed());
    QVERIFY(script_.boxes.empty());
  }

  void switchingShowsTheEntryAndWarnsOnceAboutChanges() {
    OpenModule();
    Pick(2);
    QCOMPARE(Pane(), std::string(kBeta));
    QCOMPARE(Caption(), CaptionOf("Beta"));
    TypeAtEndOfLine(1, "0");
    Pick(1);  // warned once, the list back on Beta
    QCOMPARE(script_.boxes.size(), size_t{1});
    QCOMPARE(script_.boxes[0].title, std::string("Save or Lose Changes"));
    QCOMPARE(window_->cbProc()->currentText(), QString("Beta"));
    Pick(1);  // then switched
    QCOMPARE(Pane(), std::string(kAlpha));
    // Delete All Text leaves nothing to warn about.
    TypeAtEndOfLine(1, "0");
    QTest::keyClick(window_->txtEdit(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(Pane(), std::string());
    QCOMPARE(QApplication::focusWidget(), window_->txtEdit());
    Pick(2);
    QCOMPARE(script_.boxes.size(), size_t{1});
    QCOMPARE(Pane(), std::string(kBeta));
  }

  // Options > List Property and Friend Procedures: a check mark, and the open module indexed
  // again, behind the guard of an edited pane.
  void listingPropertyProceduresIndexesTheModuleAgain() {
    WriteAll(module_, QByteArray(kDeclarations) + "Property Get P()\r\nEnd Property\r\n" + kAlpha);
    script_.paths.push_back(module_.toStdString());
    Item("mnuBasFiles")->trigger();
    QAction* option = Item("mnuAllProcedures");
    QVERIFY(option->isCheckable() && !option->isChecked());
    QCOMPARE(window_->cbProc()->count(), 2);
    Pick(1);
    TypeAtEndOfLine(1, "0");
    option->trigger();  // edited: warned once, the option stays off
    QCOMPARE(script_.boxes.size(), size_t{1});
    QCOMPARE(script_.boxes[0].title, std::string("Save or Lose Changes"));
    QVERIFY(!option->isChecked());
    QCOMPARE(window_->cbProc()->count(), 2);
    option->trigger();  // then switched
    QVERIFY(option->isChecked());
    QCOMPARE(window_->cbProc()->count(), 3);
    QCOMPARE(window_->cbProc()->itemText(1), QString("P [Get]"));
    QCOMPARE(window_->cbProc()->currentText(), QString("Alpha"));
    QCOMPARE(Pane(), std::string(kAlpha));
    QCOMPARE(Caption(), CaptionOf("Alpha"));
  }

  // Select All, Return as an ordinary key, hidden items out of reach of their shortcuts.
  void keysInThePane() {
    QSignalSpy hidden(Item("mnuFindDiff"), &QAction::triggered);
    QSignalSpy shown(Item("mnuComment"), &QAction::triggered);
    FocusAndWait(window_->txtEdit());
    for (const char* text : {"", "a\r\nbc\r\n"}) {
      window_->port().SetPaneText(text);
      QTest::keyClick(window_->txtEdit(), Qt::Key_A, Qt::ControlModifier);
      QCOMPARE(window_->port().PaneSelStart(), 0L);
      QCOMPARE(window_->port().PaneSelLength(), static_cast<long>(strlen(text)));
    }
    window_->port().SetPaneText("");
    window_->editor().StartUp();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_F7, Qt::Key_F4}) {
      QTest::keyClick(window_->txtEdit(), key);
    }
    QVERIFY(!Doc().pane_focus_requested());
    QCOMPARE(Pane(), std::string("'\r\n"));  // Return, then Comment on the whole text
    QVERIFY(Doc().changed());
    QCOMPARE(QApplication::focusWidget(), window_->txtEdit());
    QCOMPARE(hidden.count(), 0);
    QCOMPARE(shown.count(), 1);
    QVERIFY(script_.boxes.empty());
  }

  void closing_data() {
    QTest::addColumn<Closing>("c");
    const Answer yes = Answer::kYes, no = Answer::kNo, cancel = Answer::kCancel;
    QTest::newRow("box cancel") << Closing{false, {cancel}, false, false, false};
    QTest::newRow("box no") << Closing{false, {no}, false, true, false};
    QTest::newRow("box yes, dialog cancelled") << Closing{false, {yes}, false, false, false};
    QTest::newRow("box yes, saved") << Closing{false, {yes}, true, true, true};
    QTest::newRow("menu cancel") << Closing{true, {cancel}, false, false, false};
    QTest::newRow("menu no, then no") << Closing{true, {no, no}, false, true, false};
    QTest::newRow("menu no, then cancel") << Closing{true, {no, cancel}, false, false, false};
    QTest::newRow("menu yes, dialog cancelled") << Closing{true, {yes}, false, false, false};
    QTest::newRow("menu yes, saved") << Closing{true, {yes}, true, true, true};
  }
  void closing() {
    QFETCH(Closing, c);
    OpenAndEditAlpha();
    // The Close command asks about the entry, then about the module; the close box about the
    // module.
    const std::string about[] = {c.by_menu ? Caption() : module_.toStdString(),
                                 module_.toStdString()};
    script_.answers.assign(c.answers.begin(), c.answers.end());
    const QString target = dir_->filePath("SAVED.BAS");
    script_.paths.push_back(c.dialog_answer ? std::optional(target.toStdString()) : std::nullopt);
    if (c.by_menu) {
      Item("mnuFileClose")->trigger();
    } else {
      window_->close();
    }
    QCOMPARE(script_.boxes.size(), size_t(c.answers.size()));
    for (size_t i = 0; i < script_.boxes.size(); ++i) {
      const ShownBox& box = script_.boxes[i];
      QCOMPARE(box.title, std::string("Confirm Save"));
      QCOMPARE(box.text,
               "The text in [" + about[i] + "] has changed.\r\nDo you want to save the changes?");
      QCOMPARE(box.buttons, Buttons::kYesNoCancel);
      QCOMPARE(box.icon, Icon::kExclamation);
    }
    QCOMPARE(!window_->isVisible(), c.closed);
    QCOMPARE(QFile::exists(target), c.saved);
    if (!c.closed) QCOMPARE(Pane(), std::string(kAlphaEdited));
    QCOMPARE(ReadAll(module_), kModule);
  }

  // Every command a menu item or a button names runs an operation.
  void everyCommandIsBound() {
    QStringList unbound;
    auto check = [&](const char* name, Command command) {
      if (command != Command::kNone && !window_->Handles(command)) unbound << name;
    };
    for (const MenuEntry& e : MenuTable()) check(e.name, e.command);
    for (const ToolButtonEntry& e : ToolButtonTable()) check(e.name, e.command);
    QCOMPARE(unbound, QStringList());
  }

  // The text tools from a menu item, a shortcut key or a toolbar button, on a selection or on
  // the whole text: the pane, the clipboard, the changed flag and the boxes after them.
  void textTools_data() {
    // The name of an item or button, "key:" and keys pressed, or keystrokes sent to the window.
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QByteArray>("pane");  // "[" and "]" mark the selection
    QTest::addColumn<QByteArray>("clipboard");
    QTest::addColumn<QByteArray>("want_pane");
    QTest::addColumn<QByteArray>("want_clipboard");
    QTest::addColumn<QString>("box");  // "title: text" of the one box shown, if any
    auto row = [](const char* name, const char* trigger, const char* pane, const char* clip,
                  const char* want_pane, const char* want_clip, const char* box = "") {
      QTest::newRow(name) << trigger << QByteArray(pane) << QByteArray(clip)
                          << QByteArray(want_pane) << QByteArray(want_clip) << box;
    };
    row("indent menu, whole text", "mnuIndent", "Sub A()\r\nx = 1\r\nEnd Sub", "",
        "Sub A()\r\n   x = 1\r\nEnd Sub\r\n", "Sub A()\r\n   x = 1\r\nEnd Sub\r\n");
    row("indent key, selection", "key:F5", "a\r\n[If b Then\r\nc\r\n]d", "",
        "a\r\n   If b Then\r\n      c\r\nd", "   If b Then\r\n      c\r\n");
    row("indent button, blank pane", "Command3D1", "   ", "kept", "   ", "kept",
        "Error: You have no text to indent!");
    row("comment key, selection", "key:F4", "[ x = 1  \r\n]y", "", " 'x = 1\r\ny", " 'x = 1\r\n");
    row("comment button, blank pane", "tbComment", "  ", "kept", "  ", "kept",
        "Error: You have no text selected!");
    row("uncomment key, whole text", "key:Shift+F4", "  'x  \r\n''y", "", "  x\r\n'y\r\n",
        "  x\r\n'y\r\n");
    row("uncomment button, blanks only", "tbUncomment", "  ", "", "\r\n", "\r\n");
    row("uncomment menu, empty pane", "mnuUncomment", "", "kept", "", "kept",
        "Error: You have no text selected!");
    row("convert key, selection", "key:F6", "[x := 1]\r\n", "", "x = 1\r\n\r\n", "x = 1\r\n");
    row("convert button, whole text", "Command3D2", "DELETE", "", "oKV.Delete\r\n",
        "oKV.Delete\r\n");
    row("concatenate key, selection", "key:Ctrl+O", "a[blue]", "red", "ablue", "redblue");
    row("concatenate button, whole text", "Command3D3", "blue", "red", "blue", "redblue");
    row("concatenate menu, blank pane", "mnuConcatenate", " ", "red", " ", "red",
        "Error: You have no text to concatenate!");
    row("cut key", "key:Ctrl+X", "a[bc]d", "old", "ad", "bc");
    row("copy key", "key:Ctrl+C", "a[bc]d", "old", "abcd", "bc");
    row("copy menu, nothing selected", "mnuCopy", "abcd", "old", "abcd", "");
    row("paste key, selection", "key:Ctrl+V", "a[bc]d", "XY", "aXYd", "XY");
    row("paste by the keystrokes Alt+E, P", "%(EP)", "a[bc]d", "", "ad", "");
    row("clear menu", "mnuClear", "a[bc]d", "old", "abcd", "");
  }
  void textTools() {
    QFETCH(QString, trigger);
    QFETCH(QByteArray, pane);
    QFETCH(QByteArray, clipboard);
    QFETCH(QByteArray, want_pane);
    QFETCH(QByteArray, want_clipboard);
    QFETCH(QString, box);
    const qsizetype open = pane.indexOf('['), close = pane.indexOf(']');
    window_->port().SetPaneText(pane.replace("[", "").replace("]", "").toStdString());
    if (open >= 0) window_->port().SetPaneSelection(open, close - open - 1);
    window_->editor().StartUp();
    window_->port().SetClipboardText(clipboard.toStdString());
    FocusAndWait(window_->txtEdit());
    if (trigger.startsWith("key:")) {
      for (const QString& keys : trigger.mid(4).split(',')) {
        const QKeyCombination k = QKeySequence(keys)[0];
        QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers());
      }
    } else if (trigger.startsWith('%')) {
      window_->port().SendKeys(trigger.toStdString());
    } else if (auto* button = window_->panToolbar()->findChild<QToolButton*>(trigger)) {
      QTest::mouseClick(button, Qt::LeftButton);
    } else {
      Item(trigger)->trigger();
    }
    QCOMPARE(QByteArray::fromStdString(Pane()), want_pane);
    QCOMPARE(QByteArray::fromStdString(window_->port().ClipboardText()), want_clipboard);
    QCOMPARE(Doc().changed(), want_pane != pane);
    QStringList boxes;
    for (const ShownBox& b : script_.boxes)
      boxes << QString::fromStdString(b.title + ": " + b.text);
    QCOMPARE(boxes, box.isEmpty() ? QStringList() : QStringList({box}));
    for (const ShownBox& b : script_.boxes) QCOMPARE(b.icon, Icon::kExclamation);
  }

  // The listing goes to the printer, bold where a line is a comment; with no printer, the
  // "Print Error" box tells why. The selection stays as it was.
  void printSelectedText() {
    qw::LayoutPrinter layout;
    script_.printer = &layout;
    window_->port().SetPaneText("x = 1\r\n' note\r\n");
    window_->editor().StartUp();
    FocusAndWait(window_->txtEdit());
    QTest::keyClick(window_->txtEdit(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(layout.text(), std::string("   \r\n   \r\n  x = 1\r\nB ' note\r\n"));
    QCOMPARE(window_->port().PaneSelLength(), 0L);
    qw::NoPrinter none;
    script_.printer = &none;
    QTest::mouseClick(window_->panToolbar()->findChild<QToolButton*>("tbPrint"), Qt::LeftButton);
    QCOMPARE(script_.boxes.size(), size_t{1});
    QCOMPARE(script_.boxes[0].title, std::string("Print Error"));
    QCOMPARE(script_.boxes[0].icon, Icon::kStop);
    QVERIFY(script_.boxes[0].text.starts_with("Printer error"));
    QCOMPARE(QApplication::focusWidget(), window_->txtEdit());
    QVERIFY(!Doc().changed());
  }

  // Each fault is reported, and the focus still goes back to the pane.
  void faultsEscapingAHandlerAreReported() {
    void (*const handlers[])() = {[] { throw qw::Fault(qw::kFaultFileNotFound); },
                                  [] { throw std::out_of_range("vector::at"); }, [] { throw 42; }};
    for (const auto& handler : handlers) {
      FocusAndWait(window_->cbProc());
      window_->Run(handler, true);
      QCOMPARE(QApplication::focusWidget(), window_->txtEdit());
    }
    QStringList texts;
    for (const ShownBox& box : script_.boxes) {
      QCOMPARE(box.title, std::string("Quillwright Error"));
      QCOMPARE(box.icon, Icon::kStop);
      texts << QString::fromStdString(box.text);
    }
    QCOMPARE(texts,
             QStringList({"File not found", "vector::at", "Invalid procedure call or argument"}));
    QVERIFY(window_->isVisible());
  }
};

QTEST_MAIN(TestFrmEdit32)
#include "tst_frm_edit32.moc"
