#include "deflection.h"

#include <algorithm>
#include <cmath>

namespace kjd {

DeflectedShape deflectedShape(const kj::CalculationResult& r, int pieces)
{
    const kj::FrameModel& m = r.model;
    const kj::FrameTopology& t = m.topo;
    const kj::InternalForces& f = r.forces;
    const auto disp = [&](int dof) { return dof <= 0 ? 0.0 : f.displacement[static_cast<std::size_t>(dof)]; };

    DeflectedShape shape;
    shape.sway.assign(static_cast<std::size_t>(t.NF) + 2, 0.0);
    for (int J = t.NF; J >= 1; --J)
        shape.sway[static_cast<std::size_t>(J)] = shape.sway[static_cast<std::size_t>(J + 1)] + disp(t.drift(J));

    shape.members.assign(static_cast<std::size_t>(t.memberCount()) + 1, DeflectedMember{});
    pieces = std::max(2, pieces);
    for (int i = 1; i <= t.memberCount(); ++i) {
        const kj::MemberForces& a = f.along[static_cast<std::size_t>(i)];
        const kj::Member& mem = m.member(i);
        const double L = a.length;
        const double EI = mem.bending();
        DeflectedMember& out = shape.members[static_cast<std::size_t>(i)];
        if (!(L > 0) || !(EI > 0)) continue;

        // Ends: a beam's ends stay at their level, a column's ends sway with theirs.
        double w0 = 0, wL = 0, axial = 0;
        const bool beam = t.isBeam(i);
        if (beam) {
            axial = shape.sway[static_cast<std::size_t>(t.beamStorey(i))];
        } else {
            const int c = i - t.NB;
            const int level = t.columnStorey(c);
            w0 = -shape.sway[static_cast<std::size_t>(level)];
            wL = -shape.sway[static_cast<std::size_t>(level + 1)];
        }

        // W'' = -M/EI with W(0) = W'(0) = 0, exact for M quadratic on each piece.
        // At least `pieces` points over the whole member, and two per interval.
        std::vector<double> xs{0.0};
        const std::vector<double> st = a.stations();
        const int per = std::max(2, pieces / std::max<int>(1, static_cast<int>(st.size()) - 1));
        for (std::size_t k = 1; k < st.size(); ++k)
            for (int p = 1; p <= per; ++p) xs.push_back(st[k - 1] + (st[k] - st[k - 1]) * p / per);
        std::vector<double> W(xs.size(), 0.0), S(xs.size(), 0.0);
        const auto curv = [&](double x) { return -a.M(x) / EI; };
        for (std::size_t k = 1; k < xs.size(); ++k) {
            const double x0 = xs[k - 1], x1 = xs[k], h = x1 - x0, xm = (x0 + x1) / 2;
            const double c0 = curv(x0), cq = curv(x0 + h / 4), cm = curv(xm), c3 = curv(x0 + 3 * h / 4), c1 = curv(x1);
            const double Sm = S[k - 1] + h / 12 * (c0 + 4 * cq + cm);
            S[k] = Sm + h / 12 * (cm + 4 * c3 + c1);
            W[k] = W[k - 1] + h / 6 * (S[k - 1] + 4 * Sm + S[k]);
        }
        const double c = (wL - w0 - W.back()) / L;
        out.s = xs;
        out.dx.resize(xs.size());
        out.dy.resize(xs.size());
        out.slope.resize(xs.size());
        for (std::size_t k = 0; k < xs.size(); ++k) {
            const double w = w0 + c * xs[k] + W[k];
            out.slope[k] = c + S[k];
            // Right of travel: below a beam (left to right), left of a column (top to bottom).
            if (beam) {
                out.dx[k] = axial;
                out.dy[k] = -w;
            } else {
                out.dx[k] = -w;
                out.dy[k] = 0;
            }
            shape.largest = std::max(shape.largest, std::hypot(out.dx[k], out.dy[k]));
        }
    }
    return shape;
}

} // namespace kjd
