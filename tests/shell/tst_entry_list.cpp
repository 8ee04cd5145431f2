// The entry list of a module as the keyboard drives it: Up and Down step from the entry shown
// after an open, a save and a switch; typing part of a name offers the entries that hold it,
// and choosing one switches to it; the drop-down is as wide as the longest name.
#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "document/editor.h"
#include "document/module_document.h"
#include "shell/entry_search.h"
#include "shell/frm_edit32.h"
#include "shell/menu_table.h"
#include "shell/qt_port.h"

using namespace qw::shell;

namespace {

const char kLongName[] = "Handle_The_Very_Long_Name_Of_A_Generated_Procedure_Click";
const QByteArray kModule = QByteArray("Option Explicit\r\n") +
                           "Sub Alpha()\r\nEnd Sub\r\n"
                           "Function Beta()\r\nEnd Function\r\n"
                           "Sub " +
                           kLongName +
                           "()\r\nEnd Sub\r\n"
                           "Sub ALPHABET()\r\nEnd Sub\r\n";

}  // namespace

class TestEntryList : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<frmEdit32> window_;
  PortScript script_;

  QComboBox* List() { return window_->cbProc(); }
  QLineEdit* Field() { return List()->lineEdit(); }
  const qw::ModuleDocument& Doc() { return window_->editor().doc(); }
  int Shown() { return static_cast<int>(Doc().current_entry_index()); }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    const QString path = dir_->filePath("KEYS.BAS");
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(kModule);
    f.close();
    window_ = std::make_unique<frmEdit32>();
    script_ = PortScript{};
    window_->port().SetScript(&script_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    script_.paths.push_back(path.toStdString());
    FindMenuAction(window_->menuBar(), "mnuBasFiles")->trigger();
    QCOMPARE(List()->count(), 5);
  }
  void cleanup() {
    window_->editor().StartUp();
    window_.reset();
  }

  // After `before` (an open, a save, a switch by click), each key in the list's text field moves
  // one entry and shows it; the list's selected item is always the entry shown.
  void stepsFromTheEntryShown_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("keys");      // D for Down, U for Up
    QTest::addColumn<QList<int>>("shown");  // the entry shown after each key
    QTest::newRow("open, down") << "open"
                                << "DD" << QList<int>{1, 2};
    QTest::newRow("open, up stays") << "open"
                                    << "UD" << QList<int>{0, 1};
    QTest::newRow("save, down") << "save"
                                << "D" << QList<int>{1};
    QTest::newRow("switch, down and up") << "switch"
                                         << "DUU" << QList<int>{3, 2, 1};
    QTest::newRow("last, down stays") << "last"
                                      << "DU" << QList<int>{4, 3};
  }
  void stepsFromTheEntryShown() {
    QFETCH(QString, before);
    QFETCH(QString, keys);
    QFETCH(QList<int>, shown);
    if (before == "save") {
      window_->port().SetPaneText("Option Explicit\r\nDim x\r\n");
      FindMenuAction(window_->menuBar(), "mnuFileSave")->trigger();
      QCOMPARE(Shown(), 0);
    } else if (before == "switch" || before == "last") {
      const int item = before == "last" ? 4 : 2;
      List()->setCurrentIndex(item);
      emit List()->activated(item);
      QCOMPARE(Shown(), item);
    }
    QCOMPARE(List()->currentIndex(), Shown());
    Field()->setFocus();
    QList<int> seen;
    for (const QChar key : keys) {
      QTest::keyClick(Field(), key == u'D' ? Qt::Key_Down : Qt::Key_Up);
      seen << Shown();
      QCOMPARE(List()->currentIndex(), Shown());
    }
    QCOMPARE(seen, shown);
    QVERIFY(script_.boxes.empty());
  }

  void typingOffersTheMatchingNames_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("offered");
    QTest::newRow("part of two names, any case") << "LPH" << QList<int>{1, 4};
    QTest::newRow("one name") << "eta" << QList<int>{2};
    QTest::newRow("none") << "zz" << QList<int>{};
  }
  void typingOffersTheMatchingNames() {
    QFETCH(QString, typed);
    QFETCH(QList<int>, offered);
    EntrySearch& search = window_->port().entry_search();
    Field()->setFocus();
    Field()->selectAll();
    QTest::keyClicks(Field(), typed);
    const QList<int> got(search.offered().begin(), search.offered().end());
    QCOMPARE(got, offered);
    QAbstractItemView* popup = search.completer()->popup();
    QCOMPARE(popup->isVisible(), !offered.isEmpty());
    QCOMPARE(Shown(), 0);  // typing alone switches nothing
    if (offered.isEmpty()) return;
    QCOMPARE(popup->model()->rowCount(), offered.size());
    // Choosing the last name offered switches to it, as a click in the list does.
    for (int i = 0; i < offered.size(); ++i) QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Return);
    QCOMPARE(Shown(), offered.last());
    QCOMPARE(List()->currentIndex(), offered.last());
    const std::string name = List()->itemText(offered.last()).toStdString();
    QVERIFY(window_->port().Caption().starts_with("QW: " + name + " of "));
  }

  void dropDownIsAsWideAsTheLongestName() {
    List()->showPopup();
    QAbstractItemView* view = List()->view();
    QTRY_VERIFY(view->isVisible());
    QVERIFY(view->width() > view->fontMetrics().horizontalAdvance(kLongName));
    List()->hidePopup();
  }
};

QTEST_MAIN(TestEntryList)
#include "tst_entry_list.moc"
