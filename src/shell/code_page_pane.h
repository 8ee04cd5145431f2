// CodePagePane: the edit pane txtEdit. It shows bytes in a code page: the
// Scintilla buffer holds the UTF-8 of the characters the bytes stand for,
// and every byte of the pane is one character of it, so that a byte offset
// (what the core and the port speak in) is a character index of the pane.
// While the pane holds only ASCII, which is most of the time, offsets and
// positions are the same number and the bytes are the buffer itself:
// nothing is converted. Otherwise positions are mapped through Scintilla's
// per-line character index.
//
// A typed or dropped character the code page cannot write is refused: typed,
// it is reported through `on_refused` and not inserted; dropped, the drop is
// not accepted.
#pragma once

#include <Qsci/qsciscintilla.h>

#include <functional>
#include <string>
#include <string_view>

#include "shell/code_page.h"

namespace qw::shell {

class CodePagePane final : public QsciScintilla {
 public:
  explicit CodePagePane(QWidget* parent);

  const CodePage& code_page() const { return *page_; }
  // Shows the same bytes in `page`. The text's bytes, the selection and the
  // signals of a changed text are untouched; the undo history starts anew
  // when a text with bytes above 0x7F is shown again.
  void SetCodePage(const CodePage& page);

  // The pane's text as bytes, and the bytes of the positions [from, to).
  std::string Bytes() const;
  std::string Bytes(long from, long to) const;
  // Replaces the whole text by `bytes`, as one change.
  void SetBytes(std::string_view bytes);
  // Replaces the whole text by the bytes `read` hands to its sink, piece after
  // piece; `size` is how many to expect. Once all is read, the pane is
  // emptied and `emptied` (when given) is called before the text goes in. A
  // text of kUncolouredSize bytes or more goes into a document that keeps no
  // colours (they would cost as much memory again as the text): it is shown
  // uncoloured. When `read` throws, the pane keeps its text.
  using PieceSink = std::function<void(std::string_view)>;
  void LoadBytes(size_t size, const std::function<void(const PieceSink&)>& read,
                 const std::function<void()>& emptied = {});
  static constexpr size_t kUncolouredSize = size_t{4} << 20;
  // The UTF-8 text the pane holds for `bytes`.
  std::string ToPane(std::string_view bytes) const;

  // A position of the buffer as a byte offset, and back. Offsets past the end
  // stand for the end.
  long OffsetOf(long position) const;
  long PositionOf(long offset) const;
  long Length() const { return SendScintilla(SCI_GETLENGTH); }

  // Told of a typed character the code page cannot write.
  std::function<void(char32_t)> on_refused;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;

 private:
  // True when `text` can be written in the code page; otherwise tells
  // on_refused of the first character it cannot write.
  bool Accepts(const QString& text);
  void UseCharacterIndex(bool use) const;
  // Lays the scroll bars out again when one of them is to appear or go.
  void LayOutBarsIfNeeded();
  const char* Buffer() const;
  // Shows `document` (a Scintilla document holding one reference, which the
  // pane takes over) with the pane's settings of the document it replaces.
  void ShowDocument(void* document, bool coloured);

  const CodePage* page_;
  bool ascii_ = true;                // no byte above 0x7F since the last SetBytes
  bool loading_ = false;             // inside SetBytes: its text is known
  mutable bool char_index_ = false;  // Scintilla keeps the line character index
  bool coloured_ = true;             // the document keeps colours
};

// The message of a refused character: which character, which code page.
std::string RefusalText(char32_t refused, const CodePage& page);

}  // namespace qw::shell
