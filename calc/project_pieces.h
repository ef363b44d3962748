#pragma once
// What the project file's two halves share: the project's reading and model
// (project.cpp) and its conversions to and from the data file
// (project_datafile.cpp).
#include "analysis/topology.h"
#include "calc/project.h"

#include <string>
#include <vector>

namespace kj {

// The section of a name; throws Failure naming the project file when none.
const ProjectSection& sectionNamed(const Project& project, const std::string& name);

// The loads of a beam laid end to end from the left, as the span walk and
// the data file's load string take them: the span is cut at every load end
// and force; each piece carries the sum of the distributed loads over it
// (value 0 for a gap before a later load), each force is a piece of length
// 0 at its place. Adjacent pieces are not merged, so a load keeps its own
// length where nothing cuts it.
struct LoadPiece {
    double w = 0, a = 0;
    bool force = false;
};
std::vector<LoadPiece> loadPieces(const std::vector<BeamLoad>& loads, double S);

// The joint at a level (from the ground, 1 = top of the ground storey) and a
// column line (1 = the leftmost), as the analysis numbers it.
int projectNode(const FrameTopology& t, int level, int line);

} // namespace kj
