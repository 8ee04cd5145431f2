// How the window shows the document without changing it: the code pages (every byte survives
// being shown, edited and saved; a character a code page cannot write is refused) and the
// line-number margin. The status bar and pasting in a code page are in
// tests/data/window/display.txt.
#include <Qsci/qsciscintilla.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "document/editor.h"
#include "document/module_document.h"
#include "document/module_save.h"
#include "shell/code_page_pane.h"
#include "shell/frm_edit32.h"
#include "shell/qt_port.h"

using namespace qw::shell;

namespace {

std::string EveryByte() {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  return all + "\r\n";
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

const CodePage& Page(const QString& name) {
  for (const CodePage& p : CodePage::All()) {
    if (name == p.name()) return p;
  }
  return CodePage::Default();
}

}  // namespace

class TestDisplay : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<frmEdit32> window_;
  PortScript script_;

  QtPort& Port() { return window_->port(); }
  // The characters the pane shows (all of the BMP: one QChar each), NUL bytes included.
  QString Shown() {
    QsciScintilla* pane = window_->txtEdit();
    const auto* text = static_cast<const char*>(
        pane->SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    return QString::fromUtf8(text, pane->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
  }
  void Choose(const CodePage& page) {
    window_->findChild<QAction*>(page.menu_item())->trigger();
    QCOMPARE(&window_->pane()->code_page(), &page);
  }
  QString Write(const char* name, const QByteArray& bytes) {
    const QString path = dir_->filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = std::make_unique<frmEdit32>();
    script_ = PortScript{};
    Port().SetScript(&script_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void cleanup() {
    window_->editor().StartUp();
    window_.reset();
  }

  void codePages_data() {
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("typed");   // a character to type
    QTest::addColumn<int>("byte");        // the byte it becomes, -1 when refused
    QTest::addColumn<int>("shown_byte");  // a byte, and the character it is shown as
    QTest::addColumn<QString>("shown_as");
    QTest::newRow("Windows-1252") << "Windows-1252" << u8"€" << 0x80 << 0x93 << u8"“";
    QTest::newRow("Windows-1252 refuses a box line")
        << "Windows-1252" << u8"│" << -1 << 0xB3 << u8"³";
    QTest::newRow("DOS 437") << "DOS 437" << u8"│" << 0xB3 << 0xC9 << u8"╔";
    QTest::newRow("DOS 437 refuses the euro") << "DOS 437" << u8"€" << -1 << 0x81 << u8"ü";
    QTest::newRow("DOS 850") << "DOS 850" << u8"Ø" << 0x9D << 0xD5 << u8"ı";
    QTest::newRow("ISO-8859-1") << "ISO-8859-1" << u8"ÿ" << 0xFF << 0x80 << u8"\u0080";
    QTest::newRow("ISO-8859-15") << "ISO-8859-15" << u8"€" << 0xA4 << 0xBD << u8"œ";
  }
  // All 256 byte values are shown in the chosen code page, survive an edit and a save, and the
  // positions the core sees stay byte offsets; a typed character becomes its byte, or is refused
  // with one message and leaves the pane as it was.
  void codePages() {
    QFETCH(QString, page);
    QFETCH(QString, typed);
    QFETCH(int, byte);
    QFETCH(int, shown_byte);
    QFETCH(QString, shown_as);
    const std::string all = EveryByte();
    const QString path = Write("ALL.TXT", QByteArray::fromStdString(all));
    Choose(Page(page));
    window_->Run([&] { window_->editor().LoadFile(path.toStdString(), qw::OpenMode::kWholeText); });
    QCOMPARE(Port().PaneText(), all);
    QVERIFY(!window_->editor().doc().changed());
    // Shown: character i of the pane is byte i.
    QCOMPARE(Shown().mid(shown_byte, 1), shown_as);
    // Byte offsets: select byte 0xB3 alone.
    Port().SetPaneSelection(0xB3, 1);
    QCOMPARE(Port().PaneSelectedText(), std::string(1, '\xB3'));
    QCOMPARE(Port().PaneSelStart(), 0xB3L);
    QCOMPARE(Port().PaneSelLength(), 1L);
    // Type at byte 0x41 ("A"): the character becomes one byte, or is refused.
    Port().SetPaneSelection(0x41, 0);
    window_->txtEdit()->setFocus();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, typed);
    QApplication::sendEvent(window_->txtEdit(), &key);
    std::string expected = all;
    if (byte >= 0) {
      expected.insert(0x41, 1, static_cast<char>(byte));
      QVERIFY(script_.boxes.empty());
      QCOMPARE(Port().PaneSelStart(), 0x42L);
    } else {
      QCOMPARE(script_.boxes.size(), size_t(1));
      QVERIFY(script_.boxes[0].text.find("cannot be written in the code page " +
                                         page.toStdString()) != std::string::npos);
    }
    QCOMPARE(Port().PaneText(), expected);
    window_->editor().Save();
    QCOMPARE(ReadAll(path), QByteArray::fromStdString(qw::WholeTextForSave(expected)));
  }

  // Choosing another code page shows the same bytes anew: the text, the selection and the
  // changed flag are as they were.
  void switchingChangesOnlyTheShowing() {
    const std::string all = EveryByte();
    Port().SetPaneText(all);
    window_->editor().StartUp();
    Port().SetPaneSelection(0xC0, 0x10);
    for (const CodePage& page : CodePage::All()) {
      Choose(page);
      QCOMPARE(Port().PaneText(), all);
      QCOMPARE(Port().PaneSelStart(), 0xC0L);
      QCOMPARE(Port().PaneSelLength(), 0x10L);
      QVERIFY(!window_->editor().doc().changed());
      QCOMPARE(Shown().mid(0xC9, 1).toUcs4().value(0), uint(page.Character(0xC9)));
    }
  }

  // The margin holds the number of the last line, whatever the line count and the lexer.
  void lineNumberMarginGrows_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("name");
    QTest::newRow("a few lines") << 3 << "FEW.TXT";
    QTest::newRow("a whole file of 207,175 lines") << 207175 << "BIG.TXT";
    QTest::newRow("1,000,000 lines, coloured") << 1000000 << "BIG.BAS";
  }
  void lineNumberMarginGrows() {
    QFETCH(int, lines);
    QFETCH(QString, name);
    const QString path =
        Write(name.toLatin1().constData(), QByteArray("x\r\n").repeated(lines - 1) + "end");
    window_->Run([&] { window_->editor().LoadFile(path.toStdString(), qw::OpenMode::kWholeText); });
    QsciScintilla* pane = window_->txtEdit();
    QCOMPARE(pane->lines(), lines);
    const QByteArray last = QByteArray::number(lines);
    const long needed = pane->SendScintilla(
        QsciScintillaBase::SCI_TEXTWIDTH,
        static_cast<unsigned long>(QsciScintillaBase::STYLE_LINENUMBER), last.constData());
    QVERIFY2(pane->marginWidth(0) > needed, qPrintable(QString::number(pane->marginWidth(0))));
  }
};

QTEST_MAIN(TestDisplay)
#include "tst_display.moc"
