// Code pages: how the bytes of a file are shown in the edit pane and how
// typed characters become bytes. A file is bytes and stays bytes: the core
// and the file never see a code page. Each code page maps every byte 0-255 to
// one character and back, so that any byte survives being shown, edited and
// saved. Bytes 0x00-0x7F are ASCII in every code page; bytes a code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90 and 0x9D in Windows-1252) are
// shown as the control characters of the same number.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/case_fold.h"

namespace qw::shell {

class CodePage {
 public:
  // The code pages offered, Windows-1252 (the default) first.
  static const std::vector<CodePage>& All();
  static const CodePage& Default() { return All().front(); }

  const char* name() const { return name_; }        // "Windows-1252", "DOS 437", ...
  const char* menu_item() const { return item_; }   // object name of its menu item
  const char* caption() const { return caption_; }  // menu caption, "&" before the access key

  // The character byte `b` stands for.
  char32_t Character(unsigned char b) const {
    return b < 0x80 ? b : high_[static_cast<size_t>(b - 0x80)];
  }
  // The byte that stands for `c`, or -1 when this code page has none.
  int Byte(char32_t c) const;

  // How letter case folds in this code page: the byte of each byte's
  // upper-case letter, or the byte itself.
  const qw::CaseFold& case_fold() const { return fold_; }

  // True when every byte is ASCII: the UTF-8 of the text is the text itself.
  static bool IsAscii(std::string_view bytes);
  // The text of `bytes` in UTF-8.
  std::string ToUtf8(std::string_view bytes) const;
  // The bytes of a UTF-8 text into `out`. A character this code page cannot
  // write becomes "?": the result is then false, with the first such
  // character in `*refused` (when given). Malformed UTF-8 is taken byte by
  // byte as if each byte were a character of Latin-1.
  bool FromUtf8(std::string_view utf8, std::string& out, char32_t* refused = nullptr) const;

  CodePage(const char* name, const char* item, const char* caption, const char16_t* high);

 private:
  const char* name_;
  const char* item_;
  const char* caption_;
  const char16_t* high_;  // the characters of bytes 0x80-0xFF
  // (character, byte) for bytes 0x80-0xFF, sorted by character.
  std::array<std::pair<char32_t, unsigned char>, 128> reverse_{};
  qw::CaseFold fold_{};
};

// Appends the UTF-8 of `c` to `out`.
void AppendUtf8(char32_t c, std::string& out);

}  // namespace qw::shell
