#include "analysis/internal_forces.h"

#include "common/failure.h"

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

InternalForces analyse(const FrameModel& m)
{
    const int members = m.NB + m.NC;
    InternalForces f;
    f.M1.assign(static_cast<std::size_t>(members) + 1, 0.0);
    f.M2.assign(static_cast<std::size_t>(members) + 1, 0.0);
    f.V1.assign(static_cast<std::size_t>(m.NB) + 1, 0.0);
    f.V2.assign(static_cast<std::size_t>(m.NB) + 1, 0.0);
    f.Mo.assign(static_cast<std::size_t>(m.NB) + 1, 0.0);
    f.X.assign(static_cast<std::size_t>(m.NB) + 1, 0.0);
    f.R.assign(static_cast<std::size_t>(m.NC) + 1, 0.0);
    f.N.assign(static_cast<std::size_t>(m.NC) + 1, 0.0);
    auto mem = [&](int i) -> const Member& { return m.members[static_cast<std::size_t>(i)]; };
    auto at = [](std::vector<double>& v, int i) -> double& { return v[static_cast<std::size_t>(i)]; };

    StiffnessSystem sys = assembleStiffness(m);

    // 1. Fixed-end moments of the beams.
    for (int I = 1; I <= m.NB; ++I) {
        const double S = mem(I).len;
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
            if (d <= m.NC) at(f.N, d) = g.F;
            else sys.P[static_cast<std::size_t>(d)] = g.F;
        }
    }

    // 3. Load vector: the fixed-end moments of the beams meeting at a node.
    for (int J = 1; J <= m.NF; ++J) {
        const int first = (J - 1) * (m.L + 1) + 1, last = J * (m.L + 1);
        for (int n = first; n <= last; ++n) {
            double& p = sys.P[static_cast<std::size_t>(n)];
            if (n == first) p = p + at(f.M1, n + 1 - J);
            else if (n == last) p = p + at(f.M2, n - J);
            else p = p + at(f.M2, n - J) + at(f.M1, n - J + 1);
        }
    }

    solve(sys, m);
    auto x = [&](int d) { return d == 0 ? 0.0 : sys.P[static_cast<std::size_t>(d)]; };

    // 4. Beam end moments and span results.
    for (int J = 1; J <= m.NF; ++J) {
        for (int I = (J - 1) * m.L + 1; I <= J * m.L; ++I) {
            const int a = I + J - 1, e = I + J;
            const Member& b = mem(I);
            const double c2 = 2 * b.b * b.h * b.h * b.h / b.len, c4 = 2 * c2;
            at(f.M1, I) = at(f.M1, I) - c4 * x(a) - c2 * x(e);
            at(f.M2, I) = at(f.M2, I) - c2 * x(a) - c4 * x(e);
            SpanResult s = spanAnalysis(m.loads[static_cast<std::size_t>(I)], b.len, at(f.M1, I), at(f.M2, I));
            at(f.Mo, I) = s.Mo;
            at(f.V1, I) = s.V1;
            at(f.V2, I) = s.V2;
            at(f.X, I) = s.x;
        }
    }

    // 5. Column end moments.
    for (int J = 1; J <= m.NF; ++J) {
        for (int I = m.NB + (J - 1) * (m.L + 1) + 1; I <= m.NB + J * (m.L + 1); ++I) {
            const int t = I - m.NB;
            const int u = (J == m.NF) ? 0 : t + (m.L + 1);
            const int d = m.NC + J;
            const Member& c = mem(I);
            const double S = c.b * c.h * c.h * c.h;
            const double c2 = 2 * S / c.len, c4 = 2 * c2, c6 = 3 * c2 / c.len;
            at(f.M1, I) = -c4 * x(t) - c2 * x(u) - c6 * x(d);
            at(f.M2, I) = -c4 * x(u) - c2 * x(t) - c6 * x(d);
        }
    }

    // 6. Forces the beams deliver to the nodes.
    for (int J = 1; J <= m.NF; ++J) {
        const int first = (J - 1) * (m.L + 1) + 1, last = J * (m.L + 1);
        for (int n = first; n <= last; ++n) {
            if (n == first) at(f.R, n) = at(f.V1, n + 1 - J);
            else if (n == last) at(f.R, n) = -at(f.V2, n - J);
            else at(f.R, n) = at(f.V1, n + 1 - J) - at(f.V2, n - J);
        }
    }

    // 7. Column axial forces at the foot, with the column's own weight.
    for (int c = 1; c <= m.NC; ++c) {
        const Member& col = mem(m.NB + c);
        const double W = col.b * col.h * col.len * 30;
        if (c <= m.L + 1) at(f.N, c) = at(f.N, c) + at(f.R, c) + W;
        else at(f.N, c) = at(f.N, c) + at(f.R, c) + W + at(f.N, c - (m.L + 1));
    }

    for (const std::vector<double>* v : {&f.M1, &f.M2, &f.V1, &f.V2, &f.Mo, &f.X, &f.R, &f.N})
        for (double val : *v)
            if (!std::isfinite(val))
                throw Failure("数据文件 " + m.fileName + ": 内力计算结果超出数值范围, 请检查尺寸和荷载");
    return f;
}

} // namespace kj
