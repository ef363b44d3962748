#include "editor/project_edits.h"

#include "common/failure.h"

#include <algorithm>

namespace kj {

namespace {

std::size_t ix(int i) { return static_cast<std::size_t>(i); }

template <class T>
void insertAt(std::vector<T>& v, int at, T value)
{
    v.insert(v.begin() + at, std::move(value));
}

template <class T>
void eraseAt(std::vector<T>& v, int at)
{
    v.erase(v.begin() + at);
}

} // namespace

Project newProject()
{
    Project p;
    p.name = "KJ-1";
    p.spans = {6.0};
    p.storeys = {3.6};
    p.sections = {{"KL1", 250, 500}, {"KZ1", 400, 400}};
    p.beams = {{"KL1"}};
    p.columns = {{"KZ1", "KZ1"}};
    ProjectCase g;
    g.kind = LoadCaseKind::G;
    g.beamLoads = {{{}}};
    p.cases.push_back(g);
    p.materials.C = 30;
    p.materials.Fy = 300;
    p.design.code = "GB50010-2010";
    return p;
}

Project checkedProject(const Project& p)
{
    Project read = parseProject(projectJson(p), p.fileName);
    checkProjectValues(read);
    return read;
}

std::optional<std::string> projectProblem(const Project& p)
{
    try {
        checkedProject(p);
        return std::nullopt;
    } catch (const Failure& f) {
        return std::string(f.what());
    }
}

Project withSpanAdded(const Project& p, int k)
{
    Project q = p;
    k = std::clamp(k, 0, p.L() - 1);
    insertAt(q.spans, k + 1, p.spans[ix(k)]);
    for (auto& row : q.beams) insertAt(row, k + 1, row[ix(k)]);
    // The new line stands at the right end of the new span; it copies the
    // line at the right end of span k (0-based line k + 1).
    for (auto& row : q.columns) insertAt(row, k + 2, row[ix(k + 1)]);
    for (ProjectCase& c : q.cases) {
        for (auto& storey : c.beamLoads) insertAt(storey, k + 1, storey[ix(k)]);
        for (JointLoad& j : c.jointLoads)
            if (j.line >= k + 3) ++j.line;
    }
    return q;
}

Project withStoreyAdded(const Project& p, int s)
{
    Project q = p;
    s = std::clamp(s, 0, p.NF() - 1);
    insertAt(q.storeys, s + 1, p.storeys[ix(s)]);
    insertAt(q.beams, s + 1, p.beams[ix(s)]);
    if (!q.columns.empty()) insertAt(q.columns, s + 1, p.columns[ix(s)]);
    for (ProjectCase& c : q.cases) {
        insertAt(c.beamLoads, s + 1, c.beamLoads[ix(s)]);
        // Level s + 1 (1-based) is the top of storey s; higher levels move up.
        for (JointLoad& j : c.jointLoads)
            if (j.level >= s + 2) ++j.level;
        for (FloorForce& f : c.floorForces)
            if (f.level >= s + 2) ++f.level;
    }
    return q;
}

Project withSpanDeleted(const Project& p, int k)
{
    if (p.L() <= 1) throw Failure("框架至少应有一跨, 不能删除唯一的一跨");
    Project q = p;
    k = std::clamp(k, 0, p.L() - 1);
    const int line = k + 1 < p.L() + 1 ? k + 1 : k; // 0-based, the right end of span k
    eraseAt(q.spans, k);
    for (auto& row : q.beams) eraseAt(row, k);
    for (auto& row : q.columns) eraseAt(row, line);
    for (ProjectCase& c : q.cases) {
        for (auto& storey : c.beamLoads) eraseAt(storey, k);
        std::erase_if(c.jointLoads, [&](const JointLoad& j) { return j.line == line + 1; });
        for (JointLoad& j : c.jointLoads)
            if (j.line > line + 1) --j.line;
    }
    return q;
}

Project withStoreyDeleted(const Project& p, int s)
{
    if (p.NF() <= 1) throw Failure("框架至少应有一层, 不能删除唯一的一层");
    Project q = p;
    s = std::clamp(s, 0, p.NF() - 1);
    const int level = s + 1; // the level at the top of storey s
    eraseAt(q.storeys, s);
    eraseAt(q.beams, s);
    if (!q.columns.empty()) eraseAt(q.columns, s);
    for (ProjectCase& c : q.cases) {
        eraseAt(c.beamLoads, s);
        std::erase_if(c.jointLoads, [&](const JointLoad& j) { return j.level == level; });
        std::erase_if(c.floorForces, [&](const FloorForce& f) { return f.level == level; });
        for (JointLoad& j : c.jointLoads)
            if (j.level > level) --j.level;
        for (FloorForce& f : c.floorForces)
            if (f.level > level) --f.level;
    }
    return q;
}

ProjectCase& caseOf(Project& p, LoadCaseKind kind)
{
    for (ProjectCase& c : p.cases)
        if (c.kind == kind) return c;
    ProjectCase c;
    c.kind = kind;
    c.beamLoads.assign(ix(p.NF()), std::vector<std::vector<BeamLoad>>(ix(p.L())));
    auto at = std::find_if(p.cases.begin(), p.cases.end(), [&](const ProjectCase& e) { return e.kind > kind; });
    // A second case is designed from the envelope: of the built-in set unless one is chosen.
    if (!p.combinationSet && p.combinations.empty()) p.combinationSet = "GB55001";
    return *p.cases.insert(at, std::move(c));
}

} // namespace kj
