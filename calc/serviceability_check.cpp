#include "calc/serviceability_check.h"

#include "common/failure.h"
#include "design/gb50010_2010.h"
#include "design/materials.h"
#include "design/serviceability.h"

#include <algorithm>
#include <cmath>
#include <functional>
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

// The bottom bars at a support whose quasi-permanent moment sags: the
// span's continuous bars, anchored in the joint (9.3.4, 9.3.5), laid inside
// the support's stirrups; the additional bars of the span are cut off
// before the support and not counted.
BeamSectionDesign bottomBarsAtSupport(const BeamSectionDesign& support, const BeamSectionDesign& span, double h,
                                      double cover)
{
    BeamSectionDesign b = span; // a failed span has no bars to check
    b.bars = BarArrangement{};
    b.bars.n = span.bars.n;
    b.bars.d = span.bars.d;
    b.stirrup = support.stirrup;
    b.h0 = h - gb2010::barCentroidDepth(b.bars, cover, b.stirrup);
    return b;
}

// The crack check of a support under Mq (hogging positive, kN*m): with its
// top bars, or with its bottom bars where Mq sags.
SectionCrackCheck supportCrackCheck(const BeamDesign& d, const BeamSectionDesign& support, double Mq, double cover,
                                    const Materials2010& m)
{
    if (Mq >= 0) return crackCheck(support, Mq, d.b, d.h, cover, m);
    SectionCrackCheck c = crackCheck(bottomBarsAtSupport(support, d.span, d.h, cover), -Mq, d.b, d.h, cover, m);
    c.bottomBars = true;
    if (!c.checked && d.span.failed()) c.noCheck = "下部钢筋: 跨中" + c.noCheck;
    return c;
}

// 7.2.2-2: the long-term stiffness of a checked section (kN*m2) with the
// compression steel comp (mm2).
gb2010::SectionServiceability sectionStiffness(const SectionCrackCheck& c, double b, double h, double comp,
                                               const Materials2010& m)
{
    gb2010::SectionInput in;
    in.b = b, in.h = h, in.h0 = c.h0, in.As = c.As, in.AsComp = comp;
    in.Mq = c.Mq, in.cs = c.cs, in.deq = c.deq;
    in.ftk = m.ftk, in.Es = m.Es, in.Ec = m.Ec;
    return gb2010::sectionServiceability(in);
}

// 7.2.1, 7.2.2: the deflection of the span from the chord between its
// joints under its own quasi-permanent moments, each stretch of one sign of
// the moment at the stiffness of its largest moment: the span section for
// sagging, the support section for the hogging stretch at that support (the
// support of the larger hogging moment for one between them). Where every
// support's stiffness is between half and twice the span's, the span is
// computed at the span's stiffness alone, as 7.2.1 allows.
void checkDeflection(BeamServiceability& s, const BeamDesign& d, const MemberForces& a, const Materials2010& m)
{
    const double L = a.length;
    s.l0 = L;
    s.deflectionLimit = gb2010::deflectionLimit(L);
    const std::function<double(double)> M = [&a](double x) { return a.M(x); };
    const std::vector<double> at = a.stations();
    std::vector<gb2010::Stretch> stretches = gb2010::sameSignStretches(M, L, at);
    const bool sags = std::any_of(stretches.begin(), stretches.end(), [](const gb2010::Stretch& t) { return t.sagging; });
    const bool leftHogs = !stretches.empty() && !stretches.front().sagging && s.left.Mq > 0 && !s.left.bottomBars;
    const bool rightHogs = !stretches.empty() && !stretches.back().sagging && s.right.Mq > 0 && !s.right.bottomBars;
    // The support of the larger hogging moment, for a hogging stretch that
    // reaches neither support or a span that does not sag.
    const bool leftGoverns = leftHogs && (!rightHogs || s.left.Mq >= s.right.Mq);
    const bool governingHogs = leftHogs || rightHogs;

    auto refuse = [&](const char* where, const SectionCrackCheck& c) {
        s.noDeflection = std::string(where) + c.noCheck;
    };
    if (sags && !s.span.checked) return refuse("跨中", s.span);
    if (!sags && !governingHogs) {
        s.noDeflection = "跨内负弯矩不在支座处, 无截面刚度可取";
        return;
    }
    const double topComp = std::min(continuousArea(d.left.bars), continuousArea(d.right.bars));
    const double bottomComp = continuousArea(d.span.bars);
    if (leftHogs && !s.left.checked) return refuse("左支座", s.left);
    if (rightHogs && !s.right.checked) return refuse("右支座", s.right);
    if (leftHogs) s.Bleft = sectionStiffness(s.left, d.b, d.h, bottomComp, m).B / 1e9;
    if (rightHogs) s.Bright = sectionStiffness(s.right, d.b, d.h, bottomComp, m).B / 1e9;

    const gb2010::SectionServiceability k = sags ? sectionStiffness(s.span, d.b, d.h, topComp, m)
                                                 : sectionStiffness(leftGoverns ? s.left : s.right, d.b, d.h, bottomComp, m);
    s.B = k.B / 1e9;
    s.Bs = k.Bs / 1e9;
    s.theta = k.theta;
    const double Bgoverning = leftGoverns ? s.Bleft : s.Bright;

    using Taken = BeamServiceability::Stiffness;
    if (!sags) {
        s.stiffness = leftGoverns ? Taken::HoggingLeft : Taken::HoggingRight;
    } else if (leftHogs || rightHogs) {
        const bool uniform = (!leftHogs || gb2010::uniformStiffnessAllowed(s.B, s.Bleft)) &&
                             (!rightHogs || gb2010::uniformStiffnessAllowed(s.B, s.Bright));
        s.stiffness = uniform ? Taken::Uniform : Taken::Variable;
    }
    for (gb2010::Stretch& t : stretches) {
        if (s.stiffness != Taken::Variable || t.sagging) t.B = s.B;
        else if (t.x0 <= 0 && leftHogs) t.B = s.Bleft;
        else if (t.x1 >= L && rightHogs) t.B = s.Bright;
        else t.B = Bgoverning;
    }
    const gb2010::SpanDeflection f = gb2010::spanDeflection(M, L, stretches, at);
    s.deflection = f.f;
    s.xDeflection = f.x;
    s.deflectionChecked = true;
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
    const double cover = r.options.cover;
    for (int i = 1; i <= t.NB; ++i) {
        BeamDesign& d = r.beams[z(i)];
        if (!d.designed || q.along.size() <= z(i)) continue;
        const MemberForces& a = q.along[z(i)];
        const double L = a.length;
        BeamServiceability s;
        s.wlim = gb2010::crackWidthLimit(r.options.environment);
        s.left = supportCrackCheck(d, d.left, -a.M(0), cover, m);
        s.right = supportCrackCheck(d, d.right, -a.M(L), cover, m);
        s.span = crackCheck(d.span, largestSagging(a).M, d.b, d.h, cover, m);
        // Mk in the sense of the section's Mq: stretching the bars checked.
        auto sense = [](const SectionCrackCheck& c) { return c.bottomBars ? -1.0 : 1.0; };
        s.left.Mk = s.left.Mq, s.right.Mk = s.right.Mq, s.span.Mk = s.span.Mq;
        if (characteristic && characteristic->along.size() > z(i)) {
            const MemberForces& k = characteristic->along[z(i)];
            s.left.Mk = -k.M(0) * sense(s.left);
            s.right.Mk = -k.M(L) * sense(s.right);
            s.span.Mk = largestSagging(k).M;
        }
        checkDeflection(s, d, a, m);
        d.serviceability = s;
    }
}

std::vector<StoreyDrift> storeyDrifts(const CalculationResult& r, const InternalForces& wind)
{
    const FrameTopology& t = r.topo();
    const Displacements disp = realDisplacements(r.model, wind, concreteEc(r.materials.C));
    std::vector<StoreyDrift> out;
    if (disp.empty()) return out;
    for (int j = t.NF; j >= 1; --j) {
        StoreyDrift s;
        s.storey = t.fromGround(j);
        s.height = r.model.member(t.columnMember(t.firstColumnOfStorey(j))).len;
        s.drift = disp.drift[z(j)];
        s.ratio = std::fabs(disp.driftRatio[z(j)]);
        out.push_back(s);
    }
    return out;
}

} // namespace kj
