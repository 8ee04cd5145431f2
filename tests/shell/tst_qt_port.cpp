// The Qt port on real widgets: bytes through the pane and the clipboard, the
// entry list, scripted boxes and dialogs, keystrokes sent to the menu bar, and
// the small conversions the shell relies on.
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
#include "shell/key_preview.h"
#include "shell/qt_port.h"
#include "shell/source_lexer.h"
#include "shell/toolbar.h"

using qw::Answer;
using qw::Buttons;
using qw::Icon;
using namespace qw::shell;

Q_DECLARE_METATYPE(qw::shell::SourceKind)
Q_DECLARE_METATYPE(qw::Buttons)
Q_DECLARE_METATYPE(qw::Icon)
Q_DECLARE_METATYPE(qw::Answer)

class TestQtPort : public QObject {
  Q_OBJECT

 private:
  QMainWindow* window_ = nullptr;
  QsciScintilla* pane_ = nullptr;
  QComboBox* list_ = nullptr;
  QtPort* port_ = nullptr;
  PortScript script_;

 private slots:
  void init() {
    window_ = new QMainWindow;
    pane_ = new QsciScintilla(window_);
    pane_->setUtf8(false);
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

  void paneKeepsEveryByte() {
    std::string all;
    for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
    all += std::string(1, '\0') + "tail\r\n";
    port_->SetPaneText(all);
    QCOMPARE(port_->PaneText(), all);
    QCOMPARE(port_->PaneSelStart(), 0L);
    QCOMPARE(port_->PaneSelLength(), 0L);
  }

  void paneSelection_data() {
    QTest::addColumn<long>("start");
    QTest::addColumn<long>("length");
    QTest::addColumn<QByteArray>("selected");
    QTest::newRow("inside") << 2L << 3L << QByteArray("c\r\n");
    QTest::newRow("empty") << 4L << 0L << QByteArray();
    QTest::newRow("whole") << 0L << 7L << QByteArray("abc\r\nde");
    QTest::newRow("past end is clipped") << 5L << 50L << QByteArray("de");
    QTest::newRow("negative length selects nothing") << 3L << -2L << QByteArray();
  }
  void paneSelection() {
    QFETCH(long, start);
    QFETCH(long, length);
    QFETCH(QByteArray, selected);
    port_->SetPaneText("abc\r\nde");
    port_->SetPaneSelection(start, length);
    QCOMPARE(QByteArray::fromStdString(port_->PaneSelectedText()), selected);
    QCOMPARE(port_->PaneSelLength(), static_cast<long>(selected.size()));
  }

  void replaceSelectionPutsCaretAfterAndUndoesInOneStep() {
    port_->SetPaneText("one two three");
    port_->SetPaneSelection(4, 3);
    port_->ReplacePaneSelection("\xE9\xFF\r\n");
    QCOMPARE(port_->PaneText(), std::string("one \xE9\xFF\r\n three"));
    QCOMPARE(port_->PaneSelStart(), 8L);
    QCOMPARE(port_->PaneSelLength(), 0L);
    pane_->undo();
    QCOMPARE(port_->PaneText(), std::string("one two three"));
  }

  void newTextCannotBeUndoneIntoTheOldOne() {
    port_->SetPaneText("first entry");
    port_->SetPaneText("second entry");
    QVERIFY(!pane_->isUndoAvailable());
    QCOMPARE(port_->PaneText(), std::string("second entry"));
  }

  void paneChangesAreSignalled() {
    QSignalSpy changed(pane_, &QsciScintilla::textChanged);
    port_->SetPaneText("x");
    QVERIFY(changed.count() >= 1);
  }

  void clipboardKeepsEveryByte() {
    std::string all;
    for (int i = 1; i < 256; ++i) all += static_cast<char>(i);
    port_->SetClipboardText(all);
    QCOMPARE(port_->ClipboardText(), all);
    port_->ClearClipboard();
    QCOMPARE(port_->ClipboardText(), std::string());
  }

  void entryListFillsInOneStep() {
    std::vector<std::string> names;
    for (int i = 0; i < 60000; ++i) names.push_back("Proc" + std::to_string(i));
    QSignalSpy resets(list_->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(list_->model(), &QAbstractItemModel::rowsInserted);
    port_->SetEntryItems(names);
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(port_->EntryCount(), 60000);
    QCOMPARE(port_->EntrySelectedIndex(), -1);
    port_->ClearEntryList();
    QCOMPARE(port_->EntryCount(), 0);
    QCOMPARE(port_->EntryText(), std::string());
  }

  void selectingAnEntryRaisesTheClickHandler() {
    port_->SetEntryItems({"(declarations)", "Form_Load", "Total"});
    std::vector<std::pair<int, std::string>> clicks;
    port_->SetEntryClickHandler(
        [&] { clicks.emplace_back(port_->EntrySelectedIndex(), port_->EntryText()); });
    port_->SetEntrySelectedIndex(2);
    port_->SetEntrySelectedIndex(1);
    QCOMPARE(clicks.size(), size_t{2});
    QCOMPARE(clicks[0], std::make_pair(2, std::string("Total")));
    QCOMPARE(clicks[1], std::make_pair(1, std::string("Form_Load")));
    port_->SetEntryText("typed");
    QCOMPARE(port_->EntryText(), std::string("typed"));
    QCOMPARE(port_->EntrySelectedIndex(), 1);
  }

  void boxesAreAnsweredFromTheScript() {
    script_.answers = {Answer::kNo};
    QCOMPARE(port_->MessageBox("a\r\nb", "Confirm Save", Buttons::kYesNoCancel, Icon::kExclamation),
             Answer::kNo);
    QCOMPARE(port_->MessageBox("eof", "", Buttons::kOk, Icon::kNone), Answer::kOk);
    QCOMPARE(port_->MessageBox("?", "", Buttons::kYesNoCancel, Icon::kExclamation),
             Answer::kCancel);
    QCOMPARE(script_.boxes.size(), size_t{3});
    QCOMPARE(script_.boxes[0].text, std::string("a\r\nb"));
    QCOMPARE(script_.boxes[0].title, std::string("Confirm Save"));
    QCOMPARE(script_.boxes[1].title, std::string("QWEdit"));
    QCOMPARE(script_.unscripted, 2);
  }

  void dialogsReturnThePathOrRaiseCancel() {
    script_.paths = {std::string("/tmp/A.BAS"), std::nullopt};
    QCOMPARE(port_->ShowOpenDialog("Program (*.bas)|*.bas"), std::string("/tmp/A.BAS"));
    try {
      port_->ShowSaveDialog("Program (*.bas)|*.bas");
      QFAIL("a cancelled dialog must raise a fault");
    } catch (const qw::Fault& f) {
      QCOMPARE(f.number(), 32755);
    }
    QCOMPARE(script_.dialogs.size(), size_t{2});
    QVERIFY(!script_.dialogs[0].save);
    QVERIFY(script_.dialogs[1].save);
    QVERIFY_THROWS_EXCEPTION(qw::Fault, port_->ShowOpenDialog("x|*.x"));  // script empty
  }

  void captionReadsBackTheBytesSet() {
    port_->SetCaption("QW: (declarations) of /SRC/MAIN.BAS");
    QCOMPARE(window_->windowTitle(), QString("QW: (declarations) of /SRC/MAIN.BAS"));
    QCOMPARE(port_->Caption(), std::string("QW: (declarations) of /SRC/MAIN.BAS"));
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

  void sendKeysTriggersTheItemBeforeReturning() {
    QMenu* edit = window_->menuBar()->addMenu("&Edit");
    QAction* cut = edit->addAction("Cu&t");
    QAction* paste = edit->addAction("&Paste");
    int pasted = 0, cut_count = 0;
    connect(paste, &QAction::triggered, [&] { ++pasted; });
    connect(cut, &QAction::triggered, [&] { ++cut_count; });
    port_->SendKeys("%(EP)");
    QCOMPARE(pasted, 1);
    port_->SendKeys("%(ET)");
    QCOMPARE(cut_count, 1);
    paste->setEnabled(false);
    port_->SendKeys("%(EP)");
    QCOMPARE(pasted, 1);
  }

  // Without a script the port shows real boxes: answer them from a timer.
  void realBoxesShowTheExactTextTitleAndIcon_data() {
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<Icon>("icon");
    QTest::addColumn<QMessageBox::StandardButton>("press");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<QMessageBox::Icon>("shown_icon");
    QTest::newRow("ok, stop") << Buttons::kOk << Icon::kStop << QMessageBox::Ok << Answer::kOk
                              << QMessageBox::Critical;
    QTest::newRow("yes") << Buttons::kYesNoCancel << Icon::kExclamation << QMessageBox::Yes
                         << Answer::kYes << QMessageBox::Warning;
    QTest::newRow("no") << Buttons::kYesNoCancel << Icon::kExclamation << QMessageBox::No
                        << Answer::kNo << QMessageBox::Warning;
    QTest::newRow("cancel") << Buttons::kYesNoCancel << Icon::kQuestion << QMessageBox::Cancel
                            << Answer::kCancel << QMessageBox::Question;
  }
  void realBoxesShowTheExactTextTitleAndIcon() {
    QFETCH(Buttons, buttons);
    QFETCH(Icon, icon);
    QFETCH(QMessageBox::StandardButton, press);
    QFETCH(Answer, answer);
    QFETCH(QMessageBox::Icon, shown_icon);
    port_->SetScript(nullptr);
    QString title, text;
    QMessageBox::Icon seen_icon = QMessageBox::NoIcon;
    QTimer::singleShot(0, this, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      title = box->windowTitle();
      text = box->text();
      seen_icon = box->icon();
      box->button(press)->click();
    });
    const Answer got =
        port_->MessageBox("The text in [X] has changed.\r\nSave?", "", buttons, icon);
    QCOMPARE(got, answer);
    QCOMPARE(title, QString("QWEdit"));
    QCOMPARE(text, QString("The text in [X] has changed.\nSave?"));
    QCOMPARE(seen_icon, shown_icon);
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

  void dialogFilters_data() {
    QTest::addColumn<QByteArray>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bas") << QByteArray("Program (*.bas)|*.bas") << "Program (*.bas *.BAS)";
    QTest::newRow("upper") << QByteArray("Program (*.VBP)|*.VBP") << "Program (*.VBP *.vbp)";
    QTest::newRow("all files") << QByteArray("All Files (*.*)|*.*") << "All Files (*)";
    QTest::newRow("no parentheses") << QByteArray("Forms|*.frm") << "Forms (*.frm *.FRM)";
    QTest::newRow("two pairs") << QByteArray("Basic (*.bas)|*.bas|Classes|*.cls;*.CTL")
                               << "Basic (*.bas *.BAS);;Classes (*.cls *.CLS *.CTL *.ctl)";
    QTest::newRow("pattern without description") << QByteArray("|*.prg") << " (*.prg *.PRG)";
    QTest::newRow("dangling description") << QByteArray("Program (*.bas)") << "";
  }
  void dialogFilters() {
    QFETCH(QByteArray, filter);
    QFETCH(QString, expected);
    QCOMPARE(ConvertDialogFilter(filter.toStdString()), expected);
  }

  void fileKinds_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<SourceKind>("kind");
    QTest::newRow("bas") << "/src/MAIN.BAS" << SourceKind::kBasic;
    QTest::newRow("frm lower") << "/src/main.frm" << SourceKind::kBasic;
    QTest::newRow("cls") << "C:\\SRC\\THING.Cls" << SourceKind::kBasic;
    QTest::newRow("prg") << "/src/app.prg" << SourceKind::kXBase;
    QTest::newRow("vbp") << "/src/proj.VBP" << SourceKind::kPlain;
    QTest::newRow("dot in folder only") << "/my.bas/notes" << SourceKind::kPlain;
    QTest::newRow("no name") << "" << SourceKind::kPlain;
    QTest::newRow("last extension counts") << "/src/main.bas.txt" << SourceKind::kPlain;
  }
  void fileKinds() {
    QFETCH(QString, path);
    QFETCH(SourceKind, kind);
    QCOMPARE(KindOfFile(path.toStdString()), kind);
  }

  void tooltips_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("tooltip");
    QTest::newRow("plain") << "TT:[Comment Selected Text]"
                           << "Comment Selected Text";
    QTest::newRow("bracket inside") << "TT:[Find [x]]"
                                    << "Find [x]";
    QTest::newRow("empty") << "TT:[]"
                           << "";
    QTest::newRow("no marker") << "Comment"
                               << "";
    QTest::newRow("unclosed") << "TT:[Comment"
                              << "";
  }
  void tooltips() {
    QFETCH(QString, tag);
    QFETCH(QString, tooltip);
    QCOMPARE(TooltipFromTag(tag), tooltip);
  }

  void keyCodes_data() {
    QTest::addColumn<Qt::Key>("qt_key");
    QTest::addColumn<int>("code");
    QTest::newRow("return") << Qt::Key_Return << 13;
    QTest::newRow("keypad enter") << Qt::Key_Enter << 13;
    QTest::newRow("escape") << Qt::Key_Escape << 27;
    QTest::newRow("A") << Qt::Key_A << 65;
    QTest::newRow("Z") << Qt::Key_Z << 90;
    QTest::newRow("7") << Qt::Key_7 << 55;
    QTest::newRow("F1") << Qt::Key_F1 << 112;
    QTest::newRow("F12") << Qt::Key_F12 << 123;
    QTest::newRow("down") << Qt::Key_Down << 40;
    QTest::newRow("no classic code") << Qt::Key_Menu << 0;
  }
  void keyCodes() {
    QFETCH(Qt::Key, qt_key);
    QFETCH(int, code);
    QCOMPARE(ClassicKeyCode(qt_key), code);
  }
};

QTEST_MAIN(TestQtPort)
#include "tst_qt_port.moc"
