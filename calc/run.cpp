#include "calc/run.h"

#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "calc/envelope_report.h"
#include "calc/json_output.h"
#include "calc/serviceability_report.h"
#include "calc/load_cases.h"
#include "calc/report.h"
#include "calc/seismic_combination.h"
#include "calc/seismic_detailing.h"
#include "calc/seismic_report.h"
#include "common/backup.h"
#include "common/clock.h"
#include "common/failure.h"
#include "common/report_writer.h"
#include "common/same_file.h"
#include "common/text.h"
#include "common/textfile.h"
#include "design/design_rules.h"
#include "design/gb50011_2010.h"
#include "design/materials.h"
#include "common/platform.h"
#include "analysis/plausible_sizes.h"

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace kj {

// What a run has read and checked before any file is touched, and what it
// then calculates: the report's tables and the result, and the JSON text.
struct PreparedRun {
    DesignOptions options;
    const DesignRules* rules = nullptr;
    ReportRenewal renewal = ReportRenewal::Append;
    FrameData echo; // the input the report echoes
    std::function<std::string(const PreparedRun&, ReportWriter&, CalcResult&)> calculate;
};

namespace {

// The plausibility checks a run makes before anything is written: the
// materials within the rule set's range and the member sizes. A model that
// cannot be built is left to the calculation, which reports why.
// where names the file and its part: "数据文件 \KJ-1.txt 最后一类数据".
void checkFileMaterials(const std::string& where, const Materials& materials, DesignCode code)
{
    try {
        checkMaterials(materials, code);
    } catch (const Failure& f) {
        throw Failure(where + ": " + f.what());
    }
}

void checkFileSizes(const std::string& where, const FrameModel& model)
{
    try {
        checkMemberSizes(model);
    } catch (const Failure& f) {
        throw Failure(where + ": " + f.what());
    }
}

void checkValues(const FrameData& data, const std::optional<Materials>& materials, DesignCode code)
{
    if (materials) checkFileMaterials("数据文件 " + data.fileName + " 最后一类数据", *materials, code);
    std::optional<FrameModel> model;
    try {
        model = buildModel(data);
    } catch (const Failure&) {
        return;
    }
    checkFileSizes("数据文件 " + data.fileName, *model);
}

// The tables, the result texts and the JSON of one calculation.
std::string finishSingle(bool wantJson, ReportWriter& report, CalcResult& result)
{
    writeDesignTables(report, result.calculation);
    writeServiceabilityTables(report, result.calculation, "", {});
    if (!result.calculation.serviceabilityNote.empty()) {
        if (report.currentColumn() != 1) report.endLine();
        report.text(result.calculation.serviceabilityNote).endLine();
    }
    result.beamBarsText = beamBarsText(result.calculation);
    result.forceDiagramText = forceDiagramText(result.calculation);
    return wantJson ? resultJson(result.calculation) : std::string();
}

// One data file: records 1 to 5 and record 6 read from one text.
PreparedRun prepareSingle(const CalcRequest& req, DesignCode code, PreparedCalculation& out)
{
    const std::string text = readTextFile(slotPath(req.dataName), req.dataName);
    out.checks.push_back({req.dataName, checkFrameFile(text, req.dataName)});
    FrameFileReader reader(text, req.dataName);
    PreparedRun run;
    run.echo = reader.readRecords1to5();
    // Record 6 follows records 1 to 5; when it does not read, the
    // calculation fails after the echo and says why.
    std::optional<Materials> materials;
    std::string materialsFailure;
    try {
        materials = reader.readMaterials();
    } catch (const Failure& f) {
        materialsFailure = f.what();
    }
    run.calculate = [wantJson = !req.jsonName.empty(), materials, materialsFailure](
                        const PreparedRun& self, ReportWriter& report, CalcResult& result) {
        FrameModel model = buildModel(self.echo);
        if (materials) model.materials = *materials;
        else model.materialsFailure = materialsFailure;
        result.calculation = calculate(model, self.options, *self.rules);
        return finishSingle(wantJson, report, result);
    };
    checkValues(run.echo, materials, code);
    return run;
}

// The capacity design of the seismic combinations for the JSON: every
// column's axial compression ratio against its limit (GB 50011 Table 6.3.6)
// and the factors used.
nlohmann::json capacityJson(const EnvelopeResult& r, int grade, int detailingGrade)
{
    nlohmann::json out{{"grade", grade},
                       {"etaC", gb50011::columnMomentFactor(grade)},
                       {"columnFootFactor", gb50011::columnFootFactor(grade)},
                       {"etaVb", grade <= 3 ? gb50011::beamShearFactor(grade) : 1.0},
                       {"etaVc", gb50011::columnShearFactor(grade)}};
    if (r.envelopeOptions.cornerColumns) {
        out["cornerColumns"] = true;
        out["cornerColumnFactor"] = gb50011::kCornerColumnFactor;
    }
    nlohmann::json columns = nlohmann::json::array();
    const std::vector<AxialRatioCheck> ratios = axialRatioChecks(r);
    for (std::size_t c = 1; c < ratios.size(); ++c)
        columns.push_back({{"column", c},
                           {"axialRatio", ratios[c].ratio},
                           {"limit", ratios[c].limit},
                           {"ok", ratios[c].ok},
                           {"combination", ratios[c].combination >= 0 ? r.name(ratios[c].combination) : ""}});
    for (std::size_t c = 1; c < ratios.size(); ++c)
        if (designedAsCornerColumn(r, static_cast<int>(c))) columns[c - 1]["corner"] = true;
    for (std::size_t c = 1; c < ratios.size(); ++c)
        columns[c - 1]["detailingFailures"] =
            columnSeismicDetailing(r.envelope, static_cast<int>(c), detailingGrade, ratios[c].ratio,
                                   designedAsCornerColumn(r, static_cast<int>(c))).failures;
    out["columns"] = columns;
    nlohmann::json beams = nlohmann::json::array();
    for (std::size_t i = 1; i < r.envelope.beams.size(); ++i)
        beams.push_back({{"beam", i},
                         {"detailingFailures", beamSeismicDetailing(r.envelope, static_cast<int>(i), detailingGrade).failures}});
    out["beams"] = beams;
    return out;
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

// Live-load patterns, and the factors of Q for a built-in set only.
EnvelopeOptions envelopeOptionsOf(const CalcRequest& req, bool builtInSet)
{
    EnvelopeOptions o;
    o.liveLoadPatterns = req.liveLoadPatterns;
    if (builtInSet) o.liveLoadFactors = LiveLoadFactors{req.gammaL, req.psiC};
    return o;
}

// The envelope of checked cases under their combinations.
PreparedRun envelopeRun(bool wantJson, std::shared_ptr<std::vector<LoadCaseInput>> cases, std::vector<Combination> list,
                        const std::string& title, const EnvelopeOptions& envelopeOptions,
                        std::shared_ptr<const SeismicAction> seismic = nullptr)
{
    GivenCases given{};
    for (const LoadCaseInput& c : *cases) given[static_cast<std::size_t>(c.kind)] = true;
    checkCombinationCases(list, given);
    auto combinations = std::make_shared<std::vector<Combination>>(std::move(list));
    PreparedRun run;
    run.echo = std::find_if(cases->begin(), cases->end(), [](const LoadCaseInput& c) {
                   return c.kind == LoadCaseKind::G;
               })->data;
    EnvelopeOptions withGrade = envelopeOptions;
    withGrade.seismicGrade = seismic ? seismic->grade : 0;
    withGrade.detailingGrade = seismic ? seismic->detailingGrade : 0;
    withGrade.cornerColumns = seismic && seismic->params.cornerColumns;
    withGrade.intensityNine = seismic && seismic->params.intensity == gb50011::Intensity::I9;
    withGrade.penthouseStoreys = seismic ? static_cast<int>(seismic->floors.size()) - seismic->roofStorey : 0;
    run.calculate = [wantJson, cases, combinations, title, seismic, withGrade](
                        const PreparedRun& self, ReportWriter& report, CalcResult& result) {
        EnvelopeResult envelope =
            calculateEnvelope(*cases, *combinations, title, self.options, *self.rules, withGrade);
        writeCasesBlock(report, *cases, envelope);
        if (seismic) writeSeismicBlock(report, *seismic);
        const RowNotes notes = governingNotes(envelope);
        writeDesignTables(report, envelope.envelope, &notes);
        writeServiceabilityTables(report, envelope.envelope, envelope.quasiPermanentName, envelope.windDrifts);
        result.beamBarsText = beamBarsText(envelope.envelope);
        result.forceDiagramText = forceDiagramText(envelope.envelope);
        std::string json = wantJson ? envelopeJson(envelope) : std::string();
        if (seismic && !json.empty()) {
            nlohmann::json j = nlohmann::json::parse(json);
            j["seismic"] = seismicJsonValue(*seismic);
            j["seismic"]["capacity"] = capacityJson(envelope, seismic->grade, seismic->detailingGrade);
            json = j.dump(1) + "\n";
        }
        if (seismic) result.seismic = *seismic;
        result.calculation = envelope.envelope;
        result.envelope = std::move(envelope);
        return json;
    };
    return run;
}

// The combinations of a built-in set the given cases can form, with the
// live-load factors asked for, or the user's own list; and the title the
// report gives them.
std::pair<std::vector<Combination>, std::string> chosenCombinations(const CalcRequest& req, const std::string& setKey,
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
    return {combinationsFor(set, given, {req.gammaL, req.psiC}), set.title};
}

// Load cases: the combinations and every case file, each read once and
// checked.
PreparedRun prepareEnvelope(const CalcRequest& req, const DesignOptions& options,
                            const std::optional<SeismicParameters>& seismic, PreparedCalculation& out)
{
    const std::vector<std::pair<std::string, std::string>>& given = req.cases;
    std::vector<LoadCaseKind> kinds;
    for (const auto& [letter, name] : given) kinds.push_back(caseKindOf(letter));
    auto [list, title] = chosenCombinations(req, req.combinationSet, req.combinations, kinds);
    const bool builtInSet = req.combinations.empty();
    auto cases = std::make_shared<std::vector<LoadCaseInput>>();
    for (std::size_t k = 0; k < given.size(); ++k) {
        const std::string& name = given[k].second;
        const std::string text = readTextFile(slotPath(name), name);
        out.checks.push_back({name, checkFrameFile(text, name)});
        cases->push_back(readLoadCase(kinds[k], text, name));
    }
    checkLoadCases(*cases);
    const LoadCaseInput& g = *std::find_if(cases->begin(), cases->end(), [](const LoadCaseInput& c) {
        return c.kind == LoadCaseKind::G;
    });
    if (g.model.materials)
        checkFileMaterials("数据文件 " + g.fileName + " 最后一类数据", *g.model.materials, options.code);
    checkFileSizes("数据文件 " + g.fileName, g.model);
    const std::optional<std::string> setKey =
        req.combinations.empty() ? std::optional<std::string>(req.combinationSet) : std::nullopt;
    auto action = addSeismic(seismic, *cases, list, setKey, options);
    return envelopeRun(!req.jsonName.empty(), cases, std::move(list), title, envelopeOptionsOf(req, builtInSet), action);
}

// A project: its G alone as one frame, or every case and the envelope.
PreparedRun prepareProject(const CalcRequest& req, const Project& p, const DesignOptions& options,
                           const std::optional<SeismicParameters>& seismic)
{
    // The project's own live-load settings (the batch options were applied to it).
    CalcRequest own = req;
    own.liveLoadPatterns = p.liveLoadPatterns;
    own.gammaL = p.gammaL;
    own.psiC = p.psiC;
    auto cases = std::make_shared<std::vector<LoadCaseInput>>(projectCases(p));
    checkProjectValues(p);
    if (cases->size() == 1 && !p.combinationSet && p.combinations.empty() && !seismic) {
        PreparedRun run;
        run.echo = cases->front().data;
        run.calculate = [wantJson = !req.jsonName.empty(), cases](const PreparedRun& self, ReportWriter& report,
                                                                  CalcResult& result) {
            result.calculation = calculate(cases->front().model, self.options, *self.rules);
            checkPermanentLoadServiceability(result.calculation);
            return finishSingle(wantJson, report, result);
        };
        return run;
    }
    std::vector<LoadCaseKind> kinds;
    for (const LoadCaseInput& c : *cases) kinds.push_back(c.kind);
    const std::string key = p.combinationSet.value_or("GB55001");
    auto [list, title] = chosenCombinations(own, key, p.combinations, kinds);
    const std::optional<std::string> setKey = p.combinations.empty() ? std::optional<std::string>(key) : std::nullopt;
    auto action = addSeismic(seismic, *cases, list, setKey, options);
    return envelopeRun(!req.jsonName.empty(), cases, std::move(list), title,
                       envelopeOptionsOf(own, p.combinations.empty()), action);
}

// Reports run long; a report up to this size gets a new block appended.
constexpr std::size_t kLargestReport = std::size_t{1} << 30;

} // namespace

PreparedCalculation prepareCalculation(const CalcRequest& req)
{
    const DesignOptions options = parseDesignOptions(req.project ? req.project->design : req.design);
    const ReportRenewal renewal = parseRenewal(req.renewal);
    checkLiveLoadFactors({req.gammaL, req.psiC});
    if (!req.pdfName.empty() && !req.pdfWriter)
        throw Failure("本程序构建时未带绘图部分, 不能生成计算书 " + req.pdfName);

    PreparedCalculation out;
    // The batch options' seismic parameters, or else a project's own.
    const SeismicTexts& seismicTexts =
        (req.project && req.seismic.intensity.empty()) ? req.project->seismic : req.seismic;
    const std::optional<SeismicParameters> seismic =
        seismicTexts.intensity.empty() ? std::nullopt : std::optional<SeismicParameters>(parseSeismicParameters(seismicTexts));
    // A data file's loads are design values; GE (GB 50011 5.1.3) and the
    // seismic combinations (5.4.1) take characteristic G and Q.
    if (seismic && !req.project && req.cases.empty())
        throw Failure("数据文件 " + req.dataName + " 的荷载是设计值: " + kSeismicNeedsCharacteristicLoads);
    PreparedRun run = req.project         ? prepareProject(req, *req.project, options, seismic)
                      : req.cases.empty() ? prepareSingle(req, options.code, out)
                                          : prepareEnvelope(req, options, seismic, out);
    run.options = options;
    run.rules = &rulesFor(options.code);
    run.renewal = renewal;

    // No output may overwrite an input or another output.
    std::vector<std::pair<std::string, std::filesystem::path>> files;
    if (req.project) files.push_back({"项目文件 " + req.project->fileName, slotPath(req.project->fileName)});
    else if (req.cases.empty()) files.push_back({"数据文件 " + req.dataName, slotPath(req.dataName)});
    for (const auto& [letter, name] : req.cases) files.push_back({"工况 " + letter + " 的数据文件 " + name, slotPath(name)});
    files.push_back({"计算书 " + req.reportName, slotPath(req.reportName)});
    files.push_back({std::string("配筋文件 ") + kBeamBarsFile, slotPath(kBeamBarsFile)});
    files.push_back({std::string("内力文件 ") + kForceDiagramFile, slotPath(kForceDiagramFile)});
    if (!req.jsonName.empty()) files.push_back({"JSON 文件 " + req.jsonName, slotPath(req.jsonName)});
    if (!req.pdfName.empty()) files.push_back({"计算书 PDF 文件 " + req.pdfName, slotPath(req.pdfName)});
    refuseSameFiles(files);

    out.run = std::make_shared<const PreparedRun>(std::move(run));
    return out;
}

namespace {

// Every folder a run writes into, each once.
std::vector<std::filesystem::path> outputFolders(const CalcRequest& req)
{
    std::vector<std::filesystem::path> dirs{workingRoot()};
    std::vector<std::string> names{req.reportName, kBeamBarsFile, kForceDiagramFile};
    if (!req.jsonName.empty()) names.push_back(req.jsonName);
    if (!req.pdfName.empty()) names.push_back(req.pdfName);
    for (const std::string& name : names) {
        std::filesystem::path dir = followLinks(slotPath(name)).parent_path();
        if (dir.empty()) dir = ".";
        if (std::none_of(dirs.begin(), dirs.end(), [&](const auto& d) { return sameFile(d, dir); }))
            dirs.push_back(dir);
    }
    return dirs;
}

// The book's title block: the project file's fills what the request leaves blank.
TitleBlock runTitle(const CalcRequest& req)
{
    TitleBlock title = req.title;
    if (req.project) {
        const ProjectTitle& t = req.project->title;
        for (auto [field, value] : {std::pair{&title.project, &t.project}, std::pair{&title.designer, &t.designer},
                                    std::pair{&title.checker, &t.checker}, std::pair{&title.date, &t.date},
                                    std::pair{&title.frame, &req.project->name}})
            if (field->empty()) *field = *value;
    }
    return title;
}

} // namespace

namespace {

// The commit of a run's files. They are staged whole as temporary files;
// the commit record, written whole beside the lock, names each staged file
// and its target; then the staged files are renamed one after the other and
// the record removed. A run killed between two renames leaves the record,
// and the next run, or a window before it reads a result, completes the
// commit. The record: a header line, then the staged file and its target
// for each file, as absolute paths, each ended by a zero byte (no file name
// holds one).
constexpr std::string_view kCommitHeader = "kjpj-commit/1\n";
constexpr std::size_t kLargestCommitRecord = std::size_t{1} << 20;

std::filesystem::path commitRecordPath() { return workingRoot() / platform::pathFromUtf8(kCommitRecordName); }

// A lock file that is a symbolic link could lead anywhere: it is not used.
Failure lockLinkFailure()
{
    return Failure("文件夹 " + utf8FromPath(workingRoot()) + " 中的锁文件 " + platform::kFolderLockName +
                   " 是符号链接, 不能用来防止两个计算同时写这里的文件: 请删除它后再算");
}

// The working folder's lock, or a Failure saying why a run cannot have it.
void takeFolderLock(platform::FolderLock& lock)
{
    switch (lock.acquire(workingRoot(), kFolderWaitMs)) {
    case platform::FolderLock::Result::Taken: return;
    case platform::FolderLock::Result::Busy:
        throw Failure("另一个计算正在使用文件夹 " + utf8FromPath(workingRoot()) + ", 请等它结束后再算");
    case platform::FolderLock::Result::IsLink: throw lockLinkFailure();
    }
}

// With the folder's lock held: completes the commit a killed run left.
void finishInterruptedCommit()
{
    namespace fs = std::filesystem;
    const fs::path record = commitRecordPath();
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(record, ec);
    if (!fs::exists(st)) return;
    const std::string shown = std::string("文件替换记录 ") + kCommitRecordName;
    auto refuse = [&](const std::string& why) {
        throw Failure("工作文件夹中的" + shown + " " + why + ": 请确认没有计算在进行, 删除它后再算");
    };
    if (!fs::is_regular_file(st)) refuse("不是普通文件");
    const std::string bytes = readFileBytes(record, kLargestCommitRecord, shown);
    if (bytes.compare(0, kCommitHeader.size(), kCommitHeader) != 0) refuse("不是本程序写的");
    std::vector<fs::path> names;
    for (std::size_t at = kCommitHeader.size(); at < bytes.size();) {
        const std::size_t end = bytes.find('\0', at);
        if (end == std::string::npos) refuse("不完整");
        names.push_back(platform::pathFromUtf8(std::string_view(bytes).substr(at, end - at)));
        at = end + 1;
    }
    if (names.size() % 2 != 0) refuse("不完整");
    // Only a staged file of this program beside its target is renamed.
    for (std::size_t k = 0; k < names.size(); k += 2) {
        const fs::path &staged = names[k], &target = names[k + 1];
        const std::string stagedName = utf8FromPath(staged.filename());
        if (!staged.is_absolute() || staged.parent_path() != target.parent_path() || target.filename().empty() ||
            stagedName.rfind(platform::kTempPrefix, 0) != 0)
            refuse("的第 " + std::to_string(k / 2 + 1) + " 项不是临时文件和它的目标");
    }
    for (std::size_t k = 0; k < names.size(); k += 2) {
        if (!fs::is_regular_file(fs::symlink_status(names[k], ec))) continue; // renamed before the kill
        if (std::string why = platform::renameOver(names[k], names[k + 1]); !why.empty())
            throw Failure("未能完成上次中断的计算的文件替换: 无法写入文件 " + utf8FromPath(names[k + 1]) + ": " + why);
    }
    fs::remove(record, ec);
}

// Puts the staged files in place under a commit record.
void commitWithRecord(FileSet& set)
{
    std::string record(kCommitHeader);
    for (const auto& [staged, target] : set.staged()) {
        std::error_code ec;
        for (const std::filesystem::path& p : {staged, target}) record += utf8FromPath(std::filesystem::absolute(p, ec)) + '\0';
    }
    replaceFileBytes(commitRecordPath(), record, kCommitRecordName);
    std::error_code ec;
    try {
        set.commit();
    } catch (const Failure&) {
        std::filesystem::remove(commitRecordPath(), ec); // what was not renamed is removed: nothing to complete
        throw;
    }
    std::filesystem::remove(commitRecordPath(), ec);
}

// The report staged last: with renewal, its previous content as .bak just
// before it; else the new block after the old text.
void stageReport(FileSet& set, const CalcRequest& req, ReportRenewal renewal, const std::string& block)
{
    const std::filesystem::path target = followLinks(slotPath(req.reportName));
    const std::string old = fileExists(target) ? readFileBytes(target, kLargestReport, req.reportName) : std::string();
    if (renewal == ReportRenewal::Renew && !old.empty())
        set.addBytes(backupPath(target), old, req.reportName + ".bak");
    set.addBytes(target, (renewal == ReportRenewal::Append ? old : std::string()) + encodeGbk(block), req.reportName);
}

} // namespace

void completeInterruptedCommit()
{
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(commitRecordPath(), ec))) return;
    platform::FolderLock lock;
    switch (lock.acquire(workingRoot(), kFolderWaitMs)) {
    case platform::FolderLock::Result::Taken: break;
    case platform::FolderLock::Result::Busy: return; // the run holding the folder completes it itself
    case platform::FolderLock::Result::IsLink: throw lockLinkFailure();
    }
    finishInterruptedCommit();
}

CalcResult writeCalculation(const CalcRequest& req, const PreparedCalculation& prepared)
{
    const PreparedRun& run = *prepared.run;
    try {
        // Calculated, formatted and drawn whole before the first rename: a
        // failure, also a value too wide for its column of the report,
        // leaves every file as it was.
        ReportWriter report;
        CalcResult result;
        const ShortDateTime now = shortDateTimeNow();
        writeEcho(report, run.echo, req.date.empty() ? now.date : req.date, req.time.empty() ? now.time : req.time);
        const std::string json = run.calculate(run, report, result);
        const std::string block = report.take();
        result.title = runTitle(req);
        result.data = run.echo;

        platform::FolderLock lock;
        takeFolderLock(lock);
        finishInterruptedCommit();
        for (const auto& dir : outputFolders(req)) platform::removeStaleTemporaries(dir);
        FileSet set;
        set.addText(slotPath(kBeamBarsFile), result.beamBarsText + CRLF, kBeamBarsFile);
        set.addText(slotPath(kForceDiagramFile), result.forceDiagramText + CRLF, kForceDiagramFile);
        if (!req.jsonName.empty()) set.addBytes(slotPath(req.jsonName), json, req.jsonName);
        if (!req.pdfName.empty()) {
            const auto temp = set.reserve(slotPath(req.pdfName), req.pdfName);
            req.pdfWriter(result.calculation, run.echo, result.envelope ? &*result.envelope : nullptr,
                          result.seismic ? &*result.seismic : nullptr, result.title, temp);
            set.seal();
        }
        stageReport(set, req, run.renewal, block);
        commitWithRecord(set);
        return result;
    } catch (const Failure&) {
        throw;
    } catch (const std::exception& e) {
        throw Failure(failureText(e));
    }
}

CalcResult runCalculation(const CalcRequest& req) { return writeCalculation(req, prepareCalculation(req)); }

CalcResult calculateWithoutFiles(const CalcRequest& req)
{
    const PreparedCalculation prepared = prepareCalculation(req);
    const PreparedRun& run = *prepared.run;
    ReportWriter report; // the run's tables, not kept
    CalcResult result;
    run.calculate(run, report, result);
    result.data = run.echo;
    result.title = runTitle(req);
    return result;
}

FileCalculation fileCalculation(const CalcResult& result)
{
    FileCalculation out;
    out.data = result.data;
    out.calculation = result.calculation;
    if (result.envelope) out.envelope = std::make_shared<const EnvelopeResult>(*result.envelope);
    if (result.seismic) out.seismic = std::make_shared<const SeismicAction>(*result.seismic);
    out.title = result.title;
    return out;
}

} // namespace kj
