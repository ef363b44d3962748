#pragma once
// The report's serviceability tables of a GB 50010-2010 design: crack width
// and deflection per beam, the worst beam's numbers, and the storey drifts
// under the wind.
#include "calc/calculation.h"
#include "calc/serviceability_check.h"
#include "common/report_writer.h"

#include <string>
#include <vector>

namespace kj {

// Writes nothing when no beam of r carries a serviceability record (another
// rule set). quasiPermanent names the combination ("1.0G+0.4Q"; empty: the
// frame's own loads taken as permanent); drifts may be empty (no wind).
void writeServiceabilityTables(ReportWriter& w, const CalculationResult& r, const std::string& quasiPermanent,
                               const std::vector<StoreyDrift>& drifts);

// The rows of the tables, rounded as the report prints them: the book
// shows the same numbers.
const char* serviceabilityVerdict(bool passes); // "满足" / "不满足"
// The title line: the combination, the environment class, the clauses.
std::string serviceabilityTitle(const CalculationResult& r, const std::string& quasiPermanent);
struct CrackRow {
    const char* section = "";  // 左支座, 跨中, 右支座
    bool checked = false;
    std::string noCheck;       // why not, when not checked
    double Mk = 0, Mq = 0;     // kN·m, to 0.01
    double wmax = 0;           // mm, to 0.001
    double wlim = 0;           // mm, to 0.01
    bool passes = true;
    bool bottomBars = false;   // a support under sagging Mq, checked with its bottom bars
};
// Written after the verdict of a support checked with its bottom bars.
inline constexpr const char* kBottomBarsNote = " (Mq 为正弯矩, 按下部钢筋验算)";
std::vector<CrackRow> crackRows(const BeamServiceability& s); // left, span, right
// "f = 12.3 mm (x = 3.6 m), 限值 l0/250 = 24 mm, B = 45678 kN.m2"
std::string deflectionText(const BeamServiceability& s);
// "刚度: 等刚度, 取跨中截面刚度 B (7.2.1: ...)": the stiffness the
// deflection is integrated with.
std::string stiffnessText(const BeamServiceability& s);
// The beam farthest from its limits (largest wmax/wlim or f/flim; 0 when
// none is checked), and the formulas of its worst crack section and its
// deflection with the numbers put in.
int worstServiceabilityBeam(const CalculationResult& r);
std::vector<std::string> worstBeamFormulas(const CalculationResult& r);
// A storey's Δ/h: "1/1234", or "0" without drift.
std::string storeyDriftRatioText(const StoreyDrift& s);

// The share of the designed beams that fail a crack or deflection check
// (0 when none is checked).
struct ServiceabilityCount {
    int checked = 0, failing = 0;
};
ServiceabilityCount countFailingBeams(const CalculationResult& r);

} // namespace kj
