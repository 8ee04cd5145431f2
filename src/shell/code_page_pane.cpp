#include "shell/code_page_pane.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <algorithm>
#include <cstdio>

namespace qw::shell {

std::string RefusalText(char32_t refused, const CodePage& page) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(refused));
  return std::string("The character ") + code + " cannot be written in the code page " +
         page.name() + ": it was not inserted.";
}

CodePagePane::CodePagePane(QWidget* parent) : QsciScintilla(parent), page_(&CodePage::Default()) {
  setUtf8(true);
  connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int, int type, const char* text, int length, int, int, int, int, int, int) {
            if (loading_ || !ascii_ || !(type & SC_MOD_INSERTTEXT) || !text) return;
            if (!CodePage::IsAscii(std::string_view(text, static_cast<size_t>(length)))) {
              ascii_ = false;
            }
          });
}

const char* CodePagePane::Buffer() const {
  return static_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
}

void CodePagePane::UseCharacterIndex(bool use) const {
  if (use == char_index_) return;
  SendScintilla(use ? SCI_ALLOCATELINECHARACTERINDEX : SCI_RELEASELINECHARACTERINDEX,
                static_cast<unsigned long>(SC_LINECHARACTERINDEX_UTF32));
  char_index_ = use;
}

std::string CodePagePane::ToPane(std::string_view bytes) const {
  return CodePage::IsAscii(bytes) ? std::string(bytes) : page_->ToUtf8(bytes);
}

std::string CodePagePane::Bytes() const {
  return Bytes(0, Length());
}

std::string CodePagePane::Bytes(long from, long to) const {
  if (to <= from) return {};
  const std::string_view utf8(Buffer() + from, static_cast<size_t>(to - from));
  if (ascii_) return std::string(utf8);
  std::string bytes;
  page_->FromUtf8(utf8, bytes);
  return bytes;
}

void CodePagePane::SetBytes(std::string_view bytes) {
  const bool ascii = CodePage::IsAscii(bytes);
  loading_ = true;
  // A new text is no edit to undo: Scintilla keeps no second copy of it.
  SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
  SendScintilla(SCI_CLEARALL);
  UseCharacterIndex(false);
  ascii_ = ascii;
  if (!bytes.empty()) {
    const std::string converted = ascii ? std::string() : page_->ToUtf8(bytes);
    const std::string_view text = ascii ? bytes : std::string_view(converted);
    SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
  }
  SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
  SendScintilla(SCI_EMPTYUNDOBUFFER);
  loading_ = false;
}

long CodePagePane::OffsetOf(long position) const {
  position = std::clamp(position, 0L, Length());
  if (ascii_) return position;
  UseCharacterIndex(true);
  const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position));
  const long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
  return SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                       static_cast<long>(SC_LINECHARACTERINDEX_UTF32)) +
         SendScintilla(SCI_COUNTCHARACTERS, static_cast<unsigned long>(start), position);
}

long CodePagePane::PositionOf(long offset) const {
  if (ascii_) return std::clamp(offset, 0L, Length());
  if (offset <= 0) return 0;
  if (offset >= OffsetOf(Length())) return Length();
  const long line = SendScintilla(SCI_LINEFROMINDEXPOSITION, static_cast<unsigned long>(offset),
                                  static_cast<long>(SC_LINECHARACTERINDEX_UTF32));
  const long start = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
  const long first = SendScintilla(SCI_INDEXPOSITIONFROMLINE, static_cast<unsigned long>(line),
                                   static_cast<long>(SC_LINECHARACTERINDEX_UTF32));
  return SendScintilla(SCI_POSITIONRELATIVE, static_cast<unsigned long>(start), offset - first);
}

void CodePagePane::SetCodePage(const CodePage& page) {
  if (&page == page_) return;
  if (ascii_) {
    page_ = &page;  // ASCII reads the same in every code page
    return;
  }
  const long from = OffsetOf(SendScintilla(SCI_GETSELECTIONSTART));
  const long to = OffsetOf(SendScintilla(SCI_GETSELECTIONEND));
  const long first_line = SendScintilla(SCI_GETFIRSTVISIBLELINE);
  const std::string bytes = Bytes();
  page_ = &page;
  const QSignalBlocker quiet(this);
  SetBytes(bytes);
  SendScintilla(SCI_EMPTYUNDOBUFFER);
  SendScintilla(SCI_SETSEL, static_cast<unsigned long>(PositionOf(from)), PositionOf(to));
  SendScintilla(SCI_SETFIRSTVISIBLELINE, static_cast<unsigned long>(first_line));
}

bool CodePagePane::Accepts(const QString& text) {
  std::string bytes;
  char32_t refused = 0;
  if (page_->FromUtf8(text.toUtf8().toStdString(), bytes, &refused)) return true;
  if (on_refused) on_refused(refused);
  return false;
}

void CodePagePane::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  if (!text.isEmpty() && text[0].isPrint() && !Accepts(text)) {
    event->accept();
    return;
  }
  QsciScintilla::keyPressEvent(event);
}

void CodePagePane::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty() && !Accepts(event->commitString())) {
    event->accept();
    return;
  }
  QsciScintilla::inputMethodEvent(event);
}

bool CodePagePane::canInsertFromMimeData(const QMimeData* source) const {
  if (!QsciScintilla::canInsertFromMimeData(source)) return false;
  std::string bytes;
  return !source->hasText() || page_->FromUtf8(source->text().toUtf8().toStdString(), bytes);
}

}  // namespace qw::shell
