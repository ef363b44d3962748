#pragma once
// The numbering of a frame of L spans and NF storeys, defined once for the
// stiffness, the forces, the design and the drawings.
//
// Storeys are counted from the top (storey 1 is the top storey). Nodes are
// numbered level by level from the top, left to right: the nodes of level J
// lie at the top of storey J. Node 0 stands for the fixed ground. Members
// are the NB = L*NF beams first, top storey first, left to right, then the
// NC = (L+1)*NF columns in the order of their top nodes. The unknowns are
// the rotations of nodes 1..NC, then the drifts of storeys 1..NF (NC+J).
#include <string>

namespace kj {

// Under the heading of a table numbering storeys from the ground.
inline constexpr const char* kStoreysFromGround = "层号自下而上, 1 = 底层";

struct FrameTopology {
    int L = 0, NF = 0;
    int NB = 0, NC = 0, N = 0;

    static FrameTopology of(int spans, int storeys);

    int memberCount() const { return NB + NC; }
    bool isBeam(int member) const { return member >= 1 && member <= NB; }
    int columnMember(int column) const { return NB + column; }

    // Beam i (1..NB): its storey, its span 1..L and its end nodes.
    int beamStorey(int beam) const { return (beam - 1) / L + 1; }
    int beamSpan(int beam) const { return (beam - 1) % L + 1; }
    int leftNode(int beam) const { return beam + beamStorey(beam) - 1; }
    int rightNode(int beam) const { return leftNode(beam) + 1; }
    int firstBeamOfStorey(int storey) const { return (storey - 1) * L + 1; }

    // Column c (1..NC): its storey, its column line 0..L and its end nodes;
    // the foot of a bottom-storey column is the ground (node 0).
    int columnStorey(int column) const { return (column - 1) / (L + 1) + 1; }
    int columnLine(int column) const { return (column - 1) % (L + 1); }
    int topNode(int column) const { return column; }
    int bottomNode(int column) const { return columnStorey(column) == NF ? 0 : column + L + 1; }
    bool bottomStorey(int column) const { return columnStorey(column) == NF; }
    int firstColumnOfStorey(int storey) const { return (storey - 1) * (L + 1) + 1; }

    // Node n (1..NC): its level (= the storey below it) and column line.
    int nodeLevel(int node) const { return (node - 1) / (L + 1) + 1; }
    int nodeLine(int node) const { return (node - 1) % (L + 1); }
    // The beams left and right of a node, 0 where there is none.
    int beamLeftOf(int node) const { return nodeLine(node) == 0 ? 0 : node - nodeLevel(node); }
    int beamRightOf(int node) const { return nodeLine(node) == L ? 0 : node - nodeLevel(node) + 1; }

    // The tables, drawings and JSON count storeys from the ground (1 = the
    // ground storey, and level 1 the floor on top of it): the number of
    // storey J counted from the top, and back (the map is its own inverse).
    int fromGround(int storey) const { return NF + 1 - storey; }

    int rotation(int node) const { return node; }
    int drift(int storey) const { return NC + storey; }

    // "第 3 号梁" or "第 2 号柱", as the report numbers members.
    std::string memberName(int member) const;
    // "节点 5 的转角" or "第 2 层的层间侧移".
    std::string unknownName(int dof) const;
};

} // namespace kj
