#include "calc/serviceability_check.h"

#include "common/failure.h"
#include "design/gb50010_2010.h"
#include "design/materials.h"
#include "design/serviceability.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kj {

namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }


double barArea(double count, double d) { return count > 0 && d > 0 ? count * std::numbers::pi / 4 * d * d : 0; }
double providedArea(const BarArrangement& b) { return barArea(b.n, b.d) + barArea(b.k, b.e); }
double continuousArea(const BarArrangement& b) { return barArea(b.n, b.d); }

// The edge of the outer layer of bars from the tension face, mm: inside the
// cover and the stirrup, never less than the bar (8.2.1-1), the outer layer
// holding the continuous bars first, as the depth of the bars is found in
// the design (an arrangement without layers has them all in the outer one).
double outerBarFace(const BarArrangement& b, double cover, double stirrup)
{
    const double room = b.outer > 0 ? b.outer : b.n + b.k;
    const double continuous = std::min(room, b.n);
    const double additional = std::min(std::max(0.0, room - continuous), b.k);
    double largest = 0;
    if (continuous > 0) largest = b.d;
    if (additional > 0) largest = std::max(largest, b.e);
    return std::max(cover + stirrup, largest);
}

struct Materials2010 {
    double ftk = 0, Es = 0, Ec = 0, bond = 0;
};

SectionCrackCheck crackCheck(const BeamSectionDesign& d, double Mq, double b, double h, double cover,
                             const Materials2010& m)
{
    SectionCrackCheck c;
    c.Mq = Mq;
    if (d.failed()) {
        c.noCheck = "配筋失败 (9999)";
        return c;
    }
    c.As = providedArea(d.bars);
    c.h0 = d.h0;
    if (c.As <= 0 || c.h0 <= 0) {
        c.noCheck = "无实配钢筋";
        return c;
    }
    c.cs = outerBarFace(d.bars, cover, d.stirrup);
    c.deq = gb2010::equivalentBarDiameter({{d.bars.n, d.bars.d}, {d.bars.k, d.bars.e}}, m.bond);
    gb2010::SectionInput in;
    in.b = b, in.h = h, in.h0 = c.h0, in.As = c.As, in.Mq = Mq, in.cs = c.cs, in.deq = c.deq;
    in.ftk = m.ftk, in.Es = m.Es, in.Ec = m.Ec;
    const gb2010::SectionServiceability s = gb2010::sectionServiceability(in);
    c.sigmaSq = s.sigmaSq;
    c.rhoTe = s.rhoTe;
    c.psi = s.psi;
    c.wmax = s.wmax;
    c.checked = true;
    return c;
}

} // namespace

void checkBeamServiceability(CalculationResult& r, const InternalForces& q, const InternalForces* characteristic)
{
    if (r.rules != &gb50010_2010Rules()) return;
    Materials2010 m;
    try {
        m.ftk = gb2010::tensileStrengthCharacteristic(gb2010::concreteGrade(r.materials.C).grade);
        m.Es = gb2010::steelGrade(r.materials.Fy).Es;
    } catch (const Failure&) {
        return; // the design itself refuses these materials
    }
    m.Ec = concreteEc(r.materials.C);
    m.bond = r.materials.Fy == 270 ? gb2010::kPlainBarBond : gb2010::kRibbedBarBond; // HPB300: plain bars
    if (!(m.Ec > 0)) return;

    const FrameTopology& t = r.topo();
    // The joints' rotations, clockwise positive as the span's end slopes.
    const Displacements disp = realDisplacements(r.model, q, m.Ec);
    auto rotation = [&](int node) { return disp.empty() ? 0.0 : -disp.rotation[z(node)]; };
    const double cover = r.options.cover;
    for (int i = 1; i <= t.NB; ++i) {
        BeamDesign& d = r.beams[z(i)];
        if (!d.designed || q.along.size() <= z(i)) continue;
        const MemberForces& a = q.along[z(i)];
        const double L = a.length;
        BeamServiceability s;
        s.wlim = gb2010::crackWidthLimit(r.options.environment);
        const double Mspan = largestSagging(a).M;
        s.left = crackCheck(d.left, -a.M(0), d.b, d.h, cover, m);
        s.right = crackCheck(d.right, -a.M(L), d.b, d.h, cover, m);
        s.span = crackCheck(d.span, Mspan, d.b, d.h, cover, m);
        s.left.Mk = s.left.Mq, s.right.Mk = s.right.Mq, s.span.Mk = s.span.Mq;
        if (characteristic && characteristic->along.size() > z(i)) {
            const MemberForces& k = characteristic->along[z(i)];
            s.left.Mk = -k.M(0);
            s.right.Mk = -k.M(L);
            s.span.Mk = largestSagging(k).M;
        }

        // 7.2.2: the span's stiffness at its largest sagging moment, with the
        // continuous top bars as its compression steel; a span that does not
        // sag takes the stiffness of its support of the larger hogging moment.
        s.l0 = L;
        s.deflectionLimit = gb2010::deflectionLimit(L);
        const bool sags = Mspan > 0;
        const bool leftGoverns = s.left.Mq >= s.right.Mq;
        const BeamSectionDesign& sec = sags ? d.span : leftGoverns ? d.left : d.right;
        const SectionCrackCheck& crack = sags ? s.span : leftGoverns ? s.left : s.right;
        if (!crack.checked) {
            s.noDeflection = std::string(sags ? "跨中" : "支座") + crack.noCheck;
        } else {
            const double comp = sags ? std::min(continuousArea(d.left.bars), continuousArea(d.right.bars))
                                     : continuousArea(d.span.bars);
            gb2010::SectionInput in;
            in.b = d.b, in.h = d.h, in.h0 = sec.h0, in.As = crack.As, in.AsComp = comp;
            in.Mq = crack.Mq, in.cs = crack.cs, in.deq = crack.deq;
            in.ftk = m.ftk, in.Es = m.Es, in.Ec = m.Ec;
            const gb2010::SectionServiceability k = gb2010::sectionServiceability(in);
            s.B = k.B / 1e9;
            s.Bs = k.Bs / 1e9;
            s.theta = k.theta;
            const gb2010::SpanDeflection f =
                gb2010::spanDeflection([&a](double x) { return a.M(x); }, L, s.B,
                                       rotation(t.leftNode(i)), rotation(t.rightNode(i)));
            s.deflection = f.f;
            s.xDeflection = f.x;
            s.deflectionChecked = true;
        }
        d.serviceability = s;
    }
}

std::vector<StoreyDrift> storeyDrifts(const CalculationResult& r, const InternalForces& wind)
{
    const FrameTopology& t = r.topo();
    const Displacements disp = realDisplacements(r.model, wind, concreteEc(r.materials.C));
    std::vector<StoreyDrift> out;
    if (disp.empty()) return out;
    for (int j = 1; j <= t.NF; ++j) {
        StoreyDrift s;
        s.storey = j;
        s.height = r.model.member(t.columnMember(t.firstColumnOfStorey(j))).len;
        s.drift = disp.drift[z(j)];
        s.ratio = std::fabs(disp.driftRatio[z(j)]);
        out.push_back(s);
    }
    return out;
}

} // namespace kj
