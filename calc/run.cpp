#include "calc/run.h"

#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "calc/json_output.h"
#include "calc/report.h"
#include "common/backup.h"
#include "common/clock.h"
#include "common/failure.h"
#include "common/report_writer.h"
#include "common/same_file.h"
#include "common/text.h"
#include "common/textfile.h"

namespace kj {

CalcResult runCalculation(const CalcRequest& req)
{
    const DesignOptions options = parseDesignOptions(req.design);
    const ReportRenewal renewal = parseRenewal(req.renewal);

    // No output may overwrite the data file or another output.
    const auto dataPath = slotPath(req.dataName);
    const auto reportPath = slotPath(req.reportName);
    std::vector<std::pair<std::string, std::filesystem::path>> files{
        {"数据文件 " + req.dataName, dataPath},
        {"计算书 " + req.reportName, reportPath},
        {std::string("配筋文件 ") + kBeamBarsFile, slotPath(kBeamBarsFile)},
        {std::string("内力文件 ") + kForceDiagramFile, slotPath(kForceDiagramFile)}};
    if (!req.jsonName.empty()) files.push_back({"JSON 文件 " + req.jsonName, slotPath(req.jsonName)});
    refuseSameFiles(files);

    // The data file is read before the report is touched, so that a wrong
    // data file name never empties an existing report.
    FrameFileReader reader(readTextFile(dataPath, req.dataName), req.dataName);
    const FrameData data = reader.readRecords1to5();

    if (renewal == ReportRenewal::Renew) {
        keepBackup(reportPath, req.reportName);
        replaceTextFile(reportPath, "", req.reportName);
    }
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
        result.calculation = calculate(model, options, rulesFor(options.code));
        writeDesignTables(report, result.calculation);
        result.beamBarsText = beamBarsText(result.calculation);
        result.forceDiagramText = forceDiagramText(result.calculation);

        replaceTextFile(slotPath(kBeamBarsFile), result.beamBarsText + CRLF, kBeamBarsFile);
        replaceTextFile(slotPath(kForceDiagramFile), result.forceDiagramText + CRLF, kForceDiagramFile);
        if (!req.jsonName.empty()) replaceFileBytes(files.back().second, resultJson(result.calculation), req.jsonName);
    } catch (const std::exception& e) {
        // The block says why it has no tables, on a line of its own, so the
        // next run's block starts on a line of its own too. The first failure
        // is told first, also when the report then fails as well.
        std::string message = failureText(e);
        if (report.currentColumn() != 1) report.endLine();
        report.text("计算未完成: ").text(message).endLine();
        try {
            appendTextFile(reportPath, report.take(), req.reportName);
        } catch (const Failure& second) {
            message += "; " + std::string(second.what());
        }
        throw Failure(message);
    }
    appendTextFile(reportPath, report.take(), req.reportName);
    return result;
}

} // namespace kj
