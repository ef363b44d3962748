#pragma once
// Places text labels on a drawing so that no two overlap: each label is
// tried at a list of candidate places, nearest its anchor first, and goes to
// the first place where it overlaps no label placed before it and stays
// inside the drawing's bounds; a label with no free place is skipped.
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <functional>
#include <vector>

namespace kjd {

class LabelPlacer {
public:
    // Labels are kept inside bounds (device coordinates of the painter).
    explicit LabelPlacer(const QRectF& bounds = QRectF());

    // Marks a rectangle as taken (a title, a legend) without a candidate search.
    void reserve(const QRectF& rect);

    // A label of the given size whose edge nearest the anchor lies `gap` away
    // from it in the direction `out` (a unit vector; the label's centre moves
    // along it), nudged further out in steps and sideways along `along`
    // (a unit vector, or zero for none) by up to `slide` on either side.
    // Returns the rectangle taken, or an empty rectangle when the label is skipped.
    // A label left out counts as skipped unless countSkip is false (a
    // shorter text will be tried next).
    // With bothWays false it slides only forward along `along`. A place that
    // accept refuses (one nearer another member than its own) is passed over.
    using Accept = std::function<bool(const QRectF&)>;
    QRectF place(const QSizeF& size, const QPointF& anchor, const QPointF& out, double gap,
                 const QPointF& along = QPointF(), double slide = 0, bool countSkip = true, bool bothWays = true,
                 const Accept& accept = {});

    // A line that no label may cross (a member, the outline of a diagram).
    void addObstacle(const QLineF& line);

    // Tries the rectangle as it is; takes it when it is free.
    bool tryTake(const QRectF& rect);

    bool isFree(const QRectF& rect) const;
    const std::vector<QRectF>& placed() const { return placed_; }
    int skipped() const { return skipped_; }

private:
    void take(const QRectF& rect);
    QRectF bounds_;
    std::vector<QRectF> placed_;
    int skipped_ = 0;
    // Buckets of a coarse grid over the bounds, holding indexes into placed_.
    double cell_ = 48; // at least; larger for very large bounds
    int columns_ = 1, rows_ = 1;
    std::vector<std::vector<int>> grid_;      // labels
    std::vector<QLineF> obstacles_;
    std::vector<std::vector<int>> lineGrid_;  // obstacles
    template <class F>
    void forCells(const QRectF& r, F&& f) const;
};

// The rectangle of a label of the given size whose edge nearest the anchor
// lies `gap` from it in the direction `out`.
QRectF labelRectAt(const QSizeF& size, const QPointF& anchor, const QPointF& out, double gap);

} // namespace kjd
