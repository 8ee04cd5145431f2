// The Find and Replace dialogs as a user meets them, and the search commands
// from their menu items and keys in the real window: Find (F2), Find Next
// (F3), Replace (Ctrl+R) and Find in Module (Ctrl+Shift+F) with its hit list.
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "document/editor.h"
#include "find/search_commands.h"
#include "shell/code_page.h"
#include "shell/code_page_pane.h"
#include "shell/frm_edit32.h"
#include "shell/hit_list.h"
#include "shell/menu_table.h"
#include "shell/qt_port.h"
#include "shell/search_dialogs.h"

using namespace qw;
using namespace qw::shell;

namespace {

template <typename T>
T* Child(QWidget* w, const char* name) {
  T* c = w->findChild<T*>(name);
  if (!c) qFatal("no control %s", name);
  return c;
}

QRadioButton* Direction(QWidget* dialog, int index) {
  for (QRadioButton* b : dialog->findChildren<QRadioButton*>("optDirection")) {
    if (b->property("index").toInt() == index) return b;
  }
  qFatal("no optDirection(%d)", index);
}

// Runs `act` on the modal dialog once it is up.
void WhenModal(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act] {
    QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
    act(QApplication::activeModalWidget());
  });
}

}  // namespace

class TestSearchDialogs : public QObject {
  Q_OBJECT

 private slots:
  void findDialogHasItsControlsAndStartsAsDesigned() {
    frmFind d(std::string{});
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(d.windowTitle(), QString("Find"));
    QVERIFY(d.isModal());
    QCOMPARE(Child<QLabel>(&d, "Label1")->text(), QString("Fi&nd What:"));
    QCOMPARE(Child<QCheckBox>(&d, "chkCase")->text(), QString("Match &Case"));
    QCOMPARE(Child<QGroupBox>(&d, "Frame1")->title(), QString("Direction"));
    QCOMPARE(Direction(&d, 0)->text(), QString("&Up"));
    QCOMPARE(Direction(&d, 1)->text(), QString("&Down"));
    QCOMPARE(Child<QPushButton>(&d, "cmdcancel")->text(), QString("&Cancel"));
    auto* find = Child<QPushButton>(&d, "cmdFind");
    QCOMPARE(find->text(), QString("&Find"));
    QVERIFY(find->isDefault());
    QVERIFY(Direction(&d, 1)->isChecked());
    QVERIFY(!Child<QCheckBox>(&d, "chkCase")->isChecked());
    auto* text = Child<QLineEdit>(&d, "Text1");
    QTRY_COMPARE(QApplication::focusWidget(), text);
    // The Find button is enabled exactly while the text box is not empty.
    QVERIFY(!find->isEnabled());
    QTest::keyClick(text, 'a');
    QVERIFY(find->isEnabled());
    QTest::keyClick(text, Qt::Key_Backspace);
    QVERIFY(!find->isEnabled());
    frmFind with_text(std::string("abc"));
    QVERIFY(Child<QPushButton>(&with_text, "cmdFind")->isEnabled());
    // Activated again after the user was elsewhere: the focus is back in the text box.
    Child<QCheckBox>(&d, "chkCase")->setFocus();
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    d.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTRY_COMPARE(QApplication::focusWidget(), text);
  }

  void findDialogAnswersHowItWasLeft_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("closed");
    QTest::addRow("Enter presses Find") << "enter" << int(DialogClose::kAccept);
    QTest::addRow("Find button") << "find" << int(DialogClose::kAccept);
    QTest::addRow("Cancel button") << "cancel" << int(DialogClose::kCancel);
    QTest::addRow("Esc is Cancel") << "esc" << int(DialogClose::kCancel);
    QTest::addRow("close box") << "close" << int(DialogClose::kCloseBox);
  }
  void findDialogAnswersHowItWasLeft() {
    QFETCH(QString, how);
    QFETCH(int, closed);
    frmFind d(std::string{});
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto* text = Child<QLineEdit>(&d, "Text1");
    QTest::keyClicks(text, "Dim");
    Child<QCheckBox>(&d, "chkCase")->click();
    Direction(&d, 0)->click();
    if (how == "enter") QTest::keyClick(text, Qt::Key_Return);
    if (how == "find") Child<QPushButton>(&d, "cmdFind")->click();
    if (how == "cancel") Child<QPushButton>(&d, "cmdcancel")->click();
    if (how == "esc") QTest::keyClick(text, Qt::Key_Escape);
    if (how == "close") d.close();
    QVERIFY(!d.isVisible());
    const FindDialogAnswer a = d.answer();
    QCOMPARE(int(a.closed), closed);
    QCOMPARE(a.text, std::string("Dim"));
    QVERIFY(a.match_case && a.match_case_clicked);
    QCOMPARE(a.direction, 0);
  }

  void replaceDialogHasItsControlsInPlace() {
    frmReplace d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    QCOMPARE(d.windowTitle(), QString("Find & Replace"));
    QVERIFY(d.isModal());
    auto* label1 = Child<QLabel>(&d, "Label1");
    auto* label2 = Child<QLabel>(&d, "Label2");
    auto* find = Child<QLineEdit>(&d, "txtFindWhat");
    auto* with = Child<QLineEdit>(&d, "txtReplaceWith");
    auto* box = Child<QCheckBox>(&d, "chkCaseSensitive");
    auto* replace = Child<QPushButton>(&d, "pbReplace");
    auto* cancel = Child<QPushButton>(&d, "pbCancel");
    Child<QLabel>(&d, "Image2");
    QCOMPARE(label1->text(), QString("Find What"));
    QCOMPARE(label2->text(), QString("Replace With"));
    QCOMPARE(box->text(), QString("Case Sensitive"));
    QCOMPARE(replace->text(), QString("Replace"));
    QCOMPARE(cancel->text(), QString("Cancel"));
    QVERIFY(find->text().isEmpty() && with->text().isEmpty() && !box->isChecked());
    const auto at = [](QWidget* w) { return w->geometry(); };
    QVERIFY(at(label1).right() < at(find).left() && at(label2).right() < at(with).left());
    QVERIFY(at(box).top() > at(with).bottom());
    QVERIFY(at(replace).left() > at(find).right() && at(cancel).left() > at(with).right());
    QVERIFY(at(replace).bottom() < at(cancel).top());
  }

  void replaceDialogCountsAnythingButReplaceAsCancel_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("closed");
    QTest::addRow("Replace") << "replace" << int(DialogClose::kAccept);
    QTest::addRow("Cancel") << "cancel" << int(DialogClose::kCancel);
    QTest::addRow("Esc") << "esc" << int(DialogClose::kCancel);
    QTest::addRow("close box") << "close" << int(DialogClose::kCancel);
  }
  void replaceDialogCountsAnythingButReplaceAsCancel() {
    QFETCH(QString, how);
    QFETCH(int, closed);
    frmReplace d;
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTest::keyClicks(Child<QLineEdit>(&d, "txtFindWhat"), "a");
    QTest::keyClicks(Child<QLineEdit>(&d, "txtReplaceWith"), "b");
    Child<QCheckBox>(&d, "chkCaseSensitive")->click();
    if (how == "replace") Child<QPushButton>(&d, "pbReplace")->click();
    if (how == "cancel") Child<QPushButton>(&d, "pbCancel")->click();
    if (how == "esc") QTest::keyClick(Child<QLineEdit>(&d, "txtFindWhat"), Qt::Key_Escape);
    if (how == "close") d.close();
    QVERIFY(!d.isVisible());
    const ReplaceDialogAnswer a = d.answer();
    QCOMPARE(int(a.closed), closed);
    QCOMPARE(a.find_what + ">" + a.replace_with, std::string("a>b"));
    QVERIFY(a.case_sensitive);
  }

  // The window: F2 opens the real dialog, which searches whatever closes it; F3 goes on.
  void findAndFindNextFromTheirKeysInTheWindow() {
    frmEdit32 w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.port().SetPaneText("xxabcxxABC");
    w.port().SetPaneSelection(0, 0);
    w.txtEdit()->setFocus();
    WhenModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QString("frmFind"));
      QTest::keyClicks(Child<QLineEdit>(d, "Text1"), "abc");
      QTest::keyClick(Child<QLineEdit>(d, "Text1"), Qt::Key_Return);
    });
    QTest::keyClick(w.txtEdit(), Qt::Key_F2);
    QCOMPARE(w.port().PaneSelStart(), 2L);
    QCOMPARE(w.port().PaneSelectedText(), std::string("abc"));
    // The offscreen platform does not hand the activation back after a modal dialog.
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.txtEdit(), Qt::Key_F3);
    QCOMPARE(w.port().PaneSelectedText(), std::string("ABC"));
    QCOMPARE(w.port().PaneSelStart(), 7L);
    // After the last occurrence: "Cannot find" from the menu item, the selection kept.
    PortScript script;
    w.port().SetScript(&script);
    FindMenuAction(w.menuBar(), "mnuFindNext")->trigger();
    QCOMPARE(script.boxes.size(), size_t{1});
    QCOMPARE(script.boxes[0].text, std::string("Cannot find \"abc\""));
    QCOMPARE(script.boxes[0].title, std::string("QWEdit"));
    QCOMPARE(w.port().PaneSelStart(), 7L);
    w.port().SetScript(nullptr);
    w.editor().StartUp();
  }

  // Letter case folds as the pane's code page says: in DOS 437, 0x81 is u umlaut and
  // 0x9A its capital (in Windows-1252, 0x9A is s caron, the small of 0x8A).
  void findFoldsLetterCaseInThePanesCodePage() {
    frmEdit32 w;
    PortScript script;
    w.port().SetScript(&script);
    for (const CodePage& page : CodePage::All()) {
      if (std::string(page.name()) == "DOS 437") w.pane()->SetCodePage(page);
    }
    w.port().SetPaneText("\x8a \x81 \x9a");
    w.port().SetPaneSelection(0, 0);
    script.find_answers.push_back({DialogClose::kAccept, "\x81", false, false, 1});
    FindMenuAction(w.menuBar(), "mnuFind")->trigger();
    QCOMPARE(w.port().PaneSelStart(), 2L);
    FindMenuAction(w.menuBar(), "mnuFindNext")->trigger();
    QCOMPARE(w.port().PaneSelStart(), 4L);
    QVERIFY(script.boxes.empty());
    w.editor().StartUp();
  }

  void replaceFromCtrlRInTheWindow() {
    frmEdit32 w;
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.port().SetPaneText("Dim x\r\nDIM y\r\n");
    w.txtEdit()->setFocus();
    WhenModal([](QWidget* d) {
      QCOMPARE(d->objectName(), QString("frmReplace"));
      QTest::keyClicks(Child<QLineEdit>(d, "txtFindWhat"), "Dim");
      QTest::keyClicks(Child<QLineEdit>(d, "txtReplaceWith"), "Local");
      Child<QPushButton>(d, "pbReplace")->click();
    });
    QTest::keyClick(w.txtEdit(), Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(w.port().PaneText(), std::string("Local x\r\nDIM y\r\n"));
    QCOMPARE(w.search().state().find_text, std::string("Dim"));
    w.editor().StartUp();
  }

  // Find in Module lists the hits of every entry; choosing one switches the entry and selects
  // the occurrence, unless the pane is edited, when the switch warns and keeps the pane.
  void findInModuleTakesTheUserToEveryHit() {
    QTemporaryDir dir;
    const QString path = dir.filePath("M.BAS");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(
        "Dim Total\r\nSub A()\r\n  x = 1\r\nEnd Sub\r\nSub B()\r\n  y = 2\r\n  Total = y\r\n"
        "End Sub\r\n");
    f.close();
    frmEdit32 w;
    PortScript script;
    w.port().SetScript(&script);
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    script.paths.push_back(path.toStdString());
    FindMenuAction(w.menuBar(), "mnuBasFiles")->trigger();
    QCOMPARE(w.cbProc()->count(), 3);
    script.find_answers.push_back({DialogClose::kAccept, "total", false, false, 1});
    w.txtEdit()->setFocus();
    QTest::keyClick(w.txtEdit(), Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    HitList* list = w.port().hit_list();
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->rowCount(), 2);
    QTableView* table = list->table();
    QCOMPARE(table->model()->index(1, 0).data().toString(), QString("B"));
    QCOMPARE(table->model()->index(1, 1).data().toInt(), 3);
    QCOMPARE(table->model()->index(1, 2).data().toString(), QString("  Total = y"));
    emit table->activated(table->model()->index(1, 0));
    QCOMPARE(w.editor().doc().current_entry_name(), std::string("B"));
    QCOMPARE(w.port().PaneSelectedText(), std::string("Total"));
    QCOMPARE(w.cbProc()->currentText(), QString("B"));
    // Edited: the switch to the declarations warns and the pane stays.
    QTest::keyClicks(w.txtEdit(), "z");
    const std::string edited = w.port().PaneText();
    emit table->activated(table->model()->index(0, 0));
    QCOMPARE(script.boxes.back().title, std::string("Save or Lose Changes"));
    QCOMPARE(w.port().PaneText(), edited);
    QCOMPARE(w.editor().doc().current_entry_name(), std::string("B"));
    w.editor().StartUp();
  }
};

QTEST_MAIN(TestSearchDialogs)
#include "tst_search_dialogs.moc"
