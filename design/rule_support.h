#pragma once
// Small pieces every rule set uses: member names for messages and the
// finiteness checks before a section is designed.
#include "common/failure.h"
#include "design/beam_design.h"
#include "design/design_rules.h"

#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace kj {

inline std::string beamName(int i) { return "第 " + std::to_string(i) + " 号梁"; }
inline std::string columnName(int j) { return "第 " + std::to_string(j) + " 号柱"; }

inline bool allFinite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

inline bool finiteBars(const BarArrangement& r) { return allFinite({r.n, r.d, r.k, r.e, r.outer, r.second}); }

// The start every rule set makes on a beam: its section in mm into d, no
// design for a section narrower than 51 mm (false), and a failure for forces
// that are not finite numbers.
inline bool startBeam(const BeamInput& in, BeamDesign& d)
{
    d.b = 1000 * in.member.b;
    d.h = 1000 * in.member.h;
    if (in.member.analysedOnly()) {
        d.skipReason = "截面宽度小于 51 mm, 不配筋";
        return false;
    }
    if (!allFinite({in.M1, in.M2, in.V1, in.V2, in.Mo, in.x}))
        throw Failure(beamName(in.beam) + "的内力不是有限数值, 无法配筋");
    d.designed = true;
    return true;
}

// The start every rule set makes on a column: its section in mm into d, no
// design for a section narrower than 51 mm (nothing returned), a failure for
// forces that are not finite numbers, and the axial force at the top: the
// one given, or the foot's less the column's own weight (30 kN/m3).
inline std::optional<double> startColumn(const ColumnInput& in, ColumnDesign& d)
{
    const Member& m = in.member;
    d.b = 1000 * m.b;
    d.h = 1000 * m.h;
    if (m.analysedOnly()) {
        d.skipReason = "截面宽度小于 51 mm, 不配筋";
        return std::nullopt;
    }
    if (!allFinite({in.Mtop, in.Mbottom, in.Nfoot, m.len, m.b, m.h}))
        throw Failure(columnName(in.column) + "的内力不是有限数值, 无法配筋");
    d.designed = true;
    return in.Ntop ? *in.Ntop : in.Nfoot - 0.00003 * d.b * d.h * m.len;
}

// A line under a column's row for each end that cannot be designed and
// says why: "    柱顶 As=9999: ...".
inline void noteFailedColumnEnds(ColumnDesign& d)
{
    for (auto [end, where] : {std::pair{&d.top, "柱顶"}, std::pair{&d.bottom, "柱底"}})
        if (end->failed() && !end->failure.empty()) d.notes.push_back("    " + std::string(where) + " As=9999: " + end->failure);
}

} // namespace kj
