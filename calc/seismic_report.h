#pragma once
// Views of the seismic action: the report's block "地震作用" and the JSON
// object "seismic".
#include "calc/seismic_action.h"
#include "common/report_writer.h"

#include <nlohmann/json.hpp>

#include <string>

namespace kj {

// The block: parameters, grade, T1 and uT, Tg, αmax, α1, ΣGE, FEk, δn and
// ΔFn, λ, a table of the floors from the roof down (GE, Fi, Vi, the least
// shear, drift, drift ratio, pass or fail against 1/550), and the
// assumptions of the method. Starts on a fresh line and leaves its last
// line open, as the blocks before the design tables do.
void writeSeismicBlock(ReportWriter& w, const SeismicAction& a);

// "抗震等级 二级 (表 6.1.2, 框架高度 3.60 m)", with the large span and the
// grade of the detailing measures when they differ, or "(用户指定)".
std::string gradeDescription(const SeismicAction& a);

// What GE holds (GB 50011 Table 5.1.3): "GE=G+0.5Q (楼面), 屋面活荷载不计入",
// with the roof's storey (from the ground) when it is not the top one.
std::string gravityLoadText(const SeismicAction& a);

// The action's values as the block prints them (fixed decimals, halves to
// even), for every view that shows them beside the block.
struct SeismicFigures {
    std::string height, Tg, alphaMax, psiT, Ec, uT, T1, alpha1, sumGE, Geq, FEk, deltaN, deltaFn, lambda;
};
SeismicFigures seismicFigures(const SeismicAction& a);

// One floor's row of the block's table.
struct SeismicFloorCells {
    std::string level, height, GE, F, V, Vmin, drift, ratio; // ratio: "1/1781", or "0" without drift
};
SeismicFloorCells seismicFloorCells(const SeismicFloor& f);

// {"T1": s, "uT": m, "Tg": s, "alphaMax", "alpha1", "FEk": kN, "deltaN",
//  "grade", "floors": [from the ground up: {"level", "height": m, "GE": kN,
//  "F": kN, "V": kN, "drift": mm, "driftRatio"}], and the other values}.
nlohmann::json seismicJsonValue(const SeismicAction& a);

} // namespace kj
