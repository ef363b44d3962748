#pragma once
// The edits of the frame editor that change a project's shape, as pure
// functions of a project: a new project, adding a span or a storey that
// copies its neighbour, deleting one, and the one check every edit passes
// (the project file's own reading). Spans and storeys count from 0 here, as
// the project's lists do; levels and column lines count from 1, as its
// joint loads and floor forces do.
#include "calc/project.h"

#include <optional>
#include <string>

namespace kj {

// A frame of one 6 m span and one 3.6 m storey, a beam section and a column
// section, the dead load G without loads, C30 and Fy 300, designed by
// GB 50010-2010.
Project newProject();

// The project as the calculation takes it: written as its JSON text, read
// back, and its values checked (checkProjectValues: materials in the range
// of its rule set, plausible member sizes). Throws Failure with the reason.
Project checkedProject(const Project& p);

// Why the project cannot be saved or calculated, in the words of the project
// file's reading (key path and reason), or nothing when it passes
// checkedProject.
std::optional<std::string> projectProblem(const Project& p);

// A span inserted right of span k, a copy of span k: its length, its beams'
// sections and loads in every case, and a column line copying the line at
// its right end. Joint loads on lines further right move with their lines.
Project withSpanAdded(const Project& p, int k);
// A storey inserted above storey s, a copy of it: its height, its beams' and
// columns' sections and its beams' loads. Joint loads and floor forces on
// higher levels move up with their levels.
Project withStoreyAdded(const Project& p, int s);
// Span k removed with the column line at its right end (the line at its
// left for the last span), and the joint loads on that line. Throws Failure
// when it is the only span.
Project withSpanDeleted(const Project& p, int k);
// Storey s removed with the level at its top and the joint loads and floor
// forces on that level. Throws Failure when it is the only storey.
Project withStoreyDeleted(const Project& p, int s);

// The case of the kind, added with no loads when the project has none yet
// (in G, Q, W order); a project that had G alone then takes the built-in
// combination set GB55001 unless it has combinations of its own.
ProjectCase& caseOf(Project& p, LoadCaseKind kind);

} // namespace kj
