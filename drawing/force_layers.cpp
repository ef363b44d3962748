// The force layers of the frame painter: the moment, shear and axial-force
// diagrams of one state, the envelopes of M and V, and the deflected shape.
#include "frame_painter.h"

#include "painter_ink.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace kjd {

using namespace ink;

namespace {

// The largest value over the stations of every member drawn.
template <class Drawn, class Value>
double largestAlong(const kj::InternalForces& f, int members, Drawn drawn, Value value)
{
    double largest = 0;
    for (int i = 1; i <= members; ++i) {
        if (!drawn(i)) continue;
        const kj::MemberForces& a = f.along[ix(i)];
        for (double x : a.stations()) largest = std::max(largest, value(a, x));
    }
    return largest;
}

} // namespace

// ---- Diagrams ---------------------------------------------------------------------------

template <class F>
std::vector<QPointF> FramePainter::diagram(QPainter& p, int i, F&& value, double scale, int side, const QColor& fill,
                                           const QColor& edge, bool curved)
{
    const kj::MemberForces& a = r_.forces.along[ix(i)];
    const QPointF A = end1(i), B = end2(i);
    const QPointF d = unit(B - A);
    // Right of travel in the painter's coordinates (y downward).
    const QPointF n = QPointF(-d.y(), d.x()) * side;
    const double L = std::max(a.length, 1e-9);
    QPolygonF poly;
    std::vector<QPointF> curve;
    poly << A;
    const std::vector<double> st = a.stations();
    for (std::size_t k = 1; k < st.size(); ++k) {
        // Between two stations the value is linear, or (a moment under a
        // distributed load) a parabola drawn in twelve pieces.
        bool loaded = false;
        for (const kj::MemberForces::Load& l : a.loads)
            if (l.x1 > l.x0 && l.x0 < st[k] - 1e-9 && l.x1 > st[k - 1] + 1e-9) loaded = true;
        const int pieces = curved && loaded ? 12 : 1;
        for (int q = 0; q <= pieces; ++q) {
            const double x = st[k - 1] + (st[k] - st[k - 1]) * q / pieces;
            // Just right of the interval's start, just left of its end.
            const double v = value(x, q == pieces);
            const QPointF pt = A + (B - A) * (x / L) + n * (v * scale);
            poly << pt;
            curve.push_back(pt);
        }
    }
    poly << B;
    // The fill without antialiasing (the outline over it gives the edge): a
    // fraction of the cost.
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.drawPolygon(poly);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setBrush(Qt::NoBrush);
    // The outline waits for every fill: a later member's fill never hides it.
    outlines_.push_back({curve, edge, false});
    for (std::size_t k = 1; k < curve.size(); ++k) placer_.addObstacle(QLineF(curve[k - 1], curve[k]));
    return curve;
}

void FramePainter::flushOutlines(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    for (const Outline& o : outlines_) {
        p.setPen(QPen(o.colour, style_.line, o.dashed ? Qt::DashLine : Qt::SolidLine));
        p.drawPolyline(o.points.data(), static_cast<int>(o.points.size()));
    }
    outlines_.clear();
}

void FramePainter::drawMoment(QPainter& p)
{
    const kj::FrameTopology& t = r_.topo();
    const kj::InternalForces& f = r_.forces;
    const double fp = style_.fontPixels;
    const double largest = largestAlong(f, t.memberCount(), [&](int i) { return drawn(i); },
                                        [](const kj::MemberForces& a, double x) { return std::fabs(a.M(x)); });
    const double scale = largest > 0 ? amplitude_ / largest : 0;
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (!drawn(i)) continue;
        const kj::MemberForces& a = f.along[ix(i)];
        diagram(p, i, [&](double x, bool) { return a.M(x); }, scale, 1, Palette::momentFill(), kMomentEdge, true);
    }
    flushOutlines(p);
    drawMembers(p, kInk, 1.6 * style_.line);
    drawSupports(p);

    // Values: the span maximum of each beam first, then both ends of every member.
    for (int i = 1; i <= t.NB; ++i) {
        const kj::MemberForces& a = f.along[ix(i)];
        const double X = f.X[ix(i)], Mo = f.Mo[ix(i)];
        if (!(X > 1e-9 && X < a.length - 1e-9)) continue;
        const QPointF A = end1(i), B = end2(i);
        const QPointF at = A + (B - A) * (X / a.length) + QPointF(0, Mo * scale);
        label(p,
              [&] {
                  Label l{fixed1(std::fabs(Mo)) + QStringLiteral("\nx=") + QString::number(X, 'f', 2), kMomentEdge, false,
                          fixed1(std::fabs(Mo))};
                  l.member = i;
                  l.what = QStringLiteral("跨中弯矩 (kN·m)");
                  return l;
              }(),
              at, QPointF(0, Mo >= 0 ? 1 : -1), 0.2 * fp, QPointF(1, 0), (B.x() - A.x()) / 4);
    }
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (!drawn(i)) continue;
        const kj::MemberForces& a = f.along[ix(i)];
        const QPointF A = end1(i), B = end2(i), d = unit(B - A), n(-d.y(), d.x());
        for (int e = 0; e < 2; ++e) {
            const double x = e == 0 ? 0 : a.length;
            const double v = a.M(x);
            if (std::fabs(v) < 0.05) continue;
            const QPointF at = (e == 0 ? A : B) + n * (v * scale);
            const QPointF inward = e == 0 ? d : -d;
            endLabel(p, valueLabel(fixed1(std::fabs(v)), kMomentEdge, i, endName(t.isBeam(i), e) + QStringLiteral("弯矩 (kN·m)")),
                     at, v >= 0 ? n : -n, inward,
                     std::hypot(B.x() - A.x(), B.y() - A.y()) * 0.3);
        }
    }
}

void FramePainter::drawShear(QPainter& p)
{
    const kj::FrameTopology& t = r_.topo();
    const kj::InternalForces& f = r_.forces;
    const double fp = style_.fontPixels;
    const double largest =
        largestAlong(f, t.memberCount(), [&](int i) { return drawn(i); }, [](const kj::MemberForces& a, double x) {
            return std::max(std::fabs(a.V(x)), std::fabs(a.V(x, true)));
        });
    const double scale = largest > 0 ? amplitude_ / largest : 0;
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (!drawn(i)) continue;
        const kj::MemberForces& a = f.along[ix(i)];
        // Positive shear on the left of travel: above a beam, right of a column.
        diagram(p, i, [&](double x, bool fromLeft) { return a.V(x, fromLeft); }, scale, -1, Palette::shearFill(),
                kShearEdge);
    }
    flushOutlines(p);
    drawMembers(p, kInk, 1.6 * style_.line);
    drawSupports(p);
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (!drawn(i)) continue;
        const kj::MemberForces& a = f.along[ix(i)];
        const QPointF A = end1(i), B = end2(i), d = unit(B - A), n = QPointF(d.y(), -d.x());
        const double len = std::hypot(B.x() - A.x(), B.y() - A.y());
        if (!t.isBeam(i)) {
            // A column's shear is constant: one value at mid-height.
            const double v = a.V1;
            label(p, valueLabel(fixed1(v), kShearEdge, i, QStringLiteral("剪力 (kN)")), (A + B) / 2 + n * (v * scale),
                  v >= 0 ? n : -n, 0.15 * fp, d,
                  len * 0.3);
            continue;
        }
        const double v1 = a.V(0), v2 = a.V(a.length, true);
        if (std::fabs(v1) >= 0.05)
            endLabel(p, valueLabel(fixed1(v1), kShearEdge, i, QStringLiteral("左端剪力 (kN)")), A + n * (v1 * scale),
                     v1 >= 0 ? n : -n, d, len * 0.3);
        if (std::fabs(v2) >= 0.05)
            endLabel(p, valueLabel(fixed1(v2), kShearEdge, i, QStringLiteral("右端剪力 (kN)")), B + n * (v2 * scale),
                     v2 >= 0 ? n : -n, -d, len * 0.3);
    }
}

void FramePainter::drawAxial(QPainter& p)
{
    const kj::FrameTopology& t = r_.topo();
    const kj::FrameModel& m = r_.model;
    const kj::InternalForces& f = r_.forces;
    const double fp = style_.fontPixels;
    if (m.continuousBeam) {
        // The props' reactions: the beam's load delivered to each support.
        drawMembers(p, kInk, 1.6 * style_.line);
        drawSupports(p);
        for (int n = 1; n <= t.NC; ++n) {
            const double R = f.R[ix(n)];
            const QPointF c = map(m.nodeX(n), m.nodeY(n)) + QPointF(0, 1.6 * fp);
            const QPointF from = c + QPointF(0, 2.4 * fp);
            if (R >= 0) arrow(p, from, c, kAxialEdge, 0.45 * fp);
            else arrow(p, c, from, kAxialEdge, 0.45 * fp);
            // A clamped end (a massive prop in the analysis) is a fixed support:
            // its vertical reaction and its moment, never the prop's own forces.
            const int line = t.nodeLine(n);
            const bool clamped = m.member(t.columnMember(line + 1)).b >= 1.0;
            QString text = QStringLiteral("R=") + fixed1(R);
            if (clamped) {
                const double M = line == 0 ? f.M1[1] : f.M2[ix(t.NB)];
                text += QStringLiteral("\nM=") + fixed1(std::fabs(M));
            }
            label(p, valueLabel(text, kAxialEdge, 0, QStringLiteral("支座%1 反力 (kN, kN·m)").arg(line + 1)), from,
                  QPointF(0, 1), 0.1 * fp, QPointF(1, 0), 2 * fp);
        }
        return;
    }
    double largest = 0;
    for (int c = 1; c <= t.NC; ++c) {
        const kj::MemberForces& a = f.along[ix(t.columnMember(c))];
        largest = std::max({largest, std::fabs(a.N1), std::fabs(a.N2)});
    }
    const double scale = largest > 0 ? amplitude_ / largest : 0;
    for (int c = 1; c <= t.NC; ++c) {
        const int i = t.columnMember(c);
        const kj::MemberForces& a = f.along[ix(i)];
        // Right of a column is left of its travel from top to foot.
        diagram(p, i, [&](double x, bool) { return a.N(x); }, scale, -1, Palette::axialFill(), kAxialEdge);
    }
    flushOutlines(p);
    drawMembers(p, kInk, 1.6 * style_.line);
    drawSupports(p);
    for (int c = 1; c <= t.NC; ++c) {
        const int i = t.columnMember(c);
        const kj::MemberForces& a = f.along[ix(i)];
        const QPointF A = end1(i), B = end2(i);
        const double len = B.y() - A.y();
        endLabel(p, valueLabel(fixed1(a.N1), kAxialEdge, i, QStringLiteral("柱顶轴力 (kN)")), A + QPointF(a.N1 * scale, 0),
                 QPointF(1, 0), QPointF(0, 1),
                 len * 0.3);
        endLabel(p, valueLabel(fixed1(a.N2), kAxialEdge, i, QStringLiteral("柱底轴力 (kN)")), B + QPointF(a.N2 * scale, 0),
                 QPointF(1, 0), QPointF(0, -1),
                 len * 0.3);
    }
}

// ---- Envelopes ---------------------------------------------------------------------------

void FramePainter::drawEnvelope(QPainter& p, bool moment)
{
    const kj::FrameTopology& t = r_.topo();
    const double fp = style_.fontPixels;
    const QColor edge = moment ? kMomentEdge : kShearEdge;
    // Moments on the tension side (right of travel: below a beam for
    // sagging), positive shears on the left of travel, as for one calculation.
    const int side = moment ? 1 : -1;
    std::vector<std::vector<kj::EnvelopePoint>>& points = envelopeCurves_[moment ? 0 : 1];
    const bool made = !points.empty();
    points.resize(ix(t.memberCount()) + 1);
    double largest = 0;
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (!drawn(i)) continue;
        if (!made) points[ix(i)] = kj::memberEnvelope(*envelope_, i, moment ? 12 : 1);
        for (const kj::EnvelopePoint& e : points[ix(i)])
            largest = std::max(largest, moment ? std::max(std::fabs(e.Mmax), std::fabs(e.Mmin))
                                               : std::max(std::fabs(e.Vmax), std::fabs(e.Vmin)));
    }
    const double scale = largest > 0 ? amplitude_ / largest : 0;
    const auto hi = [&](const kj::EnvelopePoint& e) { return moment ? e.Mmax : e.Vmax; };
    const auto lo = [&](const kj::EnvelopePoint& e) { return moment ? e.Mmin : e.Vmin; };
    QColor band = moment ? Palette::momentFill() : Palette::shearFill();
    for (int i = 1; i <= t.memberCount(); ++i) {
        const std::vector<kj::EnvelopePoint>& pts = points[ix(i)];
        if (pts.empty()) continue;
        const QPointF A = end1(i), B = end2(i), d = unit(B - A), n = QPointF(-d.y(), d.x()) * side;
        const double L = std::max(pts.back().x, 1e-9);
        const auto at = [&](double x, double v) { return A + (B - A) * (x / L) + n * (v * scale); };
        std::vector<QPointF> upper, lower;
        for (const kj::EnvelopePoint& e : pts) {
            upper.push_back(at(e.x, hi(e)));
            lower.push_back(at(e.x, lo(e)));
        }
        // The band between the two curves, then the curves: the largest
        // values solid, the least dashed.
        QPolygonF poly;
        poly << A;
        for (const QPointF& q : upper) poly << q;
        poly << B;
        for (auto q = lower.rbegin(); q != lower.rend(); ++q) poly << *q;
        p.setPen(Qt::NoPen);
        p.setBrush(band);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawPolygon(poly);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setBrush(Qt::NoBrush);
        outlines_.push_back({upper, edge, false});
        outlines_.push_back({lower, edge, true});
        for (const std::vector<QPointF>* c : {&upper, &lower})
            for (std::size_t k = 1; k < c->size(); ++k) placer_.addObstacle(QLineF((*c)[k - 1], (*c)[k]));
    }
    flushOutlines(p);
    drawMembers(p, kInk, 1.6 * style_.line);
    drawSupports(p);
    // A moment is labelled by its size (the side shows its sign), a shear with its sign.
    const auto text = [&](double v) { return moment ? fixed1(std::fabs(v)) : fixed1(v); };
    for (int i = 1; i <= t.memberCount(); ++i) {
        const std::vector<kj::EnvelopePoint>& pts = points[ix(i)];
        if (pts.empty()) continue;
        const QPointF A = end1(i), B = end2(i), d = unit(B - A), n = QPointF(-d.y(), d.x()) * side;
        const double len = std::hypot(B.x() - A.x(), B.y() - A.y());
        const double L = std::max(pts.back().x, 1e-9);
        // Both values at both ends; one when they are alike.
        for (int e = 0; e < 2; ++e) {
            const kj::EnvelopePoint& q = e == 0 ? pts.front() : pts.back();
            const QPointF end = e == 0 ? A : B;
            for (double v : {hi(q), lo(q)}) {
                if (std::fabs(v) < 0.05 || (v == lo(q) && text(v) == text(hi(q)))) continue;
                endLabel(p,
                         valueLabel(text(v), edge, i,
                                      endName(t.isBeam(i), e) + (moment ? QStringLiteral("弯矩") : QStringLiteral("剪力")) +
                                          (v == hi(q) ? QStringLiteral("最大值") : QStringLiteral("最小值"))),
                         end + n * (v * scale), v >= 0 ? n : -n, e == 0 ? d : -d, len * 0.3);
            }
        }
        // The extremes within a beam's span, where they pass those of its ends.
        if (!t.isBeam(i) || pts.size() < 3) continue;
        const auto interior = [&](auto&& value, bool larger) {
            std::size_t best = 1;
            for (std::size_t k = 1; k + 1 < pts.size(); ++k)
                if (larger ? value(pts[k]) > value(pts[best]) : value(pts[k]) < value(pts[best])) best = k;
            return best;
        };
        const std::size_t kh = interior(hi, true), kl = interior(lo, false);
        const double endHi = std::max(hi(pts.front()), hi(pts.back())), endLo = std::min(lo(pts.front()), lo(pts.back()));
        const auto extreme = [&](std::size_t k, double v) {
            const QPointF pt = A + (B - A) * (pts[k].x / L) + n * (v * scale);
            label(p,
                  valueLabel(text(v), edge, i,
                               QStringLiteral("跨内") + (moment ? QStringLiteral("弯矩") : QStringLiteral("剪力")) +
                                   (v == hi(pts[k]) ? QStringLiteral("最大值") : QStringLiteral("最小值"))),
                  pt, v >= 0 ? n : -n, 0.2 * fp, d, len / 4);
        };
        if (hi(pts[kh]) > endHi + 0.05 && std::fabs(hi(pts[kh])) >= 0.05) extreme(kh, hi(pts[kh]));
        if (lo(pts[kl]) < endLo - 0.05 && std::fabs(lo(pts[kl])) >= 0.05) extreme(kl, lo(pts[kl]));
    }
}

// ---- 变形图 -------------------------------------------------------------------------------

void FramePainter::drawDeflection(QPainter& p)
{
    const kj::FrameTopology& t = r_.topo();
    const kj::FrameModel& m = r_.model;
    const double fp = style_.fontPixels;
    drawMembers(p, kGrey, style_.line, true);
    drawSupports(p);
    const double scale = magnification_ * s_; // painter units per unit of displacement
    p.setPen(QPen(kDeflected, style_.line)); // a thin line: cheap, and clear in red
    p.setBrush(Qt::NoBrush);
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (!drawn(i)) continue;
        const DeflectedMember& d = shape_.members[ix(i)];
        if (d.s.empty()) continue;
        const QPointF A = end1(i), B = end2(i);
        const double L = r_.forces.along[ix(i)].length;
        QPolygonF line;
        for (std::size_t k = 0; k < d.s.size(); ++k)
            line << A + (B - A) * (d.s[k] / L) + QPointF(d.dx[k] * scale, -d.dy[k] * scale);
        p.drawPolyline(line);
    }
    // The drift of every storey, relative to the largest.
    if (m.continuousBeam) return;
    double most = 0;
    for (int J = 1; J <= t.NF; ++J) most = std::max(most, std::fabs(r_.forces.displacement[ix(t.drift(J))]));
    // Drifts that are rounding noise against the deflections (a symmetric
    // frame under symmetric loads) are no sway at all.
    const bool sway = most > 1e-9 * shape_.largest;
    // In mm where the modulus is known, else relative to the largest.
    const bool mm = !r_.displacements.empty();
    for (int J = 1; J <= t.NF; ++J) {
        double d = 0;
        if (sway) d = mm ? r_.displacements.drift[ix(J)] : r_.forces.displacement[ix(t.drift(J))] / most;
        const QPointF at = map(m.x.back(), (m.y[ix(J)] + m.y[ix(J + 1)]) / 2) +
                           QPointF(shape_.sway[ix(J)] * scale, 0);
        // Right of the deflected frame, or else left of it: every storey's drift is labelled.
        Label l = valueLabel(QStringLiteral("Δ%1=%2").arg(t.fromGround(J)).arg(QString::number(d, 'f', 2)), kDeflected, 0,
                               QStringLiteral("第%1层 (自下而上) 层间侧移 (相对值)").arg(t.fromGround(J)));
        l.otherSide = QPointF(-1, 0);
        const double storey = s_ * (m.y[ix(J)] - m.y[ix(J + 1)]);
        label(p, l, at, QPointF(1, 0), 0.4 * fp, QPointF(0, 1), std::max(1.0 * fp, 0.35 * storey));
    }
}

} // namespace kjd
