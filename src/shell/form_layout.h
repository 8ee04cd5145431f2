// The geometry of the main window in twips (1/1440 inch, 15 to a pixel at the
// usual resolution): the design positions of the toolbar controls and the
// resizing rules for the toolbar panel and the edit pane.
#pragma once

#include <QRect>

namespace qw::shell {

inline constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) {
  return twips / kTwipsPerPixel;
}
constexpr int PixelsToTwips(int pixels) {
  return pixels * kTwipsPerPixel;
}

// A rectangle given in twips, converted to pixels.
QRect TwipRect(int left, int top, int width, int height);

struct FormLayout {
  QRect panToolbar;  // pixels, relative to the window's client area below the menu bar
  QRect txtEdit;
};

// The layout of a window whose outer size is `width` × `height` twips. A
// window too small for the pane gives it no width or height rather than a
// negative one.
FormLayout ComputeFormLayout(int width, int height);

}  // namespace qw::shell
