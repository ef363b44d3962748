#pragma once
// The displacement-method model of the frame: member properties from the
// length and section tables, span-load entries, joint-load groups, the
// stiffness matrix over joint rotations and storey drifts, and its solution.
#include "analysis/frame_data.h"
#include "analysis/topology.h"

#include <optional>

#include <string>
#include <vector>

namespace kj {

// One load entry of a span: value w (kN/m, or kN for a force), loaded
// length a (m, 0 for a force) and r, the distance from the right end of the
// span to the centre of the loaded length or to the force.
struct LoadEntry {
    double w = 0, a = 0, r = 0;
};

// A member narrower than this (mm) is analysed and not designed: the props,
// hinges and members of relative stiffness a frame is modelled with (a
// continuous beam's props are 50 mm), and a section of width 0.
inline constexpr double kNarrowestSection = 51;

struct Member {
    double len = 0, b = 0, h = 0; // m
    // Multiplies the member's EI/L in the stiffness and in the end moments it
    // takes from the joint rotations and drifts: the flange of a slab on a
    // beam, or a reduction of the cracked section's stiffness.
    double stiffnessFactor = 1.0;

    // b h^3 x the factor: the member's EI without E/12, the stand-in of EI in
    // the analysis (so that B = bending() / len stands for EI/L).
    double bending() const { return b * h * h * h * stiffnessFactor; }
    // Analysed for its forces, not designed (narrower than 51 mm).
    bool analysedOnly() const { return 1000 * b < kNarrowestSection; }
};

struct JointLoadGroup {
    std::vector<int> numbers; // nodes 1..NC, or NC+J for the drift of storey J
    double F = 0, M = 0;
};

struct FrameModel {
    std::string fileName;
    std::string fileKind = "数据文件"; // or "项目文件": the kind of file it was read from, for messages
    std::string name;
    FrameTopology topo;
    bool continuousBeam = false;
    int NZ = 0; // end fixity code of a continuous beam
    // Joint coordinates (m): x of column lines 0..L from the left, and y of
    // levels 1..NF above the ground (level J at the top of storey J); y has
    // NF+2 entries, y[NF+1] = 0 being the ground.
    std::vector<double> x, y;
    // Members 1..NB+NC (index 0 unused): beams first, then columns, each from
    // the top storey down and left to right; the continuous-beam props are
    // already applied.
    std::vector<Member> members;
    // Span-load item of every beam after the two-character reference is
    // resolved (index 1..NB), and its load entries.
    std::vector<std::string> spanItems;
    std::vector<std::vector<LoadEntry>> loads;
    std::vector<JointLoadGroup> jointGroups;
    // The columns' own weight is added to their axial forces. A load case
    // other than the dead load (live load, wind) is analysed without it.
    bool columnWeight = true;
    // Record 6, read after records 1 to 5; when it could not be read, the
    // failure's message, raised once the internal forces are known.
    std::optional<Materials> materials;
    std::string materialsFailure;

    double nodeX(int node) const { return x[static_cast<std::size_t>(topo.nodeLine(node))]; }
    double nodeY(int node) const { return node == 0 ? 0.0 : y[static_cast<std::size_t>(topo.nodeLevel(node))]; }
    const Member& member(int i) const { return members[static_cast<std::size_t>(i)]; }
};

// Load entries of a span-load item for a span of length S. Throws Failure
// (naming the beam) when the item holds more entries than a span may carry.
std::vector<LoadEntry> spanLoadEntries(const std::string& item, double S, int beam,
                                       const std::string& fileName);

// Builds the model: expands the length numbers, takes every member's length
// and section, resolves and reads the span loads and joint loads. Throws
// Failure for a member of zero length or with an empty section entry, a load
// item referring to a beam that does not exist, a load reaching past its
// span, or a joint-load group naming a number outside 1..NC+NF.
FrameModel buildModel(const FrameData& data);

// A continuous beam (continuousBeam set, NZ its end fixity code): the
// columns become slender props, and the end the code names is clamped by a
// massive prop.
void applyContinuousBeamProps(FrameModel& model);
// x of the column lines and y of the levels from the members' lengths.
void setJointCoordinates(FrameModel& model);

// The stiffness matrix over the unknowns 1..N (rotations, then drifts) as
// the entries of its lower triangle, in the order they were assembled, and
// the load vector P (index 0 unused). An entry (i, j) with i > j stands for
// both (i, j) and (j, i); entries at the same place add up.
struct StiffnessSystem {
    struct Entry {
        int row = 0, col = 0;
        double value = 0;
    };
    int N = 0;
    std::vector<Entry> entries;
    std::vector<double> P;

    // Adds v at (i, j) and (j, i); the ground (0) takes nothing.
    void add(int i, int j, double v);
    // The coefficient at (i, j): the sum of its entries.
    double k(int i, int j) const;
};

// Stiffness of beams then columns, with B = b h^3 / Len (times the member's
// stiffness factor) in place of EI/L.
StiffnessSystem assembleStiffness(const FrameModel& model);

// Solves K x = P by the sparse LDL' factorisation of K in the order of the
// unknowns, so that every pivot is the one of an unknown: work and storage
// follow the band of a frame, not the square of its size. P ends holding the
// displacements. Throws Failure naming the joint rotation or storey drift
// whose pivot is zero or negligible against its diagonal (the frame is a
// mechanism there), or a solution that is not finite.
void solve(StiffnessSystem& sys, const FrameModel& model);

} // namespace kj
