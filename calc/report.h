#pragma once
// Views of a calculation as the older files hold them: the report's echo of
// the input and its design tables, the beam reinforcement file and the
// force-diagram file. Numbers are rounded here, for display only.
#include "analysis/frame_data.h"
#include "calc/calculation.h"
#include "common/report_writer.h"

#include <string>
#include <vector>

namespace kj {

// The report's opening block: the starred title line and the echo of
// records 1 to 5 as read. The last line is left open.
void writeEcho(ReportWriter& w, const FrameData& data, const std::string& date, const std::string& time);

// Lines written beneath a designed beam's two rows and a designed column's
// row (index 1..NB and 1..NC; an empty or absent entry writes nothing).
struct RowNotes {
    std::vector<std::string> beams, columns;
};

// The member numbers of the tables take three digits; a frame numbered
// further widens their column by the digits it needs more (0 up to 999).
int memberNumberWidening(const FrameTopology& t);

// Ends the line the echo left open, then the material line, the beam table
// with its bar rows and, unless the frame is a continuous beam, the column
// table; with notes, their lines beneath the rows.
void writeDesignTables(ReportWriter& w, const CalculationResult& r, const RowNotes* notes = nullptr);

// The beam reinforcement file's lines: one per designed beam, five quoted
// strings, each line ended by CR LF.
std::string beamBarsText(const CalculationResult& r);

// The force-diagram file's lines: M1,M2,Mo,V1,V2 of every beam, then (not
// for a continuous beam) Mt,Mb of every column, each line ended by CR LF.
// Designed members give their design values; others the analysis's.
std::string forceDiagramText(const CalculationResult& r);

} // namespace kj
