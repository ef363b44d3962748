// kjpj-calc: the frame calculation without a window. It runs the same
// calculation as the main window's button "框架配筋计算", taking as options
// the texts the window's controls would hold.
#include "analysis/data_check.h"
#include "calc/run.h"
#include "common/failure.h"
#include "common/platform.h"
#include "common/textfile.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#ifdef KJPJ_WITH_DRAWING
#include "calc_book.h"

#include <QGuiApplication>
#endif

namespace {

const char* kUsage =
    "用法: kjpj-calc [数据文件] [选项]\n"
    "按主窗口\"框架配筋计算\"按钮的方式计算框架内力并配筋, 不弹出确认框。\n"
    "文件名按主窗口文件列表的规则解析: 以 \\ 开头的名称指当前文件夹。\n"
    "计算书追加(或重写)到报告文件, 并重写 \\lpj-1.txt 和 \\mvts-1.txt。\n"
    "\n"
    "  数据文件                    框架数据文件, 默认 \\KJ-1.txt\n"
    "  --report 名称               计算书文件, 默认 \\zemowj1.txt\n"
    "  --renew                     先清空计算书 (数据更新 1); 默认追加\n"
    "  --beta 文本                 梁顶负弯矩调幅系数, 默认 1.00\n"
    "  --cover 文本                主筋保护层 (mm), 默认 25\n"
    "  --top-bars 根数 直径        梁顶通长筋, 默认 2 zd (zd = 程序选定直径)\n"
    "  --bottom-bars 根数 直径     梁底通长筋, 默认 2 zd\n"
    "  --stirrups 肢数 直径        自选箍筋, 默认 2 6\n"
    "  --code 规范                 设计规范: 原方法 (默认) 或 2010 (GB50010-2010)\n"
    "  --fyv 数值                  箍筋强度设计值 270 (默认) 或 360, 只用于 --code 2010\n"
    "  --precast                   装配式楼盖: 柱计算长度 1.25H (底层) / 1.5H, 只用于 --code 2010;\n"
    "                              默认现浇楼盖 1.0H / 1.25H\n"
    "  --json 名称                 另把全部计算结果写成 JSON 文件 (UTF-8)\n"
    "  --strict                    数据文件有读不清的字段时不计算, 不写任何文件\n"
    "  --case 工况 名称            荷载工况的数据文件: 工况为 G (恒载, 含柱自重)、Q (活载) 或\n"
    "                              W (左风; 右风取 -W)。给出工况时不用数据文件参数, 按组合的包络配筋\n"
    "  --combinations 规范         内置荷载组合: GB55001 (默认, GB 55001-2021) 或 GB50009 (GB 50009-2012)\n"
    "  --combine 组合              自定义组合, 如 \"1.3G+1.5Q-0.9W\", 可重复, 代替 --combinations\n"
    "  --patterns                  活载不利布置: 各梁活载分别计算后叠加, 每个设计值取最不利布置\n"
    "  --gamma-l 数值              活载设计使用年限调整系数 γL: 1.0 (50 年, 默认) 或 1.1 (100 年)\n"
    "  --psi-c 数值                活载组合值系数 ψc: 0.7 (默认) 或 0.9 (书库、档案库、储藏室等)\n"
    "  --pdf 名称                  另生成 A4 PDF 计算书 (含计算简图、内力图和配筋图), 无需显示器\n"
    "  --help                      显示本说明\n"
    "\n"
    "不能使用的选项在读写任何文件之前即被拒绝。\n"
    "数据文件中读不清的字段在标准错误输出中列为警告。\n"
    "成功时退出码为 0; 失败时在标准错误输出说明, 退出码为 1。\n"
    "\n"
    "Usage: kjpj-calc [DATAFILE] [--report NAME] [--renew] [--beta TEXT] [--cover TEXT]\n"
    "                 [--top-bars N D] [--bottom-bars N D] [--stirrups LEGS D] [--json NAME] [--strict]\n"
    "                 [--pdf NAME]\n"
    "                 [--code 2010 [--fyv 270|360] [--precast]]\n"
    "       kjpj-calc --case G NAME [--case Q NAME] [--case W NAME]\n"
    "                 [--combinations GB55001|GB50009 | --combine TEXT ...]\n"
    "                 [--patterns] [--gamma-l 1.0|1.1] [--psi-c 0.7|0.9] [other options]\n";

} // namespace

int main(int argc, char** argv)
{
    kj::platform::useUtf8Arguments(argc, argv);
    kj::CalcRequest req;
    bool dataGiven = false;
    bool strict = false;
    bool setGiven = false;
    bool liveLoadGiven = false;
    std::string gammaL, psiC;
    auto need = [&](int i, int count) {
        if (i + count >= argc) {
            std::fprintf(stderr, "选项 %s 缺少参数\n%s", argv[i], kUsage);
            std::exit(1);
        }
    };
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (a == "--report") {
            need(i, 1);
            req.reportName = argv[++i];
        } else if (a == "--strict") {
            strict = true;
        } else if (a == "--renew") {
            req.renewal = "1";
        } else if (a == "--beta") {
            need(i, 1);
            req.design.beta = argv[++i];
        } else if (a == "--cover") {
            need(i, 1);
            req.design.cover = argv[++i];
        } else if (a == "--top-bars") {
            need(i, 2);
            req.design.topCount = argv[++i];
            req.design.topDiameter = argv[++i];
        } else if (a == "--bottom-bars") {
            need(i, 2);
            req.design.bottomCount = argv[++i];
            req.design.bottomDiameter = argv[++i];
        } else if (a == "--stirrups") {
            need(i, 2);
            req.design.stirrupLegs = argv[++i];
            req.design.stirrupDiameter = argv[++i];
        } else if (a == "--code") {
            need(i, 1);
            req.design.code = argv[++i];
        } else if (a == "--fyv") {
            need(i, 1);
            req.design.fyv = argv[++i];
        } else if (a == "--precast") {
            req.design.floors = "装配";
        } else if (a == "--json") {
            need(i, 1);
            req.jsonName = argv[++i];
        } else if (a == "--case") {
            need(i, 2);
            req.cases.emplace_back(argv[i + 1], argv[i + 2]);
            i += 2;
        } else if (a == "--combinations") {
            need(i, 1);
            req.combinationSet = argv[++i];
            setGiven = true;
        } else if (a == "--combine") {
            need(i, 1);
            req.combinations.push_back(argv[++i]);
        } else if (a == "--patterns") {
            req.liveLoadPatterns = true;
            liveLoadGiven = true;
        } else if (a == "--gamma-l") {
            need(i, 1);
            gammaL = argv[++i];
            liveLoadGiven = true;
        } else if (a == "--psi-c") {
            need(i, 1);
            psiC = argv[++i];
            liveLoadGiven = true;
        } else if (a == "--pdf") {
            need(i, 1);
            req.pdfName = argv[++i];
#ifndef KJPJ_WITH_DRAWING
            std::fprintf(stderr, "此 kjpj-calc 构建时未带 Qt 绘图部分, 不能生成 PDF 计算书 (--pdf %s); "
                                 "请使用带 Qt 构建的程序\n", req.pdfName.c_str());
            return 1;
#endif
        } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
            std::fprintf(stderr, "未知选项 %s\n%s", a.c_str(), kUsage);
            return 1;
        } else if (!dataGiven) {
            req.dataName = a;
            dataGiven = true;
        } else {
            std::fprintf(stderr, "多余的参数 %s\n%s", a.c_str(), kUsage);
            return 1;
        }
    }
    const char* conflict = nullptr;
    if (req.cases.empty() && (setGiven || !req.combinations.empty()))
        conflict = "--combinations 和 --combine 只用于荷载工况, 请用 --case 给出工况的数据文件";
    else if (!req.cases.empty() && dataGiven)
        conflict = "给出荷载工况 (--case) 时不用数据文件参数: 恒载的数据文件用 --case G 给出";
    else if (setGiven && !req.combinations.empty())
        conflict = "--combinations 和 --combine 只能用其一";
    else if (req.cases.empty() && liveLoadGiven)
        conflict = "--patterns、--gamma-l 和 --psi-c 只用于荷载工况, 请用 --case 给出工况的数据文件";
    else if (!req.combinations.empty() && (!gammaL.empty() || !psiC.empty()))
        conflict = "--gamma-l 和 --psi-c 只用于内置组合 (--combinations); 自定义组合 (--combine) 直接写出系数";
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
        req.pdfWriter = [](const kj::CalculationResult& r, const kj::FrameData& d, const kj::EnvelopeResult* e,
                           const std::filesystem::path& path) {
            kjd::BookOptions options;
            options.envelope = e;
            kjd::writeCalculationBook(r, d, path, options);
        };
    }
#endif
    try {
        kj::setWorkingRoot(std::filesystem::current_path());
        kj::parseDesignOptions(req.design); // refused before anything is read or written
        const kj::LiveLoadFactors factors = kj::parseLiveLoadFactors(gammaL, psiC);
        req.gammaL = factors.gammaL;
        req.psiC = factors.psiC;
        // The data check of every input: warnings on standard error; --strict
        // stops before any file is written.
        std::vector<std::string> inputs;
        if (req.cases.empty()) inputs.push_back(req.dataName);
        for (const auto& c : req.cases) inputs.push_back(c.second);
        for (const std::string& input : inputs) {
            const auto warnings = kj::checkFrameFile(kj::readTextFile(kj::slotPath(input), input), input);
            for (const kj::DataWarning& w : warnings) std::fprintf(stderr, "警告: %s\n", w.message.c_str());
            if (strict && !warnings.empty()) {
                std::fprintf(stderr, "数据文件 %s 有 %zu 处读不清的字段 (--strict): 未计算, 没有写任何文件\n",
                             input.c_str(), warnings.size());
                return 1;
            }
        }
        const kj::CalcResult result = kj::runCalculation(req);
        if (result.envelope)
            for (const std::string& w : result.envelope->warnings) std::fprintf(stderr, "警告: %s\n", w.c_str());
    } catch (const kj::Failure& f) {
        std::fprintf(stderr, "%s\n", f.what());
        return 1;
    } catch (const std::bad_alloc&) {
        std::fputs("内存不足\n", stderr);
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "计算失败: %s\n", e.what());
        return 1;
    }
    std::printf("计算完成: 计算书 %s, 配筋文件 %s, 内力文件 %s", req.reportName.c_str(), kj::kBeamBarsFile,
                kj::kForceDiagramFile);
    if (!req.jsonName.empty()) std::printf(", JSON 文件 %s", req.jsonName.c_str());
    if (!req.pdfName.empty()) std::printf(", 计算书 PDF %s", req.pdfName.c_str());
    std::printf("\n");
    return 0;
}
