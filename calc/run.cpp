#include "calc/run.h"

#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "calc/json_output.h"
#include "calc/report.h"
#include "common/clock.h"
#include "common/failure.h"
#include "common/report_writer.h"
#include "common/text.h"
#include "common/textfile.h"

namespace kj {

CalcResult runCalculation(const CalcRequest& req)
{
    const DesignOptions options = parseDesignOptions(req.design);
    const ReportRenewal renewal = parseRenewal(req.renewal);
    if (!req.pdfName.empty() && !req.pdfWriter)
        throw Failure("本程序构建时未带绘图部分, 不能生成计算书 " + req.pdfName);

    // The data file is read before the report is touched, so that a wrong
    // data file name never empties an existing report.
    const auto dataPath = slotPath(req.dataName);
    FrameFileReader reader(readTextFile(dataPath, req.dataName), req.dataName);
    const FrameData data = reader.readRecords1to5();

    const auto reportPath = slotPath(req.reportName);
    if (renewal == ReportRenewal::Renew) replaceTextFile(reportPath, "", req.reportName);
    appendTextFile(reportPath, "", req.reportName); // created if missing; fails early when not writable

    ReportWriter report;
    CalcResult result;
    try {
        const ShortDateTime now = shortDateTimeNow();
        writeEcho(report, data, req.date.empty() ? now.date : req.date, req.time.empty() ? now.time : req.time);

        FrameModel model = buildModel(data);
        try {
            model.materials = reader.readMaterials();
        } catch (const Failure& f) {
            model.materialsFailure = f.what();
        }
        result.calculation = calculate(model, options);
        writeDesignTables(report, result.calculation);
        result.beamBarsText = beamBarsText(result.calculation);
        result.forceDiagramText = forceDiagramText(result.calculation);

        replaceTextFile(slotPath(kBeamBarsFile), result.beamBarsText + CRLF, kBeamBarsFile);
        replaceTextFile(slotPath(kForceDiagramFile), result.forceDiagramText + CRLF, kForceDiagramFile);
        if (!req.jsonName.empty())
            replaceFileBytes(slotPath(req.jsonName), resultJson(result.calculation), req.jsonName);
        if (!req.pdfName.empty()) req.pdfWriter(result.calculation, data, slotPath(req.pdfName));
    } catch (const Failure& f) {
        // The block says why it has no tables, on a line of its own, so the
        // next run's block starts on a line of its own too.
        if (report.currentColumn() != 1) report.endLine();
        report.text("计算未完成: ").text(f.what()).endLine();
        appendTextFile(reportPath, report.take(), req.reportName);
        throw;
    }
    appendTextFile(reportPath, report.take(), req.reportName);
    result.data = data;
    return result;
}

} // namespace kj
