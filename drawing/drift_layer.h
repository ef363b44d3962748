#pragma once
// The layer "层间位移": the drift Δu of every storey in mm and its ratio
// Δu/h as 1/n, for one state of equilibrium (a case or a combination) with
// the real modulus of the concrete, checked against the limit where the
// state is one the limit is set for: the frequent earthquake E (GB 50011-2010
// 5.5.1, 1/550) and the characteristic wind W (the wind drift limit of the
// serviceability checks). The painting itself is FramePainter::drawDrift.
#include "calc/calculation.h"
#include "calc/envelope.h"

#include <QString>

#include <vector>

namespace kjd {

struct Shown;

// What a state's drifts are checked against.
enum class DriftCheck {
    None,       // a case or a combination no drift limit is set for: values only
    Earthquake, // the load case E: Δu/h ≤ 1/550, texts as the report's seismic block
    Wind,       // the load case W: Δu/h ≤ 1/550, texts as the report's wind drift table
};
// The check of a choice of the case list: E and W are checked, the rest not.
DriftCheck driftCheckOf(const kj::EnvelopeResult& e, const Shown& shown);

// One storey's drift as the layer writes it.
struct StoreyDriftLabel {
    int storey = 0;     // 1 = top, as the frame counts storeys
    int level = 0;      // the level at its top from the ground up (1 = top of the ground storey)
    double drift = 0;   // mm, signed as the storey shear (positive to the right)
    QString driftText;  // "4.668" (mm; 3 decimals for E as the seismic block, else 2)
    QString ratioText;  // "1/771"
    bool checked = false;
    bool ok = true;     // within the limit (always true when not checked)
    QString text() const; // the label: "Δu=4.668 mm →\nΔu/h=1/771 ≤ 1/550"
};

// The drift limit as the labels write it: "1/550".
QString driftLimitText();

// Every storey's drift of a solved frame with its real displacements (none
// for a continuous beam or without the modulus of the concrete).
std::vector<StoreyDriftLabel> storeyDriftLabels(const kj::CalculationResult& r, DriftCheck check);

} // namespace kjd
