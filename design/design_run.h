#pragma once
// The section design phase of a calculation: beams then columns, their
// rows in the calculation report, and the texts of the two result files.
#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "analysis/internal_forces.h"
#include "common/report_writer.h"

#include <string>

namespace kj {

// The main window's design settings, as the texts of its controls.
struct DesignSettings {
    std::string beta = "1.00";          // Combo22: redistribution factor of support moments
    std::string cover = "25";           // Combo19: cover of the main bars, mm
    std::string topCount = "2";         // Text78: continuous top bars, count
    std::string topDiameter = "zd";     // Text79: their diameter, "zd" = chosen by the program
    std::string bottomCount = "2";      // Text80: continuous bottom bars, count
    std::string bottomDiameter = "zd";  // Text81
    std::string stirrupLegs = "2";      // Text82: least number of stirrup legs
    std::string stirrupDiameter = "6";  // Text83: starting stirrup diameter, mm
};

// Ends the line the input echo left open, writes the material line, the beam
// header and the two rows of every designed beam. Replaces the end moments,
// shears and span moment of every designed beam with their rounded design
// values. Returns the beam reinforcement text: one line per designed beam,
// each ended by CR LF.
std::string designBeams(const FrameModel& model, InternalForces& forces, const Materials& materials,
                        const DesignSettings& settings, ReportWriter& report);

// Writes the column header and one row per designed column; replaces the end
// moments of every designed column with their rounded values.
void designColumns(const FrameModel& model, InternalForces& forces, const Materials& materials,
                   ReportWriter& report);

// Lines of the force-diagram file: M1,M2,Mo,V1,V2 of every beam 1..NB, and
// Mt,Mb of every column; each line ended by CR LF.
std::string forceDiagramBeamLines(const FrameModel& model, const InternalForces& forces);
std::string forceDiagramColumnLines(const FrameModel& model, const InternalForces& forces);

} // namespace kj
