#include "shell/source_lexer.h"

#include <QColor>
#include <algorithm>
#include <cctype>
#include <string>

namespace qw::shell {
namespace {

// Style numbers of Scintilla's "vb" lexer.
enum BasicStyle {
  kBasicComment = 1,
  kBasicNumber = 2,
  kBasicKeyword = 3,
  kBasicString = 4,
  kBasicPreprocessor = 5,
  kBasicDate = 8,
  kBasicStringEol = 9
};
// Style numbers of Scintilla's "flagship" lexer.
enum XBaseStyle {
  kXBaseComment = 1,
  kXBaseCommentLine = 2,
  kXBaseKeyword = 7,
  kXBaseKeyword2 = 8,
  kXBaseNumber = 11,
  kXBaseString = 12,
  kXBasePreprocessor = 13
};

constexpr char kBasicKeywords[] =
    "and as attribute boolean byref byte byval call case const currency date declare dim do "
    "double each else elseif end enum eqv erase error exit explicit false for friend function "
    "get global gosub goto if imp in integer is let lib like long loop me mod new next not "
    "nothing object on option optional or paramarray preserve private property public redim "
    "rem resume return select set single static step stop string sub then to true type "
    "typeof until variant wend while with withevents xor";

constexpr char kXBaseKeywords[] =
    "and announce begin case clear close declare do else elseif end endcase enddo endif exit "
    "external field for function if in init local loop memvar next not or otherwise "
    "parameters private procedure public quit recover request return select sequence static "
    "step to while";

constexpr char kXBaseCommands[] =
    "accept append average blank browse call cancel commit continue copy count create delete "
    "display eject erase find go goto index input join keyboard label list locate modify pack "
    "read recall reindex release rename replace report restore run save say seek set skip "
    "sort store sum text total type unlock update use wait zap";

}  // namespace

SourceKind KindOfFile(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  const size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) {
    return SourceKind::kPlain;
  }
  std::string ext(path.substr(dot + 1));
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (ext == "BAS" || ext == "FRM" || ext == "CLS") return SourceKind::kBasic;
  if (ext == "PRG") return SourceKind::kXBase;
  return SourceKind::kPlain;
}

SourceLexer::SourceLexer(SourceKind kind, const QFont& font, QObject* parent)
    : QsciLexer(parent), kind_(kind) {
  setDefaultFont(font);
  setFont(font, -1);
}

const char* SourceLexer::language() const {
  return kind_ == SourceKind::kXBase ? "xBase" : "Basic";
}

const char* SourceLexer::lexer() const {
  return kind_ == SourceKind::kXBase ? "flagship" : "vb";
}

QString SourceLexer::description(int style) const {
  // Every style the lexers may use gets a name: QsciLexer stops at the first unnamed one.
  if (style < 0 || style > 31) return QString();
  return QStringLiteral("Style %1").arg(style);
}

const char* SourceLexer::keywords(int set) const {
  if (kind_ == SourceKind::kXBase) {
    if (set == 1) return kXBaseKeywords;
    if (set == 2) return kXBaseCommands;
    return nullptr;
  }
  return set == 1 ? kBasicKeywords : nullptr;
}

QColor SourceLexer::defaultColor(int style) const {
  const QColor comment(0x00, 0x80, 0x00), keyword(0x00, 0x00, 0xa0), number(0x80, 0x00, 0x80),
      text(0xa0, 0x20, 0x00), directive(0x60, 0x60, 0x60);
  if (kind_ == SourceKind::kXBase) {
    switch (style) {
      case kXBaseComment:
      case kXBaseCommentLine:
        return comment;
      case kXBaseKeyword:
      case kXBaseKeyword2:
        return keyword;
      case kXBaseNumber:
        return number;
      case kXBaseString:
        return text;
      case kXBasePreprocessor:
        return directive;
      default:
        return Qt::black;
    }
  }
  switch (style) {
    case kBasicComment:
      return comment;
    case kBasicKeyword:
      return keyword;
    case kBasicNumber:
    case kBasicDate:
      return number;
    case kBasicString:
    case kBasicStringEol:
      return text;
    case kBasicPreprocessor:
      return directive;
    default:
      return Qt::black;
  }
}

}  // namespace qw::shell
