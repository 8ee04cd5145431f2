// The edit pane's scroll bars. ScrollBarBands paints a tall vertical bar a
// band at a time, and the pixels are those the style paints at once: over bars
// of many lengths, ranges and positions, slider hovered or pressed, bar
// disabled, on the two image formats a window paints into, at two pixels to a
// point; a horizontal bar and a painter that scales by a fraction are painted
// at once. The pane's bars appear and go with its text, and a change of the
// vertical range that keeps them both does not repaint the horizontal one.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <QTest>

#include "shell/code_page_pane.h"
#include "shell/scroll_bar_bands.h"

using qw::shell::CodePagePane;
using qw::shell::ScrollBarBands;

namespace {

// The application's style, counting the scroll bars it is asked to paint.
class CountingStyle final : public QProxyStyle {
 public:
  CountingStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    if (control == CC_ScrollBar) ++paints;
    QProxyStyle::drawComplexControl(control, option, painter, widget);
  }
  mutable int paints = 0;
};

struct Bar final : QScrollBar {
  using QScrollBar::initStyleOption;
  using QScrollBar::QScrollBar;
};

// The bar of `option` as `style` paints it into an image of `format` that first
// held another colour, `scale` pixels to a point, through a painter scaled by `zoom`.
QImage Paint(const QStyleOptionSlider& option, QStyle& style, QImage::Format format, int scale,
             qreal zoom) {
  QImage image(option.rect.size() * scale * zoom, format);
  image.setDevicePixelRatio(scale);
  image.fill(QColor(0x20, 0x80, 0x40));
  QPainter painter(&image);
  painter.scale(zoom, zoom);
  style.drawComplexControl(QStyle::CC_ScrollBar, &option, &painter);
  return image;
}

// A text of `lines` lines.
std::string Lines(int lines) {
  std::string text;
  for (int n = 0; n < lines; ++n) text += "Dim a" + std::to_string(n) + "\r\n";
  return text;
}

// Counts the paints of a widget.
struct Paints final : QObject {
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

}  // namespace

class TestPaneBars : public QObject {
  Q_OBJECT

 private slots:
  void SamePixels_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<Qt::Orientation>("orientation");
    QTest::addColumn<int>("scale");
    QTest::addColumn<qreal>("zoom");
    QTest::addColumn<int>("bands");  // the style's paints, one for each band
    QTest::newRow("the pane's bar") << 504 << Qt::Vertical << 1 << 1.0 << 6;
    QTest::newRow("96 rows, two bands") << 96 << Qt::Vertical << 1 << 1.0 << 2;
    QTest::newRow("too short to band") << 95 << Qt::Vertical << 1 << 1.0 << 1;
    QTest::newRow("two pixels a point") << 300 << Qt::Vertical << 2 << 1.0 << 7;
    QTest::newRow("horizontal") << 600 << Qt::Horizontal << 1 << 1.0 << 1;
    QTest::newRow("scaled by a fraction") << 300 << Qt::Vertical << 1 << 1.5 << 1;
  }
  void SamePixels() {
    QFETCH(int, length);
    QFETCH(Qt::Orientation, orientation);
    QFETCH(int, scale);
    QFETCH(qreal, zoom);
    QFETCH(int, bands);
    auto* counted = new CountingStyle;
    ScrollBarBands banded(nullptr, counted);
    struct Look {
      QStyle::SubControl active;
      QStyle::State state;
      bool enabled;
    };
    const Look looks[] = {{QStyle::SC_None, {}, true},
                          {QStyle::SC_ScrollBarSlider, QStyle::State_MouseOver, true},
                          {QStyle::SC_ScrollBarSlider, QStyle::State_Sunken, true},
                          {QStyle::SC_None, {}, false}};
    for (const auto format : {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
      for (const int maximum : {0, 9, 40, 1000}) {
        for (const Look& look : looks) {
          for (int step = 0; step <= 6; ++step) {
            Bar bar(orientation);
            bar.resize(orientation == Qt::Vertical ? QSize(14, length) : QSize(length, 14));
            bar.setRange(0, maximum);
            bar.setPageStep(36);
            bar.setValue(maximum * step / 6);
            bar.setEnabled(look.enabled);
            QStyleOptionSlider option;
            bar.initStyleOption(&option);
            option.subControls = QStyle::SC_All;
            option.activeSubControls = look.active;
            option.state |= look.state;
            const QImage at_once = Paint(option, *counted, format, scale, zoom);
            const int before = counted->paints;
            const QImage in_bands = Paint(option, banded, format, scale, zoom);
            QCOMPARE(counted->paints - before, bands);
            QVERIFY2(in_bands == at_once, qPrintable(QString("maximum %1, value %2, format %3")
                                                         .arg(maximum)
                                                         .arg(bar.value())
                                                         .arg(format)));
          }
        }
      }
    }
  }

  void BarsFollowTheText() {
    QWidget window;
    window.resize(400, 300);
    auto* pane = new CodePagePane(&window);
    pane->resize(400, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QScrollBar* vertical = pane->verticalScrollBar();
    QScrollBar* horizontal = pane->horizontalScrollBar();
    Paints horizontal_paints;
    horizontal->installEventFilter(&horizontal_paints);
    struct Step {
      const char* name;
      int lines;
      bool vertical_shown;
      bool horizontal_painted;
    };
    const Step steps[] = {
        {"short", 3, false, false},      {"long", 200, true, true},
        {"longer", 300, true, false},    {"as long", 300, true, false},
        {"short again", 2, false, true}, {"empty", 0, false, false},
        {"long again", 250, true, true},
    };
    // The events a change left, and those they left in turn.
    const auto settle = [] {
      for (int round = 0; round < 4; ++round) QApplication::processEvents();
    };
    for (const Step& step : steps) {
      settle();
      horizontal_paints.count = 0;
      pane->SetBytes(Lines(step.lines));
      settle();
      QVERIFY2(!vertical->parentWidget()->isHidden() == step.vertical_shown, step.name);
      QVERIFY2(!horizontal->parentWidget()->isHidden(), step.name);
      QVERIFY2((horizontal_paints.count > 0) == step.horizontal_painted, step.name);
    }
  }
};

QTEST_MAIN(TestPaneBars)
#include "tst_pane_bars.moc"
