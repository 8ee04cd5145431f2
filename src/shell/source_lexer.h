// Syntax colouring of the edit pane by the kind of the open file: Scintilla's
// own "vb" lexer for Basic modules, forms and classes (.BAS, .FRM, .CLS), its
// "flagship" lexer for xBase programs (.PRG), and none for any other file.
#pragma once

#include <Qsci/qscilexer.h>

#include <QFont>
#include <string_view>

namespace qw::shell {

enum class SourceKind { kPlain, kBasic, kXBase };

// The kind of a file by the extension of its name, letter case ignored.
SourceKind KindOfFile(std::string_view path);

class SourceLexer final : public QsciLexer {
 public:
  SourceLexer(SourceKind kind, const QFont& font, QObject* parent);

  SourceKind kind() const { return kind_; }

  const char* language() const override;
  const char* lexer() const override;
  QString description(int style) const override;
  const char* keywords(int set) const override;
  QColor defaultColor(int style) const override;
  bool caseSensitive() const override { return false; }

 private:
  SourceKind kind_;
};

}  // namespace qw::shell
