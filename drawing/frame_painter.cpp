#include "frame_painter.h"

#include "common/numbers.h"
#include "common/text.h"
#include "painter_ink.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace kjd {

using namespace ink;

namespace {

QString mm(double metres) { return QString::number(std::lround(metres * 1000)); }

} // namespace

QString barNotation(const kj::BeamSectionDesign& section, bool span)
{
    if (section.failed()) return QStringLiteral("截面不足");
    const kj::BarArrangement& b = section.bars;
    const auto part = [](double n, double d) {
        return QString::fromStdString(kj::shortestDecimal(n)) + QStringLiteral("Φ") +
               QString::fromStdString(kj::shortestDecimal(d));
    };
    QString text;
    if (b.k > 0 && b.e == b.d) text = part(b.n + b.k, b.d);
    else {
        if (b.n > 0) text = part(b.n, b.d);
        if (b.k > 0) text += (text.isEmpty() ? QString() : QStringLiteral("+")) + part(b.k, b.e);
    }
    if (text.isEmpty()) return QString::fromStdString(section.barString);
    // Two layers: the upper layer first, as the bar string writes them.
    if (b.second > 0) {
        const double upper = span ? b.second : b.outer, lower = span ? b.outer : b.second;
        text += QStringLiteral(" %1/%2").arg(QString::fromStdString(kj::shortestDecimal(upper)),
                                             QString::fromStdString(kj::shortestDecimal(lower)));
    }
    return text;
}

QString stirrupNotation(const kj::Stirrups& s)
{
    return QStringLiteral("Φ%1@%2(%3)").arg(s.diameter).arg(s.spacing).arg(s.legs);
}

QString steelGradeName(double fy)
{
    if (fy == 210) return QStringLiteral("HPB235");
    if (fy == 270) return QStringLiteral("HPB300");
    if (fy == 300) return QStringLiteral("HRB335");
    if (fy == 360) return QStringLiteral("HRB400");
    if (fy == 435) return QStringLiteral("HRB500");
    return QStringLiteral("fy=") + QString::fromStdString(kj::shortestDecimal(fy));
}

double stirrupStrength(const kj::CalculationResult& r)
{
    return r.options.code == kj::DesignCode::Gb50010_2010 ? r.options.fyv : 210;
}

double floorForce(const kj::InternalForces& f, int storey)
{
    const auto V = [&](int J) { return J >= 1 && static_cast<std::size_t>(J) < f.storeyShear.size() ? f.storeyShear[ix(J)] : 0.0; };
    return V(storey) - V(storey - 1);
}

QString shownName(const std::string& name) { return QString::fromStdString(kj::clipText(name, kShownNameChars)); }

QString layerTitle(Layer layer)
{
    switch (layer) {
    case Layer::Geometry: return QStringLiteral("计算简图");
    case Layer::Loads: return QStringLiteral("荷载");
    case Layer::Moment: return QStringLiteral("弯矩图");
    case Layer::Shear: return QStringLiteral("剪力图");
    case Layer::Axial: return QStringLiteral("轴力图");
    case Layer::Deflection: return QStringLiteral("变形图");
    case Layer::Drift: return QStringLiteral("层间位移");
    case Layer::Reinforcement: return QStringLiteral("配筋图");
    }
    return QString();
}

QString drawingFontFamily()
{
    static const QString family = [] {
        const QStringList wanted{QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Noto Sans CJK SC"),
                                 QStringLiteral("Source Han Sans SC"), QStringLiteral("SimSun"),
                                 QStringLiteral("AR PL UMing CN")};
        const QStringList have = QFontDatabase::families();
        for (const QString& f : wanted)
            if (have.contains(f)) return f;
        return wanted.front();
    }();
    return family;
}

QFont drawingFont(double pixels, bool bold)
{
    QFont font(drawingFontFamily());
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

FramePainter::FramePainter(const kj::CalculationResult& result, const kj::EnvelopeResult* envelope)
    : r_(result), envelope_(envelope),
      // The envelope is no state of equilibrium: it has no forces along the members and no deflection.
      shape_(result.forces.along.size() > ix(result.topo().memberCount()) ? deflectedShape(result) : DeflectedShape{})
{
}

QStringList shownNames(const kj::EnvelopeResult& e)
{
    QStringList names{QStringLiteral("包络")};
    for (std::size_t k = 0; k < e.cases.size(); ++k)
        names << shownCaption(e, Shown{Shown::Kind::Case, static_cast<int>(k)}).mid(3);
    for (const kj::CombinationResult& c : e.combinations) names << QString::fromStdString(c.combination.name);
    return names;
}

Shown shownAt(const kj::EnvelopeResult& e, int row)
{
    const int cases = static_cast<int>(e.cases.size());
    if (row <= 0) return {};
    if (row <= cases) return {Shown::Kind::Case, row - 1};
    return {Shown::Kind::Combination, std::min(row - 1 - cases, static_cast<int>(e.combinations.size()) - 1)};
}

QString shownCaption(const kj::EnvelopeResult& e, const Shown& shown)
{
    switch (shown.kind) {
    case Shown::Kind::Envelope: return QStringLiteral("包络");
    case Shown::Kind::Case: {
        const kj::LoadCaseKind kind = e.cases[ix(shown.index)].kind;
        return QStringLiteral("工况 %1 %2%3")
            .arg(QString::fromLatin1(kj::caseLetter(kind)), QString::fromUtf8(kj::caseTitle(kind)),
                 kind == kj::LoadCaseKind::W    ? QStringLiteral(" (左风)")
                 : kind == kj::LoadCaseKind::W2 ? QStringLiteral(" (右风)")
                 : kind == kj::LoadCaseKind::E  ? QStringLiteral(" (左震)")
                                                : QString());
    }
    case Shown::Kind::Combination: return QStringLiteral("组合 ") + QString::fromStdString(e.name(shown.index));
    }
    return QString();
}

kj::CalculationResult shownCalculation(const kj::EnvelopeResult& e, const Shown& shown)
{
    switch (shown.kind) {
    case Shown::Kind::Envelope: break;
    case Shown::Kind::Case: return e.cases[ix(shown.index)].result;
    case Shown::Kind::Combination: {
        kj::CalculationResult r = e.envelope;
        r.forces = e.combinations[ix(shown.index)].forces;
        r.displacements = e.combinations[ix(shown.index)].displacements;
        r.residuals = kj::EquilibriumResiduals{};
        r.beams.clear();
        r.columns.clear();
        return r;
    }
    }
    return e.envelope;
}

// ---- Geometry of the drawing ---------------------------------------------------

bool FramePainter::drawn(int i) const { return r_.topo().isBeam(i) || !r_.model.continuousBeam; }

QPointF FramePainter::end1(int i) const
{
    const kj::FrameTopology& t = r_.topo();
    const kj::FrameModel& m = r_.model;
    if (t.isBeam(i)) return map(m.nodeX(t.leftNode(i)), m.nodeY(t.leftNode(i)));
    const int c = i - t.NB;
    return map(m.x[ix(t.columnLine(c))], m.y[ix(t.columnStorey(c))]);
}

QPointF FramePainter::end2(int i) const
{
    const kj::FrameTopology& t = r_.topo();
    const kj::FrameModel& m = r_.model;
    if (t.isBeam(i)) return map(m.nodeX(t.rightNode(i)), m.nodeY(t.rightNode(i)));
    const int c = i - t.NB;
    return map(m.x[ix(t.columnLine(c))], m.y[ix(t.columnStorey(c) + 1)]);
}

FramePainter::Extent FramePainter::extent() const
{
    const kj::FrameModel& m = r_.model;
    const kj::FrameTopology& t = m.topo;
    Extent e;
    e.W = m.x.empty() ? 1 : std::max(m.x.back(), 1e-6);
    // A continuous beam has no storey: its height is the room of its diagrams.
    e.H = m.continuousBeam || m.y.size() < 2 ? 0 : m.y[1];
    e.minBay = e.W;
    for (int k = 1; k <= t.L; ++k) e.minBay = std::min(e.minBay, m.x[ix(k)] - m.x[ix(k - 1)]);
    if (!m.continuousBeam)
        for (int J = 1; J <= t.NF; ++J) e.minBay = std::min(e.minBay, m.y[ix(J)] - m.y[ix(J + 1)]);
    if (!(e.minBay > 0)) e.minBay = e.W;
    e.room = 2 * kAmplitude * e.minBay;
    return e;
}

// Margins around the frame, in units of the text height: room for the
// storey dimensions and shears on the left, column labels on the right,
// spans and supports below.
namespace {
constexpr double kLeft = 6.5, kRight = 4.5, kTop = 1.5, kBottom = 4.5;
}

double FramePainter::preferredHeight(double width) const
{
    const double f = style_.fontPixels;
    const double heading = style_.title ? 3.6 * QFontMetricsF(drawingFont(f)).height() : 0;
    const Extent e = extent();
    const double s = (width - (kLeft + kRight) * f) / (e.W + e.room);
    return heading + (kTop + kBottom) * f + std::max(0.0, s) * (e.H + e.room);
}

void FramePainter::layout(const QRectF& target, double headingHeight)
{
    const kj::FrameModel& m = r_.model;
    const Extent e = extent();
    minBay_ = e.minBay;
    const double f = style_.fontPixels;
    const double left = kLeft * f, right = kRight * f, top = headingHeight + kTop * f, bottom = kBottom * f;
    const double sx = (target.width() - left - right) / (e.W + e.room);
    const double sy = (target.height() - top - bottom) / (e.H + e.room);
    s_ = std::max(1e-6, std::min(sx, sy));
    amplitude_ = kAmplitude * minBay_ * s_;
    const double usedW = s_ * (e.W + e.room), usedH = s_ * (e.H + e.room);
    ox_ = target.left() + left + (target.width() - left - right - usedW) / 2 + amplitude_;
    const double yLow = m.continuousBeam && m.y.size() > 1 ? m.y[1] : 0;
    const double bottomPx = target.top() + top + (target.height() - top - bottom - usedH) / 2 + usedH - amplitude_;
    oy_ = bottomPx + s_ * yLow;
}

// ---- Labels ----------------------------------------------------------------------

QSizeF FramePainter::labelSize(const QString& text, bool bold, bool small) const
{
    // The same texts come back at every paint (zooming, switching layers).
    QHash<QString, QSizeF>& cache = small ? smallSizes_ : bold ? boldSizes_ : sizes_;
    const auto hit = cache.constFind(text);
    if (hit != cache.constEnd()) return *hit;
    const QFontMetricsF& fm = small ? *smallMetrics_ : bold ? *boldMetrics_ : *metrics_;
    double w = 0;
    int lines = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        w = std::max(w, fm.horizontalAdvance(line));
        ++lines;
    }
    const double pad = 0.15 * (small ? style_.smallFontPixels : style_.fontPixels);
    const QSizeF size(w + 2 * pad, lines * fm.height() + pad);
    cache.insert(text, size);
    return size;
}

void FramePainter::drawLabelAt(QPainter& p, const Label& l, const QRectF& rect)
{
    // A light veil: the text reads over lines and fills that still show through.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(rect, QColor(255, 255, 255, 210));
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(l.colour);
    const QFont& font = l.small ? small_ : l.bold ? bold_ : font_;
    p.setFont(font);
    // Line by line, each laid out once and kept: the same texts come back at
    // every paint, and laying out is most of the cost of a text.
    const QFontMetricsF& fm = l.small ? *smallMetrics_ : l.bold ? *boldMetrics_ : *metrics_;
    QHash<QString, QStaticText>& cache = l.small ? smallTexts_ : l.bold ? boldTexts_ : texts_;
    const QStringList lines = l.text.split(QLatin1Char('\n'));
    double y = rect.center().y() - fm.height() * lines.size() / 2;
    for (const QString& line : lines) {
        auto it = cache.find(line);
        if (it == cache.end()) {
            QStaticText text(line);
            text.setTextFormat(Qt::PlainText);
            text.setPerformanceHint(QStaticText::AggressiveCaching);
            text.prepare(QTransform(), font);
            it = cache.insert(line, text);
        }
        p.drawStaticText(QPointF(rect.center().x() - it->size().width() / 2, y), *it);
        y += fm.height();
    }
}

bool FramePainter::label(QPainter&, const Label& l, const QPointF& anchor, const QPointF& out, double gap,
                         const QPointF& along, double slide, std::optional<QPointF> leaderTo, bool bothWays)
{
    // A value of a member keeps to its member: no place nearer another one.
    LabelPlacer::Accept accept;
    if (l.member > 0) accept = [this, member = l.member](const QRectF& r) { return nearOwnMember(member, r.center()); };
    const auto take = [&](const Label& shown, bool lastTry) {
        const QSizeF size = labelSize(shown.text, shown.bold, shown.small);
        QPointF dir = out;
        QRectF rect = placer_.place(size, anchor, dir, gap, along, slide, lastTry && l.otherSide.isNull(), bothWays,
                                    accept);
        if (rect.isEmpty() && !l.otherSide.isNull()) {
            dir = l.otherSide;
            rect = placer_.place(size, anchor, dir, gap, along, slide, lastTry, bothWays, accept);
        }
        if (rect.isEmpty()) return false;
        // A label pushed away from its first place gets a thin leader back to its point.
        const QRectF first = labelRectAt(size, anchor, dir, gap);
        QLineF leader;
        if (QLineF(first.center(), rect.center()).length() >= 0.9 * style_.fontPixels) {
            const QPointF to = leaderTo.value_or(anchor);
            leader = QLineF(to, QPointF(std::clamp(to.x(), rect.left(), rect.right()),
                                        std::clamp(to.y(), rect.top(), rect.bottom())));
        }
        pending_.push_back({shown, rect, leader});
        if (l.member > 0) memberLabels_.push_back({l.member, shown.text, anchor, rect});
        return true;
    };
    const bool isValue = l.member > 0 || !l.what.isEmpty();
    // The full text, a shorter one, then (a value) the shorter or full text in the small face.
    std::vector<Label> tries{l};
    if (!l.shorter.isEmpty()) {
        Label shorter{l.shorter, l.colour, l.bold};
        shorter.otherSide = l.otherSide;
        shorter.member = l.member;
        tries.push_back(shorter);
    }
    if (isValue && !l.small && style_.smallFontPixels < style_.fontPixels) {
        Label small = tries.back();
        small.small = true;
        small.bold = false;
        tries.push_back(small);
    }
    bool placed = false;
    for (std::size_t k = 0; k < tries.size() && !placed; ++k) placed = take(tries[k], k + 1 == tries.size());
    if (!isValue) return placed;
    DrawnValue v{l.member, l.what, l.text, leaderTo.value_or(anchor), placed, 0};
    if (!placed && style_.callouts) {
        // A numbered mark at the value's place; the number leads to the list beside the drawing.
        int n = 1;
        for (const DrawnValue& other : values_) n += other.drawn ? 0 : 1;
        Label mark{QStringLiteral("[%1]").arg(n), l.colour};
        mark.small = true;
        const QSizeF size = labelSize(mark.text, false, true);
        const QRectF rect = placer_.place(size, anchor, out, 0.1 * style_.fontPixels, along, slide, false, true, accept);
        if (!rect.isEmpty()) pending_.push_back({mark, rect, QLineF()});
        v.callout = n;
    }
    values_.push_back(v);
    return placed;
}

std::vector<DrawnValue> FramePainter::droppedValues() const
{
    std::vector<DrawnValue> out;
    for (const DrawnValue& v : values_)
        if (!v.drawn) out.push_back(v);
    return out;
}

QString FramePainter::memberName(int i) const
{
    const kj::FrameTopology& t = r_.topo();
    if (i <= 0) return QString();
    return t.isBeam(i) ? QStringLiteral("梁%1").arg(i) : QStringLiteral("柱%1").arg(i - t.NB);
}

bool FramePainter::nearOwnMember(int i, const QPointF& pt) const
{
    const kj::FrameTopology& t = r_.topo();
    const kj::FrameModel& m = r_.model;
    if (i <= 0 || i > t.memberCount()) return true;
    const QPointF A = end1(i), B = end2(i);
    const double tol = 0.5;
    // Half the distance to the next level or line on either side (m), or the
    // whole room on a side where there is none.
    const auto halfway = [](const std::vector<double>& at, std::size_t k, double room) {
        const double before = k > 0 ? (at[k] - at[k - 1]) / 2 : room;
        const double after = k + 1 < at.size() ? (at[k + 1] - at[k]) / 2 : room;
        return std::pair{before, after};
    };
    if (t.isBeam(i)) {
        if (pt.x() < std::min(A.x(), B.x()) - tol || pt.x() > std::max(A.x(), B.x()) + tol) return false;
        if (m.continuousBeam) return true;
        // Levels from the ground up: y[NF+1] = 0 ... y[1] the roof.
        std::vector<double> levels;
        for (int J = t.NF + 1; J >= 1; --J) levels.push_back(m.y[ix(J)]);
        const std::size_t k = ix(t.NF + 1 - t.beamStorey(i));
        const auto [below, above] = halfway(levels, k, 1e9);
        const double dy = (A.y() - pt.y()) / s_; // metres above the beam
        return dy <= above + tol / s_ && -dy <= below + tol / s_;
    }
    const int c = i - t.NB;
    if (pt.y() < std::min(A.y(), B.y()) - tol || pt.y() > std::max(A.y(), B.y()) + tol) return false;
    const auto [left, right] = halfway(m.x, ix(t.columnLine(c)), 1e9);
    const double dx = (pt.x() - A.x()) / s_;
    return dx <= right + tol / s_ && -dx <= left + tol / s_;
}

QString FramePainter::valueNear(const QPointF& point, double reach) const
{
    const DrawnValue* best = nullptr;
    double bestDistance = reach;
    for (const DrawnValue& v : values_) {
        const double d = QLineF(point, v.at).length();
        if (d <= bestDistance) {
            bestDistance = d;
            best = &v;
        }
    }
    if (!best) return QString();
    const QString who = best->member > 0 ? memberName(best->member) + QLatin1Char(' ') : QString();
    return who + best->what + QStringLiteral(": ") + best->text;
}

bool FramePainter::endLabel(QPainter& p, const Label& l, const QPointF& at, const QPointF& out,
                            const QPointF& inward, double slide)
{
    const QSizeF size = labelSize(l.text, l.bold);
    const double extent = std::fabs(inward.x()) * size.width() + std::fabs(inward.y()) * size.height();
    const QPointF anchor = at + inward * (extent / 2 + 0.15 * style_.fontPixels);
    return label(p, l, anchor, out, 0.15 * style_.fontPixels, inward, slide, at, false);
}

void FramePainter::flushLabels(QPainter& p)
{
    // Leaders first, so that no leader runs over a text.
    for (const Pending& q : pending_) {
        if (q.leader.isNull()) continue;
        QColor c = q.label.colour;
        c.setAlpha(150);
        p.setPen(QPen(c, 0.6 * style_.line));
        p.drawLine(q.leader);
    }
    for (const Pending& q : pending_) {
        drawLabelAt(p, q.label, q.rect);
        texts_drawn_.push_back(q.label.text);
    }
    pending_.clear();
}

void FramePainter::arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour, double head)
{
    p.setPen(QPen(colour, style_.line));
    p.drawLine(from, to);
    const QPointF d = unit(to - from), n(-d.y(), d.x());
    QPolygonF tip;
    tip << to << to - d * head + n * head * 0.4 << to - d * head - n * head * 0.4;
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawPolygon(tip);
    p.setBrush(Qt::NoBrush);
}

// ---- Paint --------------------------------------------------------------------------

void FramePainter::paint(QPainter& p, const QRectF& target, Layer layer)
{
    target_ = target;
    font_ = drawingFont(style_.fontPixels);
    bold_ = drawingFont(style_.fontPixels * 1.2, true);
    small_ = drawingFont(std::min(style_.smallFontPixels, style_.fontPixels));
    if (!metrics_ || font_ != metrics_font_) {
        metrics_.emplace(font_);
        boldMetrics_.emplace(bold_);
        metrics_font_ = font_;
        sizes_.clear();
        boldSizes_.clear();
        texts_.clear();
        boldTexts_.clear();
    }
    if (!smallMetrics_ || small_ != metrics_small_) {
        smallMetrics_.emplace(small_);
        metrics_small_ = small_;
        smallSizes_.clear();
        smallTexts_.clear();
    }
    values_.clear();
    memberLabels_.clear();
    outlines_.clear();
    lineHeight_ = metrics_->height();
    placer_ = LabelPlacer(target);
    pending_.clear();
    texts_drawn_.clear();
    // The frame goes below the title and legend; the legend may need more
    // lines than the first guess in a narrow drawing.
    std::vector<std::pair<Label, QRectF>> heading;
    double headingHeight = style_.title ? 2.4 * lineHeight_ : 0;
    for (int pass = 0; pass < 2; ++pass) {
        layout(target, headingHeight);
        // The largest displacement is drawn as large as the largest diagram ordinate.
        magnification_ = shape_.largest > 0 ? amplitude_ / shape_.largest / s_ : 0;
        if (!style_.title) break;
        heading = titleLabels(layer);
        const double needed = heading.back().second.bottom() - target.top();
        if (needed <= headingHeight + 0.5) break;
        headingHeight = needed;
    }

    p.save();
    p.setRenderHint(QPainter::TextAntialiasing, true);
    if (style_.fillBackground) p.fillRect(target, Qt::white);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setClipRect(target);
    // The title and legend take their place first: they are always drawn.
    for (const auto& [l, rect] : heading) placer_.reserve(rect);
    const bool state = r_.forces.along.size() > ix(r_.topo().memberCount());
    const QString chooseOne = QStringLiteral("包络只画弯矩图、剪力图和配筋图; 此图请选择一个工况或组合");
    switch (layer) {
    case Layer::Geometry: drawGeometry(p); break;
    case Layer::Loads:
        if (state) drawLoads(p);
        else drawNote(p, chooseOne);
        break;
    case Layer::Moment:
        if (envelope_) drawEnvelope(p, true);
        else if (state) drawMoment(p);
        else drawNote(p, chooseOne);
        break;
    case Layer::Shear:
        if (envelope_) drawEnvelope(p, false);
        else if (state) drawShear(p);
        else drawNote(p, chooseOne);
        break;
    case Layer::Axial:
        if (state) drawAxial(p);
        else drawNote(p, chooseOne);
        break;
    case Layer::Deflection:
        if (state) drawDeflection(p);
        else drawNote(p, chooseOne);
        break;
    case Layer::Drift:
        if (state) drawDrift(p);
        else drawNote(p, chooseOne);
        break;
    case Layer::Reinforcement:
        if (r_.beams.size() > ix(r_.topo().NB)) drawReinforcement(p);
        else drawNote(p, QStringLiteral("配筋只按包络设计: 配筋图请选择包络"));
        break;
    }
    // The drawing says when values found no room: numbered, listed beside it.
    if (style_.callouts && style_.title) {
        const std::size_t dropped = droppedValues().size();
        if (dropped > 0) {
            const Label note{QStringLiteral("图中 [n] 处的 %1 个数值无处标注, 列于图后的表中").arg(dropped), kFailed};
            const QRectF below = heading.back().second;
            const QSizeF size = labelSize(note.text);
            QRectF rect(below.left(), below.bottom(), size.width(), size.height());
            if (!placer_.tryTake(rect)) rect.moveTop(target_.bottom() - size.height() - 0.3 * style_.fontPixels);
            heading.push_back({note, rect});
        }
    }
    flushLabels(p);
    for (const auto& [l, rect] : heading) {
        drawLabelAt(p, l, rect);
        texts_drawn_.push_back(l.text);
    }
    p.restore();
}

std::vector<std::pair<FramePainter::Label, QRectF>> FramePainter::titleLabels(Layer layer) const
{
    QString legend;
    switch (layer) {
    case Layer::Geometry: legend = QStringLiteral("长度 m, 截面 b×h mm; 节点号在圆圈旁"); break;
    case Layer::Loads:
        legend = QStringLiteral("均布荷载 kN/m, 集中力 kN (向下为正); 节点弯矩 kN·m (逆时针为正); "
                                "楼面水平力 kN (左侧箭头, 向右为正); 层间剪力 V kN (右侧灰字)");
        break;
    case Layer::Moment:
        legend = envelope_ ? QStringLiteral("弯矩包络画在受拉一侧, kN·m; 实线为各组合的最大值, 虚线为最小值 (调幅前)")
                           : QStringLiteral("弯矩画在受拉一侧, kN·m; 跨中最大值下注距左端的位置 x (m)");
        break;
    case Layer::Shear:
        legend = QStringLiteral("剪力以使杆段顺时针转动为正, 正值画在梁的上方、柱的右侧, kN");
        if (envelope_) legend += QStringLiteral("; 实线为各组合的最大值, 虚线为最小值");
        break;
    case Layer::Axial:
        legend = r_.model.continuousBeam ? QStringLiteral("连续梁: 各支座的竖向反力 R (kN, 向上为正); 嵌固端另注支座弯矩 M (kN·m)")
                                         : QStringLiteral("柱轴力, 压力为正, 画在柱的右侧, kN (柱顶和柱底)");
        break;
    case Layer::Deflection:
        legend = QStringLiteral("变形放大显示: 最大位移画为最小跨度或层高的 %1%").arg(std::lround(kAmplitude * 100));
        if (r_.model.continuousBeam || r_.displacements.empty()) {
            legend += QStringLiteral("; 位移为以 b·h³ 代替 EI 的相对值, 未计弹性模量");
            if (!r_.model.continuousBeam) legend += QStringLiteral("; 层间侧移 Δ 以最大者为 1");
        } else {
            legend += QStringLiteral("; 层间侧移 Δ (mm) 按 Ec = %1 N/mm² 计")
                          .arg(QString::number(r_.displacements.Ec, 'f', 0));
        }
        break;
    case Layer::Drift: legend = driftLegend(); break;
    case Layer::Reinforcement:
        legend = QStringLiteral("梁: 上为支座负筋, 下为跨中底筋和箍筋 (Φ直径@间距(肢数)); 纵筋 %1, 箍筋 %2; "
                                "柱: 每侧 As=As' (mm²); 红字: 截面不足")
                     .arg(steelGradeName(r_.materials.Fy), steelGradeName(stirrupStrength(r_)));
        break;
    }
    const double pad = 0.3 * style_.fontPixels;
    const double room = target_.width() - 2 * pad;
    // A legend wider than the drawing breaks after its semicolons.
    if (labelSize(legend).width() > room) legend.replace(QStringLiteral("; "), QStringLiteral("\n"));
    QString title = shownName(r_.model.name) + QStringLiteral("  ") + layerTitle(layer);
    if (!caption_.isEmpty()) title += QStringLiteral("  ") + caption_;
    const QSizeF ts = labelSize(title, true), ls = labelSize(legend);
    const QRectF tr(target_.left() + pad, target_.top() + pad, std::min(ts.width(), room), ts.height());
    const QRectF lr(target_.left() + pad, tr.bottom(), std::min(ls.width(), room), ls.height());
    return {{Label{title, kInk, true}, tr}, {Label{legend, QColor(90, 90, 90)}, lr}};
}

void FramePainter::drawMembers(QPainter& p, const QColor& colour, double width, bool dashed)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    if (dashed) pen.setStyle(Qt::DashLine);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.setRenderHint(QPainter::Antialiasing, dashed);
    for (int i = 1; i <= r_.topo().memberCount(); ++i)
        if (drawn(i)) {
            const QPointF a = end1(i), b = end2(i);
            // Beams and columns lie along the axes: a filled band is much
            // cheaper than a stroked line.
            if (!dashed && (a.x() == b.x() || a.y() == b.y()))
                p.fillRect(QRectF(a, b).normalized().adjusted(a.x() == b.x() ? -width / 2 : 0,
                                                               a.y() == b.y() ? -width / 2 : 0,
                                                               a.x() == b.x() ? width / 2 : 0,
                                                               a.y() == b.y() ? width / 2 : 0),
                           colour);
            else
                p.drawLine(a, b);
            placer_.addObstacle(QLineF(a, b));
        }
    p.setRenderHint(QPainter::Antialiasing, true);
}

void FramePainter::drawSupports(QPainter& p)
{
    const kj::FrameTopology& t = r_.topo();
    const kj::FrameModel& m = r_.model;
    const double a = 0.8 * style_.fontPixels;
    p.setPen(QPen(kInk, style_.line));
    p.setBrush(Qt::NoBrush);
    const auto fixedAt = [&](const QPointF& c, bool below) {
        // A base line with hatching on the ground side.
        p.drawLine(c - QPointF(a, 0), c + QPointF(a, 0));
        const double dir = below ? 1 : -1;
        for (int k = 0; k < 5; ++k) {
            const double x = c.x() - a + k * a / 2;
            p.drawLine(QPointF(x, c.y()), QPointF(x - a / 2, c.y() + dir * a / 2));
        }
    };
    if (!m.continuousBeam) {
        for (int c = t.firstColumnOfStorey(t.NF); c <= t.NC; ++c) fixedAt(end2(t.columnMember(c)), true);
        return;
    }
    // A continuous beam: a pin under every prop, a fixed support where the
    // end fixity code clamps the end with a massive prop.
    for (int line = 0; line <= t.L; ++line) {
        const int prop = t.columnMember(line + 1);
        const QPointF c = end1(prop);
        if (m.member(prop).b >= 1.0) {
            p.drawLine(c + QPointF(0, -a), c + QPointF(0, a));
            const double dir = line == 0 ? -1 : 1;
            for (int k = 0; k < 5; ++k) {
                const double y = c.y() - a + k * a / 2;
                p.drawLine(QPointF(c.x(), y), QPointF(c.x() + dir * a / 2, y + a / 2));
            }
        } else {
            QPolygonF tri;
            tri << c << c + QPointF(-a * 0.6, a) << c + QPointF(a * 0.6, a) << c;
            p.drawPolyline(tri);
            p.drawLine(c + QPointF(-a, a), c + QPointF(a, a));
            for (int k = 0; k < 4; ++k) {
                const double x = c.x() - a + k * a * 2 / 3;
                p.drawLine(QPointF(x + a / 3, c.y() + a), QPointF(x, c.y() + 1.4 * a));
            }
        }
    }
}

// ---- 计算简图 -------------------------------------------------------------------------

void FramePainter::drawGeometry(QPainter& p)
{
    const kj::FrameTopology& t = r_.topo();
    const kj::FrameModel& m = r_.model;
    const double f = style_.fontPixels;
    drawMembers(p, kInk, 2.2 * style_.line);
    drawSupports(p);

    // Spans along the bottom, storey heights along the left.
    p.setPen(QPen(kGrey, style_.line));
    const double yDim = (m.continuousBeam ? end1(1).y() + 2.4 * f : map(0, 0).y() + 2.4 * f);
    for (int k = 1; k <= t.L; ++k) {
        const QPointF a(map(m.x[ix(k - 1)], 0).x(), yDim), b(map(m.x[ix(k)], 0).x(), yDim);
        p.drawLine(a, b);
        for (const QPointF& e : {a, b}) p.drawLine(e + QPointF(-0.3 * f, 0.3 * f), e + QPointF(0.3 * f, -0.3 * f));
        label(p, Label{QString::number(m.x[ix(k)] - m.x[ix(k - 1)], 'f', 2), kInk}, (a + b) / 2, QPointF(0, 1),
              0.2 * f, QPointF(1, 0), (b.x() - a.x()) / 3);
    }
    if (!m.continuousBeam) {
        const double xDim = map(0, 0).x() - amplitude_ * 0.5 - 2.0 * f;
        for (int J = 1; J <= t.NF; ++J) {
            const QPointF a(xDim, map(0, m.y[ix(J)]).y()), b(xDim, map(0, m.y[ix(J + 1)]).y());
            p.drawLine(a, b);
            for (const QPointF& e : {a, b}) p.drawLine(e + QPointF(-0.3 * f, 0.3 * f), e + QPointF(0.3 * f, -0.3 * f));
            label(p, Label{QString::number(m.y[ix(J)] - m.y[ix(J + 1)], 'f', 2), kInk}, (a + b) / 2, QPointF(-1, 0),
                  0.2 * f, QPointF(0, 1), (b.y() - a.y()) / 3);
        }
    }

    // Joints: a small circle and the number beside it.
    const double rad = 0.22 * f;
    p.setPen(QPen(kInk, style_.line));
    p.setBrush(Qt::white);
    for (int n = 1; n <= t.NC; ++n) p.drawEllipse(map(m.nodeX(n), m.nodeY(n)), rad, rad);
    p.setBrush(Qt::NoBrush);

    // Member numbers and sections: beams above their middle, columns to the right.
    for (int i = 1; i <= t.NB; ++i) {
        const kj::Member& mem = m.member(i);
        const QPointF a = end1(i), b = end2(i);
        Label l{QStringLiteral("梁%1 %2×%3").arg(i).arg(mm(mem.b), mm(mem.h)), kInk, false, QStringLiteral("梁%1").arg(i)};
        l.member = i;
        l.what = QStringLiteral("截面 b×h (mm)");
        label(p, l, (a + b) / 2,
              QPointF(0, -1), 0.2 * f, QPointF(1, 0), (b.x() - a.x()) * 0.3);
    }
    if (!m.continuousBeam)
        for (int c = 1; c <= t.NC; ++c) {
            const int i = t.columnMember(c);
            const kj::Member& mem = m.member(i);
            const QPointF a = end1(i), b = end2(i);
            Label l{QStringLiteral("柱%1\n%2×%3").arg(c).arg(mm(mem.b), mm(mem.h)), kInk, false, QStringLiteral("柱%1").arg(c)};
            l.member = i;
            l.what = QStringLiteral("截面 b×h (mm)");
            label(p, l, (a + b) / 2,
                  QPointF(1, 0), 0.3 * f, QPointF(0, 1), (b.y() - a.y()) * 0.3);
        }
    for (int n = 1; n <= t.NC; ++n)
        label(p, Label{QString::number(n), kGrey}, map(m.nodeX(n), m.nodeY(n)), unit(QPointF(-1, 1)), rad);
}

// ---- 荷载 -------------------------------------------------------------------------------

void FramePainter::drawLoads(QPainter& p)
{
    const kj::FrameTopology& t = r_.topo();
    const kj::FrameModel& m = r_.model;
    const kj::InternalForces& f = r_.forces;
    const double fp = style_.fontPixels;
    drawMembers(p, kInk, 1.6 * style_.line);
    drawSupports(p);

    double wMax = 0;
    for (int i = 1; i <= t.NB; ++i)
        for (const kj::MemberForces::Load& l : f.along[ix(i)].loads)
            if (l.x1 > l.x0) wMax = std::max(wMax, std::fabs(l.w));
    const double band = std::clamp(amplitude_ * 0.35, 0.6 * fp, 2.0 * fp);
    const double head = 0.45 * fp;
    QColor fill = kLoadInk;
    fill.setAlpha(40);
    // Everything is drawn, and kept clear of, before any value is placed.
    std::vector<std::function<void()>> values;
    const auto keepClear = [this](const QPointF& a, const QPointF& b) { placer_.addObstacle(QLineF(a, b)); };

    for (int i = 1; i <= t.NB; ++i) {
        const kj::MemberForces& a = f.along[ix(i)];
        const QPointF A = end1(i), B = end2(i);
        const double px = (B.x() - A.x()) / std::max(a.length, 1e-9);
        // Distributed loads stack in rows where they overlap along the span.
        std::vector<std::pair<double, double>> rowEnds; // per row: the right end taken
        for (const kj::MemberForces::Load& l : a.loads) {
            if (!(l.x1 > l.x0) || l.w == 0) continue;
            std::size_t row = 0;
            while (row < rowEnds.size() && rowEnds[row].second > l.x0 + 1e-9) ++row;
            if (row == rowEnds.size()) rowEnds.push_back({l.x0, l.x1});
            else rowEnds[row] = {l.x0, l.x1};
            const double h = band * (wMax > 0 ? 0.45 + 0.55 * std::fabs(l.w) / wMax : 1);
            const double base = A.y() - 0.2 * fp - row * (band + 0.3 * fp);
            const QRectF rect(QPointF(A.x() + px * l.x0, base - h), QPointF(A.x() + px * l.x1, base));
            p.setPen(QPen(kLoadInk, style_.line));
            p.setBrush(fill);
            p.drawRect(rect);
            const int n = std::max(2, static_cast<int>(rect.width() / (1.2 * fp)));
            for (int k = 0; k <= n; ++k) {
                const double x = rect.left() + rect.width() * k / n;
                if (l.w >= 0) arrow(p, QPointF(x, rect.top()), QPointF(x, rect.bottom()), kLoadInk, std::min(head, h / 2));
                else arrow(p, QPointF(x, rect.bottom()), QPointF(x, rect.top()), kLoadInk, std::min(head, h / 2));
            }
            keepClear(rect.bottomLeft(), rect.topLeft());
            keepClear(rect.topLeft(), rect.topRight());
            keepClear(rect.topRight(), rect.bottomRight());
            values.push_back([=, this, &p] {
                label(p, valueLabel(fixed1(l.w), kLoadInk, i, QStringLiteral("均布荷载 (kN/m)")),
                      QPointF(rect.center().x(), rect.top()), QPointF(0, -1),
                      0.1 * fp, QPointF(1, 0), rect.width() / 2);
            });
        }
        const double reach = band * std::max<std::size_t>(1, rowEnds.size()) + 1.5 * fp;
        for (const kj::MemberForces::Load& l : a.loads) {
            if (l.x1 > l.x0 || l.w == 0) continue;
            const QPointF at(A.x() + px * l.x0, A.y());
            const QPointF from = at - QPointF(0, reach);
            if (l.w >= 0) arrow(p, from, at, kLoadInk, head);
            else arrow(p, at, from, kLoadInk, head);
            keepClear(from, at);
            values.push_back([=, this, &p] {
                label(p, valueLabel(fixed1(l.w), kLoadInk, i, QStringLiteral("集中力 (kN)")), from, QPointF(0, -1),
                      0.1 * fp, QPointF(1, 0), 2 * fp);
            });
        }
    }

    // Joint forces and moments.
    for (int n = 1; n <= t.NC; ++n) {
        const QPointF c = map(m.nodeX(n), m.nodeY(n));
        const double F = f.jointForce[ix(n)], M = f.jointMoment[ix(n)];
        if (F != 0) {
            // Outside the frame at an outer joint, over the joint elsewhere,
            // reaching above the load bands.
            const int line = t.nodeLine(n);
            const double dx = line == 0 ? -0.9 * fp : line == t.L ? 0.9 * fp : 0.0;
            const QPointF to = c + QPointF(dx, -0.3 * fp), from = c + QPointF(dx, -band * 1.3 - 2.6 * fp);
            if (F > 0) arrow(p, from, to, kShearEdge, head);
            else arrow(p, to, from, kShearEdge, head);
            keepClear(from, to);
            values.push_back([=, this, &p] {
                label(p, valueLabel(fixed1(F), kShearEdge, 0, QStringLiteral("节点%1 竖向力 (kN)").arg(n)), from,
                      QPointF(0, -1), 0.1 * fp, QPointF(1, 0), 2 * fp);
            });
        }
        if (M != 0) {
            // An arc around the joint; its head shows the sense (counter-clockwise positive).
            const double rad = 1.1 * fp;
            const QRectF box(c - QPointF(rad, rad), c + QPointF(rad, rad));
            p.setPen(QPen(kShearEdge, style_.line));
            p.setBrush(Qt::NoBrush);
            p.drawArc(box, 30 * 16, 240 * 16);
            const double endAngle = (M > 0 ? 270.0 : 30.0) * std::numbers::pi / 180;
            const QPointF tip = c + QPointF(rad * std::cos(endAngle), -rad * std::sin(endAngle));
            // On the screen (y downward) the point at angle a is (cos a, -sin a); going
            // counter-clockwise it moves along (-sin a, -cos a).
            const QPointF tangent = M > 0 ? QPointF(-std::sin(endAngle), -std::cos(endAngle))
                                          : QPointF(std::sin(endAngle), std::cos(endAngle));
            arrow(p, tip - tangent * head, tip, kShearEdge, head);
            for (int k = 0; k < 8; ++k) {
                const double a0 = (30 + 30.0 * k) * std::numbers::pi / 180, a1 = a0 + std::numbers::pi / 6;
                keepClear(c + QPointF(rad * std::cos(a0), -rad * std::sin(a0)),
                          c + QPointF(rad * std::cos(a1), -rad * std::sin(a1)));
            }
            values.push_back([=, this, &p] {
                label(p, valueLabel(fixed1(M) + QStringLiteral(" kN·m"), kShearEdge, 0, QStringLiteral("节点%1 弯矩").arg(n)),
                      c + QPointF(rad, -rad) * 0.75,
                      unit(QPointF(1, -1)), 0.2 * fp);
            });
        }
    }
    // Floor forces: the force applied at each level is the difference of the
    // storey shears above and below it (the shear of storey J, counted from
    // the roof, is the sum of the forces at and above its top). An arrow at
    // the left of the level shows its direction, the value its sign
    // (positive to the right).
    for (int J = 1; J <= t.NF; ++J) {
        const double F = floorForce(f, J);
        if (F == 0) continue;
        const QPointF at = map(m.x[0], m.y[ix(J)]) - QPointF(0.3 * fp, 0);
        const QPointF from = at - QPointF(3.2 * fp, 0);
        if (F > 0) arrow(p, from, at, kShearEdge, head);
        else arrow(p, at, from, kShearEdge, head);
        keepClear(from, at);
        values.push_back([=, this, &p] {
            label(p, valueLabel(fixed1(F), kShearEdge, 0, QStringLiteral("第%1层 (自下而上) 楼面水平力 (kN)").arg(t.fromGround(J))),
                  (from + at) / 2, QPointF(0, -1), 0.2 * fp, QPointF(-1, 0), 2 * fp);
        });
    }
    // The storey shears themselves: grey text on the right of each storey, no arrow.
    for (int J = 1; J <= t.NF; ++J) {
        const double V = f.storeyShear[ix(J)];
        if (V == 0) continue;
        const QPointF at = map(m.x.back(), (m.y[ix(J)] + m.y[ix(J + 1)]) / 2);
        values.push_back([=, this, &p] {
            label(p, valueLabel(QStringLiteral("V=") + fixed1(V), kGrey, 0,
                                  QStringLiteral("第%1层 (自下而上) 层间剪力 (kN)").arg(t.fromGround(J))),
                  at, QPointF(1, 0), 1.2 * fp, QPointF(0, 1), 1.5 * fp);
        });
    }
    for (const auto& place : values) place();
}

void FramePainter::drawNote(QPainter& p, const QString& note)
{
    drawMembers(p, kGrey, style_.line);
    drawSupports(p);
    const QSizeF size = labelSize(note);
    drawLabelAt(p, Label{note, kInk}, QRectF(target_.center() - QPointF(size.width(), size.height()) / 2, size));
    texts_drawn_.push_back(note);
}

// ---- 配筋图 -------------------------------------------------------------------------------

void FramePainter::drawReinforcement(QPainter& p)
{
    const kj::FrameTopology& t = r_.topo();
    const double fp = style_.fontPixels;
    drawMembers(p, kInk, 2.2 * style_.line);
    drawSupports(p);
    const auto colourOf = [](bool failed) { return failed ? kFailed : kInk; };
    // Column steel beside each column, on its right or, failing room, its left.
    const auto columnLabels = [&] {
        if (r_.model.continuousBeam || r_.columns.empty()) return;
        for (int c = 1; c <= t.NC; ++c) {
            const kj::ColumnDesign& d = r_.columns[ix(c)];
            const int i = t.columnMember(c);
            const QPointF A = end1(i), B = end2(i);
            const double len = B.y() - A.y();
            if (!d.designed) {
                label(p, Label{QStringLiteral("不配筋"), kGrey}, (A + B) / 2, QPointF(1, 0), 0.3 * fp, QPointF(0, 1),
                      len * 0.3);
                continue;
            }
            // Whole mm², as the report writes them.
            const auto text = [&](double As, const QString& end) {
                Label l = valueLabel(QStringLiteral("As=") + QString::fromStdString(kj::shortestDecimal(kj::roundHalfEven(As))),
                                       colourOf(As >= kj::kFailedArea), i, end + QStringLiteral("每侧 As (mm²)"));
                l.otherSide = QPointF(-1, 0);
                return l;
            };
            if (d.top.As == d.bottom.As) {
                label(p, text(d.top.As, QStringLiteral("两端")), (A + B) / 2, QPointF(1, 0), 0.3 * fp,
                      QPointF(0, 1), len * 0.35);
            } else {
                label(p, text(d.top.As, QStringLiteral("柱顶")), A + QPointF(0, 0.25 * len), QPointF(1, 0),
                      0.3 * fp, QPointF(0, 1), len * 0.2);
                label(p, text(d.bottom.As, QStringLiteral("柱底")), B - QPointF(0, 0.25 * len),
                      QPointF(1, 0), 0.3 * fp, QPointF(0, -1), len * 0.2);
            }
        }
    };
    // In passes over all beams, so that the support bars under a beam find
    // their room before the span bars of the beam above take it: support top
    // bars over the supports, then span bottom bars and stirrups under the middle.
    for (int pass = 0; pass < 3; ++pass) {
        if (pass == 2) columnLabels(); // before the stirrups, which are alike along a frame
        for (int i = 1; i <= t.NB; ++i) {
            const kj::BeamDesign& d = r_.beams[ix(i)];
            const QPointF A = end1(i), B = end2(i);
            const double len = B.x() - A.x();
            if (!d.designed) {
                if (pass == 0)
                    label(p, Label{QStringLiteral("不配筋"), kGrey}, (A + B) / 2, QPointF(0, -1), 0.2 * fp,
                          QPointF(1, 0), len * 0.3);
                continue;
            }
            if (pass == 0) {
                // Each string starts at its support, clear of the column line,
                // and stays in its own half of the span.
                const QString ls = barNotation(d.left, false), rs = barNotation(d.right, false);
                const double wl = labelSize(ls).width(), wr = labelSize(rs).width();
                const bool left = label(p, valueLabel(ls, colourOf(d.left.failed()), i, QStringLiteral("左支座上部纵筋")),
                                        A + QPointF(0.3 * fp + wl / 2, 0), QPointF(0, -1), 0.2 * fp, QPointF(1, 0),
                                        std::max(0.0, len / 2 - wl - 0.3 * fp), A + QPointF(0.3 * fp, 0), false);
                const bool right = label(p, valueLabel(rs, colourOf(d.right.failed()), i, QStringLiteral("右支座上部纵筋")),
                                         B - QPointF(0.3 * fp + wr / 2, 0), QPointF(0, -1), 0.2 * fp, QPointF(-1, 0),
                                         std::max(0.0, len / 2 - wr - 0.3 * fp), B - QPointF(0.3 * fp, 0), false);
                (void)left;
                (void)right;
            } else if (pass == 1) {
                label(p, valueLabel(barNotation(d.span, true), colourOf(d.span.failed()), i, QStringLiteral("跨中下部纵筋")),
                      (A + B) / 2, QPointF(0, 1), 0.2 * fp, QPointF(1, 0), len * 0.25);
            } else {
                const QString l = stirrupNotation(d.left.stirrups), r = stirrupNotation(d.right.stirrups);
                const QString stirrups = l == r ? l : l + QStringLiteral(" / ") + r;
                label(p, valueLabel(stirrups, colourOf(d.left.shearFailed() || d.right.shearFailed()), i, QStringLiteral("箍筋 (左/右)")),
                      (A + B) / 2, QPointF(0, 1), 0.2 * fp + 1.1 * lineHeight_, QPointF(1, 0), len * 0.25);
                // GB 50010-2010: a beam over its crack width or deflection limit.
                if (d.serviceability && !d.serviceability->passes()) {
                    const kj::BeamServiceability& v = *d.serviceability;
                    const bool crack = !v.crackPasses(v.left) || !v.crackPasses(v.span) || !v.crackPasses(v.right);
                    const QString mark = crack && !v.deflectionPasses() ? QStringLiteral("裂缝、挠度超限")
                                         : crack                        ? QStringLiteral("裂缝超限")
                                                                        : QStringLiteral("挠度超限");
                    label(p, Label{mark, kFailed}, (A + B) / 2, QPointF(0, 1), 0.2 * fp + 2.2 * lineHeight_,
                          QPointF(1, 0), len * 0.25);
                }
            }
        }
    }
}

} // namespace kjd
