#pragma once
// Views of an envelope calculation: the report's block of load cases and
// combinations, the lines naming the governing combinations beneath the
// table rows, and the JSON of every case, every combination and the envelope.
#include "calc/envelope.h"
#include "calc/load_cases.h"
#include "calc/report.h"
#include "common/report_writer.h"

#include <string>
#include <vector>

namespace kj {

inline constexpr const char* kEnvelopeSchema = "kjpj-envelope/1";

// Ends the line the echo of G left open, then lists the case files, the
// loads of Q and W as read (their frame is G's), and the combinations with
// their numbers. The last line is left open, as the echo leaves it.
void writeCasesBlock(ReportWriter& w, const std::vector<LoadCaseInput>& cases, const EnvelopeResult& r);

// "    控制组合 M1:1.3G+1.5Q-0.9W V1:..." under every designed beam and
// "    控制组合 上端:1.0G+1.5W 下端:..." under every designed column.
RowNotes governingNotes(const EnvelopeResult& r);

// The whole envelope calculation as JSON (UTF-8).
std::string envelopeJson(const EnvelopeResult& r);

} // namespace kj
