#include "shell/scroll_bar_bands.h"

#include <QApplication>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <algorithm>
#include <cmath>
#include <optional>

namespace qw::shell {
namespace {

// A fill of this many rows goes to the raster engine's thread pool.
constexpr int kPooled = 96;

// The image a painter paints into, with a whole number of its pixels to a
// point of the painter and an offset of whole pixels; nothing when it paints
// otherwise.
struct Target {
  QImage* image;
  int scale;
  QPoint offset;
};

bool Whole(qreal value) {
  return value == std::round(value);
}

std::optional<Target> TargetOf(const QPainter& painter) {
  QPaintEngine* engine = painter.paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
      engine->paintDevice()->devType() != QInternal::Image) {
    return std::nullopt;
  }
  auto* image = static_cast<QImage*>(engine->paintDevice());
  if (image->format() != QImage::Format_RGB32 &&
      image->format() != QImage::Format_ARGB32_Premultiplied) {
    return std::nullopt;
  }
  if (painter.opacity() != 1.0 ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver) {
    return std::nullopt;
  }
  const QTransform to_pixels = painter.deviceTransform();
  const qreal scale = to_pixels.m11();
  if (to_pixels.type() > QTransform::TxScale || to_pixels.m22() != scale || scale < 1 ||
      !Whole(scale) || !Whole(to_pixels.dx()) || !Whole(to_pixels.dy())) {
    return std::nullopt;
  }
  return Target{image, static_cast<int>(scale),
                QPoint(static_cast<int>(to_pixels.dx()), static_cast<int>(to_pixels.dy()))};
}

// What the style may read of the painter it is given.
void CopyState(const QPainter& from, QPainter& to) {
  to.setFont(from.font());
  to.setPen(from.pen());
  to.setBrush(from.brush());
  to.setBrushOrigin(from.brushOrigin());
  to.setBackground(from.background());
  to.setBackgroundMode(from.backgroundMode());
  to.setLayoutDirection(from.layoutDirection());
  to.setRenderHints(from.renderHints());
}

}  // namespace

ScrollBarBands::ScrollBarBands(QObject* owner, QStyle* base)
    : QProxyStyle(base ? base : QStyleFactory::create(QApplication::style()->name())) {
  setParent(owner);
}

void ScrollBarBands::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                        QPainter* painter, const QWidget* widget) const {
  const std::optional<Target> target =
      control == CC_ScrollBar && option && painter ? TargetOf(*painter) : std::nullopt;
  const QRect bar = option ? option->rect : QRect();
  const int scale = target ? target->scale : 1;
  const int rows = std::max(1, kBandRows / scale);
  // A horizontal bar is painted as the style paints it: its long lines are
  // not drawn the same when cut into bands of columns.
  if (!target || bar.height() * scale < kPooled || bar.width() >= bar.height()) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  painter->save();
  // A band replaces what it was painted over: the same pixels, or more paint.
  painter->setCompositionMode(QPainter::CompositionMode_Source);
  for (int top = bar.top(); top <= bar.bottom(); top += rows) {
    const QRect band(bar.left(), top, bar.width(), std::min(rows, bar.bottom() + 1 - top));
    QImage under =
        target->image->copy(QRect(target->offset + band.topLeft() * scale, band.size() * scale));
    under.setDevicePixelRatio(scale);
    {
      QPainter band_painter(&under);
      band_painter.translate(-band.topLeft());
      CopyState(*painter, band_painter);
      QProxyStyle::drawComplexControl(control, option, &band_painter, widget);
    }
    painter->drawImage(band.topLeft(), under);
  }
  painter->restore();
}

}  // namespace qw::shell
