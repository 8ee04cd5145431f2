#include "platform/case_fold.h"

namespace qw {

namespace {

constexpr CaseFold MakeWindows1252Fold() {
  CaseFold t{};
  for (int i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
  for (int c = 'a'; c <= 'z'; ++c) t[c] = static_cast<unsigned char>(c - 32);
  for (int c = 0xE0; c <= 0xFE; ++c) {
    if (c != 0xF7) t[c] = static_cast<unsigned char>(c - 32);
  }
  t[0x9A] = 0x8A;  // s caron
  t[0x9C] = 0x8C;  // oe
  t[0x9E] = 0x8E;  // z caron
  t[0xFF] = 0x9F;  // y diaeresis
  return t;
}

constexpr CaseFold kWindows1252 = MakeWindows1252Fold();

}  // namespace

const CaseFold& Windows1252CaseFold() {
  return kWindows1252;
}

}  // namespace qw
