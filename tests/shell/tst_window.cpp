// The main window driven as a user drives it, from the scenarios in tests/data/window. A file
// there holds the set-up its scenarios share (the steps before its first "== NAME"), then the
// scenarios; each runs on a fresh window over a fresh folder ({dir}, {DIR} in capitals), with
// message boxes and file dialogs answered from a script. A step is a verb and its fields;
// "expect-WHAT want..." compares what the user would see, a field ending in "..." by its start
// and a last field "..." leaving the rest out. Every message box shown must be expected.
// The controls as designed, the search dialogs on their own, the port's real boxes and dialogs,
// the menu bar against tests/data/shell/menus.txt and the small conversions of
// tests/data/shell/conversions.txt are checked here too.
#include <Qsci/qscilexer.h>
#include <Qsci/qsciscintilla.h>

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <map>
#include <memory>

#include "document/editor.h"
#include "document/module_document.h"
#include "find/search_commands.h"
#include "platform/fault.h"
#include "shell/access_keys.h"
#include "shell/code_page.h"
#include "shell/command_line.h"
#include "shell/display_options.h"
#include "shell/entry_names.h"
#include "shell/entry_search.h"
#include "shell/form_layout.h"
#include "shell/frm_edit32.h"
#include "shell/hit_list.h"
#include "shell/key_preview.h"
#include "shell/menu_table.h"
#include "shell/qt_port.h"
#include "shell/qt_printer.h"
#include "shell/script_file.h"
#include "shell/search_dialogs.h"
#include "shell/source_lexer.h"
#include "shell/status_line.h"
#include "shell/toolbar.h"
#include "tools/print_layout.h"

using namespace qw::shell;
using qw::shell::testing::ScriptLine;

namespace {

const QStringList kButtons = {"ok", "okcancel", "yesno", "yesnocancel"};
const QStringList kIcons = {"none", "stop", "exclamation", "question", "information"};
const QStringList kAnswers = {"ok", "cancel", "yes", "no"};
const QStringList kCloses = {"accept", "cancel", "closebox"};

QString Latin(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
std::string Bytes(const QString& field) {
  return field.toLatin1().toStdString();
}
QString Rect(const QRect& r) {
  return QString("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}
QString Yes(bool b) {
  return b ? "yes" : "no";
}

// Fields as a failure message shows them: line breaks and bytes outside ASCII escaped.
QString Shown(const QStringList& fields) {
  QString out;
  for (QChar c : fields.join('|')) {
    out += c == '\r'            ? "\\r"
           : c == '\n'          ? "\\n"
           : c.unicode() < 0x7F ? QString(c)
                                : QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'));
  }
  return out;
}

// A field with its {dir} (the folder), {DIR} (in capitals), {bytes A-B} (the bytes A to B) and
// {TEXT * N} (TEXT N times) spelt out.
QString Expand(QString field, const QString& dir) {
  field.replace("{dir}", dir).replace("{DIR}", dir.toUpper());
  static const QRegularExpression macro(R"(\{bytes (\d+)-(\d+)\}|\{(.*?) \* (\d+)\})",
                                        QRegularExpression::DotMatchesEverythingOption);
  for (qsizetype from = 0;;) {
    const QRegularExpressionMatch m = macro.match(field, from);
    if (!m.hasMatch()) break;
    QString by = m.captured(3).repeated(m.captured(4).toInt());
    for (int b = m.captured(1).toInt(); m.capturedLength(1) && b <= m.captured(2).toInt(); ++b) {
      by += QChar(b);
    }
    field.replace(m.capturedStart(), m.capturedLength(), by);
    from = m.capturedStart() + by.size();  // what a macro spells out is not read again
  }
  return field;
}

bool Matches(QStringList got, QStringList want) {
  if (got.isEmpty()) got = {""};  // no field and one empty field are alike
  if (want.isEmpty()) want = {""};
  if (!want.isEmpty() && want.last() == "...") {
    want.removeLast();
    got = got.mid(0, want.size());
  }
  if (got.size() != want.size()) return false;
  for (qsizetype i = 0; i < got.size(); ++i) {
    const bool prefix = want[i].endsWith("...");
    if (prefix ? !got[i].startsWith(want[i].chopped(3)) : got[i] != want[i]) return false;
  }
  return true;
}

void Keys(QWidget* to, const QStringList& keys) {
  for (const QString& k : keys) {
    const QKeyCombination key = QKeySequence(k)[0];
    QTest::keyClick(to, key.key(), key.keyboardModifiers());
  }
}

using Gives = std::function<QStringList(const QString&)>;

QStringList SendKeys(const QString& keys) {
  QMainWindow window;
  window.menuBar()->setNativeMenuBar(false);
  BuildMenus(window.menuBar());
  QStringList ran;
  for (QAction* a : window.menuBar()->findChildren<QAction*>()) {
    QObject::connect(a, &QAction::triggered, [&ran, a] { ran << a->objectName(); });
  }
  const bool any = SendAccessKeys(window.menuBar(), Bytes(keys));
  return {ran.join(' '), any ? "yes" : "no"};
}

QStringList Parse(const QString& args) {
  std::vector<std::string> words;
  for (const QString& w : args.split(' ', Qt::SkipEmptyParts)) words.push_back(Bytes(w));
  const CommandLine c = ParseCommandLine(words);
  const char* actions[] = {"start", "help", "version", "bad usage"};
  return {actions[int(c.action)], Latin(c.file), c.whole ? "yes" : "no",
          c.error.empty() ? "no" : "yes"};
}

const std::map<QString, Gives> kFunctions = {
    {"filter", [](const QString& in) { return QStringList{ConvertDialogFilter(Bytes(in))}; }},
    {"kind",
     [](const QString& in) {
       return QStringList{QStringList{"plain", "basic", "xbase"}[int(KindOfFile(Bytes(in)))]};
     }},
    {"tooltip", [](const QString& in) { return QStringList{TooltipFromTag(in)}; }},
    {"key",
     [](const QString& in) {
       return QStringList{QString::number(ClassicKeyCode(QKeySequence(in)[0].key()))};
     }},
    {"access-key",
     [](const QString& in) {
       const QChar key = AccessKey(in);
       return QStringList{key.isNull() ? QString("none") : QString(key)};
     }},
    {"send-keys", SendKeys},
    {"listing", [](const QString& in) { return QStringList{ListingLineText(Bytes(in))}; }},
    {"command-line", Parse},
    {"usage", [](const QString&) { return QStringList{Latin(UsageText())}; }},
    {"version",  // one line
     [](const QString&) {
       const QString text = Latin(VersionText());
       return QStringList{text.section('\n', 0, 0), text.count('\n') == 1 && text.endsWith('\n')
                                                        ? "one line"
                                                        : "not one line"};
     }},
    {"layout",
     [](const QString& in) {
       const FormLayout l =
           ComputeFormLayout(in.section(' ', 0, 0).toInt(), in.section(' ', 1).toInt());
       return QStringList{Rect(l.txtEdit), Rect(l.panToolbar)};
     }},
};

}  // namespace

class TestWindow : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<frmEdit32> window_;
  PortScript script_;
  qw::LayoutPrinter printed_;
  qw::NoPrinter no_printer_;
  std::map<QString, QByteArray> written_;
  size_t boxes_seen_ = 0, dialogs_seen_ = 0;
  int lines_told_ = 0, text_told_ = 0;  // the pane's linesChanged, textChanged since last seen

  QtPort& Port() { return window_->port(); }
  const qw::ModuleDocument& Doc() { return window_->editor().doc(); }
  QString Path(const QString& name) {
    return QDir::isAbsolutePath(name) ? name : dir_->filePath(name);
  }
  void Focus(QWidget* widget) {
    widget->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), widget);
  }
  // Where keys go: the focused control of the window, else the pane.
  QWidget* Target() {
    QWidget* f = QApplication::focusWidget();
    return f && f->window() == window_.get() ? f : window_->txtEdit();
  }
  // The control at `path` under `form` (object names joined by "/", NAME#N the one of index N),
  // or nullptr.
  static QWidget* Find(QWidget* form, const QString& path) {
    QWidget* w = form;
    for (const QString& name : path.split('/')) {
      if (!w || name == form->objectName()) continue;
      const QList<QWidget*> found = w->findChildren<QWidget*>(name.section('#', 0, 0));
      w = nullptr;
      for (QWidget* c : found) {
        if (!name.contains('#') || c->property("index").toString() == name.section('#', 1)) w = c;
      }
    }
    return w;
  }
  static bool Holds(QWidget* w, const QString& flag) {
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (flag == "shown" || flag == "hidden") return w->isVisible() == (flag == "shown");
    if (flag == "enabled" || flag == "disabled") return w->isEnabled() == (flag == "enabled");
    if (flag == "checked" || flag == "unchecked") return button->isChecked() == (flag == "checked");
    if (flag == "default") return qobject_cast<QPushButton*>(w)->isDefault();
    if (flag == "modal") return w->isModal();
    if (flag == "icon") return !button->icon().isNull();
    if (flag == "editable") return qobject_cast<QComboBox*>(w)->isEditable();
    if (flag == "fits") return w->width() >= w->sizeHint().width();  // the caption is not cut
    if (flag == "focused") return QTest::qWaitFor([w] { return QApplication::focusWidget() == w; });
    return false;
  }
  // Steps in a dialog: CONTROL=typed text, CONTROL@Key, CONTROL! clicks, CONTROL^ takes the
  // focus, CONTROL?flag holds; "close" its close box, "elsewhere" activates another window and
  // comes back.
  static void Act(QWidget* d, const QStringList& steps) {
    for (const QString& s : steps) {
      if (s == "close") d->close();
      if (s == "elsewhere") {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        d->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(d));
      }
      const qsizetype at = s.indexOf(QRegularExpression("[=@!^?]"));
      if (at < 0) continue;
      QWidget* c = Find(d, s.left(at));
      QVERIFY2(c, qPrintable("no control " + s.left(at)));
      const QString rest = s.mid(at + 1);
      if (s[at] == '=') QTest::keyClicks(c, rest);
      if (s[at] == '@') Keys(c, {rest});
      if (s[at] == '!') qobject_cast<QAbstractButton*>(c)->click();
      if (s[at] == '^') c->setFocus();
      if (s[at] == '?') QVERIFY2(Holds(c, rest), qPrintable(s));
    }
  }

  void Do(const QString& verb, const QStringList& a) {
    const QString arg = a.value(0);
    if (verb == "file" || verb == "write") {
      QFile f(Path(arg));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(written_[arg] = a.value(1).toLatin1());
    } else if (verb == "mkdir") {
      QVERIFY(QDir(dir_->path()).mkdir(arg));
    } else if (verb == "path") {  // the next file dialog's answer; none: Cancel
      script_.paths.push_back(a.isEmpty() ? std::nullopt : std::optional(Bytes(Path(arg))));
    } else if (verb == "answer") {
      for (const QString& x : a) script_.answers.push_back(qw::Answer(kAnswers.indexOf(x)));
    } else if (verb == "find-answer") {  // how|text|match case|case clicked|direction
      script_.find_answers.push_back({qw::DialogClose(kCloses.indexOf(arg)), Bytes(a.value(1)),
                                      a.value(2) == "yes", a.value(3) == "yes",
                                      a.value(4).toInt()});
    } else if (verb == "replace-answer") {  // how|find what|replace with|case sensitive
      script_.replace_answers.push_back({qw::DialogClose(kCloses.indexOf(arg)), Bytes(a.value(1)),
                                         Bytes(a.value(2)), a.value(3) == "yes"});
    } else if (verb == "script") {  // off: real dialogs and boxes
      Port().SetScript(arg == "off" ? nullptr : &script_);
    } else if (verb == "dialog") {  // the steps in the next modal dialog, named first
      QTimer::singleShot(0, [a] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        QCOMPARE(QApplication::activeModalWidget()->objectName(), a.value(0));
        Act(QApplication::activeModalWidget(), a.mid(1));
      });
    } else if (verb == "menu") {
      QAction* item = FindMenuAction(window_->menuBar(), Bytes(arg));
      QVERIFY2(item, qPrintable(arg));
      item->trigger();
    } else if (verb == "click") {
      QWidget* button = Find(window_->panToolbar(), arg);
      QVERIFY2(button, qPrintable(arg));
      QTest::mouseClick(button, Qt::LeftButton);
    } else if (verb == "key") {
      Keys(Target(), a);
    } else if (verb == "keys") {
      Port().SendKeys(Bytes(arg));
    } else if (verb == "type") {
      QTest::keyClicks(Target(), arg);
    } else if (verb == "type-char") {  // a character as a keyboard layout gives it
      QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, testing::Utf8(arg));
      QApplication::sendEvent(window_->txtEdit(), &key);
    } else if (verb == "pick") {  // a click on an item of the entry list
      window_->cbProc()->setCurrentIndex(arg.toInt());
      emit window_->cbProc()->activated(arg.toInt());
    } else if (verb == "caret") {  // line (from 0) and column; no column: the end of the line
      window_->txtEdit()->setFocus();
      const int line = arg.toInt();
      window_->txtEdit()->setCursorPosition(
          line, a.size() > 1 ? a[1].toInt() : window_->txtEdit()->lineLength(line) - 2);
    } else if (verb == "pane") {  // a new unchanged text, "[" and "]" around the selection
      QString text = arg;
      const qsizetype open = text.indexOf('['), close = text.indexOf(']');
      Port().SetPaneText(Bytes(text.remove('[').remove(']')));
      if (open >= 0) Port().SetPaneSelection(open, close - open - 1);
      window_->editor().StartUp();
    } else if (verb == "select") {
      Port().SetPaneSelection(arg.toLong(), a.value(1).toLong());
    } else if (verb == "clipboard") {
      Port().SetClipboardText(Bytes(arg));
    } else if (verb == "clipboard-text") {
      QGuiApplication::clipboard()->setText(testing::Utf8(arg));
    } else if (verb == "focus") {
      Focus(arg == "list" ? static_cast<QWidget*>(window_->cbProc()) : window_->txtEdit());
      if (arg == "list") window_->cbProc()->lineEdit()->selectAll();
    } else if (verb == "popup") {  // keys in the names offered as the list's text is typed
      Keys(Port().entry_search().completer()->popup(), a);
    } else if (verb == "close") {
      window_->close();
    } else if (verb == "activate") {  // offscreen, activation does not come back after a dialog
      window_->activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    } else if (verb == "resize") {  // as small as asked, the menu bar included
      window_->setMinimumSize(1, 1);
      window_->menuBar()->setMinimumSize(0, 0);
      window_->resize(arg.toInt(), a.value(1).toInt());
    } else if (verb == "minimize") {
      window_->showMinimized();
      QTRY_VERIFY(window_->isMinimized());
    } else if (verb == "restore") {
      window_->showNormal();
      QTRY_VERIFY(!window_->isMinimized());
    } else if (verb == "printer") {
      script_.printer = arg == "none" ? static_cast<qw::Printer*>(&no_printer_) : &printed_;
    } else if (verb == "codepage") {
      for (const CodePage& page : CodePage::All()) {
        if (arg == page.name()) window_->findChild<QAction*>(page.menu_item())->trigger();
      }
      QCOMPARE(QString(window_->pane()->code_page().name()), arg);
    } else if (verb == "choose-hit") {
      QTableView* table = Port().hit_list()->table();
      emit table->activated(table->model()->index(arg.toInt(), 0));
    } else if (verb == "command-line") {  // run in {dir}
      const QString before = QDir::currentPath();
      QVERIFY(QDir::setCurrent(dir_->path()));
      std::vector<std::string> words;
      for (const QString& w : arg.split(' ', Qt::SkipEmptyParts)) words.push_back(Bytes(w));
      OpenFromCommandLine(*window_, ParseCommandLine(words));
      QDir::setCurrent(before);
    } else {
      QFAIL(qPrintable("unknown step " + verb));
    }
  }

  QStringList Observe(const QString& what, QStringList a) {
    const QString arg = a.value(0);
    if (what == "pane") return {Latin(Port().PaneText())};
    if (what == "selection") {
      return {QString::number(Port().PaneSelStart()), QString::number(Port().PaneSelLength()),
              Latin(Port().PaneSelectedText())};
    }
    if (what == "caption") return {Latin(Port().Caption())};
    if (what == "title") return {window_->windowTitle()};
    if (what == "margin") {  // line numbers in a margin that holds the last one
      QsciScintilla* pane = window_->txtEdit();
      const QByteArray last = QByteArray::number(pane->lines());
      const long needed = pane->SendScintilla(
          QsciScintillaBase::SCI_TEXTWIDTH,
          static_cast<unsigned long>(QsciScintillaBase::STYLE_LINENUMBER), last.constData());
      return {Yes(pane->marginLineNumbers(0) && pane->marginWidth(0) > needed), last};
    }
    if (what == "pane-notices") {  // how often the pane told of new lines and new text
      const QStringList told = {QString::number(lines_told_), QString::number(text_told_)};
      lines_told_ = text_told_ = 0;
      return told;
    }
    if (what == "shown") {  // the character the pane shows for byte `arg`, in UTF-8
      QsciScintilla* pane = window_->txtEdit();
      const auto* text = static_cast<const char*>(
          pane->SendScintillaPtrResult(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
      const QString all =
          QString::fromUtf8(text, pane->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
      return {QString::fromLatin1(all.mid(arg.toInt(), 1).toUtf8())};
    }
    if (what == "list") {
      QStringList items;
      for (int i = 0; i < window_->cbProc()->count(); ++i) items << window_->cbProc()->itemText(i);
      return items;
    }
    if (what == "current") {  // the list's item, the entry shown
      const QComboBox* list = window_->cbProc();
      return {list->itemText(list->currentIndex()), QString::number(Doc().current_entry_index())};
    }
    if (what == "changed") return {Yes(Doc().changed())};
    if (what == "indexed") return {Yes(Doc().indexed())};
    if (what == "file-name") return {Latin(Doc().file_name())};
    if (what == "visible") return {Yes(window_->isVisible())};
    if (what == "pane-focus-requested") return {Yes(Doc().pane_focus_requested())};
    if (what == "focus") {
      QWidget* f = QApplication::focusWidget();
      return {f == window_->txtEdit()                                        ? "pane"
              : f == window_->cbProc() || f == window_->cbProc()->lineEdit() ? "list"
              : f                                                            ? f->objectName()
                                                                             : "none"};
    }
    if (what == "lexer") {
      const QsciLexer* l = window_->txtEdit()->lexer();
      return l ? QStringList{l->lexer(), QString::number(l->font(0).pointSize())}
               : QStringList{"plain", QString::number(window_->txtEdit()->font().pointSize())};
    }
    if (what == "coloured") {  // whether the lexer colours the pane's first word
      QsciScintilla* pane = window_->txtEdit();
      pane->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0UL,
                          std::min(64L, pane->SendScintilla(QsciScintillaBase::SCI_GETLENGTH)));
      return {Yes(pane->SendScintilla(QsciScintillaBase::SCI_GETSTYLEAT, 0UL) != 0)};
    }
    if (what == "clipboard") return {Latin(Port().ClipboardText())};
    if (what == "file") {
      QFile f(Path(arg));
      const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : "<missing>";
      return {written_.contains(arg) && written_[arg] == bytes ? "unchanged"
                                                               : Latin(bytes.toStdString())};
    }
    if (what == "box") {  // the next box not yet expected
      if (boxes_seen_ == script_.boxes.size()) return {"<none>"};
      const ShownBox& b = script_.boxes[boxes_seen_++];
      return {Latin(b.title), Latin(b.text), kButtons[int(b.buttons)], kIcons[int(b.icon)]};
    }
    if (what == "dialog") {  // the next file dialog not yet expected
      if (dialogs_seen_ == script_.dialogs.size()) return {"<none>"};
      const ShownDialog& d = script_.dialogs[dialogs_seen_++];
      return {d.save ? "save" : "open", Latin(d.filter)};
    }
    if (what == "hits") {  // per row: the entry, the line, the text
      QStringList rows;
      HitList* list = Port().hit_list();
      for (int r = 0; list && list->isVisible() && r < list->rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < 3; ++c) row << list->table()->model()->index(r, c).data().toString();
        rows << row.join(' ');
      }
      return rows;
    }
    if (what == "offered") {  // the entries offered, when the names are shown
      QStringList offered;
      for (int i : Port().entry_search().offered()) offered << QString::number(i);
      const QAbstractItemView* popup = Port().entry_search().completer()->popup();
      if (popup->model()->rowCount() != offered.size()) offered << "<other names shown>";
      return popup->isVisible() ? offered : QStringList();
    }
    if (what == "dropdown-fits") {
      window_->cbProc()->showPopup();
      QAbstractItemView* view = window_->cbProc()->view();
      int widest = 0;
      for (int i = 0; i < window_->cbProc()->count(); ++i) {
        widest =
            std::max(widest, view->fontMetrics().horizontalAdvance(window_->cbProc()->itemText(i)));
      }
      const bool fits =
          QTest::qWaitFor([view] { return view->isVisible(); }) && view->width() > widest;
      window_->cbProc()->hidePopup();
      return {Yes(fits)};
    }
    if (what == "status") {  // hidden, or its texts and whether the pane ends above it
      if (!window_->statusBar()->isVisible()) return {"hidden"};
      QWidget* pane = window_->txtEdit();
      const bool clear =
          pane->mapTo(window_.get(), QPoint(0, pane->height())).y() <= window_->statusBar()->y();
      return window_->display().status_line().Texts() << (clear ? "clear" : "covered");
    }
    if (what == "layout") {  // the pane and the panel
      return {Rect(window_->txtEdit()->geometry()), Rect(window_->panToolbar()->geometry())};
    }
    if (what == "printed") return {Latin(printed_.text())};
    if (what == "checked")
      return {Yes(FindMenuAction(window_->menuBar(), Bytes(arg))->isChecked())};
    if (what == "find-text") return {Latin(window_->search().state().find_text)};
    return {"<unknown expectation " + what + ">"};
  }

 private slots:
  // Every test starts with a fresh window over a fresh folder, its boxes and dialogs scripted.
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = std::make_unique<frmEdit32>();
    script_ = PortScript{};
    written_.clear();
    boxes_seen_ = dialogs_seen_ = 0;
    lines_told_ = text_told_ = 0;
    connect(window_->txtEdit(), &QsciScintilla::linesChanged, this, [this] { ++lines_told_; });
    connect(window_->txtEdit(), &QsciScintilla::textChanged, this, [this] { ++text_told_; });
    Port().SetScript(&script_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }
  void cleanup() {
    window_->editor().StartUp();  // whatever is unsaved goes without a question
    window_.reset();
  }

  void scenarios_data() {
    QTest::addColumn<QList<ScriptLine>>("steps");
    const QStringList files = QDir(QW_TEST_DATA "/window").entryList({"*.txt"}, QDir::Files);
    int scenarios = 0;
    for (const QString& file : files) {
      QList<ScriptLine> setup, *into = &setup;
      QList<std::pair<QString, QList<ScriptLine>>> found;
      for (const ScriptLine& line : testing::ReadScript("window/" + file)) {
        if (line.fields[0].startsWith("== ")) {
          found.append({file.chopped(4) + ": " + line.fields[0].mid(3), setup});
          into = &found.last().second;
        } else {
          *into << line;
        }
      }
      for (const auto& [name, steps] : found) QTest::newRow(qPrintable(name)) << steps;
      scenarios += static_cast<int>(found.size());
    }
    if (scenarios == 0) QFAIL("no scenario in tests/data/window");
  }
  void scenarios() {
    QFETCH(QList<ScriptLine>, steps);
    const auto fail = [](const ScriptLine& step, const QString& message) {
      const QString file = QW_TEST_DATA "/" + step.where.section(':', 0, 0);
      QTest::qFail(qPrintable(message), qPrintable(file), step.where.section(':', 1).toInt());
    };
    for (const ScriptLine& step : steps) {
      QStringList a = step.fields;
      const QString verb = a[0].section(' ', 0, 0);
      if (a[0].contains(' ')) {
        a[0] = a[0].mid(verb.size() + 1);
      } else {
        a.removeFirst();
      }
      for (QString& f : a) f = Expand(f, dir_->path());
      if (verb.startsWith("expect-")) {
        const int params = QStringList{"file", "checked", "shown"}.contains(verb.mid(7)) ? 1 : 0;
        QStringList got = Observe(verb.mid(7), a);
        const QStringList want = a.mid(params);
        if (QStringList{"list", "layout", "status"}.contains(verb.mid(7))) {  // what settles
          (void)QTest::qWaitFor([&] { return Matches(got = Observe(verb.mid(7), a), want); }, 2000);
        }
        if (!Matches(got, want))
          fail(step, verb + "\n   got: " + Shown(got) + "\n  want: " + Shown(want));
      } else {
        Do(verb, a);
        if (QTest::currentTestFailed())
          qWarning("%s: in the step %s", qPrintable(step.where), qPrintable(verb));
      }
      if (QTest::currentTestFailed()) break;
    }
    if (!QTest::currentTestFailed() && boxes_seen_ < script_.boxes.size()) {
      fail(steps.last(), "a box no step expected: " + Shown(Observe("box", {})));
    }
  }

  void controlsAsDesigned_data() {
    QTest::addColumn<QStringList>("row");
    for (const ScriptLine& line : testing::ReadScript("shell/controls.txt")) {
      QTest::newRow(qPrintable(line.where + " " + line.fields.value(1))) << line.fields;
    }
  }
  void controlsAsDesigned() {
    QFETCH(QStringList, row);
    QCOMPARE(row.size(), 5);
    std::unique_ptr<QWidget> dialog;
    if (row[0] == "frmFind") dialog = std::make_unique<frmFind>(std::string());
    if (row[0] == "frmReplace") dialog = std::make_unique<frmReplace>();
    QWidget* const form = dialog ? dialog.get() : window_.get();
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form));
    QWidget* w = Find(form, row[1]);
    QVERIFY2(w, qPrintable(row[1]));
    const bool top = w == form;
    auto* frame = qobject_cast<QGroupBox*>(w);
    auto* button = qobject_cast<QToolButton*>(w);
    QCOMPARE(top      ? w->windowTitle()
             : frame  ? frame->title()
             : button ? button->toolTip()
                      : w->property("text").toString(),
             row[2]);
    const QRect r = w->geometry();
    const int place[] = {r.x(), r.y(), r.width(), r.height()};
    const QStringList want = row[3].split(' ', Qt::SkipEmptyParts);
    for (int i = 0; i < want.size(); ++i) {
      const QString& n = want[i];
      if (n != "-")
        QVERIFY2(n.startsWith(">=") ? place[i] >= n.mid(2).toInt() : place[i] == n.toInt(),
                 qPrintable(n));
    }
    for (const QString& flag : row[4].split(' ', Qt::SkipEmptyParts)) {
      QVERIFY2(Holds(w, flag), qPrintable(flag));
    }
  }

  // The search dialogs on their own: the steps a user takes in one, then what it answers.
  void searchDialogs_data() {
    QTest::addColumn<QStringList>("row");
    for (const ScriptLine& line : testing::ReadScript("shell/dialogs.txt")) {
      QTest::newRow(qPrintable(line.where)) << line.fields;
    }
  }
  void searchDialogs() {
    QFETCH(QStringList, row);
    std::unique_ptr<QDialog> d;
    if (row[0].startsWith("frmFind")) d = std::make_unique<frmFind>(Bytes(row[0].mid(8)));
    if (row[0] == "frmReplace") d = std::make_unique<frmReplace>();
    d->show();
    QVERIFY(QTest::qWaitForWindowActive(d.get()));
    Act(d.get(), row.mid(2));
    QVERIFY(!d->isVisible());
    QString got;
    if (auto* find = qobject_cast<frmFind*>(d.get())) {
      const qw::FindDialogAnswer a = find->answer();
      got = QString("%1 %2 %3 %4 %5")
                .arg(kCloses[int(a.closed)], Latin(a.text), Yes(a.match_case),
                     Yes(a.match_case_clicked))
                .arg(a.direction);
    } else {
      const qw::ReplaceDialogAnswer a = qobject_cast<frmReplace*>(d.get())->answer();
      got = QStringList{kCloses[int(a.closed)], Latin(a.find_what), Latin(a.replace_with),
                        Yes(a.case_sensitive)}
                .join(' ');
    }
    QCOMPARE(got, row[1]);
  }

  // Each label stands before its text box, Case Sensitive below them, the buttons to the right.
  void replaceLayout() {
    frmReplace d;
    d.show();
    QVERIFY(QTest::qWaitForWindowExposed(&d));
    const auto at = [&d](const char* name) {  // a missing control fails in the controls' rows
      const QWidget* w = Find(&d, name);
      return w ? w->geometry() : QRect();
    };
    QVERIFY(at("Label1").right() < at("txtFindWhat").left());
    QVERIFY(at("Label2").right() < at("txtReplaceWith").left());
    QVERIFY(at("chkCaseSensitive").top() > at("txtReplaceWith").bottom());
    QVERIFY(at("pbReplace").left() > at("txtFindWhat").right());
    QVERIFY(at("pbCancel").left() > at("txtReplaceWith").right());
    QVERIFY(at("pbReplace").bottom() < at("pbCancel").top());
  }

  // Every command a menu item or a button names runs an operation.
  void everyCommandIsBound() {
    const frmEdit32& w = *window_;
    QStringList unbound;
    for (const MenuEntry& e : MenuTable()) {
      if (e.command != Command::kNone && !w.Handles(e.command)) unbound << e.name;
    }
    for (const ToolButtonEntry& e : ToolButtonTable()) {
      if (e.command != Command::kNone && !w.Handles(e.command)) unbound << e.name;
    }
    QCOMPARE(unbound, QStringList());
  }

  // A fault escaping a handler is reported, and the focus still goes back to the pane.
  void faultsEscapingAHandlerAreReported() {
    frmEdit32& w = *window_;
    void (*const handlers[])() = {[] { throw qw::Fault(qw::kFaultFileNotFound); },
                                  [] { throw std::out_of_range("vector::at"); }, [] { throw 42; }};
    QStringList texts;
    for (const auto& handler : handlers) {
      w.cbProc()->setFocus();
      QTRY_COMPARE(QApplication::focusWidget(), w.cbProc());
      w.Run(handler, true);
      QCOMPARE(QApplication::focusWidget(), w.txtEdit());
      const ShownBox& box = script_.boxes.back();
      texts << QString::fromStdString(box.title + "|" + box.text) + "|" + kIcons[int(box.icon)];
    }
    QCOMPARE(texts, QStringList({"Quillwright Error|File not found|stop",
                                 "Quillwright Error|vector::at|stop",
                                 "Quillwright Error|Invalid procedure call or argument|stop"}));
    QVERIFY(w.isVisible());
  }

  // The combo box looks typed texts up in the entry list's model: whatever the text and the
  // look-up, the model finds what Qt's own look-up through each row finds.
  void entryNamesAreLookedUpAsQtLooksThemUp() {
    const std::vector<std::string_view> names = {"Alpha", "ALPHA", "\xe9t\xe9", "\xc9T\xc9",
                                                 "Beta",  "alpha", "Alpha",     ""};
    qw::shell::EntryNames model;
    qw::EntryList list;
    for (const std::string_view n : names) list.Add(n, {}, 1);
    model.SetNames(list.names());
    const QVariant texts[] = {"Alpha", "alpha", "\u00c9T\u00c9",       "Gamma",
                              "Bet",   "",      QString(QChar(0x100)), 5};
    const Qt::MatchFlags kinds[] = {Qt::MatchExactly, Qt::MatchFixedString,
                                    Qt::MatchFixedString | Qt::MatchCaseSensitive,
                                    Qt::MatchStartsWith};
    const auto rows = [](const QModelIndexList& found) {
      QList<int> r;
      for (const QModelIndex& i : found) r << i.row();
      return r;
    };
    for (const QVariant& text : texts) {
      for (const Qt::MatchFlags kind : kinds) {
        for (const Qt::MatchFlags wrap : {Qt::MatchFlags(), Qt::MatchFlags(Qt::MatchWrap)}) {
          for (const int start : {0, 3}) {
            for (const int hits : {1, -1}) {
              const QModelIndex from = model.index(start);
              QCOMPARE(rows(model.match(from, Qt::DisplayRole, text, hits, kind | wrap)),
                       rows(model.QAbstractListModel::match(from, Qt::DisplayRole, text, hits,
                                                            kind | wrap)));
            }
          }
        }
      }
    }
  }

  // The port on its own.
  void entryListFillsInOneStepAndRaisesTheClickHandler() {
    qw::EntryList names;
    for (int i = 0; i < 60000; ++i) names.Add("Proc" + std::to_string(i), {}, 1);
    QSignalSpy resets(window_->cbProc()->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(window_->cbProc()->model(), &QAbstractItemModel::rowsInserted);
    Port().SetEntryItems(names.names());
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(Port().EntryCount(), 60000);
    QCOMPARE(Port().EntrySelectedIndex(), -1);
    std::vector<std::pair<int, std::string>> clicks;
    Port().SetEntryClickHandler(
        [&] { clicks.emplace_back(Port().EntrySelectedIndex(), Port().EntryText()); });
    Port().SetEntrySelectedIndex(2);
    Port().SetEntrySelectedIndex(1);
    QCOMPARE(clicks, (std::vector<std::pair<int, std::string>>{{2, "Proc2"}, {1, "Proc1"}}));
    Port().SetEntryText("typed");
    QCOMPARE(Port().EntryText(), std::string("typed"));
    QCOMPARE(Port().EntrySelectedIndex(), 1);
    Port().ClearEntryList();
    QCOMPARE(Port().EntryCount(), 0);
    QCOMPARE(Port().EntryText(), std::string());
  }

  // Scripted answers and paths, and the boxes and dialogs they record, are used throughout the
  // window's tests; here what the script leaves out.
  void unscriptedBoxesAndDialogs() {
    QCOMPARE(
        Port().MessageBox({qw::NoticeKind::kWarning, "eof", "", qw::Buttons::kOk, qw::Icon::kNone}),
        qw::Answer::kOk);
    QCOMPARE(Port().MessageBox({qw::NoticeKind::kQuestion, "?", "", qw::Buttons::kYesNoCancel,
                                qw::Icon::kExclamation}),
             qw::Answer::kCancel);
    QCOMPARE(script_.boxes[0].title, std::string("QWEdit"));
    QCOMPARE(script_.unscripted, 2);
    script_.paths = {std::nullopt};
    try {
      Port().ShowSaveDialog("Program (*.bas)|*.bas");
      QFAIL("a cancelled dialog must raise a fault");
    } catch (const qw::Fault& f) {
      QCOMPARE(f.number(), 32755);
    }
    QVERIFY_THROWS_EXCEPTION(qw::Fault, Port().ShowOpenDialog("x|*.x"));  // script empty
    QCOMPARE(script_.unscripted, 3);
  }

  void busyPointerNestsAndNeverUnderflows() {
    Port().BusyPointer(true);
    Port().BusyPointer(true);
    Port().BusyPointer(false);
    QCOMPARE(Port().busy_depth(), 1);
    Port().BusyPointer(false);
    Port().BusyPointer(false);
    QCOMPARE(Port().busy_depth(), 0);
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  // Without a script the port shows real boxes: answer them from a timer.
  void realBoxesShowTheExactTextTitleAndIcon() {
    Port().SetScript(nullptr);
    QList<std::pair<qw::Answer, QMessageBox::Icon>> got;  // the answer and the icon shown
    for (auto [buttons, icon, press] :
         {std::tuple(qw::Buttons::kOk, qw::Icon::kStop, QMessageBox::Ok),
          {qw::Buttons::kYesNoCancel, qw::Icon::kExclamation, QMessageBox::Yes},
          {qw::Buttons::kYesNoCancel, qw::Icon::kExclamation, QMessageBox::No},
          {qw::Buttons::kYesNoCancel, qw::Icon::kQuestion, QMessageBox::Cancel}}) {
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
      got.append({Port().MessageBox({qw::NoticeKind::kQuestion,
                                     "The text in [X] has changed.\r\nSave?", "", buttons, icon}),
                  shown});
      QCOMPARE(title, QString("QWEdit"));
      QCOMPARE(text, QString("The text in [X] has changed.\nSave?"));
    }
    QCOMPARE(got, (QList<std::pair<qw::Answer, QMessageBox::Icon>>{
                      {qw::Answer::kOk, QMessageBox::Critical},
                      {qw::Answer::kYes, QMessageBox::Warning},
                      {qw::Answer::kNo, QMessageBox::Warning},
                      {qw::Answer::kCancel, QMessageBox::Question}}));
  }

  void realOpenDialogOffersTheConvertedFilter() {
    Port().SetScript(nullptr);
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
    QCOMPARE(Port().ShowOpenDialog("Program (*.bas)|*.bas"), path.toStdString());
    QCOMPARE(filters, QStringList({"Program (*.bas *.BAS)"}));
    QTimer::singleShot(0, this, [&] { QApplication::activeModalWidget()->close(); });
    QVERIFY_THROWS_EXCEPTION(qw::Fault, Port().ShowSaveDialog("Program (*.bas)|*.bas"));
  }

  // The small conversions: a function, its input, and what it gives.
  void conversions_data() {
    QTest::addColumn<QStringList>("row");
    const auto rows = testing::ReadScript("shell/conversions.txt");
    QCOMPARE(rows.size(), 67);  // none lost, the file read
    for (const auto& line : rows) QTest::newRow(qPrintable(line.where)) << line.fields;
  }
  void conversions() {
    QFETCH(QStringList, row);
    QVERIFY2(row.size() >= 3 && kFunctions.contains(row[0]), qPrintable(row[0]));
    const QStringList got = kFunctions.at(row[0])(row[1]);
    QStringList want = row.mid(2);
    for (QString& f : want) f = testing::Utf8(f);
    QVERIFY2(Matches(got, want), qPrintable(Shown(got) + " is not " + Shown(want)));
  }

  // Per menu, its items in order; a hidden item is disabled too, so that no shortcut runs it.
  void menusAsDesigned() {
    QMainWindow window;
    BuildMenus(window.menuBar());
    QMap<QString, QStringList> built, wanted;
    for (const auto& line : testing::ReadScript("shell/menus.txt")) {
      const QStringList& f = line.fields;
      const QStringList item = {f.value(0), f.value(2), f.value(3), f.value(4)};
      wanted[f.value(1)] << (f.value(2) == "-" ? "-" : item.join('|'));
    }
    QCOMPARE(wanted.value("").size(), 5);
    for (const QString& menu : wanted.keys()) {
      QMenuBar* bar = window.menuBar();
      for (QAction* a :
           menu.isEmpty() ? bar->actions() : FindMenuAction(bar, Bytes(menu))->menu()->actions()) {
        QVERIFY2(a->isEnabled() == a->isVisible(), qPrintable(a->objectName()));
        const QStringList item = {a->objectName(), a->text(), a->shortcut().toString(),
                                  a->isVisible() ? "shown" : "hidden"};
        built[menu] << (a->isSeparator() ? "-" : item.join('|'));
      }
    }
    QCOMPARE(built, wanted);
    // "%(EP)" reaches Paste only: no other item of the Edit menu has the access key P.
    QStringList with_p;
    for (QAction* a : FindMenuAction(window.menuBar(), "mnuEdit")->menu()->actions()) {
      if (AccessKey(a->text()) == u'P') with_p << a->objectName();
    }
    QCOMPARE(with_p, QStringList({"mnuPaste"}));
  }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
