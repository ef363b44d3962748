#pragma once
// The seismic shear check of the beam-column joint cores of a frame
// structure of grade 1, 2 or 3 (GB 50010-2010 11.6.1 to 11.6.4 and 11.6.8,
// GB 50011-2010 6.2.14 with Appendix D), over the seismic combinations of an
// envelope: each joint's design shear Vj from the combination's beam end
// moments before γRE (as the capacity design took them, ηs in them), the
// section limit and the capacity with the ties of the column below in its
// densified zone, both divided by γRE = 0.85 once, and the ties the joint
// core needs when those fall short.
// A plane frame cannot show the transverse beams: ηj = 1.0 throughout.
#include "design/beam_design.h"

#include <string>
#include <vector>

namespace kj {

struct EnvelopeResult;

struct JointCoreCheck {
    bool checked = false;  // a joint sits on this column's top and was looked at
    std::string refused;   // not checked, and why (the joint's ok is false)
    int level = 0;         // floor from the ground up
    int line = 0;          // column line from the left, 1..L+1
    bool topLevel = false;
    int combination = -1;  // the governing seismic combination
    double etaJb = 0;
    double sumMb = 0;      // |ΣMb| of the governing combination, kN*m
    double hb = 0, hb0 = 0, asComp = 0; // beam depth, effective depth, as' (mm)
    double Hc = 0;         // m
    double bj = 0, hj = 0, bc = 0; // mm
    double N = 0;          // axial force of the column above, kN (compression positive)
    double Vj = 0;         // kN
    double limit = 0;      // 11.6.3, kN
    double capacity = 0;   // 11.6.4-2 with the joint's ties, kN
    bool sectionOk = true;
    double asvsColumn = 0;   // Asvj/s of the column ties, mm2/mm
    double asvsRequired = 0; // Asvj/s the joint needs (11.6.4-2 and 11.6.8), mm2/mm
    double rhoVMin = 0;      // 11.6.8
    Stirrups ties;           // the joint core's ties
    std::string tieString;
    bool tiesRaised = false; // thicker or closer than the column's
    bool tiesFailed = false; // no ties fit the need
    bool ok() const { return checked && refused.empty() && sectionOk && !tiesFailed && capacity >= Vj * (1 - 1e-9); }
};

// One entry per column (1..NC, index 0 unused) for the joint on its top;
// empty when the envelope has no seismic combination, its grade is not 1 to
// 3, the rule set is not GB 50010-2010, or the frame is a continuous beam.
// intensityNine: grade 1 at intensity 9, where Vj must come from the beams'
// actual flexural capacities (11.6.2-1); every joint is refused with a
// message instead.
std::vector<JointCoreCheck> jointCoreChecks(const EnvelopeResult& r, bool intensityNine);

// The report line of the joint on column c's top ("    节点 (第 2 层, 轴②) Vj=…"),
// empty where there is none.
std::string jointCoreLine(const EnvelopeResult& r, int column);

// The joints as a table for the book: one row per joint checked (column,
// joint, combination, ΣMb, N of the column above, Vj, limit, capacity, ties, verdict), the failures in
// words, and the notes under the table, the last with 11.6.2 and 11.6.4 (or
// 11.6.3) put in numbers for the joint nearest to failing; no rows when
// there are no joints.
struct JointCoreTable {
    std::vector<std::string> headers;
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> failures;
    std::vector<std::string> notes;
};
JointCoreTable jointCoreTable(const EnvelopeResult& r);

} // namespace kj
