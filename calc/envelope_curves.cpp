// The envelope curves of the forces along a member, for the drawings and
// the result file.
#include "calc/envelope.h"

#include <algorithm>
#include <array>

namespace kj {

namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }

} // namespace

std::vector<EnvelopePoint> memberEnvelope(const EnvelopeResult& r, int member, int pieces)
{
    std::vector<double> xs;
    for (const CombinationResult& c : r.combinations) {
        const std::vector<double> s = c.forces.along[z(member)].stations();
        xs.insert(xs.end(), s.begin(), s.end());
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    if (pieces > 1 && xs.size() > 1) {
        std::vector<double> finer{xs.front()};
        for (std::size_t k = 1; k < xs.size(); ++k)
            for (int q = 1; q <= pieces; ++q)
                finer.push_back(q == pieces ? xs[k] : xs[k - 1] + (xs[k] - xs[k - 1]) * q / pieces);
        xs = std::move(finer);
    }
    // With live-load layouts: Q of a combination is Q as given (every part
    // loaded) less the parts that lower the value, so at each x the largest
    // value over every layout adds f x the sum of the parts below zero, the
    // least subtracts f x the sum of those above.
    std::vector<MemberForces> parts;
    if (r.liveLoad) {
        const LoadCaseResult* q = nullptr;
        for (const LoadCaseResult& c : r.cases)
            if (c.kind == LoadCaseKind::Q) q = &c;
        const FrameTopology& t = r.envelope.topo();
        for (std::size_t u = 0; q && u < r.liveLoad->units.size(); ++u)
            parts.push_back(unitAlong(*r.liveLoad, u, q->result.forces.along[z(member)], member, t.isBeam(member)));
    }
    std::vector<EnvelopePoint> out;
    for (double x : xs) {
        // The parts' sums above and below zero: M, V left and right of x
        // (a part without loads on this member is linear along it).
        std::array<double, 3> up{}, down{};
        for (const MemberForces& a : parts) {
            const std::array<double, 3> v = a.loads.empty() ? std::array<double, 3>{a.M1 + a.V1 * x, a.V1, a.V1}
                                                            : std::array<double, 3>{a.M(x), a.V(x, true), a.V(x)};
            for (std::size_t k = 0; k < 3; ++k) (v[k] > 0 ? up : down)[k] += v[k];
        }
        EnvelopePoint p;
        p.x = x;
        bool first = true;
        for (const CombinationResult& c : r.combinations) {
            double f = 0;
            if (!parts.empty() && !c.combination.uses(LoadCaseKind::E))
                for (const CombinationTerm& term : c.combination.terms)
                    if (term.kind == LoadCaseKind::Q) f = term.factor;
            const MemberForces& a = c.forces.along[z(member)];
            const std::array<double, 3> v{a.M(x), a.V(x, true), a.V(x)};
            std::array<double, 3> hi{}, lo{};
            for (std::size_t k = 0; k < 3; ++k) {
                hi[k] = v[k] - f * down[k];
                lo[k] = v[k] - f * up[k];
            }
            if (first) {
                p.Mmax = hi[0];
                p.Mmin = lo[0];
                p.Vmax = std::max(hi[1], hi[2]);
                p.Vmin = std::min(lo[1], lo[2]);
                first = false;
            }
            p.Mmax = std::max(p.Mmax, hi[0]);
            p.Mmin = std::min(p.Mmin, lo[0]);
            p.Vmax = std::max({p.Vmax, hi[1], hi[2]});
            p.Vmin = std::min({p.Vmin, lo[1], lo[2]});
        }
        out.push_back(p);
    }
    return out;
}

} // namespace kj
