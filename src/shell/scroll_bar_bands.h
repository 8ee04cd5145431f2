// ScrollBarBands: the application's own style, except that a tall scroll bar
// is painted a band of rows at a time. Qt's raster engine hands any fill of
// 96 rows or more, and the long lines of such a bar, to its thread pool, one
// task for each 64, and waits for them: for a bar 14 pixels wide each task
// costs more in waking a thread than in painting (the pane's vertical bar took
// about 90 tasks at each paint, which a scroll repaints too). In a band of
// fewer rows nothing is handed over. The pixels are the same: each band is painted
// over a copy of what lies under it, then put back. Where that cannot hold the
// same pixels (not the raster engine, a painter that turns or scales by a
// fraction, an image format of its own, a horizontal bar), the bar is painted
// as the style paints it.
#pragma once

#include <QProxyStyle>

namespace qw::shell {

class ScrollBarBands final : public QProxyStyle {
 public:
  // A style over `base` (taken over; when null, a style of the application
  // style's kind), owned by `owner`.
  explicit ScrollBarBands(QObject* owner, QStyle* base = nullptr);

  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget = nullptr) const override;

  // The rows of the painted image in one band: fewer than the engine splits.
  static constexpr int kBandRows = 95;
};

}  // namespace qw::shell
