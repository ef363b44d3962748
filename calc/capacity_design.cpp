#include "calc/capacity_design.h"

#include "calc/envelope.h"
#include "calc/seismic_combination.h"
#include "common/numbers.h"
#include "design/gb50010_2010.h"
#include "design/gb50011_2010.h"

#include <algorithm>
#include <cmath>

namespace kj {

namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }

// 6.2.2: columns of an axial compression ratio below this keep their moments.
constexpr double kStrongColumnAxialRatio = 0.15;

std::string twoPlaces(double x) { return fixedText(x, 2); }

} // namespace

std::pair<double, double> beamColumnFaces(const FrameModel& model, int beam)
{
    const FrameTopology& t = model.topo;
    const double L = model.member(beam).len;
    // The column under a joint has the joint's number.
    const double left = model.member(t.columnMember(t.leftNode(beam))).h / 2;
    const double right = L - model.member(t.columnMember(t.rightNode(beam))).h / 2;
    if (!(right > left)) return {0.0, L};
    return {left, right};
}

double beamClearSpan(const FrameModel& model, int beam)
{
    const auto [from, to] = beamColumnFaces(model, beam);
    return to - from;
}

std::pair<double, double> simplySupportedShears(const MemberForces& a, double from, double to)
{
    const double ln = to - from;
    if (!(ln > 0)) return {0, 0};
    double left = 0, right = 0;
    for (const MemberForces::Load& l : a.loads) {
        double W = 0, x = 0;
        if (l.x1 > l.x0) { // the part of a distributed load on the span
            const double x0 = std::max(l.x0, from), x1 = std::min(l.x1, to);
            if (!(x1 > x0)) continue;
            W = l.w * (x1 - x0);
            x = (x0 + x1) / 2;
        } else {
            if (l.x0 < from || l.x0 > to) continue;
            W = l.w;
            x = l.x0;
        }
        left += W * (to - x) / ln;
        right += W * (x - from) / ln;
    }
    return {left, right};
}

bool outerColumn(const FrameTopology& t, int column)
{
    const int line = t.columnLine(column);
    return line == 0 || line == t.L;
}

double jointBeamMoment(double Mleft, double Mright, int grade)
{
    // 6.2.2 note: for grade 1, where both beam ends at the joint hog, the
    // smaller absolute value is taken as zero.
    if (grade == 1 && Mleft > 0 && Mright < 0) return std::fabs(Mleft) >= std::fabs(Mright) ? Mleft : Mright;
    return Mleft + Mright;
}

CapacityDesign capacityDesign(const FrameModel& model, const std::vector<BeamDesignForces>& beams,
                              const std::vector<ColumnDesignForces>& columns, const InternalForces& forces, int grade,
                              double fc, bool cornerColumns)
{
    const FrameTopology& t = model.topo;
    CapacityDesign r;
    r.grade = grade;
    r.beams.assign(z(t.NB) + 1, BeamCapacity{});
    r.columns.assign(z(t.NC) + 1, ColumnCapacity{});
    if (grade < 1 || grade > 4 || model.continuousBeam) return r;

    for (int c = 1; c <= t.NC; ++c) {
        const ColumnDesignForces& d = columns[z(c)];
        const double N = std::max(d.Ntop, d.Nfoot);
        r.columns[z(c)].axialRatio = axialCompressionRatio(N, model.member(t.columnMember(c)), fc);
    }

    // 6.2.2: ΣMc = ηc ΣMb at every joint below the top level, the column
    // ends above and below raised in proportion to their moments.
    const double etaC = gb50011::columnMomentFactor(grade);
    for (int node = t.L + 2; node <= t.NC; ++node) {
        const int below = node, above = node - (t.L + 1);
        const int bl = t.beamLeftOf(node), br = t.beamRightOf(node);
        const double Mb = jointBeamMoment(bl ? beams[z(bl)].M2 : 0.0, br ? beams[z(br)].M1 : 0.0, grade);
        const double Mc = columns[z(below)].Mtop + columns[z(above)].Mbottom;
        // By equilibrium the columns turn the joint against the beams.
        if (!(Mb * Mc < 0) || !(std::fabs(Mc) > 1e-9)) continue;
        const double factor = etaC * std::fabs(Mb) / std::fabs(Mc);
        if (!(factor > 1)) continue;
        if (r.columns[z(below)].axialRatio >= kStrongColumnAxialRatio) r.columns[z(below)].topFactor = factor;
        if (r.columns[z(above)].axialRatio >= kStrongColumnAxialRatio) r.columns[z(above)].footFactor = factor;
    }
    // 6.2.3: the foot of the ground storey.
    for (int c = t.firstColumnOfStorey(t.NF); c <= t.NC; ++c) {
        r.columns[z(c)].footFactor = gb50011::columnFootFactor(grade);
        r.columns[z(c)].groundFoot = true;
    }

    // 6.2.5: V = ηvc (Mct + Mcb) / Hn with the raised end moments.
    const double etaVc = gb50011::columnShearFactor(grade);
    for (int c = 1; c <= t.NC; ++c) {
        ColumnCapacity& k = r.columns[z(c)];
        const double Mt = columns[z(c)].Mtop * k.topFactor, Mb = columns[z(c)].Mbottom * k.footFactor;
        k.Hn = columnClearLength(model, c);
        if (!(k.Hn > 0)) k.Hn = model.member(t.columnMember(c)).len;
        k.V = etaVc * (Mt + Mb) / k.Hn;
    }

    // 6.2.6: a corner column's adjusted moments and shear x 1.10.
    if (cornerColumns)
        for (int c = 1; c <= t.NC; ++c)
            if (outerColumn(t, c)) {
                ColumnCapacity& k = r.columns[z(c)];
                k.cornerFactor = gb50011::kCornerColumnFactor;
                k.V *= k.cornerFactor;
            }

    // 6.2.4 (GB 50010 11.3.2): V = ηvb (Mbl + Mbr) / ln + VGb, grades 1 to
    // 3, ln the clear span and VGb that of the simple beam on it.
    for (int i = 1; i <= t.NB; ++i) {
        BeamCapacity& k = r.beams[z(i)];
        const auto [from, to] = beamColumnFaces(model, i);
        k.ln = to - from;
        k.M1 = beams[z(i)].M1;
        k.M2 = beams[z(i)].M2;
        const auto [VGb1, VGb2] = simplySupportedShears(forces.along[z(i)], from, to);
        k.VGb1 = VGb1;
        k.VGb2 = VGb2;
        // Mbl + Mbr clockwise: two hogging ends (M1 < 0 < M2) turn apart.
        k.momentSum = std::fabs(jointBeamMoment(beams[z(i)].M2, beams[z(i)].M1, grade));
        if (grade > 3) continue;
        const double sway = gb50011::beamShearFactor(grade) * k.momentSum / k.ln;
        k.V1 = sway + std::fabs(VGb1);
        k.V2 = sway + std::fabs(VGb2);
        k.raised1 = k.V1 > std::fabs(beams[z(i)].V1);
        k.raised2 = k.V2 > std::fabs(beams[z(i)].V2);
    }
    return r;
}

void applyCapacityDesign(std::vector<BeamDesignForces>& beams, std::vector<ColumnDesignForces>& columns,
                         const CapacityDesign& capacity)
{
    if (capacity.grade == 0) return;
    for (std::size_t c = 1; c < columns.size() && c < capacity.columns.size(); ++c) {
        const ColumnCapacity& k = capacity.columns[c];
        columns[c].Mtop *= k.topFactor * k.cornerFactor;
        columns[c].Mbottom *= k.footFactor * k.cornerFactor;
    }
    auto raise = [](double& V, double to) {
        if (to > std::fabs(V)) V = V < 0 ? -to : to;
    };
    for (std::size_t i = 1; i < beams.size() && i < capacity.beams.size(); ++i) {
        raise(beams[i].V1, capacity.beams[i].V1);
        raise(beams[i].V2, capacity.beams[i].V2);
    }
}

std::vector<AxialRatioCheck> axialRatioChecks(const EnvelopeResult& r)
{
    std::vector<AxialRatioCheck> out;
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CapacityDesign& cap = r.combinations[k].capacity;
        if (cap.grade == 0) continue;
        if (out.empty()) out.assign(cap.columns.size(), AxialRatioCheck{});
        for (std::size_t c = 1; c < cap.columns.size(); ++c) {
            AxialRatioCheck& a = out[c];
            if (a.combination >= 0 && !(cap.columns[c].axialRatio > a.ratio)) continue;
            a.combination = static_cast<int>(k);
            a.ratio = cap.columns[c].axialRatio;
            // Table 6.3.6 is a detailing measure: its grade (3.3.3).
            const int grade = r.envelopeOptions.detailing() > 0 ? r.envelopeOptions.detailing() : cap.grade;
            a.limit = gb50011::axialRatioLimit(grade);
            a.ok = gb50011::axialRatioWithinLimit(a.ratio, grade);
        }
    }
    return out;
}

std::string columnAmplificationText(const CapacityDesign& c, int column, bool top)
{
    if (c.grade == 0) return "";
    const ColumnCapacity& k = c.columns[z(column)];
    const double f = top ? k.topFactor : k.footFactor;
    std::string t;
    if (!top && k.groundFoot) t = "柱底×" + twoPlaces(f);
    else if (f > 1) t = "ηcΣMb/ΣMc=" + twoPlaces(f);
    if (!t.empty()) t += " ";
    t += "ηvc=" + twoPlaces(gb50011::columnShearFactor(c.grade));
    if (k.cornerFactor > 1) t += " 角柱×" + twoPlaces(k.cornerFactor);
    return t;
}

std::string beamAmplificationText(const CapacityDesign& c, int beam, bool left)
{
    if (c.grade == 0 || c.grade > 3) return "";
    const BeamCapacity& k = c.beams[z(beam)];
    if (!(left ? k.raised1 : k.raised2)) return "";
    return "ηvb=" + twoPlaces(gb50011::beamShearFactor(c.grade));
}

} // namespace kj
