#include "shell/code_page_pane.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QStyle>
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
  // Qt lays the scroll bars out again after any change of their ranges, and
  // a layout raises each bar above the other, which repaints both and what
  // lies under them; yet only a bar that appears or goes needs a new layout.
  // The pane asks for one then only. Where Qt's own connection is not found,
  // it stays as it is.
  const bool qt_lays_out = metaObject()->indexOfMethod("_q_showOrHideScrollBars()") >= 0;
  for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
    if (qt_lays_out &&
        disconnect(bar, SIGNAL(rangeChanged(int, int)), this, SLOT(_q_showOrHideScrollBars()))) {
      connect(bar, &QScrollBar::rangeChanged, this, &CodePagePane::LayOutBarsIfNeeded,
              Qt::QueuedConnection);
    }
  }
  connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int, int type, const char* text, int length, int, int, int, int, int, int) {
            if (loading_ || !ascii_ || !(type & SC_MOD_INSERTTEXT) || !text) return;
            if (!CodePage::IsAscii(std::string_view(text, static_cast<size_t>(length)))) {
              ascii_ = false;
            }
          });
}

void CodePagePane::LayOutBarsIfNeeded() {
  const auto changes = [](const QScrollBar* bar, Qt::ScrollBarPolicy policy) {
    if (policy != Qt::ScrollBarAsNeeded) return false;
    // A bar the style shows only while in use: as Qt would.
    if (bar->style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, bar)) return true;
    const bool needed = bar->minimum() < bar->maximum();
    return needed == bar->parentWidget()->isHidden();
  };
  if (changes(verticalScrollBar(), verticalScrollBarPolicy()) ||
      changes(horizontalScrollBar(), horizontalScrollBarPolicy())) {
    QMetaObject::invokeMethod(this, "_q_showOrHideScrollBars");
  }
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
  LoadBytes(bytes.size(), [bytes](const PieceSink& sink) { sink(bytes); });
}

// Scintilla's interface for filling a document that no view shows yet (the
// object SCI_CREATELOADER returns). It has external linkage: in an unnamed
// namespace the compiler would take a call of it for a call of a pure virtual.
class DocumentLoader {
 public:
  virtual int Release() = 0;
  virtual int AddData(const char* data, std::ptrdiff_t length) = 0;
  virtual void* ConvertToDocument() = 0;

 protected:
  ~DocumentLoader() = default;
};

// The loader's calls. Its object is of a type of Scintilla's that this
// declaration only mirrors, so the sanitizer's check of the dynamic type
// (which compares type names) is left out of these three calls.
namespace {

__attribute__((no_sanitize("vptr"))) bool AddData(DocumentLoader* loader, std::string_view data) {
  return loader->AddData(data.data(), static_cast<std::ptrdiff_t>(data.size())) ==
         QsciScintillaBase::SC_STATUS_OK;
}
__attribute__((no_sanitize("vptr"))) void Release(DocumentLoader* loader) {
  loader->Release();
}
__attribute__((no_sanitize("vptr"))) void* ConvertToDocument(DocumentLoader* loader) {
  return loader->ConvertToDocument();
}

// While it lives, the pane tells no one of a change of its text (no
// SCN_MODIFIED, no textChanged, no linesChanged).
class Unnotified {
 public:
  explicit Unnotified(QsciScintillaBase& pane)
      : pane_(pane), mask_(pane.SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK)) {
    pane_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
  }
  ~Unnotified() {
    pane_.SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, static_cast<unsigned long>(mask_));
  }
  Unnotified(const Unnotified&) = delete;
  Unnotified& operator=(const Unnotified&) = delete;

 private:
  QsciScintillaBase& pane_;
  long mask_;
};

}  // namespace

void CodePagePane::LoadBytes(size_t size, const std::function<void(const PieceSink&)>& read,
                             const std::function<void()>& emptied) {
  bool ascii = true;
  std::string converted;
  // Each byte is one character, so each piece converts on its own.
  const auto shown = [&](std::string_view piece) {
    if (CodePage::IsAscii(piece)) return piece;
    ascii = false;
    converted = page_->ToUtf8(piece);
    return std::string_view(converted);
  };
  std::string text;
  DocumentLoader* loader = nullptr;
  if (size < kUncolouredSize) {
    text.reserve(size);
    read([&](std::string_view piece) { text.append(shown(piece)); });
  } else {
    // One byte to spare: a piece that fills the room exactly makes Scintilla
    // move the text into a larger block, holding both for a moment.
    loader = reinterpret_cast<DocumentLoader*>(
        SendScintilla(SCI_CREATELOADER, static_cast<unsigned long>(size + 1),
                      static_cast<long>(SC_DOCUMENTOPTION_STYLES_NONE)));
    if (!loader) throw std::bad_alloc();
    try {
      read([&](std::string_view piece) {
        if (!AddData(loader, shown(piece))) throw std::bad_alloc();
      });
    } catch (...) {
      Release(loader);
      throw;
    }
  }
  loading_ = true;
  {
    // Emptied and filled unnotified: no listener converts the loaded text to
    // UTF-16, and the line-number margin is not fitted to an empty pane
    // between the two texts (which would lay out and paint the margin and
    // the horizontal scroll bar for nothing).
    const Unnotified quiet(*this);
    // A new text is no edit to undo: Scintilla keeps no second copy of it.
    SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
    // Emptied as a deletion, not by SCI_CLEARALL: that also throws away what
    // Scintilla knows of its styles (the fonts it realised, the widths of the
    // words it measured), which the next paint then works out again, for a
    // new text in the same styles. The selection goes back to one caret at
    // the start, as SCI_CLEARALL leaves it.
    SendScintilla(SCI_DELETERANGE, 0UL, Length());
    SendScintilla(SCI_CLEARSELECTIONS);
    UseCharacterIndex(false);
    ascii_ = ascii;
    if (emptied) emptied();
    if (loader) {
      ShowDocument(ConvertToDocument(loader), false);
    } else {
      if (!coloured_) ShowDocument(SendScintillaPtrResult(SCI_CREATEDOCUMENT), true);
      if (!text.empty()) {
        SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(text.size()), text.data());
      }
    }
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_EMPTYUNDOBUFFER);
  }
  loading_ = false;
  // The change of text was not notified: it is now, once.
  emit linesChanged();
  emit textChanged();
}

void CodePagePane::ShowDocument(void* document, bool coloured) {
  // The settings Scintilla keeps with a document, not with its view.
  const long eol = SendScintilla(SCI_GETEOLMODE);
  const long tab = SendScintilla(SCI_GETTABWIDTH);
  const long indent = SendScintilla(SCI_GETINDENT);
  const long tabs = SendScintilla(SCI_GETUSETABS);
  const long read_only = SendScintilla(SCI_GETREADONLY);
  SendScintilla(SCI_SETDOCPOINTER, 0UL, document);
  SendScintilla(SCI_RELEASEDOCUMENT, 0UL, document);  // the view holds it now
  SendScintilla(SCI_SETCODEPAGE, static_cast<unsigned long>(SC_CP_UTF8));
  SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(eol));
  SendScintilla(SCI_SETTABWIDTH, static_cast<unsigned long>(tab));
  SendScintilla(SCI_SETINDENT, static_cast<unsigned long>(indent));
  SendScintilla(SCI_SETUSETABS, static_cast<unsigned long>(tabs));
  SendScintilla(SCI_SETREADONLY, static_cast<unsigned long>(read_only));
  SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
  coloured_ = coloured;
  char_index_ = false;
  // The lexer's language is kept with the document too.
  if (coloured && lexer()) setLexer(lexer());
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
