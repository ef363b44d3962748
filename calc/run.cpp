#include "calc/run.h"

#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "calc/envelope_report.h"
#include "calc/json_output.h"
#include "calc/serviceability_report.h"
#include "calc/load_cases.h"
#include "calc/report.h"
#include "calc/seismic_combination.h"
#include "calc/seismic_report.h"
#include "common/backup.h"
#include "common/clock.h"
#include "common/failure.h"
#include "common/report_writer.h"
#include "common/same_file.h"
#include "common/text.h"
#include "common/textfile.h"
#include "design/design_rules.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>

namespace kj {

namespace {

// What a run has read before the report is touched, and what it then
// calculates: the report's tables and the result, and the JSON text.
struct PreparedRun {
    FrameData echo; // the input the report echoes
    std::function<std::string(ReportWriter&, CalcResult&)> calculate;
};

// The tables, the result texts and the JSON of one calculation.
std::string finishSingle(const CalcRequest& req, ReportWriter& report, CalcResult& result)
{
    writeDesignTables(report, result.calculation);
    writeServiceabilityTables(report, result.calculation, "", {});
    result.beamBarsText = beamBarsText(result.calculation);
    result.forceDiagramText = forceDiagramText(result.calculation);
    return req.jsonName.empty() ? std::string() : resultJson(result.calculation);
}

// One data file: records 1 to 5 now, record 6 once the forces are known.
PreparedRun prepareSingle(const CalcRequest& req, const std::filesystem::path& dataPath, const DesignOptions& options,
                          const DesignRules& rules)
{
    auto reader = std::make_shared<FrameFileReader>(readTextFile(dataPath, req.dataName), req.dataName);
    PreparedRun run;
    run.echo = reader->readRecords1to5();
    run.calculate = [&req, &options, &rules, reader, data = run.echo](ReportWriter& report, CalcResult& result) {
        FrameModel model = buildModel(data);
        try {
            model.materials = reader->readMaterials();
        } catch (const Failure& f) {
            model.materialsFailure = f.what();
        }
        result.calculation = calculate(model, options, rules);
        return finishSingle(req, report, result);
    };
    return run;
}

// The earthquake on checked cases: the action, the case E beside them and,
// with a built-in set, its seismic combinations after the set's own.
std::shared_ptr<const SeismicAction> addSeismic(const std::optional<SeismicParameters>& seismic,
                                                std::vector<LoadCaseInput>& cases, std::vector<Combination>& list,
                                                const std::optional<std::string>& setKey, const DesignOptions& options)
{
    if (!seismic) return nullptr;
    auto action = std::make_shared<const SeismicAction>(seismicAction(cases, *seismic, options.code));
    const bool liveLoad = std::any_of(cases.begin(), cases.end(), [](const LoadCaseInput& c) { return c.kind == LoadCaseKind::Q; });
    cases.push_back(seismicCase(cases, *action));
    if (setKey)
        for (Combination& c : seismicCombinations(*setKey, liveLoad)) list.push_back(std::move(c));
    return action;
}

// The envelope of checked cases under their combinations.
PreparedRun envelopeRun(const CalcRequest& req, std::shared_ptr<std::vector<LoadCaseInput>> cases,
                        std::vector<Combination> list, const std::string& title, const DesignOptions& options,
                        const DesignRules& rules, std::shared_ptr<const SeismicAction> seismic = nullptr)
{
    GivenCases given{};
    for (const LoadCaseInput& c : *cases) given[static_cast<std::size_t>(c.kind)] = true;
    checkCombinationCases(list, given);
    auto combinations = std::make_shared<std::vector<Combination>>(std::move(list));
    PreparedRun run;
    run.echo = std::find_if(cases->begin(), cases->end(), [](const LoadCaseInput& c) {
                   return c.kind == LoadCaseKind::G;
               })->data;
    run.calculate = [&req, &options, &rules, cases, combinations, title, seismic](ReportWriter& report, CalcResult& result) {
        EnvelopeResult envelope = calculateEnvelope(*cases, *combinations, title, options, rules);
        writeCasesBlock(report, *cases, envelope);
        if (seismic) writeSeismicBlock(report, *seismic);
        const RowNotes notes = governingNotes(envelope);
        writeDesignTables(report, envelope.envelope, &notes);
        writeServiceabilityTables(report, envelope.envelope, envelope.quasiPermanentName, envelope.windDrifts);
        result.beamBarsText = beamBarsText(envelope.envelope);
        result.forceDiagramText = forceDiagramText(envelope.envelope);
        std::string json = req.jsonName.empty() ? std::string() : envelopeJson(envelope);
        if (seismic && !json.empty()) {
            nlohmann::json j = nlohmann::json::parse(json);
            j["seismic"] = seismicJsonValue(*seismic);
            json = j.dump(1) + "\n";
        }
        if (seismic) result.seismic = *seismic;
        result.calculation = envelope.envelope;
        result.envelope = std::move(envelope);
        return json;
    };
    return run;
}

// The combinations of a built-in set the given cases can form, or the
// user's own list; and the title the report gives them.
std::pair<std::vector<Combination>, std::string> chosenCombinations(const std::string& setKey,
                                                                    const std::vector<std::string>& own,
                                                                    const std::vector<LoadCaseKind>& kinds)
{
    if (!own.empty()) {
        std::vector<Combination> list;
        for (const std::string& text : own) list.push_back(parseCombination(text));
        return {list, "自定义"};
    }
    const CombinationSet& set = combinationSet(setKey);
    GivenCases given{};
    for (LoadCaseKind kind : kinds) given[static_cast<std::size_t>(kind)] = true;
    return {combinationsFor(set, given), set.title};
}

// Load cases: the combinations and every case file, read and checked. With
// the seismic parameters and no cases, the data file is the dead load G.
PreparedRun prepareEnvelope(const CalcRequest& req, const DesignOptions& options, const DesignRules& rules,
                            const std::optional<SeismicParameters>& seismic)
{
    std::vector<std::pair<std::string, std::string>> given = req.cases;
    if (given.empty()) given.push_back({"G", req.dataName});
    std::vector<LoadCaseKind> kinds;
    for (const auto& [letter, name] : given) kinds.push_back(caseKindOf(letter));
    auto [list, title] = chosenCombinations(req.combinationSet, req.combinations, kinds);
    auto cases = std::make_shared<std::vector<LoadCaseInput>>();
    for (std::size_t k = 0; k < given.size(); ++k) {
        const std::string& name = given[k].second;
        cases->push_back(readLoadCase(kinds[k], readTextFile(slotPath(name), name), name));
    }
    checkLoadCases(*cases);
    const std::optional<std::string> setKey =
        req.combinations.empty() ? std::optional<std::string>(req.combinationSet) : std::nullopt;
    auto action = addSeismic(seismic, *cases, list, setKey, options);
    return envelopeRun(req, cases, std::move(list), title, options, rules, action);
}

// A project: its G alone as one frame, or every case and the envelope.
PreparedRun prepareProject(const CalcRequest& req, const Project& p, const DesignOptions& options,
                           const DesignRules& rules, const std::optional<SeismicParameters>& seismic)
{
    auto cases = std::make_shared<std::vector<LoadCaseInput>>(projectCases(p));
    if (cases->size() == 1 && !p.combinationSet && p.combinations.empty() && !seismic) {
        PreparedRun run;
        run.echo = cases->front().data;
        run.calculate = [&req, &options, &rules, cases](ReportWriter& report, CalcResult& result) {
            result.calculation = calculate(cases->front().model, options, rules);
            return finishSingle(req, report, result);
        };
        return run;
    }
    std::vector<LoadCaseKind> kinds;
    for (const LoadCaseInput& c : *cases) kinds.push_back(c.kind);
    const std::string key = p.combinationSet.value_or("GB55001");
    auto [list, title] = chosenCombinations(key, p.combinations, kinds);
    const std::optional<std::string> setKey = p.combinations.empty() ? std::optional<std::string>(key) : std::nullopt;
    auto action = addSeismic(seismic, *cases, list, setKey, options);
    return envelopeRun(req, cases, std::move(list), title, options, rules, action);
}

} // namespace

CalcResult runCalculation(const CalcRequest& req)
{
    const DesignOptions options = parseDesignOptions(req.project ? req.project->design : req.design);
    const ReportRenewal renewal = parseRenewal(req.renewal);
    const DesignRules& rules = rulesFor(options.code);
    if (!req.pdfName.empty() && !req.pdfWriter)
        throw Failure("本程序构建时未带绘图部分, 不能生成计算书 " + req.pdfName);

    const auto reportPath = slotPath(req.reportName);
    // The input is read before the report is touched, so that a wrong file
    // name never empties an existing report.
    const auto dataPath = slotPath(req.dataName);
    // The batch options' seismic parameters, or else a project's own.
    const SeismicTexts& seismicTexts =
        (req.project && req.seismic.intensity.empty()) ? req.project->seismic : req.seismic;
    const std::optional<SeismicParameters> seismic =
        seismicTexts.intensity.empty() ? std::nullopt : std::optional<SeismicParameters>(parseSeismicParameters(seismicTexts));
    const PreparedRun run = req.project                     ? prepareProject(req, *req.project, options, rules, seismic)
                            : req.cases.empty() && !seismic ? prepareSingle(req, dataPath, options, rules)
                                                            : prepareEnvelope(req, options, rules, seismic);

    // No output may overwrite an input or another output.
    std::vector<std::pair<std::string, std::filesystem::path>> files;
    if (req.project) files.push_back({"项目文件 " + req.project->fileName, slotPath(req.project->fileName)});
    else if (req.cases.empty()) files.push_back({"数据文件 " + req.dataName, dataPath});
    for (const auto& [letter, name] : req.cases) files.push_back({"工况 " + letter + " 的数据文件 " + name, slotPath(name)});
    files.push_back({"计算书 " + req.reportName, reportPath});
    files.push_back({std::string("配筋文件 ") + kBeamBarsFile, slotPath(kBeamBarsFile)});
    files.push_back({std::string("内力文件 ") + kForceDiagramFile, slotPath(kForceDiagramFile)});
    if (!req.jsonName.empty()) files.push_back({"JSON 文件 " + req.jsonName, slotPath(req.jsonName)});
    if (!req.pdfName.empty()) files.push_back({"计算书 PDF 文件 " + req.pdfName, slotPath(req.pdfName)});
    refuseSameFiles(files);

    if (renewal == ReportRenewal::Renew) {
        keepBackup(reportPath, req.reportName);
        replaceTextFile(reportPath, "", req.reportName);
    }
    appendTextFile(reportPath, "", req.reportName); // created if missing; fails early when not writable

    ReportWriter report;
    CalcResult result;
    try {
        const ShortDateTime now = shortDateTimeNow();
        writeEcho(report, run.echo, req.date.empty() ? now.date : req.date, req.time.empty() ? now.time : req.time);
        const std::string json = run.calculate(report, result);
        replaceTextFile(slotPath(kBeamBarsFile), result.beamBarsText + CRLF, kBeamBarsFile);
        replaceTextFile(slotPath(kForceDiagramFile), result.forceDiagramText + CRLF, kForceDiagramFile);
        if (!req.jsonName.empty()) replaceFileBytes(slotPath(req.jsonName), json, req.jsonName);
        if (!req.pdfName.empty()) {
            // The project file's title block fills what the request leaves blank.
            TitleBlock title = req.title;
            if (req.project) {
                const ProjectTitle& t = req.project->title;
                for (auto [field, value] : {std::pair{&title.project, &t.project}, std::pair{&title.designer, &t.designer},
                                            std::pair{&title.checker, &t.checker}, std::pair{&title.date, &t.date},
                                            std::pair{&title.frame, &req.project->name}})
                    if (field->empty()) *field = *value;
            }
            req.pdfWriter(result.calculation, run.echo, result.envelope ? &*result.envelope : nullptr,
                          result.seismic ? &*result.seismic : nullptr, title,
                          slotPath(req.pdfName));
        }
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
    result.data = run.echo;
    return result;
}

} // namespace kj
