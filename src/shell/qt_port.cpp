#include "shell/qt_port.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QTableView>
#include <algorithm>

#include "platform/fault.h"
#include "shell/access_keys.h"
#include "shell/code_page_pane.h"
#include "shell/entry_names.h"
#include "shell/entry_search.h"
#include "shell/hit_list.h"
#include "shell/search_dialogs.h"

namespace qw::shell {
namespace {

QString Latin1(const std::string& bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string Bytes(const QString& text) {
  const QByteArray b = text.toLatin1();
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

QString CaseBlindPatterns(const QString& patterns) {
  QStringList out;
  for (const QString& p : patterns.split(u';', Qt::SkipEmptyParts)) {
    const QString pattern = p.trimmed();
    if (pattern == "*.*" || pattern == "*") {
      out << "*";
      continue;
    }
    for (const QString& variant : {pattern, pattern.toLower(), pattern.toUpper()}) {
      if (!out.contains(variant)) out << variant;
    }
  }
  return out.join(u' ');
}

QMessageBox::Icon BoxIcon(Icon icon) {
  switch (icon) {
    case Icon::kStop:
      return QMessageBox::Critical;
    case Icon::kExclamation:
      return QMessageBox::Warning;
    case Icon::kQuestion:
      return QMessageBox::Question;
    case Icon::kInformation:
      return QMessageBox::Information;
    case Icon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons BoxButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return QMessageBox::Ok;
    case Buttons::kOkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

}  // namespace

QString ConvertDialogFilter(const std::string& filter) {
  const QStringList parts = Latin1(filter).split(u'|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    // Qt reads the patterns from the parentheses: replace any the description
    // carries by the real pattern list.
    const qsizetype open = description.lastIndexOf(u'(');
    if (open > 0 && description.endsWith(u')')) description = description.left(open).trimmed();
    filters << description + " (" + CaseBlindPatterns(parts[i + 1]) + ")";
  }
  return filters.join(";;");
}

QtPort::QtPort(QWidget* window, QMenuBar* menu_bar, CodePagePane* pane, QComboBox* entry_list)
    : window_(window),
      menu_bar_(menu_bar),
      pane_(pane),
      entry_list_(entry_list),
      entry_model_(new EntryNames(entry_list)),
      entry_search_(new EntrySearch(entry_list, entry_model_,
                                    [this](int index) { SetEntrySelectedIndex(index); })) {
  entry_list_->setModel(entry_model_);
}

// --- Message boxes and the event loop ----------------------------------------

Answer QtPort::MessageBox(const Notice& notice) {
  const std::string& text = notice.text;
  const std::string& title = notice.title;
  const Buttons buttons = notice.buttons;
  const Icon icon = notice.icon;
  const std::string shown_title = title.empty() ? std::string(kAppTitle) : title;
  if (script_) {
    script_->boxes.push_back({text, shown_title, buttons, icon});
    if (!script_->answers.empty()) {
      const Answer a = script_->answers.front();
      script_->answers.pop_front();
      return a;
    }
    ++script_->unscripted;
    return buttons == Buttons::kOk ? Answer::kOk : Answer::kCancel;
  }
  QString shown_text = Latin1(text);
  shown_text.replace("\r\n", "\n");
  QMessageBox box(BoxIcon(icon), Latin1(shown_title), shown_text, BoxButtons(buttons), window_);
  box.setTextFormat(Qt::PlainText);
  if (buttons == Buttons::kYesNo || buttons == Buttons::kYesNoCancel) {
    box.setDefaultButton(QMessageBox::Yes);
  }
  // The busy pointer must not hide the arrow while the user answers.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  const int pressed = box.exec();
  if (busy) QApplication::restoreOverrideCursor();
  switch (pressed) {
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    case QMessageBox::Cancel:
      return Answer::kCancel;
    default:
      return buttons == Buttons::kYesNo ? Answer::kNo : Answer::kOk;
  }
}

void QtPort::Yield() {
  QCoreApplication::processEvents();
}

void QtPort::BusyPointer(bool busy) {
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++busy_depth_;
  } else if (busy_depth_ > 0) {
    QApplication::restoreOverrideCursor();
    --busy_depth_;
  }
}

// --- The main window ---------------------------------------------------------

void QtPort::SetCaption(const std::string& caption) {
  caption_ = caption;
  window_->setWindowTitle(
      QString::fromLocal8Bit(caption.data(), static_cast<qsizetype>(caption.size())));
}

std::string QtPort::Caption() const {
  return caption_;
}

void QtPort::SendKeys(const std::string& keys) {
  SendAccessKeys(menu_bar_, keys);
}

// --- File dialogs ---------------------------------------------------------------

std::string QtPort::ShowFileDialog(bool save, const std::string& filter) {
  QString path;
  if (script_) {
    script_->dialogs.push_back({save, filter});
    if (script_->paths.empty()) {
      ++script_->unscripted;
    } else {
      if (script_->paths.front()) path = QString::fromLocal8Bit(*script_->paths.front());
      script_->paths.pop_front();
    }
  } else {
    const QString qt_filter = ConvertDialogFilter(filter);
    path = save ? QFileDialog::getSaveFileName(window_, "Save As", QString(), qt_filter)
                : QFileDialog::getOpenFileName(window_, "Open", QString(), qt_filter);
  }
  if (path.isEmpty()) throw Fault(kFaultCancel);
  const QByteArray b = QFile::encodeName(path);
  return std::string(b.constData(), static_cast<size_t>(b.size()));
}

std::string QtPort::ShowOpenDialog(const std::string& filter) {
  return ShowFileDialog(false, filter);
}

std::string QtPort::ShowSaveDialog(const std::string& filter) {
  return ShowFileDialog(true, filter);
}

// --- The search dialogs and the hit list -------------------------------------------

namespace {

template <typename T>
T NextAnswer(std::deque<T>& answers, int& unscripted) {
  if (answers.empty()) {
    ++unscripted;
    return T{};
  }
  T a = answers.front();
  answers.pop_front();
  return a;
}

}  // namespace

FindDialogAnswer QtPort::ShowFindDialog(const std::string& text) {
  if (script_) {
    script_->find_texts.push_back(text);
    return NextAnswer(script_->find_answers, script_->unscripted);
  }
  frmFind dialog(text, pane_->code_page(), window_);
  dialog.exec();
  return dialog.answer();
}

ReplaceDialogAnswer QtPort::ShowReplaceDialog() {
  if (script_) return NextAnswer(script_->replace_answers, script_->unscripted);
  frmReplace dialog(pane_->code_page(), window_);
  dialog.exec();
  return dialog.answer();
}

void QtPort::SetHitChosenHandler(std::function<void(size_t)> handler) {
  on_hit_chosen_ = std::move(handler);
}

void QtPort::ShowHitList(const std::string& find_text, const std::vector<HitRow>& rows) {
  if (!hit_list_) {
    hit_list_ = new HitList(window_);
    hit_list_->table()->setFont(pane_->font());
    hit_list_->on_chosen = [this](size_t row) {
      if (on_hit_chosen_) on_hit_chosen_(row);
    };
  }
  hit_list_->Show(find_text, rows, pane_->code_page());
}

// --- The edit pane: bytes, through the pane's code page --------------------------

const CaseFold& QtPort::PaneCaseFold() const {
  return pane_->code_page().case_fold();
}

std::string QtPort::PaneText() const {
  return pane_->Bytes();
}

void QtPort::SetPaneText(const std::string& text) {
  LoadPaneText(text.size(), [&text](const PieceSink& sink) { sink(text); });
}

void QtPort::LoadPaneText(size_t size, const std::function<void(const PieceSink&)>& read) {
  pane_->LoadBytes(size, read, on_new_text_);
  // A new text starts a new history: undo must not bring back another entry.
  pane_->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
  pane_->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
}

std::string QtPort::PaneSelectedText() const {
  return pane_->Bytes(pane_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART),
                      pane_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND));
}

long QtPort::PaneSelStart() const {
  return pane_->OffsetOf(pane_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART));
}

long QtPort::PaneSelLength() const {
  return pane_->OffsetOf(pane_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND)) -
         PaneSelStart();
}

void QtPort::SetPaneSelection(long start, long length) {
  const long from = pane_->PositionOf(start);
  const long to = std::max(from, pane_->PositionOf(start + std::max(length, 0L)));
  pane_->SendScintilla(QsciScintillaBase::SCI_SETSEL, static_cast<unsigned long>(from), to);
}

void QtPort::ReplacePaneSelection(const std::string& text) {
  const long start = pane_->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONSTART);
  const std::string shown = pane_->ToPane(text);
  pane_->SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
  pane_->SendScintilla(QsciScintillaBase::SCI_TARGETFROMSELECTION);
  pane_->SendScintilla(QsciScintillaBase::SCI_REPLACETARGET, static_cast<uintptr_t>(shown.size()),
                       shown.data());
  pane_->SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
  pane_->SendScintilla(QsciScintillaBase::SCI_GOTOPOS,
                       static_cast<unsigned long>(start + static_cast<long>(shown.size())));
}

void QtPort::FocusPane() {
  pane_->setFocus(Qt::OtherFocusReason);
}

// --- The entry list ----------------------------------------------------------------

void QtPort::ClearEntryList() {
  SetEntryItems({});
  entry_list_->setEditText(QString());
}

void QtPort::SetEntryItems(NameBlock names) {
  entry_model_->SetNames(names);  // one reset, however long the list
  entry_list_->setCurrentIndex(-1);
  entry_search_->NamesChanged();
}

int QtPort::EntryCount() const {
  return entry_list_->count();
}

std::string QtPort::EntryText() const {
  return Bytes(entry_list_->currentText());
}

void QtPort::SetEntryText(const std::string& text) {
  entry_list_->setEditText(Latin1(text));
}

int QtPort::EntrySelectedIndex() const {
  return entry_list_->currentIndex();
}

void QtPort::ShowEntrySelected(int index, const std::string& name) {
  if (index >= 0 && index < entry_list_->count()) {
    entry_list_->setCurrentIndex(index);
  } else {
    entry_list_->setCurrentIndex(-1);
  }
  entry_list_->setEditText(Latin1(name));
}

void QtPort::SetEntrySelectedIndex(int index) {
  entry_list_->setCurrentIndex(index);
  if (on_entry_click_) on_entry_click_();
}

// --- The clipboard --------------------------------------------------------------------

std::string QtPort::ClipboardText() const {
  const QByteArray utf8 = QGuiApplication::clipboard()->text().toUtf8();
  std::string bytes;
  char32_t refused = 0;
  if (!pane_->code_page().FromUtf8(
          std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), bytes, &refused)) {
    throw Fault(kFaultInvalidCall, RefusalText(refused, pane_->code_page()));
  }
  return bytes;
}

void QtPort::SetClipboardText(const std::string& text) {
  QGuiApplication::clipboard()->setText(QString::fromStdString(pane_->ToPane(text)));
}

void QtPort::ClearClipboard() {
  QGuiApplication::clipboard()->clear();
}

// --- The printer ------------------------------------------------------------------------

Printer& QtPort::DefaultPrinter() {
  if (script_ && script_->printer) return *script_->printer;
  if (!printer_) printer_ = std::make_unique<QtPrinter>();
  return *printer_;
}

}  // namespace qw::shell
