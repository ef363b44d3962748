#include "drift_layer.h"

#include "calc/seismic_report.h"
#include "calc/serviceability_check.h"
#include "calc/serviceability_report.h"
#include "common/numbers.h"
#include "design/gb50011_2010.h"
#include "frame_painter.h"
#include "painter_ink.h"

#include <QPainter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace kjd {

using namespace ink;

DriftCheck driftCheckOf(const kj::EnvelopeResult& e, const Shown& shown)
{
    if (shown.kind != Shown::Kind::Case || shown.index < 0 || ix(shown.index) >= e.cases.size()) return DriftCheck::None;
    switch (e.cases[ix(shown.index)].kind) {
    case kj::LoadCaseKind::E: return DriftCheck::Earthquake;
    case kj::LoadCaseKind::W: return DriftCheck::Wind;
    default: return DriftCheck::None;
    }
}

QString driftLimitText()
{
    // GB 50011-2010 Table 5.5.1 (frame, frequent earthquake) and the wind limit of the serviceability checks.
    static_assert(kj::gb50011::kFrameDriftLimit == kj::kFrameDriftLimit);
    return QStringLiteral("1/") + QString::fromStdString(kj::fixedText(1.0 / kj::kFrameDriftLimit, 0));
}

QString StoreyDriftLabel::text() const
{
    QString first = QStringLiteral("Δu=%1 mm").arg(driftText);
    if (drift != 0 && driftText.contains(QRegularExpression(QStringLiteral("[1-9]"))))
        first += drift > 0 ? QStringLiteral(" →") : QStringLiteral(" ←");
    QString second = QStringLiteral("Δu/h=") + ratioText;
    if (checked) second += (ok ? QStringLiteral(" ≤ ") : QStringLiteral(" > ")) + driftLimitText() + (ok ? QString() : QStringLiteral(" 超限"));
    return first + QLatin1Char('\n') + second;
}

std::vector<StoreyDriftLabel> storeyDriftLabels(const kj::CalculationResult& r, DriftCheck check)
{
    const kj::FrameModel& m = r.model;
    const kj::FrameTopology& t = m.topo;
    std::vector<StoreyDriftLabel> out;
    if (m.continuousBeam || r.displacements.empty() || r.displacements.drift.size() <= ix(t.NF)) return out;
    for (int J = 1; J <= t.NF; ++J) {
        StoreyDriftLabel s;
        s.storey = J;
        s.level = t.fromGround(J);
        const double h = m.y[ix(J)] - m.y[ix(J + 1)]; // m
        // A drift under a millionth of the storey height is rounding noise
        // (a symmetric frame under symmetric loads): no drift.
        s.drift = std::fabs(r.displacements.drift[ix(J)]) < 1e-6 * h * 1000.0 ? 0.0 : r.displacements.drift[ix(J)];
        if (check == DriftCheck::Wind) {
            // As the report's table of drifts under the wind.
            kj::StoreyDrift d;
            d.storey = s.level;
            d.height = h;
            d.drift = s.drift;
            d.ratio = std::fabs(s.drift) / (h * 1000.0);
            s.driftText = QString::number(kj::roundHalfEven2(std::fabs(s.drift)), 'f', 2);
            s.ratioText = QString::fromStdString(kj::storeyDriftRatioText(d));
            s.checked = true;
            s.ok = d.passes();
        } else {
            // As the report's seismic block: |Δu| to 0.001 mm, Δu/h as 1/n rounded.
            kj::SeismicFloor f;
            f.level = s.level;
            f.storeyHeight = h;
            f.drift = std::fabs(s.drift);
            f.driftRatio = f.drift / (h * 1000.0);
            const kj::SeismicFloorCells cells = kj::seismicFloorCells(f);
            s.driftText = QString::fromStdString(check == DriftCheck::Earthquake ? cells.drift
                                                                                 : kj::fixedText(f.drift, 2));
            s.ratioText = QString::fromStdString(cells.ratio);
            s.checked = check == DriftCheck::Earthquake;
            s.ok = !s.checked || kj::gb50011::driftWithinLimit(f.drift / 1000.0, h);
        }
        out.push_back(s);
    }
    return out;
}

QString FramePainter::driftLegend() const
{
    QString legend = QStringLiteral("层间位移 Δu (mm, 箭头为方向) 和层间位移角 Δu/h");
    if (!r_.displacements.empty())
        legend += QStringLiteral(", 按 Ec = %1 N/mm² 计").arg(QString::number(r_.displacements.Ec, 'f', 0));
    switch (driftCheck_) {
    case DriftCheck::Earthquake:
        legend += QStringLiteral("; 多遇地震作用下限值 %1 (GB 50011-2010 表 5.5.1); 红字: 超过限值").arg(driftLimitText());
        break;
    case DriftCheck::Wind:
        legend += QStringLiteral("; 风荷载标准值作用下限值 %1; 红字: 超过限值").arg(driftLimitText());
        break;
    case DriftCheck::None: legend += QStringLiteral("; 只有地震作用 E 和风载 W 两个工况按限值验算"); break;
    }
    return legend;
}

void FramePainter::drawDrift(QPainter& p)
{
    const kj::FrameModel& m = r_.model;
    const double fp = style_.fontPixels;
    const std::vector<StoreyDriftLabel> drifts = storeyDriftLabels(r_, driftCheck_);
    if (drifts.empty()) {
        drawNote(p, m.continuousBeam ? QStringLiteral("连续梁没有层间位移")
                                     : QStringLiteral("默认方法的位移以 b·h³ 代替 EI, 不是实际值: 层间位移请按 GB 50010-2010 计算"));
        return;
    }
    drawMembers(p, kGrey, style_.line);
    drawSupports(p);
    double most = 0;
    for (const StoreyDriftLabel& s : drifts) most = std::max(most, std::fabs(s.drift));
    const double x = m.x.back();
    for (const StoreyDriftLabel& s : drifts) {
        const int J = s.storey;
        const QColor colour = s.ok ? kInk : kFailed;
        // An arrow at mid-storey beside the frame: the storey's drift to the
        // scale of the largest (three text heights), in its direction; the
        // values beyond it.
        const QPointF near = map(x, (m.y[ix(J)] + m.y[ix(J + 1)]) / 2) + QPointF(0.4 * fp, 0);
        const double length = most > 0 ? 3.0 * fp * std::fabs(s.drift) / most : 0;
        if (length >= 0.4 * fp) {
            const QPointF far = near + QPointF(length, 0);
            arrow(p, s.drift > 0 ? near : far, s.drift > 0 ? far : near, colour, std::min(0.6 * fp, 0.5 * length));
            placer_.addObstacle(QLineF(near, far));
        }
        const QPointF anchor = near + QPointF(3.0 * fp, 0);
        Label l = valueLabel(s.text(), colour, 0, QStringLiteral("第%1层 (自下而上) 层间位移").arg(s.level));
        l.shorter = s.driftText + QStringLiteral(" mm\n") + s.ratioText;
        l.otherSide = QPointF(-1, 0);
        const double storey = s_ * (m.y[ix(J)] - m.y[ix(J + 1)]);
        // Pushed into the last bay when the margin is too narrow: the leader
        // then runs to the column, not across the arrow.
        label(p, l, anchor, QPointF(1, 0), 0.3 * fp, QPointF(0, 1), std::max(1.0 * fp, 0.35 * storey),
              near - QPointF(0.4 * fp, 0));
    }
}

} // namespace kjd
