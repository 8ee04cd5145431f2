// The Qt port on real widgets: the entry list, scripted and real boxes and
// dialogs, the busy pointer. Bytes through the pane and the clipboard are in
// tests/data/window/port.txt, its small conversions in
// tests/data/shell/conversions.txt.
#include <Qsci/qsciscintilla.h>

#include <QAbstractItemModel>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/fault.h"
#include "shell/code_page_pane.h"
#include "shell/qt_port.h"

using qw::Answer;
using qw::Buttons;
using qw::Icon;
using namespace qw::shell;

class TestQtPort : public QObject {
  Q_OBJECT

 private:
  QMainWindow* window_ = nullptr;
  CodePagePane* pane_ = nullptr;
  QComboBox* list_ = nullptr;
  QtPort* port_ = nullptr;
  PortScript script_;

 private slots:
  void init() {
    window_ = new QMainWindow;
    pane_ = new CodePagePane(window_);
    pane_->setEolMode(QsciScintilla::EolWindows);
    list_ = new QComboBox(window_);
    list_->setEditable(true);
    port_ = new QtPort(window_, window_->menuBar(), pane_, list_);
    script_ = PortScript{};
    port_->SetScript(&script_);
  }
  void cleanup() {
    delete port_;
    delete window_;
  }

  void entryListFillsInOneStepAndRaisesTheClickHandler() {
    std::vector<std::string> names;
    for (int i = 0; i < 60000; ++i) names.push_back("Proc" + std::to_string(i));
    QSignalSpy resets(list_->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(list_->model(), &QAbstractItemModel::rowsInserted);
    port_->SetEntryItems(names);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(port_->EntryCount(), 60000);
    QCOMPARE(port_->EntrySelectedIndex(), -1);
    std::vector<std::pair<int, std::string>> clicks;
    port_->SetEntryClickHandler(
        [&] { clicks.emplace_back(port_->EntrySelectedIndex(), port_->EntryText()); });
    port_->SetEntrySelectedIndex(2);
    port_->SetEntrySelectedIndex(1);
    QCOMPARE(clicks, (std::vector<std::pair<int, std::string>>{{2, "Proc2"}, {1, "Proc1"}}));
    port_->SetEntryText("typed");
    QCOMPARE(port_->EntryText(), std::string("typed"));
    QCOMPARE(port_->EntrySelectedIndex(), 1);
    port_->ClearEntryList();
    QCOMPARE(port_->EntryCount(), 0);
    QCOMPARE(port_->EntryText(), std::string());
  }

  // Scripted answers and paths, and the boxes and dialogs they record, are used throughout the
  // window's tests; here what the script leaves out.
  void unscriptedBoxesAndDialogs() {
    QCOMPARE(port_->MessageBox({qw::NoticeKind::kWarning, "eof", "", Buttons::kOk, Icon::kNone}),
             Answer::kOk);
    QCOMPARE(port_->MessageBox(
                 {qw::NoticeKind::kQuestion, "?", "", Buttons::kYesNoCancel, Icon::kExclamation}),
             Answer::kCancel);
    QCOMPARE(script_.boxes[0].title, std::string("QWEdit"));
    QCOMPARE(script_.unscripted, 2);
    script_.paths = {std::nullopt};
    try {
      port_->ShowSaveDialog("Program (*.bas)|*.bas");
      QFAIL("a cancelled dialog must raise a fault");
    } catch (const qw::Fault& f) {
      QCOMPARE(f.number(), 32755);
    }
    QVERIFY_THROWS_EXCEPTION(qw::Fault, port_->ShowOpenDialog("x|*.x"));  // script empty
    QCOMPARE(script_.unscripted, 3);
  }

  void busyPointerNestsAndNeverUnderflows() {
    port_->BusyPointer(true);
    port_->BusyPointer(true);
    port_->BusyPointer(false);
    QCOMPARE(port_->busy_depth(), 1);
    port_->BusyPointer(false);
    port_->BusyPointer(false);
    QCOMPARE(port_->busy_depth(), 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  // Without a script the port shows real boxes: answer them from a timer.
  void realBoxesShowTheExactTextTitleAndIcon() {
    port_->SetScript(nullptr);
    QList<std::pair<Answer, QMessageBox::Icon>> got;  // the answer and the icon shown
    for (auto [buttons, icon, press] :
         {std::tuple(Buttons::kOk, Icon::kStop, QMessageBox::Ok),
          {Buttons::kYesNoCancel, Icon::kExclamation, QMessageBox::Yes},
          {Buttons::kYesNoCancel, Icon::kExclamation, QMessageBox::No},
          {Buttons::kYesNoCancel, Icon::kQuestion, QMessageBox::Cancel}}) {
      QString title, text;
      QMessageBox::Icon shown = QMessageBox::NoIcon;
      QTimer::singleShot(0, this, [&, press = press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        shown = box->icon();
        box->button(press)->click();
      });
      got.append({port_->MessageBox({qw::NoticeKind::kQuestion,
                                     "The text in [X] has changed.\r\nSave?", "", buttons, icon}),
                  shown});
      QCOMPARE(title, QString("QWEdit"));
      QCOMPARE(text, QString("The text in [X] has changed.\nSave?"));
    }
    QCOMPARE(got, (QList<std::pair<Answer, QMessageBox::Icon>>{
                      {Answer::kOk, QMessageBox::Critical},
                      {Answer::kYes, QMessageBox::Warning},
                      {Answer::kNo, QMessageBox::Warning},
                      {Answer::kCancel, QMessageBox::Question}}));
  }

  void realOpenDialogOffersTheConvertedFilter() {
    port_->SetScript(nullptr);
    QTemporaryDir dir;
    const QString path = dir.filePath("MAIN.BAS");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QStringList filters;
    QTimer::singleShot(0, this, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      filters = dialog->nameFilters();
      dialog->selectFile(path);
      static_cast<QDialog*>(dialog)->accept();  // public in QDialog, the dialog's own accept runs
    });
    QCOMPARE(port_->ShowOpenDialog("Program (*.bas)|*.bas"), path.toStdString());
    QCOMPARE(filters, QStringList({"Program (*.bas *.BAS)"}));
    QTimer::singleShot(0, this, [&] { QApplication::activeModalWidget()->close(); });
    QVERIFY_THROWS_EXCEPTION(qw::Fault, port_->ShowSaveDialog("Program (*.bas)|*.bas"));
  }
};

QTEST_MAIN(TestQtPort)
#include "tst_qt_port.moc"
