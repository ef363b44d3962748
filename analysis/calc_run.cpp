#include "analysis/calc_run.h"

#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "analysis/internal_forces.h"
#include "common/backup.h"
#include "common/clock.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "common/report_writer.h"
#include "common/text.h"
#include "common/textfile.h"


namespace kj {

namespace {

std::string trimLeft(std::string s)
{
    s.erase(0, s.find_first_not_of(' '));
    return s;
}

// A header item in the report's number format; an empty item writes nothing.
void headerItem(ReportWriter& w, const std::string& item, double value)
{
    if (!item.empty()) w.number(value);
}

// The report's opening block: the starred title line and the echo of
// records 1 to 5 as read. The last line is left open for the design phase.
void writeEcho(ReportWriter& w, const FrameData& d, const std::string& date, const std::string& time)
{
    w.endLine();
    w.text(std::string(14, ' ')).text("*******").text(" ").text(d.name).text(" 输入信息  *******");
    w.text("  [").text(trimLeft(date)).text("/").text(trimLeft(time)).text("]").endLine();
    w.text("L,NF,NJ,CL,NZ: ");
    headerItem(w, d.itemL, d.L);
    headerItem(w, d.itemNF, d.NF);
    headerItem(w, d.itemNJ, d.NJ);
    headerItem(w, d.itemCL, d.CL);
    headerItem(w, d.itemNZ, d.NZ);
    w.endLine();
    w.text("LL$,I$1: ").text(d.lengthTable).text(", ").text(d.lengthNumbers).endLine();
    w.text("BH$,I$2: ").text(d.sectionTable).text(", ").text(d.memberSections).endLine();
    w.text("Qq1$(I): ");
    for (const std::string& s : d.spanLoads) w.text(s).text(", ");
    if (d.NJ > 0) {
        w.endLine();
        w.text("Jj$(I): ");
        for (const std::string& s : d.jointLoads) w.text(s).text(", ");
    }
}

} // namespace

CalcResult runCalculation(const CalcRequest& req)
{
    // The data file is read before the report is touched, so that a wrong
    // data file name never empties an existing report.
    const auto dataPath = slotPath(req.dataName);
    FrameFileReader reader(readTextFile(dataPath, req.dataName), req.dataName);
    FrameData data = reader.readRecords1to5();

    const auto reportPath = slotPath(req.reportName);
    if (numberValue(req.renewal) == 1) keepBackup(reportPath, req.reportName);
    if (numberValue(req.renewal) == 1) replaceTextFile(reportPath, "", req.reportName);
    appendTextFile(reportPath, "", req.reportName); // created if missing; fails early when not writable

    ReportWriter report;
    CalcResult result;
    try {
        const ShortDateTime now = shortDateTimeNow();
        writeEcho(report, data, req.date.empty() ? now.date : req.date, req.time.empty() ? now.time : req.time);

        FrameModel model = buildModel(data);
        InternalForces forces = analyse(model);
        Materials materials = reader.readMaterials();

        result.beamBarsText = designBeams(model, forces, materials, req.design, report);
        replaceTextFile(slotPath(kBeamBarsFile), result.beamBarsText + CRLF, kBeamBarsFile);
        const std::string beamLines = forceDiagramBeamLines(model, forces);
        result.forceDiagramText = beamLines;
        replaceTextFile(slotPath(kForceDiagramFile), result.forceDiagramText + CRLF, kForceDiagramFile);

        if (!model.continuousBeam) {
            designColumns(model, forces, materials, report);
            result.forceDiagramText = beamLines + forceDiagramColumnLines(model, forces);
            replaceTextFile(slotPath(kForceDiagramFile), result.forceDiagramText + CRLF, kForceDiagramFile);
        }
    } catch (const Failure&) {
        // The report keeps what it had received before the failure; its open
        // line is ended so that the next run's block starts on a line of its own.
        if (report.currentColumn() != 1) report.endLine();
        appendTextFile(reportPath, report.take(), req.reportName);
        throw;
    }
    appendTextFile(reportPath, report.take(), req.reportName);
    return result;
}

} // namespace kj
