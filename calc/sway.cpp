#include "calc/sway.h"

#include "common/failure.h"
#include "common/numbers.h"

#include <cmath>
#include <string>
#include <utility>

namespace kj {

namespace {

double& at(std::vector<double>& v, int i) { return v[static_cast<std::size_t>(i)]; }
double at(const std::vector<double>& v, int i) { return v[static_cast<std::size_t>(i)]; }

// The model with its horizontal storey forces alone: no span load, no joint
// force or moment, no column weight.
FrameModel horizontalModel(const FrameModel& model, bool unitShears)
{
    FrameModel m = model;
    const int NC = m.topo.NC;
    for (auto& loads : m.loads) loads.clear();
    m.columnWeight = false;
    std::vector<JointLoadGroup> groups;
    if (unitShears) {
        for (int J = 1; J <= m.topo.NF; ++J) groups.push_back({{m.topo.drift(J)}, 1.0, 0.0});
    } else {
        for (const JointLoadGroup& g : model.jointGroups) {
            JointLoadGroup h{{}, g.F, 0.0};
            for (int d : g.numbers)
                if (d > NC) h.numbers.push_back(d);
            if (!h.numbers.empty()) groups.push_back(h);
        }
    }
    m.jointGroups = groups;
    return m;
}

} // namespace

SwayLoading swayLoading(const FrameModel& model, double Ec, bool unitShears)
{
    const FrameTopology& t = model.topo;
    SwayLoading l;
    const FrameModel loaded = horizontalModel(model, unitShears);
    InternalForces elastic = analyse(loaded);
    const Displacements e = realDisplacements(loaded, elastic, Ec);
    // B.0.5: beams at 0.4 EcI, columns at 0.6 EcI.
    FrameModel reduced = loaded;
    for (int i = 1; i <= t.memberCount(); ++i)
        reduced.members[static_cast<std::size_t>(i)].stiffnessFactor *= t.isBeam(i) ? 0.4 : 0.6;
    const InternalForces rf = analyse(reduced);
    const Displacements d = realDisplacements(reduced, rf, Ec);
    l.shear.assign(static_cast<std::size_t>(t.NF) + 1, 0.0);
    l.drift = l.shear;
    l.elasticDrift = l.shear;
    for (int J = 1; J <= t.NF; ++J) {
        at(l.shear, J) = at(rf.storeyShear, J);
        at(l.drift, J) = d.drift[static_cast<std::size_t>(J)] / 1000; // m
        at(l.elasticDrift, J) = e.drift[static_cast<std::size_t>(J)] / 1000;
    }
    if (!unitShears) l.horizontal = std::move(elastic);
    return l;
}

SwayEffect combinedSway(const FrameModel& model, const std::vector<double>& N,
                        const std::vector<std::pair<double, const SwayLoading*>>& terms, double Ec,
                        std::optional<SwayLoading>& unit)
{
    const FrameTopology& t = model.topo;
    SwayEffect s;
    s.storeys.assign(static_cast<std::size_t>(t.NF) + 1, SwayStorey{});
    // The horizontal forces of the terms, storey by storey.
    auto sum = [&](auto field, int J) {
        double v = 0;
        for (const auto& [f, l] : terms) v += f * field(*l, J);
        return v;
    };
    auto applied = [](const SwayLoading& l, int J) { return at(l.horizontal.storeyShear, J); };
    bool everyStorey = true;
    for (int J = 1; J <= t.NF; ++J) {
        const double V = sum(applied, J);
        s.loaded = s.loaded || V != 0;
        everyStorey = everyStorey && V != 0;
    }
    if (!everyStorey && !unit) unit = swayLoading(model, Ec, true);
    auto shearOf = [](const SwayLoading& l, int K) { return at(l.shear, K); };
    auto driftOf = [](const SwayLoading& l, int K) { return at(l.drift, K); };
    auto elasticDriftOf = [](const SwayLoading& l, int K) { return at(l.elasticDrift, K); };
    for (int J = 1; J <= t.NF; ++J) {
        SwayStorey& st = s.storeys[static_cast<std::size_t>(J)];
        st.storey = J;
        st.H0 = model.y[static_cast<std::size_t>(J)] - model.y[static_cast<std::size_t>(J + 1)];
        for (int c = t.firstColumnOfStorey(J); c < t.firstColumnOfStorey(J) + t.L + 1; ++c) st.sumN += at(N, c);
        st.unitShears = !everyStorey;
        const double V = everyStorey ? sum(shearOf, J) : shearOf(*unit, J);
        st.D = V / (everyStorey ? sum(driftOf, J) : driftOf(*unit, J));
        st.elasticD = V / (everyStorey ? sum(elasticDriftOf, J) : elasticDriftOf(*unit, J));
        st.stabilityLimit = frameStabilityStiffness(st.sumN, st.H0);
        // A storey standing on props alone (every column narrower than 51 mm,
        // analysed and not designed) models supports, not a storey that sways:
        // nothing of it is designed, and etaS stays 1.
        bool propsOnly = true;
        for (int c = t.firstColumnOfStorey(J); c < t.firstColumnOfStorey(J) + t.L + 1; ++c)
            propsOnly = propsOnly && model.member(t.columnMember(c)).analysedOnly();
        if (propsOnly) continue;
        const std::string storey = "第 " + std::to_string(t.fromGround(J)) + " 层 (自下而上)";
        for (const auto& [name, value] : {std::pair{"侧向刚度 D", st.D}, std::pair{"弹性侧向刚度 Di", st.elasticD}})
            if (!(value > 0) || !std::isfinite(value))
                throw Failure(storey + "的" + name + " = " + shortestDecimal(roundHalfEven(value)) +
                              " kN/m 不大于零: 该层不能抵抗侧移, 无法按 GB50010-2010 附录 B.0.4 计算 ηs");
        // JGJ 3-2010 5.4.4-2. A storey that passes has sumN / (D H0) of
        // about 0.25 at most (B.0.5 reduces the stiffness to 0.4 to 0.6).
        if (!(st.elasticD >= st.stabilityLimit))
            throw Failure(storey + "的弹性侧向刚度 Di = " + shortestDecimal(roundHalfEven(st.elasticD)) +
                          " kN/m 小于 10ΣGj/hi = 10 × " + shortestDecimal(roundHalfEven(st.sumN)) + " / " +
                          shortestDecimal(st.H0) + " = " + shortestDecimal(roundHalfEven(st.stabilityLimit)) +
                          " kN/m: 不满足 JGJ 3-2010 5.4.4 条框架的整体稳定要求, 请加大柱截面");
        const double ratio = st.sumN / (st.D * st.H0);
        if (!(ratio < 1) || !std::isfinite(ratio))
            throw Failure(storey + "柱轴力之和 " + shortestDecimal(roundHalfEven(st.sumN)) + " kN 达到 D H0 = " +
                          shortestDecimal(roundHalfEven(st.D * st.H0)) +
                          " kN: 该层侧向失稳, 无法按 GB50010-2010 附录 B.0.4 计算 ηs");
        st.etaS = 1 / (1 - std::max(0.0, ratio)); // B.0.4-3; tension in a storey never lowers etaS below 1
    }
    return s;
}

SwayEffect swayEffect(const FrameModel& model, const InternalForces& forces, double Ec)
{
    SwayLoading own = swayLoading(model, Ec);
    std::optional<SwayLoading> unit;
    SwayEffect s = combinedSway(model, forces.N, {{1.0, &own}}, Ec, unit);
    s.horizontal = std::move(own.horizontal);
    return s;
}

double beamSwayFactor(const FrameModel& model, const SwayEffect& sway, int beam)
{
    const int J = model.topo.beamStorey(beam);
    const double below = sway.storeys[static_cast<std::size_t>(J)].etaS;
    if (J == 1) return below;
    return (below + sway.storeys[static_cast<std::size_t>(J - 1)].etaS) / 2;
}

InternalForces magnifiedForces(const FrameModel& model, const InternalForces& forces, const SwayEffect& sway)
{
    const FrameTopology& t = model.topo;
    InternalForces f = forces;
    const InternalForces& h = sway.horizontal;
    if (!sway.loaded) return f;
    for (int i = 1; i <= t.NB; ++i) {
        const double k = beamSwayFactor(model, sway, i) - 1;
        at(f.M1, i) += k * at(h.M1, i);
        at(f.M2, i) += k * at(h.M2, i);
        at(f.V1, i) += k * at(h.V1, i);
        at(f.V2, i) += k * at(h.V2, i);
        // The sway moment along the beam is linear: M1 at the left end, -M2 at the right.
        const double L = model.member(i).len;
        if (L > 0) at(f.Mo, i) += k * (at(h.M1, i) - (at(h.M1, i) + at(h.M2, i)) * at(f.X, i) / L);
    }
    for (int c = 1; c <= t.NC; ++c) {
        const int i = t.columnMember(c);
        const double k = sway.storeys[static_cast<std::size_t>(t.columnStorey(c))].etaS - 1;
        at(f.M1, i) += k * at(h.M1, i);
        at(f.M2, i) += k * at(h.M2, i);
    }
    return f;
}

} // namespace kj
