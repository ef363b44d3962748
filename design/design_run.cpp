#include "design/design_run.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"
#include "design/beam_design.h"
#include "design/column_design.h"
#include "design/materials.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>

namespace kj {

namespace {

std::string beamName(int i) { return "第 " + std::to_string(i) + " 号梁"; }
std::string columnName(int j) { return "第 " + std::to_string(j) + " 号柱"; }

bool allFinite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// The internal-force record must cover every member of the model.
void checkRecord(const FrameModel& model, const InternalForces& f)
{
    const auto members = static_cast<std::size_t>(model.NB + model.NC + 1);
    const auto beams = static_cast<std::size_t>(model.NB + 1);
    const auto nodes = static_cast<std::size_t>(model.NC + 1);
    if (model.members.size() < members || f.M1.size() < members || f.M2.size() < members ||
        f.V1.size() < beams || f.V2.size() < beams || f.Mo.size() < beams || f.X.size() < beams ||
        f.N.size() < nodes)
        throw Failure("内力结果不完整, 无法进行截面设计");
}

// Redistribution factor of the support moments, 0 < beta <= 1.
double redistributionFactor(const std::string& text)
{
    const double beta = numberValue(text);
    if (!(beta > 0 && beta <= 1)) throw Failure("梁顶负弯矩调幅系数应大于 0 且不大于 1: " + clipForMessage(text));
    return beta;
}

// One support of a beam: the redistributed moment and the shear (both
// rounded), the tension steel, the top bars and the stirrups.
struct SupportResult {
    double As = 0;
    std::string bars, stirrups;
};

SupportResult designSupport(double& M, double& V, double beta, double b, double h, const MaterialConstants& mat,
                            const DesignSettings& settings, int beam)
{
    M = roundHalfEven(beta * M);
    V = roundHalfEven(V);
    SupportResult r;
    r.As = roundHalfEven(flexureDesign(std::fabs(M), b, h, mat).As);
    const BarArrangement bars = arrangeBars(r.As, b, h, numberValue(settings.cover), BarPosition::Top,
                                            settings.topCount, settings.topDiameter);
    if (!allFinite({bars.n, bars.d, bars.k, bars.e, bars.outer, bars.second}))
        throw Failure(beamName(beam) + "的梁顶钢筋无法排列, 请检查通长筋的根数和直径");
    r.bars = barString(bars, BarPosition::Top);
    const double asvs = shearDesign(std::fabs(V), b, h, mat);
    r.stirrups = stirrupString(chooseStirrups(asvs, b, settings.stirrupLegs, settings.stirrupDiameter));
    return r;
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

} // namespace

std::string designBeams(const FrameModel& model, InternalForces& forces, const Materials& materials,
                        const DesignSettings& settings, ReportWriter& report)
{
    checkRecord(model, forces);
    const double beta = redistributionFactor(settings.beta);
    const MaterialConstants mat = materialConstants(materials);
    for (int i = 1; i <= model.NB; ++i) {
        if (!(1000 * model.members[i].b < 51) &&
            !allFinite({forces.M1[i], forces.M2[i], forces.V1[i], forces.V2[i], forces.Mo[i], forces.X[i]}))
            throw Failure(beamName(i) + "的内力不是有限数值, 无法配筋");
    }

    report.endLine();
    report.column(21).text("******* Fy=").number(materials.Fy).text(" C").number(materials.C).text("*******").endLine();
    report.text("梁号").text("   M1  ").text("   V1  ").text("  As  ").text("  Asv").text("     M2  ")
        .text("   V2  ").text("   As  ").text("  Asv").text("     Mo  ").text("  剪折点").text("   As")
        .text("    As'").endLine();

    std::string barsText;
    for (int i = 1; i <= model.NB; ++i) {
        const double b = 1000 * model.members[i].b;
        const double h = 1000 * model.members[i].h;
        if (b < 51) continue; // no section: not a designed beam

        const double r1 = (1 - beta) * std::fabs(forces.M1[i]);
        const double r2 = (1 - beta) * std::fabs(forces.M2[i]);
        const SupportResult left = designSupport(forces.M1[i], forces.V1[i], beta, b, h, mat, settings, i);
        const SupportResult right = designSupport(forces.M2[i], forces.V2[i], beta, b, h, mat, settings, i);

        // Span: the moment shed by the supports is carried by the span.
        double Mo = forces.Mo[i] + (r1 + r2) / 2;
        const FlexureResult span = flexureDesign(std::fabs(Mo), b, h, mat);
        Mo = roundHalfEven(Mo);
        forces.Mo[i] = Mo;
        forces.X[i] = roundHalfEven2(forces.X[i]);
        const double spanAs = roundHalfEven(span.As);
        const double spanAsComp = roundHalfEven(span.AsComp);
        const BarArrangement bottom = arrangeBars(spanAs, b, h, numberValue(settings.cover), BarPosition::Bottom,
                                                  settings.bottomCount, settings.bottomDiameter);
        if (!allFinite({bottom.n, bottom.d, bottom.k, bottom.e, bottom.outer, bottom.second}))
            throw Failure(beamName(i) + "的梁底钢筋无法排列, 请检查通长筋的根数和直径");
        const std::string bottomBars = barString(bottom, BarPosition::Bottom);

        report.column(1).number(i)
            .column(6).number(forces.M1[i])
            .column(12).number(forces.V1[i])
            .column(19).number(left.As)
            .column(25).text(left.stirrups)
            .column(33).number(forces.M2[i])
            .column(40).number(forces.V2[i])
            .column(47).number(right.As)
            .column(53).text(right.stirrups)
            .column(61).number(Mo)
            .column(69).number(forces.X[i])
            .column(76).number(spanAs)
            .column(82).number(spanAsComp)
            .endLine();
        report.text("    预配钢筋").column(12).text(left.bars).column(39).text(right.bars).column(69).text(bottomBars)
            .endLine();

        barsText += quoted(left.bars) + ", " + quoted(left.stirrups) + ", " + quoted(right.bars) + ", " +
                    quoted(right.stirrups) + ", " + quoted(bottomBars) + CRLF;
    }
    return barsText;
}

void designColumns(const FrameModel& model, InternalForces& forces, const Materials& materials,
                   ReportWriter& report)
{
    checkRecord(model, forces);
    const MaterialConstants mat = materialConstants(materials);
    const int NB = model.NB, NC = model.NC;
    const int perStorey = model.NF > 0 ? NC / model.NF : NC;
    for (int c = 1; c <= NC; ++c) {
        const int i = NB + c;
        const Member& m = model.members[i];
        if (!(1000 * m.b < 51) && !allFinite({forces.M1[i], forces.M2[i], forces.N[c], m.len, m.b, m.h}))
            throw Failure(columnName(c) + "的内力不是有限数值, 无法配筋");
    }

    report.text("柱号").text("    M1   ").text("    N1   ").text("    As    ").text("   As'  ").text("    M2   ")
        .text("    N2   ").text("    As   ").text("     As'").endLine();

    for (int c = 1; c <= NC; ++c) {
        const int i = NB + c;
        const Member& m = model.members[i];
        const double b = 1000 * m.b;
        const double h = 1000 * m.h;
        const double H = m.len;
        const bool bottomStorey = i > NB + NC - perStorey;
        const double l0 = effectiveLengthFactor(bottomStorey) * H;
        if (b < 51) continue;

        // The axial force is given at the foot; the top end carries less by
        // the column's own weight (30 kN/m3).
        const double N = forces.N[c];
        const double Ntop = N - 0.00003 * b * h * H;
        const double AsTop = roundHalfEven(columnSteel(forces.M1[i], Ntop, b, h, l0, mat));
        const double AsBottom = roundHalfEven(columnSteel(forces.M2[i], N, b, h, l0, mat));
        forces.M1[i] = roundHalfEven(forces.M1[i]);
        forces.M2[i] = roundHalfEven(forces.M2[i]);

        report.column(1).number(c)
            .column(7).number(forces.M1[i])
            .column(16).number(roundHalfEven(Ntop))
            .column(25).number(AsTop)
            .column(34).number(AsTop)
            .column(43).number(forces.M2[i])
            .column(53).number(roundHalfEven(N))
            .column(62).number(AsBottom)
            .column(72).number(AsBottom)
            .endLine();
    }
}

std::string forceDiagramBeamLines(const FrameModel& model, const InternalForces& forces)
{
    checkRecord(model, forces);
    std::string out;
    for (int i = 1; i <= model.NB; ++i) {
        const double v[] = {forces.M1[i], forces.M2[i], forces.Mo[i], forces.V1[i], forces.V2[i]};
        std::string line;
        for (double x : v) {
            if (!std::isfinite(x)) throw Failure(beamName(i) + "的内力不是有限数值, 无法写入内力图文件");
            if (!line.empty()) line += ",";
            line += shortestDecimal(x);
        }
        out += line + CRLF;
    }
    return out;
}

std::string forceDiagramColumnLines(const FrameModel& model, const InternalForces& forces)
{
    checkRecord(model, forces);
    std::string out;
    for (int c = 1; c <= model.NC; ++c) {
        const int i = model.NB + c;
        if (!std::isfinite(forces.M1[i]) || !std::isfinite(forces.M2[i]))
            throw Failure(columnName(c) + "的内力不是有限数值, 无法写入内力图文件");
        out += shortestDecimal(forces.M1[i]) + "," + shortestDecimal(forces.M2[i]) + CRLF;
    }
    return out;
}

} // namespace kj
