#include "calc/run.h"

#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "calc/envelope_report.h"
#include "calc/json_output.h"
#include "calc/load_cases.h"
#include "calc/report.h"
#include "common/clock.h"
#include "common/failure.h"
#include "common/report_writer.h"
#include "common/text.h"
#include "common/textfile.h"

#include <algorithm>
#include <array>

namespace kj {

namespace {

// The design from the envelope of load combinations.
CalcResult runEnvelope(const CalcRequest& req, const DesignOptions& options, ReportRenewal renewal,
                       const DesignRules& rules)
{
    // Combinations, then every case file, read and checked before the report
    // is touched.
    std::vector<Combination> own;
    for (const std::string& text : req.combinations) own.push_back(parseCombination(text));
    const CombinationSet* set = req.combinations.empty() ? &combinationSet(req.combinationSet) : nullptr;
    std::vector<LoadCaseKind> kinds;
    for (const auto& [letter, name] : req.cases) kinds.push_back(caseKindOf(letter));
    std::vector<LoadCaseInput> cases;
    for (std::size_t k = 0; k < req.cases.size(); ++k) {
        const std::string& name = req.cases[k].second;
        cases.push_back(readLoadCase(kinds[k], readTextFile(slotPath(name), name), name));
    }
    checkLoadCases(cases);
    std::array<bool, 3> given{};
    for (LoadCaseKind kind : kinds) given[static_cast<std::size_t>(kind)] = true;
    const std::vector<Combination> combinations = set ? combinationsFor(*set, given) : own;
    checkCombinationCases(combinations, given);
    const LoadCaseInput& dead = *std::find_if(cases.begin(), cases.end(),
                                              [](const LoadCaseInput& c) { return c.kind == LoadCaseKind::G; });

    const auto reportPath = slotPath(req.reportName);
    if (renewal == ReportRenewal::Renew) replaceTextFile(reportPath, "", req.reportName);
    appendTextFile(reportPath, "", req.reportName); // created if missing; fails early when not writable

    ReportWriter report;
    CalcResult result;
    try {
        const ShortDateTime now = shortDateTimeNow();
        writeEcho(report, dead.data, req.date.empty() ? now.date : req.date, req.time.empty() ? now.time : req.time);
        EnvelopeResult envelope = calculateEnvelope(cases, combinations, set ? set->title : "自定义", options, rules);
        writeCasesBlock(report, cases, envelope);
        const RowNotes notes = governingNotes(envelope);
        writeDesignTables(report, envelope.envelope, &notes);
        result.beamBarsText = beamBarsText(envelope.envelope);
        result.forceDiagramText = forceDiagramText(envelope.envelope);
        const std::string json = req.jsonName.empty() ? std::string() : envelopeJson(envelope);

        replaceTextFile(slotPath(kBeamBarsFile), result.beamBarsText + CRLF, kBeamBarsFile);
        replaceTextFile(slotPath(kForceDiagramFile), result.forceDiagramText + CRLF, kForceDiagramFile);
        if (!req.jsonName.empty()) replaceFileBytes(slotPath(req.jsonName), json, req.jsonName);
        result.calculation = envelope.envelope;
        result.envelope = std::move(envelope);
    } catch (const Failure& f) {
        if (report.currentColumn() != 1) report.endLine();
        report.text("计算未完成: ").text(f.what()).endLine();
        appendTextFile(reportPath, report.take(), req.reportName);
        throw;
    }
    appendTextFile(reportPath, report.take(), req.reportName);
    return result;
}

} // namespace

CalcResult runCalculation(const CalcRequest& req)
{
    const DesignOptions options = parseDesignOptions(req.design);
    const ReportRenewal renewal = parseRenewal(req.renewal);
    // The rule set of the calculation, for one data file and for load cases alike.
    const DesignRules& rules = defaultRules();
    if (!req.cases.empty()) return runEnvelope(req, options, renewal, rules);

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
        result.calculation = calculate(model, options, rules);
        writeDesignTables(report, result.calculation);
        result.beamBarsText = beamBarsText(result.calculation);
        result.forceDiagramText = forceDiagramText(result.calculation);

        replaceTextFile(slotPath(kBeamBarsFile), result.beamBarsText + CRLF, kBeamBarsFile);
        replaceTextFile(slotPath(kForceDiagramFile), result.forceDiagramText + CRLF, kForceDiagramFile);
        if (!req.jsonName.empty())
            replaceFileBytes(slotPath(req.jsonName), resultJson(result.calculation), req.jsonName);
    } catch (const Failure& f) {
        // The block says why it has no tables, on a line of its own, so the
        // next run's block starts on a line of its own too.
        if (report.currentColumn() != 1) report.endLine();
        report.text("计算未完成: ").text(f.what()).endLine();
        appendTextFile(reportPath, report.take(), req.reportName);
        throw;
    }
    appendTextFile(reportPath, report.take(), req.reportName);
    return result;
}

} // namespace kj
