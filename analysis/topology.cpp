#include "analysis/topology.h"

namespace kj {

FrameTopology FrameTopology::of(int spans, int storeys)
{
    FrameTopology t;
    t.L = spans;
    t.NF = storeys;
    t.NB = spans * storeys;
    t.NC = (spans + 1) * storeys;
    t.N = t.NC + storeys;
    return t;
}

std::string FrameTopology::memberName(int member) const
{
    if (member <= NB) return "第 " + std::to_string(member) + " 号梁";
    return "第 " + std::to_string(member - NB) + " 号柱";
}

std::string FrameTopology::unknownName(int dof) const
{
    if (dof <= NC) return "节点 " + std::to_string(dof) + " 的转角";
    return "第 " + std::to_string(dof - NC) + " 层的层间侧移";
}

} // namespace kj
