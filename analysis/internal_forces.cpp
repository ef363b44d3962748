#include "analysis/internal_forces.h"

#include "common/failure.h"

#include <algorithm>
#include <cmath>

namespace kj {

SpanResult spanAnalysis(const std::vector<LoadEntry>& loads, double S, double M1, double M2)
{
    // Left reaction of the simply supported span.
    double R0 = 0;
    for (const LoadEntry& e : loads) R0 += (e.a > 0) ? e.w * e.a * e.r / S : e.w * e.r / S;
    SpanResult res;
    res.V1 = R0 - (M1 + M2) / S;
    // Walk the entries from the left end until the shear changes sign.
    double V = res.V1, M = M1, x = 0;
    for (const LoadEntry& e : loads) {
        const double Vs = V;
        V = (e.a > 0) ? V - e.w * e.a : V - e.w;
        if (Vs > 0) {
            M = M + (Vs + V) * e.a / 2;
            x = x + e.a;
            if (e.a > 0 && V < 0) {
                const double t = Vs / e.w;
                M = M - V * (e.a - t) / 2;
                x = x - e.a + t;
            }
        }
    }
    res.V2 = V;
    res.Mo = M;
    res.x = x;
    return res;
}

double columnSelfWeight(const Member& col) { return col.b * col.h * col.len * 30; }

double appliedColumnWeight(const FrameModel& model, const Member& column)
{
    return model.columnWeight ? columnSelfWeight(column) : 0.0;
}

namespace {

// Sizes the record, puts the fixed-end moments of the beams in M1, M2 and
// the joint loads as applied in jointMoment, jointForce, storeyShear and N,
// and returns the stiffness with its load vector.
StiffnessSystem loadedSystem(const FrameModel& m, InternalForces& f)
{
    const FrameTopology& t = m.topo;
    const int members = t.memberCount();
    auto sized = [](std::vector<double>& v, int n) { v.assign(static_cast<std::size_t>(n) + 1, 0.0); };
    sized(f.M1, members);
    sized(f.M2, members);
    for (auto* v : {&f.V1, &f.V2, &f.Mo, &f.X}) sized(*v, t.NB);
    for (auto* v : {&f.R, &f.N, &f.jointMoment, &f.jointForce}) sized(*v, t.NC);
    sized(f.storeyShear, t.NF);
    auto at = [](std::vector<double>& v, int i) -> double& { return v[static_cast<std::size_t>(i)]; };

    StiffnessSystem sys = assembleStiffness(m);

    // 1. Fixed-end moments of the beams.
    for (int I = 1; I <= t.NB; ++I) {
        const double S = m.member(I).len;
        for (const LoadEntry& e : m.loads[static_cast<std::size_t>(I)]) {
            const double w = e.w, a = e.a, r = e.r, x = S - r;
            if (a == 0) {
                at(f.M1, I) = at(f.M1, I) - w * x * r * r / (S * S);
                at(f.M2, I) = at(f.M2, I) + w * x * x * r / (S * S);
            } else {
                at(f.M1, I) = at(f.M1, I) - w * a * (12 * x * r * r - 3 * r * a * a + a * a * S) / (12 * S * S);
                at(f.M2, I) = at(f.M2, I) + w * a * (12 * x * x * r + 3 * r * a * a - 2 * a * a * S) / (12 * S * S);
            }
        }
    }

    // 2. Joint loads: later groups replace earlier values.
    for (const JointLoadGroup& g : m.jointGroups) {
        for (int d : g.numbers) {
            sys.P[static_cast<std::size_t>(d)] = g.M;
            if (d <= t.NC) at(f.N, d) = g.F;
            else sys.P[static_cast<std::size_t>(d)] = g.F;
        }
    }
    for (int n = 1; n <= t.NC; ++n) {
        at(f.jointMoment, n) = sys.P[static_cast<std::size_t>(t.rotation(n))];
        at(f.jointForce, n) = at(f.N, n);
    }
    for (int J = 1; J <= t.NF; ++J) at(f.storeyShear, J) = sys.P[static_cast<std::size_t>(t.drift(J))];

    // 3. Load vector: the fixed-end moments of the beams meeting at a node.
    for (int n = 1; n <= t.NC; ++n) {
        double& p = sys.P[static_cast<std::size_t>(t.rotation(n))];
        const int left = t.beamLeftOf(n), right = t.beamRightOf(n);
        if (left == 0) p = p + at(f.M1, right);
        else if (right == 0) p = p + at(f.M2, left);
        else p = p + at(f.M2, left) + at(f.M1, right);
    }

    return sys;
}

} // namespace

StiffnessSystem loadedStiffness(const FrameModel& m)
{
    InternalForces f;
    return loadedSystem(m, f);
}

InternalForces analyse(const FrameModel& m) { return analyse(m, LoadSolver{}); }

InternalForces analyse(const FrameModel& m, const LoadSolver& solveLoads)
{
    const FrameTopology& t = m.topo;
    const int members = t.memberCount();
    InternalForces f;
    StiffnessSystem sys = loadedSystem(m, f);
    auto at = [](std::vector<double>& v, int i) -> double& { return v[static_cast<std::size_t>(i)]; };
    if (solveLoads) solveLoads(sys.P);
    else solve(sys, m);
    f.displacement = sys.P;
    auto x = [&](int d) { return d == 0 ? 0.0 : sys.P[static_cast<std::size_t>(d)]; };

    // 4. Beam end moments and span results.
    for (int I = 1; I <= t.NB; ++I) {
        const int a = t.rotation(t.leftNode(I)), e = t.rotation(t.rightNode(I));
        const Member& b = m.member(I);
        const double c2 = 2 * b.bending() / b.len, c4 = 2 * c2;
        at(f.M1, I) = at(f.M1, I) - c4 * x(a) - c2 * x(e);
        at(f.M2, I) = at(f.M2, I) - c2 * x(a) - c4 * x(e);
        SpanResult s = spanAnalysis(m.loads[static_cast<std::size_t>(I)], b.len, at(f.M1, I), at(f.M2, I));
        at(f.Mo, I) = s.Mo;
        at(f.V1, I) = s.V1;
        at(f.V2, I) = s.V2;
        at(f.X, I) = s.x;
    }

    // 5. Column end moments.
    for (int col = 1; col <= t.NC; ++col) {
        const int I = t.columnMember(col);
        const int top = t.rotation(t.topNode(col));
        const int foot = t.bottomNode(col) == 0 ? 0 : t.rotation(t.bottomNode(col));
        const int d = t.drift(t.columnStorey(col));
        const Member& c = m.member(I);
        const double S = c.bending();
        const double c2 = 2 * S / c.len, c4 = 2 * c2, c6 = 3 * c2 / c.len;
        at(f.M1, I) = -c4 * x(top) - c2 * x(foot) - c6 * x(d);
        at(f.M2, I) = -c4 * x(foot) - c2 * x(top) - c6 * x(d);
    }

    // 6. Forces the beams deliver to the nodes.
    for (int n = 1; n <= t.NC; ++n) {
        const int left = t.beamLeftOf(n), right = t.beamRightOf(n);
        if (left == 0) at(f.R, n) = at(f.V1, right);
        else if (right == 0) at(f.R, n) = -at(f.V2, left);
        else at(f.R, n) = at(f.V1, right) - at(f.V2, left);
    }

    // 7. Column axial forces at the foot, with the column's own weight.
    for (int c = 1; c <= t.NC; ++c) {
        const double W = appliedColumnWeight(m, m.member(t.columnMember(c)));
        if (t.columnStorey(c) == 1) at(f.N, c) = at(f.N, c) + at(f.R, c) + W;
        else at(f.N, c) = at(f.N, c) + at(f.R, c) + W + at(f.N, c - (t.L + 1));
    }

    for (const std::vector<double>* v : {&f.M1, &f.M2, &f.V1, &f.V2, &f.Mo, &f.X, &f.R, &f.N})
        for (double val : *v)
            if (!std::isfinite(val))
                throw Failure(m.fileKind + " " + m.fileName + ": 内力计算结果超出数值范围, 请检查尺寸和荷载");

    // 8. Forces along every member.
    f.along.assign(static_cast<std::size_t>(members) + 1, MemberForces{});
    for (int I = 1; I <= t.NB; ++I) {
        MemberForces& a = f.along[static_cast<std::size_t>(I)];
        const double S = m.member(I).len;
        a.length = S;
        a.M1 = at(f.M1, I);
        a.V1 = at(f.V1, I);
        a.xMax = at(f.X, I);
        for (const LoadEntry& e : m.loads[static_cast<std::size_t>(I)]) {
            const double centre = S - e.r;
            a.loads.push_back({centre - e.a / 2, centre + e.a / 2, e.w});
        }
    }
    for (int c = 1; c <= t.NC; ++c) {
        const int I = t.columnMember(c);
        MemberForces& a = f.along[static_cast<std::size_t>(I)];
        a.length = m.member(I).len;
        a.M1 = at(f.M1, I);
        a.V1 = -(at(f.M1, I) + at(f.M2, I)) / a.length;
        a.N2 = at(f.N, c);
        a.N1 = a.N2 - appliedColumnWeight(m, m.member(I));
    }
    return f;
}

Displacements realDisplacements(const FrameModel& m, const InternalForces& f, double Ec)
{
    const FrameTopology& t = m.topo;
    Displacements d;
    d.Ec = Ec;
    // Ec in kN/m2 for the stiffness in kN and m: a rotation in rad, a drift in m.
    const double toReal = 12 / (Ec * 1000);
    d.rotation.assign(static_cast<std::size_t>(t.NC) + 1, 0.0);
    d.drift.assign(static_cast<std::size_t>(t.NF) + 1, 0.0);
    d.driftRatio.assign(static_cast<std::size_t>(t.NF) + 1, 0.0);
    for (int n = 1; n <= t.NC; ++n)
        d.rotation[static_cast<std::size_t>(n)] = f.displacement[static_cast<std::size_t>(t.rotation(n))] * toReal;
    for (int J = 1; J <= t.NF; ++J) {
        const double metres = f.displacement[static_cast<std::size_t>(t.drift(J))] * toReal;
        const double height = m.y[static_cast<std::size_t>(J)] - m.y[static_cast<std::size_t>(J + 1)];
        d.drift[static_cast<std::size_t>(J)] = metres * 1000;
        d.driftRatio[static_cast<std::size_t>(J)] = metres / height;
    }
    return d;
}

double EquilibriumResiduals::largest() const
{
    double r = std::fabs(vertical);
    for (double v : joint) r = std::max(r, std::fabs(v));
    for (double v : storey) r = std::max(r, std::fabs(v));
    return r;
}

EquilibriumResiduals equilibriumResiduals(const FrameModel& m, const InternalForces& f)
{
    const FrameTopology& t = m.topo;
    auto v = [](const std::vector<double>& a, int i) { return a[static_cast<std::size_t>(i)]; };
    EquilibriumResiduals r;
    r.joint.assign(static_cast<std::size_t>(t.NC) + 1, 0.0);
    r.storey.assign(static_cast<std::size_t>(t.NF) + 1, 0.0);
    for (int n = 1; n <= t.NC; ++n) r.joint[static_cast<std::size_t>(n)] = v(f.jointMoment, n);
    for (int J = 1; J <= t.NF; ++J) r.storey[static_cast<std::size_t>(J)] = -v(f.storeyShear, J);
    double load = 0, atGround = 0;
    for (int I = 1; I <= t.NB; ++I) {
        if (const int left = t.leftNode(I)) r.joint[static_cast<std::size_t>(left)] += v(f.M1, I);
        if (const int right = t.rightNode(I)) r.joint[static_cast<std::size_t>(right)] += v(f.M2, I);
        for (const LoadEntry& e : m.loads[static_cast<std::size_t>(I)]) load += e.a > 0 ? e.w * e.a : e.w;
        for (double x : {v(f.M1, I), v(f.M2, I), v(f.V1, I), v(f.V2, I)})
            r.largestEndForce = std::max(r.largestEndForce, std::fabs(x));
    }
    for (int c = 1; c <= t.NC; ++c) {
        const int I = t.columnMember(c);
        r.joint[static_cast<std::size_t>(t.topNode(c))] += v(f.M1, I);
        if (const int foot = t.bottomNode(c)) r.joint[static_cast<std::size_t>(foot)] += v(f.M2, I);
        // Column shear from its end moments; the storey's shears carry the storey shear.
        r.storey[static_cast<std::size_t>(t.columnStorey(c))] += -(v(f.M1, I) + v(f.M2, I)) / m.member(I).len;
        load += v(f.jointForce, c) + appliedColumnWeight(m, m.member(I));
        if (t.bottomStorey(c)) atGround += v(f.N, c);
        for (double x : {v(f.M1, I), v(f.M2, I), v(f.N, c)})
            r.largestEndForce = std::max(r.largestEndForce, std::fabs(x));
    }
    r.vertical = atGround - load;
    return r;
}

} // namespace kj
