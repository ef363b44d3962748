#include "calc/live_load.h"

#include "analysis/internal_forces.h"
#include "common/failure.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <algorithm>

namespace kj {

namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }

UnitForces unitOf(const InternalForces& f)
{
    return {f.M1, f.M2, f.V1, f.V2, f.N};
}

// The stiffness of a frame factored once (sparse LDL^T of the banded
// matrix), to solve for many load vectors. The frame has already been
// analysed, so a singular stiffness has already been refused.
class FactoredStiffness {
public:
    explicit FactoredStiffness(const FrameModel& m)
    {
        const StiffnessSystem s = assembleStiffness(m);
        N_ = s.N;
        // The lower triangle, each entry standing for (i, j) and (j, i).
        std::vector<Eigen::Triplet<double>> entries;
        for (const StiffnessSystem::Entry& e : s.entries)
            entries.emplace_back(std::max(e.row, e.col) - 1, std::min(e.row, e.col) - 1, e.value);
        Eigen::SparseMatrix<double> K(N_, N_);
        K.setFromTriplets(entries.begin(), entries.end());
        ldlt_.compute(K);
        if (ldlt_.info() != Eigen::Success)
            throw Failure("数据文件 " + m.fileName + ": 刚度矩阵无法分解, 不能计算活载的不利布置");
    }
    void solve(std::vector<double>& P) const
    {
        const Eigen::Map<const Eigen::VectorXd> loads(P.data() + 1, N_);
        const Eigen::VectorXd d = ldlt_.solve(loads);
        for (int i = 0; i < N_; ++i) P[z(i + 1)] = d[i];
    }

private:
    int N_ = 0;
    Eigen::SimplicialLDLT<Eigen::SparseMatrix<double>> ldlt_;
};

} // namespace

LiveLoadUnits liveLoadUnits(const FrameModel& q)
{
    LiveLoadUnits out;
    const FrameTopology& t = q.topo;
    const FactoredStiffness stiffness(q);
    const LoadSolver solver = [&](std::vector<double>& P) { stiffness.solve(P); };
    FrameModel alone = q;
    alone.jointGroups.clear();
    for (auto& l : alone.loads) l.clear();
    for (int i = 1; i <= t.NB; ++i) {
        if (q.loads[z(i)].empty()) continue;
        alone.loads[z(i)] = q.loads[z(i)];
        out.beams.push_back(i);
        out.units.push_back(unitOf(analyse(alone, solver)));
        alone.loads[z(i)].clear();
    }
    alone.jointGroups = q.jointGroups;
    if (q.jointGroups.empty()) {
        const InternalForces none = [&] {
            InternalForces f;
            f.M1.assign(z(t.memberCount()) + 1, 0.0);
            f.M2 = f.M1;
            f.V1.assign(z(t.NB) + 1, 0.0);
            f.V2 = f.V1;
            f.N.assign(z(t.NC) + 1, 0.0);
            return f;
        }();
        out.rest = unitOf(none);
    } else {
        out.rest = unitOf(analyse(alone, solver));
    }
    return out;
}

MemberForces layoutAlong(const LiveLoadUnits& q, const std::vector<char>& loaded, const MemberForces& full, int beam)
{
    MemberForces a;
    a.length = full.length;
    a.M1 = q.sum(loaded, &UnitForces::M1, beam);
    a.V1 = q.sum(loaded, &UnitForces::V1, beam);
    if (loaded[z(beam)]) a.loads = full.loads;
    return a;
}

MemberForces unitAlong(const LiveLoadUnits& q, std::size_t u, const MemberForces& full, int member, bool isBeam)
{
    const UnitForces& f = q.units[u];
    MemberForces a;
    a.length = full.length;
    a.M1 = f.M1[z(member)];
    // A column carries no span load: its shear is that of its end moments.
    a.V1 = isBeam ? f.V1[z(member)] : (full.length > 0 ? -(f.M1[z(member)] + f.M2[z(member)]) / full.length : 0.0);
    if (isBeam && q.beams[u] == member) a.loads = full.loads;
    return a;
}

} // namespace kj
