// The painter drawn offscreen into images: the moment of a clamped beam on
// its tension side, labels clear of each other on every layer of the example
// frames.
#include "drawing_support.h"
#include "frame_painter.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Pixels of the colour in the image column x between rows y0 and y1.
int countInColumn(const QImage& image, int x, int y0, int y1, QColor colour)
{
    int n = 0;
    for (int y = std::max(0, y0); y <= std::min(image.height() - 1, y1); ++y)
        if (image.pixelColor(x, y).rgb() == colour.rgb()) ++n;
    return n;
}

} // namespace

TEST(FramePainter, ClampedBeamUnderUniformLoadIsDrawnOnItsTensionSide)
{
    const kj::FileCalculation fc = kjtest::calculateText(kjtest::kClampedBeam);
    const kj::CalculationResult& r = fc.calculation;
    // Hand result for a clamped span: wL^2/12 = 60 at the ends, wL^2/24 = 30 at mid-span.
    EXPECT_NEAR(r.forces.Mo[1], 30.0, 0.3);
    EXPECT_NEAR(r.forces.M1[1], -60.0, 0.3);

    QImage image(900, 600, QImage::Format_RGB32);
    QPainter p(&image);
    kjd::FramePainter painter(r);
    painter.paint(p, QRectF(0, 0, 900, 600), kjd::Layer::Moment);
    p.end();

    const double y = r.model.y[1];
    const int beamY = static_cast<int>(std::lround(painter.map(0, y).y()));
    const QColor fill = kjd::Palette::momentFill();
    // Mid-span: sagging, the bottom fibre in tension, the diagram below the beam.
    const int mid = static_cast<int>(std::lround(painter.map(3.0, y).x()));
    EXPECT_GT(countInColumn(image, mid, beamY + 3, beamY + 200, fill), 20);
    EXPECT_EQ(countInColumn(image, mid, beamY - 200, beamY - 3, fill), 0);
    // Near either end (0.3 m in): hogging, the top fibre in tension, the diagram above.
    for (double x : {0.3, 5.7}) {
        const int at = static_cast<int>(std::lround(painter.map(x, y).x()));
        EXPECT_GT(countInColumn(image, at, beamY - 200, beamY - 3, fill), 20) << "x = " << x;
        EXPECT_EQ(countInColumn(image, at, beamY + 3, beamY + 200, fill), 0) << "x = " << x;
    }
}

TEST(FramePainter, NoTwoLabelsOverlapOnAnyLayerOfTheExamples)
{
    struct Size {
        QSizeF size;
        double font;
    };
    // The window's default view, and an A4 page at 300 dpi with 7.5 pt text.
    const Size sizes[] = {{QSizeF(kjd::kDefaultViewWidth, kjd::kDefaultViewHeight), 12}, {QSizeF(2067, 3000), 31}};
    for (const char* name : {"KJ-1", "KJ-2", "KJ-3", "CB-1"}) {
        const kj::FileCalculation fc = kjtest::calculateExample(name);
        kjd::FramePainter painter(fc.calculation);
        for (const Size& s : sizes) {
            kjd::PaintStyle style;
            style.fontPixels = s.font;
            painter.setStyle(style);
            QImage image(s.size.toSize(), QImage::Format_RGB32);
            for (kjd::Layer layer : kjd::kLayers) {
                QPainter p(&image);
                const QRectF target(QPointF(0, 0), s.size);
                painter.paint(p, target, layer);
                const std::vector<QRectF>& rects = painter.labelRects();
                const std::string where = std::string(name) + " " + kjd::layerTitle(layer).toStdString() + " at " +
                                          std::to_string(static_cast<int>(s.size.width()));
                ASSERT_GE(rects.size(), 2u) << where; // at least the title and the legend
                for (std::size_t a = 0; a < rects.size(); ++a) {
                    EXPECT_TRUE(target.contains(rects[a])) << where;
                    for (std::size_t b = a + 1; b < rects.size(); ++b) {
                        const double w = std::min(rects[a].right(), rects[b].right()) -
                                         std::max(rects[a].left(), rects[b].left());
                        const double h = std::min(rects[a].bottom(), rects[b].bottom()) -
                                         std::max(rects[a].top(), rects[b].top());
                        EXPECT_FALSE(w > 1e-9 && h > 1e-9) << where << ": labels " << a << " and " << b;
                    }
                }
            }
        }
    }
}

TEST(FramePainter, BeamOverItsServiceabilityLimitIsMarkedInTheReinforcementDrawing)
{
    kj::FileCalculation fc = kjtest::calculateExample("KJ-1");
    kj::BeamServiceability over;
    over.wlim = 0.3;
    over.deflectionChecked = true;
    over.deflection = 31;
    over.deflectionLimit = 30;
    fc.calculation.beams[2].serviceability = over; // beam 2 only: its deflection is over the limit
    kj::BeamServiceability fine = over;
    fine.deflection = 10;
    fc.calculation.beams[1].serviceability = fine;
    kjd::FramePainter painter(fc.calculation);
    QImage image(QSize(kjd::kDefaultViewWidth, kjd::kDefaultViewHeight), QImage::Format_RGB32);
    QPainter p(&image);
    painter.paint(p, QRectF(QPointF(0, 0), QSizeF(image.size())), kjd::Layer::Reinforcement);
    const std::vector<QString>& texts = painter.labelTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), QStringLiteral("挠度超限")), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), QStringLiteral("裂缝超限")), 0);
}
