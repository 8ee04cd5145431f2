// The Find and Replace dialogs on their own: what their controls answer for each way of leaving
// them, and how Find keeps its button and focus. Their captions and first states are rows of
// tests/data/shell/controls.txt; the window opens them in tests/data/window/search.txt.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

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

// Leaves `d` as `how` says: "enter" in `text`, "esc" in it, "close" box, or clicks the button.
void Leave(QDialog& d, QLineEdit* text, const QString& how) {
  if (how == "enter") QTest::keyClick(text, Qt::Key_Return);
  if (how == "esc") QTest::keyClick(text, Qt::Key_Escape);
  if (how == "close") d.close();
  if (how.startsWith("button ")) Child<QPushButton>(&d, qPrintable(how.mid(7)))->click();
  QVERIFY(!d.isVisible());
}

}  // namespace

class TestSearchDialogs : public QObject {
  Q_OBJECT

 private slots:
  void findButtonAndFocus() {
    frmFind d(std::string{});
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    auto* text = Child<QLineEdit>(&d, "Text1");
    auto* find = Child<QPushButton>(&d, "cmdFind");
    // The Find button is enabled exactly while the text box is not empty.
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

  void leaving_data() {
    QTest::addColumn<bool>("find");  // else Replace
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("closed");
    const int accept = int(DialogClose::kAccept), cancel = int(DialogClose::kCancel);
    QTest::addRow("Find: Enter presses Find") << true << "enter" << accept;
    QTest::addRow("Find: Find button") << true << "button cmdFind" << accept;
    QTest::addRow("Find: Cancel button") << true << "button cmdcancel" << cancel;
    QTest::addRow("Find: Esc is Cancel") << true << "esc" << cancel;
    QTest::addRow("Find: close box") << true << "close" << int(DialogClose::kCloseBox);
    QTest::addRow("Replace: Replace") << false << "button pbReplace" << accept;
    QTest::addRow("Replace: Cancel") << false << "button pbCancel" << cancel;
    QTest::addRow("Replace: Esc") << false << "esc" << cancel;
    QTest::addRow("Replace: close box counts as Cancel") << false << "close" << cancel;
  }
  // Whatever closes a dialog, its answer holds what its controls held.
  void leaving() {
    QFETCH(bool, find);
    QFETCH(QString, how);
    QFETCH(int, closed);
    if (find) {
      frmFind d(std::string{});
      d.show();
      QVERIFY(QTest::qWaitForWindowActive(&d));
      QTest::keyClicks(Child<QLineEdit>(&d, "Text1"), "Dim");
      Child<QCheckBox>(&d, "chkCase")->click();
      for (QRadioButton* b : d.findChildren<QRadioButton*>("optDirection")) {
        if (b->property("index").toInt() == 0) b->click();
      }
      Leave(d, Child<QLineEdit>(&d, "Text1"), how);
      const FindDialogAnswer a = d.answer();
      QCOMPARE(int(a.closed), closed);
      QCOMPARE(a.text, std::string("Dim"));
      QVERIFY(a.match_case && a.match_case_clicked);
      QCOMPARE(a.direction, 0);
      return;
    }
    frmReplace d;
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QTest::keyClicks(Child<QLineEdit>(&d, "txtFindWhat"), "a");
    QTest::keyClicks(Child<QLineEdit>(&d, "txtReplaceWith"), "b");
    Child<QCheckBox>(&d, "chkCaseSensitive")->click();
    Leave(d, Child<QLineEdit>(&d, "txtFindWhat"), how);
    const ReplaceDialogAnswer a = d.answer();
    QCOMPARE(int(a.closed), closed);
    QCOMPARE(a.find_what + ">" + a.replace_with, std::string("a>b"));
    QVERIFY(a.case_sensitive);
  }

  // Each label stands before its text box, Case Sensitive below them, the buttons to the right.
  void replaceLayout() {
    frmReplace d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const auto at = [&d](const char* name) { return Child<QWidget>(&d, name)->geometry(); };
    QVERIFY(at("Label1").right() < at("txtFindWhat").left());
    QVERIFY(at("Label2").right() < at("txtReplaceWith").left());
    QVERIFY(at("chkCaseSensitive").top() > at("txtReplaceWith").bottom());
    QVERIFY(at("pbReplace").left() > at("txtFindWhat").right());
    QVERIFY(at("pbCancel").left() > at("txtReplaceWith").right());
    QVERIFY(at("pbReplace").bottom() < at("pbCancel").top());
  }
};

QTEST_MAIN(TestSearchDialogs)
#include "tst_search_dialogs.moc"
