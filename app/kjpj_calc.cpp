// kjpj-calc: the frame calculation without a window. It runs the same
// calculation as the main window's button "框架配筋计算", taking as options
// the texts the window's controls would hold.
#include "analysis/data_check.h"
#include "analysis/plausible_sizes.h"
#include "calc/project.h"
#include "calc/run.h"
#include "common/backup.h"
#include "common/failure.h"
#include "common/platform.h"
#include "common/text.h"
#include "common/textfile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#ifdef KJPJ_WITH_DRAWING
#include "calc_book.h"

#include <QGuiApplication>
#endif

namespace {

// The state the options build up, read by main once they are all parsed.
struct CommandLine {
    kj::CalcRequest req;
    bool dataGiven = false;
    bool strict = false;
    bool setGiven = false;
    bool liveLoadGiven = false;
    std::string gammaL, psiC;
    std::string seismicPart; // the last of --site, --group, --seismic-grade, --period-factor, --corner-columns given
    // The design options as given, applied to the main window's defaults or
    // to a project's own settings, which they override.
    std::vector<std::function<void(kj::DesignSettings&)>> designEdits;
    // --to-project DATAFILE ... OUT.kjpj and --to-datafile JOB.kjpj OUT.txt.
    enum class Mode { Calculate, ToProject, ToDataFile } mode = Mode::Calculate;
    std::string convertFrom, convertTo;

    void edit(std::function<void(kj::DesignSettings&)> f) { designEdits.push_back(std::move(f)); }
};

using Values = std::vector<std::string>;

// One option: its name, what each of its values is (as a refusal names a
// missing one: "选项 --json 缺少文件名"), how --help shows it (null: it is
// described in another option's lines), its help (lines split by '\n') and
// what it sets.
struct Option {
    const char* name;
    std::vector<const char*> values;
    const char* shown;
    const char* help;
    void (*set)(CommandLine&, const Values&);
};

const char* const kFile = "文件名";
const char* const kValue = "取值";

const std::vector<Option>& options()
{
    using C = CommandLine;
    using D = kj::DesignSettings;
    static const std::vector<Option> table{
        {"--report", {kFile}, "--report 名称", "计算书文件, 默认 \\zemowj1.txt",
         [](C& c, const Values& v) { c.req.reportName = v[0]; }},
        {"--renew", {}, "--renew", "先清空计算书 (数据更新 1); 默认追加", [](C& c, const Values&) { c.req.renewal = "1"; }},
        {"--beta", {kValue}, "--beta 文本", "梁顶负弯矩调幅系数, 默认 1.00",
         [](C& c, const Values& v) { c.edit([x = v[0]](D& d) { d.beta = x; }); }},
        {"--cover", {kValue}, "--cover 文本", "主筋保护层 (mm), 默认 25",
         [](C& c, const Values& v) { c.edit([x = v[0]](D& d) { d.cover = x; }); }},
        {"--top-bars", {"根数", "直径"}, "--top-bars 根数 直径", "梁顶通长筋, 默认 2 zd (zd = 程序选定直径)",
         [](C& c, const Values& v) { c.edit([v](D& d) { d.topCount = v[0], d.topDiameter = v[1]; }); }},
        {"--bottom-bars", {"根数", "直径"}, "--bottom-bars 根数 直径", "梁底通长筋, 默认 2 zd",
         [](C& c, const Values& v) { c.edit([v](D& d) { d.bottomCount = v[0], d.bottomDiameter = v[1]; }); }},
        {"--stirrups", {"肢数", "直径"}, "--stirrups 肢数 直径", "自选箍筋, 默认 2 6",
         [](C& c, const Values& v) { c.edit([v](D& d) { d.stirrupLegs = v[0], d.stirrupDiameter = v[1]; }); }},
        {"--code", {kValue}, "--code 规范", "设计规范: 原方法 (默认) 或 2010 (GB50010-2010)",
         [](C& c, const Values& v) { c.edit([x = v[0]](D& d) { d.code = x; }); }},
        {"--fyv", {kValue}, "--fyv 数值", "箍筋强度设计值 270 (默认) 或 360, 只用于 --code 2010",
         [](C& c, const Values& v) { c.edit([x = v[0]](D& d) { d.fyv = x; }); }},
        {"--psi-q", {kValue}, "--psi-q 数值",
         "活荷载准永久值系数 ψq, 默认 0.4; 用于 --code 2010 的裂缝和挠度验算 (G + ψq·Q)",
         [](C& c, const Values& v) { c.edit([x = v[0]](D& d) { d.quasiPermanent = x; }); }},
        {"--precast", {}, "--precast",
         "装配式楼盖: 柱计算长度 1.25H (底层) / 1.5H, 只用于 --code 2010;\n默认现浇楼盖 1.0H / 1.25H",
         [](C& c, const Values&) { c.edit([](D& d) { d.floors = "装配"; }); }},
        {"--environment", {kValue}, "--environment 类别",
         "环境类别 1 (一类, 默认)、2a (二a) 或 2b (二b), 只用于 --code 2010;\n定出 8.2.1 的最小保护层, 保护层指箍筋外缘",
         [](C& c, const Values& v) { c.edit([x = v[0]](D& d) { d.environment = x; }); }},
        {"--json", {kFile}, "--json 名称", "另把全部计算结果写成 JSON 文件 (UTF-8)",
         [](C& c, const Values& v) { c.req.jsonName = v[0]; }},
        {"--strict", {}, "--strict", "数据文件有读不清的字段时不计算, 不写任何文件",
         [](C& c, const Values&) { c.strict = true; }},
        {"--case", {"工况", kFile}, "--case 工况 名称",
         "荷载工况的数据文件: 工况为 G (恒载, 含柱自重)、Q (活载)、\n"
         "W (左风; 右风取 -W) 或 W2 (右风, 自有体型, 荷载向左给出, 代替 -W)。\n"
         "给出工况时不用数据文件参数, 按组合的包络配筋",
         [](C& c, const Values& v) { c.req.cases.emplace_back(v[0], v[1]); }},
        {"--combinations", {kValue}, "--combinations 规范",
         "内置荷载组合: GB55001 (默认, GB 55001-2021) 或 GB50009 (GB 50009-2012)",
         [](C& c, const Values& v) { c.req.combinationSet = v[0], c.setGiven = true; }},
        {"--combine", {kValue}, "--combine 组合", "自定义组合, 如 \"1.3G+1.5Q-0.9W\", 可重复, 代替 --combinations",
         [](C& c, const Values& v) { c.req.combinations.push_back(v[0]); }},
        {"--patterns", {}, "--patterns", "活载不利布置: 各梁活载分别计算后叠加, 每个设计值取最不利布置",
         [](C& c, const Values&) { c.req.liveLoadPatterns = c.liveLoadGiven = true; }},
        {"--gamma-l", {kValue}, "--gamma-l 数值", "活载设计使用年限调整系数 γL: 1.0 (50 年, 默认) 或 1.1 (100 年)",
         [](C& c, const Values& v) { c.gammaL = v[0], c.liveLoadGiven = true; }},
        {"--psi-c", {kValue}, "--psi-c 数值", "活载组合值系数 ψc: 0.7 (默认) 或 0.9 (书库、档案库、储藏室等)",
         [](C& c, const Values& v) { c.psiC = v[0], c.liveLoadGiven = true; }},
        {"--pdf", {kFile}, "--pdf 名称", "另生成 A4 PDF 计算书 (含计算简图、内力图和配筋图), 无需显示器",
         [](C& c, const Values& v) { c.req.pdfName = v[0]; }},
        {"--seismic", {kValue},
         "--seismic 烈度 --site 场地 --group 分组 [--seismic-grade 等级] [--period-factor ψT] [--corner-columns]",
         "抗震设计 (GB 50011-2010 底部剪力法, 只用于 --code 2010): 烈度 6、7、\n"
         "7.5 (0.15g)、8、8.5 (0.30g) 或 9; 场地 I0、I1、II、III 或 IV; 分组 1、2 或 3;\n"
         "抗震等级 1-4 默认按表 6.1.2; 周期折减系数 ψT 默认 0.7; 单个数据文件作恒载 G;\n"
         "--corner-columns: 最左、最右两列柱为房屋的角柱 (边榀框架), 按角柱设计",
         [](C& c, const Values& v) { c.req.seismic.intensity = v[0]; }},
        {"--site", {kValue}, nullptr, nullptr,
         [](C& c, const Values& v) { c.req.seismic.site = v[0], c.seismicPart = "--site"; }},
        {"--group", {kValue}, nullptr, nullptr,
         [](C& c, const Values& v) { c.req.seismic.group = v[0], c.seismicPart = "--group"; }},
        {"--seismic-grade", {kValue}, nullptr, nullptr,
         [](C& c, const Values& v) { c.req.seismic.grade = v[0], c.seismicPart = "--seismic-grade"; }},
        {"--period-factor", {kValue}, nullptr, nullptr,
         [](C& c, const Values& v) { c.req.seismic.psiT = v[0], c.seismicPart = "--period-factor"; }},
        {"--corner-columns", {}, nullptr, nullptr,
         [](C& c, const Values&) { c.req.seismic.cornerColumns = true, c.seismicPart = "--corner-columns"; }},
        {"--to-project", {kFile}, "--to-project 数据文件 [--case 工况 名称 ...] [选项] 输出.kjpj",
         "把数据文件 (恒载 G 及其他工况) 和设置写成一个项目文件",
         [](C& c, const Values& v) { c.mode = C::Mode::ToProject, c.convertFrom = v[0]; }},
        {"--to-datafile", {kFile, kFile}, "--to-datafile 项目.kjpj 输出 [--case 工况 名称 ...]",
         "把项目的恒载 G (及给出的工况) 写成数据文件; 数据文件容纳不下的框架被拒绝并说明原因",
         [](C& c, const Values& v) { c.mode = C::Mode::ToDataFile, c.convertFrom = v[0], c.convertTo = v[1]; }},
        {"--help", {}, "--help", "显示本说明", nullptr},
    };
    return table;
}

// Columns of a help line: a CJK character takes two.
std::size_t helpWidth(std::string_view text)
{
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const std::size_t n = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
        width += n >= 3 ? 2 : 1;
        i += n;
    }
    return width;
}

// A row of --help: what is typed, then its help from column 31 (on the next
// line when what is typed reaches that far), every further line indented alike.
std::string helpRow(std::string_view shown, std::string_view help)
{
    constexpr std::size_t kHelpColumn = 30;
    const std::string indent(kHelpColumn, ' ');
    std::string row = "  " + std::string(shown);
    const std::size_t width = 2 + helpWidth(shown);
    row += width < kHelpColumn - 1 ? std::string(kHelpColumn - width, ' ') : "\n" + indent;
    for (char c : help) row += c == '\n' ? "\n" + indent : std::string(1, c);
    return row + "\n";
}

const std::string& usage()
{
    static const std::string text = [] {
        std::string u = "用法: kjpj-calc [数据文件 | 项目.kjpj] [选项]\n"
                        "按主窗口\"框架配筋计算\"按钮的方式计算框架内力并配筋, 不弹出确认框。\n"
                        "文件名按主窗口文件列表的规则解析: 以 \\ 开头的名称指当前文件夹。\n"
                        "计算书追加(或重写)到报告文件, 并重写 \\lpj-1.txt 和 \\mvts-1.txt。\n"
                        "\n";
        u += helpRow("数据文件", "框架数据文件, 默认 \\KJ-1.txt");
        u += helpRow("项目.kjpj", "项目文件: 框架、全部工况、设置和组合; 选项覆盖其中的设置");
        for (const Option& o : options())
            if (o.shown) u += helpRow(o.shown, o.help);
        return u +
               "\n"
               "不能使用的选项在读写任何文件之前即被拒绝。\n"
               "数据文件中读不清的字段在标准错误输出中列为警告。\n"
               "成功时退出码为 0; 失败时在标准错误输出说明, 退出码为 1。\n"
               "\n"
               "Usage: kjpj-calc [DATAFILE] [--report NAME] [--renew] [--beta TEXT] [--cover TEXT]\n"
               "                 [--top-bars N D] [--bottom-bars N D] [--stirrups LEGS D] [--json NAME] [--strict]\n"
               "                 [--pdf NAME]\n"
               "                 [--code 2010 [--fyv 270|360] [--precast] [--environment 1|2a|2b]]\n"
               "       kjpj-calc JOB.kjpj [--report NAME] [--json NAME] [--pdf NAME] [design options]\n"
               "       kjpj-calc --to-project DATAFILE [--case Q NAME ...] [options] OUT.kjpj\n"
               "       kjpj-calc --to-datafile JOB.kjpj OUT.txt [--case Q OUT-Q.txt ...]\n"
               "       kjpj-calc --case G NAME [--case Q NAME] [--case W NAME] [--case W2 NAME]\n"
               "                 [--combinations GB55001|GB50009 | --combine TEXT ...]\n"
               "                 [--patterns] [--gamma-l 1.0|1.1] [--psi-c 0.7|0.9] [other options]\n"
               "       kjpj-calc ... --code 2010 --seismic 6|7|7.5|8|8.5|9 --site I0|I1|II|III|IV --group 1|2|3\n"
               "                 [--seismic-grade 1-4] [--period-factor PSI_T] [--corner-columns]\n";
    }();
    return text;
}

// A name ending in ".kjpj" (any letter case) names a project file.
bool isProjectName(const std::string& name)
{
    if (name.size() < 5) return false;
    std::string tail = name.substr(name.size() - 5);
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".kjpj";
}

// Writes a file a conversion made, keeping the previous one as .bak.
void writeConverted(const std::string& name, const std::string& text, bool utf8)
{
    const auto path = kj::slotPath(name);
    kj::keepBackup(path, name);
    if (utf8) kj::replaceFileBytes(path, text, name);
    else kj::replaceTextFile(path, text, name);
}

int failed(const std::exception& e)
{
    std::fprintf(stderr, "%s\n", kj::terminalSafe(kj::failureText(e)).c_str());
    return 1;
}

// --to-project: the data files of the cases and the settings given here
// become one project file.
int toProject(const std::string& dataName, const std::string& out, const kj::CalcRequest& req,
              const std::vector<std::function<void(kj::DesignSettings&)>>& edits, bool setGiven,
              const std::string& gammaL, const std::string& psiC)
{
    if (out.empty()) {
        std::fprintf(stderr, "--to-project 缺少输出的项目文件名 (*.kjpj)\n%s", usage().c_str());
        return 1;
    }
    if (!isProjectName(out)) {
        std::fprintf(stderr, "项目文件名 %s 应以 .kjpj 结尾\n", out.c_str());
        return 1;
    }
    try {
        kj::setWorkingRoot(std::filesystem::current_path());
        kj::DesignSettings design;
        for (const auto& f : edits) f(design);
        kj::parseDesignOptions(design);
        std::vector<std::pair<std::string, std::string>> inputs{{"G", dataName}};
        inputs.insert(inputs.end(), req.cases.begin(), req.cases.end());
        std::vector<kj::LoadCaseInput> cases;
        for (const auto& [letter, name] : inputs)
            cases.push_back(kj::readLoadCase(kj::caseKindOf(letter), kj::readTextFile(kj::slotPath(name), name), name));
        kj::checkLoadCases(cases);
        std::optional<std::string> set;
        if (setGiven) set = req.combinationSet;
        for (const std::string& c : req.combinations) kj::parseCombination(c);
        kj::Project p = kj::projectFromDataFiles(cases, design, set, req.combinations);
        p.fileName = out;
        // The live-load and seismic settings given here go into the project too.
        const kj::LiveLoadFactors factors = kj::parseLiveLoadFactors(gammaL, psiC);
        p.liveLoadPatterns = req.liveLoadPatterns;
        p.gammaL = factors.gammaL;
        p.psiC = factors.psiC;
        if (!req.seismic.intensity.empty()) {
            kj::parseSeismicParameters(req.seismic);
            p.seismic = req.seismic;
        }
        const std::string json = kj::projectJson(p);
        kj::parseProject(json, out); // what is written reads back
        writeConverted(out, json, true);
    } catch (const std::exception& e) {
        return failed(e);
    }
    std::printf("已写出项目文件 %s\n", out.c_str());
    // A data file's loads are design values; the project's cases are characteristic.
    std::printf("注意: 数据文件 %s 的荷载作为恒载 G 写入项目文件%s\n", dataName.c_str(),
                req.cases.empty() ? "; 单个数据文件的荷载是设计值, 请除以荷载分项系数或改填荷载标准值" : "");
    return 0;
}

// --to-datafile: a project's cases as frame data files, when they fit.
int toDataFile(const std::string& projectName, const std::string& out,
               const std::vector<std::pair<std::string, std::string>>& caseOutputs)
{
    try {
        kj::setWorkingRoot(std::filesystem::current_path());
        const kj::Project p =
            kj::readProjectFile(kj::slotPath(projectName), projectName);
        std::vector<std::pair<std::string, std::string>> files{{"G", out}};
        files.insert(files.end(), caseOutputs.begin(), caseOutputs.end());
        std::vector<std::pair<std::string, std::string>> texts; // all made before any is written
        for (const auto& [letter, name] : files) {
            const kj::LoadCaseKind kind = kj::caseKindOf(letter);
            if (!p.findCase(kind))
                throw kj::Failure("项目文件 " + projectName + " 没有荷载工况 " + letter + ", 不能写出 " + name);
            texts.push_back({name, kj::dataFileText(p, kind)});
        }
        for (const auto& [name, text] : texts) writeConverted(name, text, false);
        for (const kj::ProjectCase& c : p.cases) {
            const bool named = std::any_of(files.begin(), files.end(), [&](const auto& f) {
                return kj::caseKindOf(f.first) == c.kind;
            });
            if (!named)
                std::printf("注意: 工况 %s 未写出 (用 --case %s 名称 给出其数据文件名)\n", kj::caseLetter(c.kind),
                            kj::caseLetter(c.kind));
        }
    } catch (const std::exception& e) {
        return failed(e);
    }
    std::printf("已写出数据文件 %s\n", out.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    kj::platform::useUtf8Arguments(argc, argv);
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(usage().c_str(), stdout);
            return 0;
        }
        const auto option = std::find_if(options().begin(), options().end(), [&](const Option& o) { return a == o.name; });
        if (option != options().end()) {
            // A value that begins with "--" is the next option, not the value: "--json --pdf" lacks the JSON's name.
            Values values;
            for (const char* what : option->values) {
                if (i + 1 >= argc || std::strncmp(argv[i + 1], "--", 2) == 0) {
                    std::fprintf(stderr, "选项 %s 缺少%s\n", option->name, what);
                    return 1;
                }
                values.push_back(argv[++i]);
            }
            option->set(line, values);
        } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "未知选项 %s\n%s", kj::terminalSafe(a).c_str(), usage().c_str());
            return 1;
        } else if (line.mode == CommandLine::Mode::ToProject && line.convertTo.empty()) {
            line.convertTo = a;
        } else if (line.mode != CommandLine::Mode::ToProject && !line.dataGiven) {
            line.req.dataName = a;
            line.dataGiven = true;
        } else {
            std::fprintf(stderr, "多余的参数 %s\n%s", kj::terminalSafe(a).c_str(), usage().c_str());
            return 1;
        }
    }
    kj::CalcRequest& req = line.req;
#ifndef KJPJ_WITH_DRAWING
    if (!req.pdfName.empty()) {
        std::fprintf(stderr, "此 kjpj-calc 构建时未带 Qt 绘图部分, 不能生成 PDF 计算书 (--pdf %s); "
                             "请使用带 Qt 构建的程序\n", req.pdfName.c_str());
        return 1;
    }
#endif
    const bool dataGiven = line.dataGiven, strict = line.strict, setGiven = line.setGiven;
    const bool liveLoadGiven = line.liveLoadGiven;
    const std::string &gammaL = line.gammaL, &psiC = line.psiC, &seismicPart = line.seismicPart;
    const auto& designEdits = line.designEdits;
    using Mode = CommandLine::Mode;
    const Mode mode = line.mode;
    const std::string &convertFrom = line.convertFrom, &convertTo = line.convertTo;
    std::string seismicConflict;
    if (req.seismic.intensity.empty() && !seismicPart.empty())
        seismicConflict = seismicPart + " 只与 --seismic (抗震设防烈度) 一起使用";
    else if (!req.seismic.intensity.empty() && (req.seismic.site.empty() || req.seismic.group.empty()))
        seismicConflict = "--seismic 需要同时给出 --site (场地类别) 和 --group (设计地震分组)";
    if (mode == Mode::ToProject) {
        if (!seismicConflict.empty()) {
            std::fprintf(stderr, "%s\n", seismicConflict.c_str());
            return 1;
        }
        return toProject(convertFrom, convertTo, req, designEdits, setGiven, gammaL, psiC);
    }
    if (mode == Mode::ToDataFile) {
        if (dataGiven) {
            std::fprintf(stderr, "多余的参数 %s\n%s", req.dataName.c_str(), usage().c_str());
            return 1;
        }
        return toDataFile(convertFrom, convertTo, req.cases);
    }
    const bool projectRun = isProjectName(req.dataName);
    const char* conflict = nullptr;
    if (projectRun && !req.cases.empty())
        conflict = "项目文件已含荷载工况, 不能再用 --case 给出数据文件";
    else if (projectRun && strict)
        conflict = "--strict 只用于数据文件: 项目文件中的任何错误都会被拒绝";
    else if (projectRun && setGiven && !req.combinations.empty())
        conflict = "--combinations 和 --combine 只能用其一";
    else if (projectRun) conflict = nullptr;
    else if (req.cases.empty() && (setGiven || !req.combinations.empty()) && req.seismic.intensity.empty())
        conflict = "--combinations 和 --combine 只用于荷载工况, 请用 --case 给出工况的数据文件";
    else if (!req.cases.empty() && dataGiven)
        conflict = "给出荷载工况 (--case) 时不用数据文件参数: 恒载的数据文件用 --case G 给出";
    else if (setGiven && !req.combinations.empty())
        conflict = "--combinations 和 --combine 只能用其一";
    else if (req.cases.empty() && liveLoadGiven)
        conflict = "--patterns、--gamma-l 和 --psi-c 只用于荷载工况, 请用 --case 给出工况的数据文件";
    else if (!req.combinations.empty() && (!gammaL.empty() || !psiC.empty()))
        conflict = "--gamma-l 和 --psi-c 只用于内置组合 (--combinations); 自定义组合 (--combine) 直接写出系数";
    if (!conflict && !seismicConflict.empty()) conflict = seismicConflict.c_str();
    if (conflict) {
        std::fprintf(stderr, "%s\n", conflict);
        return 1;
    }
#ifdef KJPJ_WITH_DRAWING
    // The book is drawn with Qt's fonts and painter, which need an
    // application object; a batch run has no display, so it draws offscreen
    // unless told otherwise.
    std::optional<QGuiApplication> gui;
    int guiArgc = 1;
    char* guiArgv[] = {argv[0], nullptr};
    if (!req.pdfName.empty()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        gui.emplace(guiArgc, guiArgv);
        req.pdfWriter = kjd::writeRunBook;
    }
#endif
    try {
        kj::setWorkingRoot(std::filesystem::current_path());
        for (const auto& f : designEdits) f(req.design);
        kj::parseDesignOptions(req.design); // refused before anything is read or written
        const kj::LiveLoadFactors factors = kj::parseLiveLoadFactors(gammaL, psiC);
        req.gammaL = factors.gammaL;
        req.psiC = factors.psiC;
        if (projectRun) {
            // The project is read once, checked whole, and the options given
            // here override its own settings.
            kj::Project project =
                kj::readProjectFile(kj::slotPath(req.dataName), req.dataName);
            for (const auto& f : designEdits) f(project.design);
            kj::parseDesignOptions(project.design);
            if (setGiven) {
                project.combinationSet = kj::combinationSet(req.combinationSet).key;
                project.combinations.clear();
            } else if (!req.combinations.empty()) {
                project.combinations = req.combinations;
            }
            if (req.liveLoadPatterns) project.liveLoadPatterns = true;
            if (!gammaL.empty()) project.gammaL = factors.gammaL;
            if (!psiC.empty()) project.psiC = factors.psiC;
            req.project = std::move(project);
        }
        // Each input is read once: the data check, --strict and the
        // calculation see the same text. Warnings go to standard error;
        // --strict stops before any file is written.
        const kj::PreparedCalculation prepared = kj::prepareCalculation(req);
        std::vector<std::string> warnings;
        for (const kj::InputCheck& check : prepared.checks)
            for (const kj::DataWarning& w : check.warnings) warnings.push_back(w.message);
        for (const std::string& line : kj::cappedWarnings(warnings))
            std::fprintf(stderr, "警告: %s\n", line.c_str());
        for (const kj::InputCheck& check : prepared.checks)
            if (strict && !check.warnings.empty()) {
                std::fprintf(stderr, "数据文件 %s 有 %zu 处读不清的字段 (--strict): 未计算, 没有写任何文件\n",
                             kj::clipForMessage(check.fileName).c_str(), check.warnings.size());
                return 1;
            }
        const kj::CalcResult result = kj::writeCalculation(req, prepared);
        for (const std::string& line : kj::analysedOnlyLines(result.calculation.model))
            std::fprintf(stderr, "警告: %s\n", line.c_str());
        if (result.envelope)
            for (const std::string& line : kj::cappedWarnings(result.envelope->warnings))
                std::fprintf(stderr, "警告: %s\n", kj::terminalSafe(line).c_str());
    } catch (const kj::Failure& f) {
        std::fprintf(stderr, "%s\n", kj::terminalSafe(f.what()).c_str());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fputs("内存不足\n", stderr);
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "计算失败: %s\n", kj::terminalSafe(e.what()).c_str());
        return 1;
    }
    // A name typed here may point anywhere; an output outside the working
    // folder is named in full.
    auto shown = [](const std::string& name) { return kj::terminalSafe(kj::shownOutputName(name)); };
    std::printf("计算完成: 计算书 %s, 配筋文件 %s, 内力文件 %s", shown(req.reportName).c_str(), kj::kBeamBarsFile,
                kj::kForceDiagramFile);
    if (!req.jsonName.empty()) std::printf(", JSON 文件 %s", shown(req.jsonName).c_str());
    if (!req.pdfName.empty()) std::printf(", 计算书 PDF %s", shown(req.pdfName).c_str());
    std::printf("\n");
    return 0;
}
