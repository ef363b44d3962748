#include "cases/case_state.h"

#include "common/failure.h"
#include "common/textfile.h"
#include "common/items.h"
#include "common/text.h"

namespace kj {

namespace {

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// The keys of the optional lines; no combination reads as either.
constexpr const char* kSecondWindKey = "风载W2";
constexpr const char* kSeismicKey = "地震";
constexpr const char* kCornerKey = "角柱"; // after the earthquake's line, only when its columns are set

} // namespace

std::string formatCaseState(const CaseWindowState& s)
{
    std::string out = quoted("G") + "," + quoted(s.G) + CRLF + quoted("Q") + "," + quoted(s.Q) + CRLF + quoted("W") +
                      "," + quoted(s.W) + CRLF + quoted("组合") + "," + quoted(s.set) + CRLF;
    if (s.gammaL != "1.0" || s.psiC != "0.7" || s.patterns)
        out += quoted("活载") + "," + quoted(s.gammaL) + "," + quoted(s.psiC) + "," + quoted(s.patterns ? "1" : "0") + CRLF;
    if (!s.W2.empty()) out += quoted(kSecondWindKey) + "," + quoted(s.W2) + CRLF;
    if (!s.seismic.intensity.empty()) {
        const SeismicTexts& e = s.seismic;
        out += quoted(kSeismicKey);
        for (const std::string* t : {&e.intensity, &e.site, &e.group, &e.grade, &e.psiT}) out += "," + quoted(*t);
        out += CRLF;
        if (e.cornerColumns) out += quoted(kCornerKey) + "," + quoted("1") + CRLF;
    }
    for (const std::string& row : s.rows) out += quoted(row) + CRLF;
    return out;
}

CaseWindowState parseCaseState(const std::string& text, const std::string& fileName)
{
    const std::vector<std::string> items = readItems(text);
    const char* keys[] = {"G", "Q", "W", "组合"};
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t at = 2 * k;
        if (at + 1 >= items.size() || items[at] != keys[k])
            throw Failure("工况组合文件 " + fileName + " 的第 " + std::to_string(at + 1) + " 项应为 \"" + keys[k] +
                          "\", 其后是它的内容");
    }
    CaseWindowState s;
    s.G = items[1];
    s.Q = items[3];
    s.W = items[5];
    s.set = items[7];
    // The names come from a file: they must name files of the working folder.
    for (const auto& [key, name] : {std::pair{"G", &s.G}, std::pair{"Q", &s.Q}, std::pair{"W", &s.W}})
        if (!name->empty())
            refuseNameOutsideFolder(*name, "工况组合文件 " + fileName + " 中工况 " + key);
    std::size_t rows = 8;
    if (items.size() > 8 && items[8] == "活载") {
        if (items.size() < 12)
            throw Failure("工况组合文件 " + fileName + " 的 \"活载\" 之后应有 γL、ψc 和活载布置 (0 或 1) 三项");
        s.gammaL = items[9];
        s.psiC = items[10];
        s.patterns = items[11] == "1";
        rows = 12;
    }
    if (rows < items.size() && items[rows] == kSecondWindKey) {
        if (rows + 1 >= items.size())
            throw Failure("工况组合文件 " + fileName + " 的 \"" + kSecondWindKey + "\" 之后应有风载 W2 的文件名");
        s.W2 = items[rows + 1];
        if (!s.W2.empty()) refuseNameOutsideFolder(s.W2, "工况组合文件 " + fileName + " 中工况 W2");
        rows += 2;
    }
    if (rows < items.size() && items[rows] == kSeismicKey) {
        if (rows + 5 >= items.size())
            throw Failure("工况组合文件 " + fileName + " 的 \"" + kSeismicKey +
                          "\" 之后应有设防烈度、场地类别、设计地震分组、抗震等级和周期折减系数 ψT 五项");
        s.seismic = {items[rows + 1], items[rows + 2], items[rows + 3], items[rows + 4], items[rows + 5], false};
        try {
            parseSeismicParameters(s.seismic);
        } catch (const Failure& f) {
            throw Failure("工况组合文件 " + fileName + " 的地震作用: " + f.what());
        }
        rows += 6;
        if (rows < items.size() && items[rows] == kCornerKey) {
            if (rows + 1 >= items.size() || (items[rows + 1] != "0" && items[rows + 1] != "1"))
                throw Failure("工况组合文件 " + fileName + " 的 \"" + kCornerKey + "\" 之后应有 1 (两端柱为角柱) 或 0");
            s.seismic.cornerColumns = items[rows + 1] == "1";
            rows += 2;
        }
    }
    for (std::size_t i = rows; i < items.size(); ++i)
        if (!items[i].empty()) s.rows.push_back(items[i]);
    return s;
}

} // namespace kj
