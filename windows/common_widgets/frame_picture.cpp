#include "common_widgets/frame_picture.h"

#include "common_widgets/twips.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

namespace kjw {

FramePicture::FramePicture(int spans, int storeys, const FrameGeometry& geometry, QWidget* parent)
    : QWidget(parent), spans_(std::clamp(spans, 1, 3)), storeys_(std::clamp(storeys, 1, 2)),
      geometry_(geometry)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FramePicture::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.setRenderHint(QPainter::Antialiasing, false);

    const auto x = [&](int axis) { return twips(geometry_.axisX[static_cast<std::size_t>(axis)]); };
    const auto y = [&](int level) { return twips(geometry_.levelY[static_cast<std::size_t>(level)]); };
    const int left = x(0);
    const int right = x(spans_);
    const int top = y(0);
    const int ground = y(storeys_);

    // Members: beams of every storey, then the columns from the top beam down.
    QPen member(Qt::white, 3, Qt::SolidLine, Qt::SquareCap);
    p.setPen(member);
    for (int level = 0; level < storeys_; ++level) p.drawLine(left, y(level), right, y(level));
    for (int axis = 0; axis <= spans_; ++axis) p.drawLine(x(axis), top, x(axis), ground);

    // Fixed supports: a ground stroke with hatching under every column.
    p.setPen(QPen(Qt::white, 1));
    for (int axis = 0; axis <= spans_; ++axis) {
        const int cx = x(axis);
        p.drawLine(cx - 10, ground + 2, cx + 10, ground + 2);
        for (int h = -10; h <= 6; h += 4) p.drawLine(cx + h, ground + 8, cx + h + 4, ground + 3);
    }

    if (!dimensionLines_) return;

    // Dimension lines: extension strokes from the members, the line itself and
    // an oblique tick at every division.
    const QColor green(0, 255, 0);
    p.setPen(QPen(green, 1));
    const int dimY = twips(geometry_.dimensionTopY);
    const int dimX = twips(geometry_.dimensionLeftX);
    p.drawLine(left, dimY, right, dimY);
    for (int axis = 0; axis <= spans_; ++axis) {
        const int cx = x(axis);
        p.drawLine(cx, dimY - 6, cx, std::min(dimY + 10, top - 4));
        p.drawLine(cx - 4, dimY + 4, cx + 4, dimY - 4);
    }
    p.drawLine(dimX, top, dimX, ground);
    for (int level = 0; level <= storeys_; ++level) {
        const int cy = y(level);
        p.drawLine(dimX - 6, cy, std::max(dimX + 10, left - 20), cy);
        p.drawLine(dimX - 4, cy + 4, dimX + 4, cy - 4);
    }
}

} // namespace kjw
