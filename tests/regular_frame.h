#pragma once
// A regular frame built directly as a model, of any size the data file
// cannot state: equal spans and storeys, one beam and one column section
// (the ground storey's columns may be larger), a uniform load on the whole of
// every beam and the same horizontal force at every level, summed into the
// storey shears from the top down. Shared by the tests and the benchmarks.
#include "analysis/frame_model.h"
#include "calc/combinations.h"
#include "calc/load_cases.h"

#include <string>

namespace kjtest {

struct RegularFrame {
    int spans = 2, storeys = 1;
    double span = 6.0, storeyHeight = 3.6;     // m
    double beamB = 0.25, beamH = 0.6;          // m
    double columnB = 0.5, columnH = 0.5;       // m
    double groundColumnH = 0;                  // m; 0: as the others
    double q = 20;                             // kN/m on every beam
    double floorForce = 0;                     // kN at every level, positive as the storey shears
    double Fy = 360, C = 30;
};

inline kj::FrameModel regularFrameModel(const RegularFrame& f)
{
    kj::FrameModel m;
    m.fileName = "\\RF-" + std::to_string(f.spans) + "x" + std::to_string(f.storeys) + ".txt";
    m.name = "RF";
    m.topo = kj::FrameTopology::of(f.spans, f.storeys);
    const kj::FrameTopology& t = m.topo;
    auto z = [](int i) { return static_cast<std::size_t>(i); };
    m.members.assign(z(t.memberCount()) + 1, kj::Member{});
    for (int i = 1; i <= t.NB; ++i) m.members[z(i)] = kj::Member{f.span, f.beamB, f.beamH};
    for (int c = 1; c <= t.NC; ++c) {
        const double h = t.bottomStorey(c) && f.groundColumnH > 0 ? f.groundColumnH : f.columnH;
        m.members[z(t.columnMember(c))] = kj::Member{f.storeyHeight, f.columnB, h};
    }
    m.x.assign(z(t.L) + 1, 0.0);
    for (int k = 1; k <= t.L; ++k) m.x[z(k)] = k * f.span;
    m.y.assign(z(t.NF) + 2, 0.0);
    for (int J = t.NF; J >= 1; --J) m.y[z(J)] = m.y[z(J + 1)] + f.storeyHeight;
    m.spanItems.assign(z(t.NB) + 1, std::string());
    m.loads.assign(z(t.NB) + 1, {});
    for (int i = 1; i <= t.NB; ++i)
        if (f.q != 0) m.loads[z(i)] = {kj::LoadEntry{f.q, f.span, f.span / 2}};
    for (int J = 1; J <= t.NF; ++J)
        if (f.floorForce != 0) m.jointGroups.push_back(kj::JointLoadGroup{{t.drift(J)}, J * f.floorForce, 0});
    m.materials = kj::Materials{f.Fy, f.C};
    return m;
}

// The frame as the load case of its kind, named by the case letter ("\G.txt"),
// with the columns' own weight in G alone.
inline kj::LoadCaseInput regularFrameCase(kj::LoadCaseKind kind, const RegularFrame& f)
{
    kj::LoadCaseInput c;
    c.kind = kind;
    c.fileName = std::string("\\") + kj::caseLetter(kind) + ".txt";
    c.model = regularFrameModel(f);
    c.model.columnWeight = kind == kj::LoadCaseKind::G;
    return c;
}

// The frame f under q kN/m on every beam and F kN at every level.
inline kj::LoadCaseInput regularFrameCase(kj::LoadCaseKind kind, RegularFrame f, double q, double F)
{
    f.q = q;
    f.floorForce = F;
    return regularFrameCase(kind, f);
}

} // namespace kjtest
