#include "label_placer.h"

#include <algorithm>
#include <cmath>

namespace kjd {

template <class F>
void LabelPlacer::forCells(const QRectF& r, F&& f) const
{
    const auto cellOf = [this](double v, double origin, int count) {
        return std::clamp(static_cast<int>(std::floor((v - origin) / cell_)), 0, count - 1);
    };
    const double ox = bounds_.isValid() ? bounds_.left() : 0, oy = bounds_.isValid() ? bounds_.top() : 0;
    const int c0 = cellOf(r.left(), ox, columns_), c1 = cellOf(r.right(), ox, columns_);
    const int r0 = cellOf(r.top(), oy, rows_), r1 = cellOf(r.bottom(), oy, rows_);
    for (int row = r0; row <= r1; ++row)
        for (int col = c0; col <= c1; ++col)
            if (!f(static_cast<std::size_t>(row * columns_ + col))) return;
}

LabelPlacer::LabelPlacer(const QRectF& bounds) : bounds_(bounds)
{
    if (bounds_.isValid()) {
        cell_ = std::max(cell_, std::max(bounds_.width(), bounds_.height()) / 128);
        columns_ = std::max(1, static_cast<int>(std::ceil(bounds_.width() / cell_)));
        rows_ = std::max(1, static_cast<int>(std::ceil(bounds_.height() / cell_)));
    }
    grid_.resize(static_cast<std::size_t>(columns_ * rows_));
    lineGrid_.resize(grid_.size());
}

namespace {

// Whether the segment meets the rectangle (Liang-Barsky clipping).
bool crosses(const QLineF& l, const QRectF& r)
{
    double t0 = 0, t1 = 1;
    const double dx = l.dx(), dy = l.dy();
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {l.x1() - r.left(), r.right() - l.x1(), l.y1() - r.top(), r.bottom() - l.y1()};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
        } else {
            const double t = q[k] / p[k];
            if (p[k] < 0) t0 = std::max(t0, t);
            else t1 = std::min(t1, t);
            if (t0 > t1) return false;
        }
    }
    return true;
}

} // namespace

void LabelPlacer::addObstacle(const QLineF& line)
{
    const int index = static_cast<int>(obstacles_.size());
    obstacles_.push_back(line);
    const QRectF box = QRectF(line.p1(), line.p2()).normalized();
    forCells(box, [&](std::size_t cell) {
        lineGrid_[cell].push_back(index);
        return true;
    });
}

bool LabelPlacer::isFree(const QRectF& rect) const
{
    if (bounds_.isValid() && !bounds_.contains(rect)) return false;
    bool free = true;
    forCells(rect, [&](std::size_t cell) {
        for (int i : grid_[cell])
            if (placed_[static_cast<std::size_t>(i)].intersects(rect)) {
                free = false;
                return false;
            }
        for (int i : lineGrid_[cell])
            if (crosses(obstacles_[static_cast<std::size_t>(i)], rect)) {
                free = false;
                return false;
            }
        return true;
    });
    return free;
}

void LabelPlacer::take(const QRectF& rect)
{
    const int index = static_cast<int>(placed_.size());
    placed_.push_back(rect);
    forCells(rect, [&](std::size_t cell) {
        grid_[cell].push_back(index);
        return true;
    });
}

void LabelPlacer::reserve(const QRectF& rect) { take(rect); }

bool LabelPlacer::tryTake(const QRectF& rect)
{
    if (!isFree(rect)) return false;
    take(rect);
    return true;
}

QRectF labelRectAt(const QSizeF& size, const QPointF& anchor, const QPointF& out, double gap)
{
    // The distance from the centre to the edge in the direction out.
    const double w = size.width() / 2, h = size.height() / 2;
    const double ax = std::fabs(out.x()), ay = std::fabs(out.y());
    double reach = 0;
    if (ax < 1e-12) reach = h;
    else if (ay < 1e-12) reach = w;
    else reach = std::min(w / ax, h / ay);
    const QPointF centre = anchor + out * (gap + reach);
    return QRectF(centre.x() - w, centre.y() - h, size.width(), size.height());
}

QRectF LabelPlacer::place(const QSizeF& size, const QPointF& anchor, const QPointF& out, double gap,
                          const QPointF& along, double slide, bool countSkip,
                          bool bothWays, const Accept& accept)
{
    // Nearest first: straight out, then slid sideways, then further out.
    const double step = std::max(2.0, std::min(size.width(), size.height()) * 0.5);
    const int outSteps = 4;
    const int slideSteps = slide > 0 ? std::max(1, static_cast<int>(slide / step)) : 0;
    for (int k = 0; k <= outSteps; ++k) {
        const QRectF base = labelRectAt(size, anchor, out, gap + k * step);
        if ((!accept || accept(base)) && tryTake(base)) return base;
        for (int s = 1; s <= slideSteps; ++s)
            for (int sign : {1, -1}) {
                if (sign < 0 && !bothWays) continue;
                const QRectF r = base.translated(along * (sign * s * step));
                if ((!accept || accept(r)) && tryTake(r)) return r;
            }
    }
    if (countSkip) ++skipped_;
    return QRectF();
}

} // namespace kjd
