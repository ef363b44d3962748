#include "calc/project.h"
#include "calc/project_pieces.h"

#include "analysis/plausible_sizes.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"
#include "design/materials.h"
#include "common/textfile.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <set>

namespace kj {

using Json = nlohmann::ordered_json;

namespace {

std::size_t ix(int i) { return static_cast<std::size_t>(i); }
std::string num(double x) { return shortestDecimal(x); }
std::string fixed2(double x)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", x);
    return buf;
}

// ---------------------------------------------------------------- reading

// Walks the JSON with the key path of every value, for the messages.
class Reader {
public:
    explicit Reader(std::string fileName) : file_(std::move(fileName)) {}

    [[noreturn]] void fail(const std::string& path, const std::string& what) const
    {
        throw Failure("项目文件 " + file_ + ": " + path + (path.empty() ? "" : " ") + what);
    }

    static std::string key(const std::string& path, const std::string& k) { return path.empty() ? k : path + "." + k; }
    static std::string at(const std::string& path, std::size_t i) { return path + "[" + std::to_string(i) + "]"; }

    const Json& object(const Json& v, const std::string& path) const
    {
        if (!v.is_object()) fail(path, "应为对象 {...}");
        return v;
    }
    const Json& array(const Json& v, const std::string& path) const
    {
        if (!v.is_array()) fail(path, "应为数组 [...]");
        return v;
    }
    // Refuses a key the object may not hold: a misspelt setting would
    // otherwise be dropped without a word.
    void onlyKeys(const Json& obj, const std::string& path, std::initializer_list<const char*> allowed) const
    {
        for (auto it = obj.begin(); it != obj.end(); ++it) {
            bool known = false;
            for (const char* a : allowed) known = known || it.key() == a;
            if (!known) fail(key(path, clipForMessage(it.key())), "是未知的键");
        }
    }
    const Json& need(const Json& obj, const char* k, const std::string& path) const
    {
        auto it = obj.find(k);
        if (it == obj.end()) fail(path.empty() ? std::string() : path, std::string("缺少键 \"") + k + "\"");
        return *it;
    }
    const Json* optional(const Json& obj, const char* k) const
    {
        auto it = obj.find(k);
        return (it == obj.end() || it->is_null()) ? nullptr : &*it;
    }
    double number(const Json& v, const std::string& path) const
    {
        if (!v.is_number()) fail(path, "应为数值");
        const double x = v.get<double>();
        if (!std::isfinite(x)) fail(path, "不是有限数值");
        return x;
    }
    double positive(const Json& v, const std::string& path, const char* unit) const
    {
        const double x = number(v, path);
        if (!(x > 0)) fail(path, "应大于 0 " + std::string(unit) + ", 实为 " + num(x));
        return x;
    }
    int integer(const Json& v, const std::string& path, int lo, int hi) const
    {
        const double x = number(v, path);
        if (x != std::floor(x) || x < lo || x > hi)
            fail(path, "应为 " + std::to_string(lo) + " 到 " + std::to_string(hi) + " 的整数, 实为 " + num(x));
        return static_cast<int>(x);
    }
    std::string text(const Json& v, const std::string& path) const
    {
        if (!v.is_string()) fail(path, "应为文字 \"...\"");
        return v.get<std::string>();
    }
    bool flag(const Json& v, const std::string& path) const
    {
        if (!v.is_boolean()) fail(path, "应为 true 或 false");
        return v.get<bool>();
    }

private:
    std::string file_;
};

const char* floorsKey(FloorKind k) { return k == FloorKind::Precast ? "precast" : "castInPlace"; }

void readDesign(const Reader& r, const Json& d, Project& p)
{
    const std::string path = "design";
    r.object(d, path);
    r.onlyKeys(d, path, {"code", "cover", "beta", "topBars", "bottomBars", "stirrups", "fyv", "floors",
                         "environment", "beamSelfWeight", "beamStiffnessFactor", "liveLoadPatterns", "gammaL", "psiC",
                         "quasiPermanentFactor"});
    DesignSettings& s = p.design;
    if (const Json* v = r.optional(d, "code")) {
        const std::string code = r.text(*v, path + ".code");
        if (code != "原方法" && code != "GB50010-2010")
            r.fail(path + ".code", "应为 \"原方法\" 或 \"GB50010-2010\", 实为 " + quoteForMessage(code));
        s.code = code;
    }
    if (const Json* v = r.optional(d, "cover")) s.cover = num(r.number(*v, path + ".cover"));
    if (const Json* v = r.optional(d, "beta")) s.beta = num(r.number(*v, path + ".beta"));
    auto bars = [&](const char* k, std::string& count, std::string& diameter) {
        const Json* v = r.optional(d, k);
        if (!v) return;
        const std::string at = path + "." + k;
        r.object(*v, at);
        r.onlyKeys(*v, at, {"count", "diameter"});
        count = num(r.integer(r.need(*v, "count", at), at + ".count", 1, 20));
        diameter = num(r.positive(r.need(*v, "diameter", at), at + ".diameter", "mm"));
    };
    bars("topBars", s.topCount, s.topDiameter);
    bars("bottomBars", s.bottomCount, s.bottomDiameter);
    if (const Json* v = r.optional(d, "stirrups")) {
        const std::string at = path + ".stirrups";
        r.object(*v, at);
        r.onlyKeys(*v, at, {"legs", "diameter"});
        s.stirrupLegs = "0";
        s.stirrupDiameter = "0";
        if (const Json* legs = r.optional(*v, "legs")) s.stirrupLegs = num(r.integer(*legs, at + ".legs", 1, 12));
        if (const Json* dia = r.optional(*v, "diameter")) s.stirrupDiameter = num(r.positive(*dia, at + ".diameter", "mm"));
    }
    if (const Json* v = r.optional(d, "fyv")) s.fyv = num(r.number(*v, path + ".fyv"));
    if (const Json* v = r.optional(d, "quasiPermanentFactor"))
        s.quasiPermanent = num(r.number(*v, path + ".quasiPermanentFactor"));
    if (const Json* v = r.optional(d, "floors")) {
        const std::string f = r.text(*v, path + ".floors");
        if (f != "castInPlace" && f != "precast")
            r.fail(path + ".floors", "应为 \"castInPlace\" (现浇) 或 \"precast\" (装配), 实为 " + quoteForMessage(f));
        s.floors = f == "precast" ? "装配" : "现浇";
    }
    if (const Json* v = r.optional(d, "environment")) {
        const std::string e = r.text(*v, path + ".environment");
        if (e != "1" && e != "2a" && e != "2b")
            r.fail(path + ".environment", "应为 \"1\" (一类), \"2a\" (二a) 或 \"2b\" (二b), 实为 " + quoteForMessage(e));
        s.environment = e;
    }
    if (const Json* v = r.optional(d, "liveLoadPatterns")) p.liveLoadPatterns = r.flag(*v, path + ".liveLoadPatterns");
    if (const Json* v = r.optional(d, "gammaL")) p.gammaL = r.number(*v, path + ".gammaL");
    if (const Json* v = r.optional(d, "psiC")) p.psiC = r.number(*v, path + ".psiC");
    try {
        checkLiveLoadFactors({p.gammaL, p.psiC});
    } catch (const Failure& f) {
        r.fail(path, f.what());
    }
    if (const Json* v = r.optional(d, "beamSelfWeight")) p.beamSelfWeight = r.flag(*v, path + ".beamSelfWeight");
    if (const Json* v = r.optional(d, "beamStiffnessFactor"))
        p.beamStiffnessFactor = r.positive(*v, path + ".beamStiffnessFactor", "");
    try {
        parseDesignOptions(s);
    } catch (const Failure& f) {
        r.fail(path, f.what());
    }
}

// Names per storey and per span or line, checked against the sections.
std::vector<std::vector<std::string>> readMemberSections(const Reader& r, const Json& v, const std::string& path,
                                                         int storeys, int perStorey, const char* what,
                                                         const std::vector<ProjectSection>& sections)
{
    r.array(v, path);
    if (static_cast<int>(v.size()) != storeys)
        r.fail(path, "应有 " + std::to_string(storeys) + " 层 (与 storeys 相同), 实有 " + std::to_string(v.size()) + " 层");
    std::vector<std::vector<std::string>> out;
    for (std::size_t s = 0; s < v.size(); ++s) {
        const std::string ps = Reader::at(path, s);
        r.array(v[s], ps);
        if (static_cast<int>(v[s].size()) != perStorey)
            r.fail(ps, "应有 " + std::to_string(perStorey) + " 个" + what + ", 实有 " + std::to_string(v[s].size()) + " 个");
        std::vector<std::string> row;
        for (std::size_t k = 0; k < v[s].size(); ++k) {
            const std::string name = r.text(v[s][k], Reader::at(ps, k));
            const bool known = std::any_of(sections.begin(), sections.end(),
                                           [&](const ProjectSection& sec) { return sec.name == name; });
            if (!known) r.fail(Reader::at(ps, k), "的截面 " + quoteForMessage(name) + " 不在 sections 中");
            row.push_back(name);
        }
        out.push_back(std::move(row));
    }
    return out;
}

ProjectCase readCase(const Reader& r, const Json& c, const std::string& path, LoadCaseKind kind, const Project& p)
{
    ProjectCase pc;
    pc.kind = kind;
    r.object(c, path);
    r.onlyKeys(c, path, {"beamLoads", "jointLoads", "floorForces"});
    const int L = p.L(), NF = p.NF();
    pc.beamLoads.assign(ix(NF), std::vector<std::vector<BeamLoad>>(ix(L)));
    if (const Json* bl = r.optional(c, "beamLoads")) {
        const std::string pb = path + ".beamLoads";
        r.array(*bl, pb);
        if (static_cast<int>(bl->size()) != NF)
            r.fail(pb, "应有 " + std::to_string(NF) + " 层, 实有 " + std::to_string(bl->size()) + " 层");
        for (std::size_t s = 0; s < bl->size(); ++s) {
            const std::string ps = Reader::at(pb, s);
            r.array((*bl)[s], ps);
            if (static_cast<int>((*bl)[s].size()) != L)
                r.fail(ps, "应有 " + std::to_string(L) + " 跨, 实有 " + std::to_string((*bl)[s].size()) + " 跨");
            for (std::size_t k = 0; k < (*bl)[s].size(); ++k) {
                const std::string pk = Reader::at(ps, k);
                const Json& list = r.array((*bl)[s][k], pk);
                const double S = p.spans[k];
                for (std::size_t n = 0; n < list.size(); ++n) {
                    const std::string pl = Reader::at(pk, n);
                    const Json& e = r.object(list[n], pl);
                    BeamLoad load;
                    auto inSpan = [&](double x, const std::string& at) {
                        if (x < 0 || x > S) r.fail(at, "超出跨度 " + fixed2(S) + " m (实为 " + num(x) + " m)");
                    };
                    if (e.contains("P")) {
                        r.onlyKeys(e, pl, {"P", "x"});
                        load.kind = BeamLoad::Kind::Point;
                        load.value = r.number(e["P"], pl + ".P");
                        load.x = r.number(r.need(e, "x", pl), pl + ".x");
                        inSpan(load.x, pl + ".x");
                    } else if (e.contains("q")) {
                        r.onlyKeys(e, pl, {"q", "from", "to"});
                        load.value = r.number(e["q"], pl + ".q");
                        const bool from = e.contains("from"), to = e.contains("to");
                        if (from != to) r.fail(pl, "的 from 和 to 应同时给出 (都不给为满跨均布荷载)");
                        if (from) {
                            load.kind = BeamLoad::Kind::Partial;
                            load.from = r.number(e["from"], pl + ".from");
                            load.to = r.number(e["to"], pl + ".to");
                            inSpan(load.from, pl + ".from");
                            inSpan(load.to, pl + ".to");
                            if (!(load.to > load.from))
                                r.fail(pl, "的 to (" + num(load.to) + " m) 应大于 from (" + num(load.from) + " m)");
                        }
                    } else {
                        r.fail(pl, "应为 {\"q\": kN/m}, {\"q\", \"from\", \"to\"} 或 {\"P\": kN, \"x\": m}");
                    }
                    pc.beamLoads[ix(static_cast<int>(s))][k].push_back(load);
                }
            }
        }
    }
    if (const Json* jl = r.optional(c, "jointLoads")) {
        const std::string pj = path + ".jointLoads";
        r.array(*jl, pj);
        for (std::size_t n = 0; n < jl->size(); ++n) {
            const std::string pn = Reader::at(pj, n);
            const Json& e = r.object((*jl)[n], pn);
            r.onlyKeys(e, pn, {"level", "line", "P", "M"});
            JointLoad j;
            j.level = r.integer(r.need(e, "level", pn), pn + ".level", 1, NF);
            j.line = r.integer(r.need(e, "line", pn), pn + ".line", 1, L + 1);
            if (const Json* v = r.optional(e, "P")) j.P = r.number(*v, pn + ".P");
            if (const Json* v = r.optional(e, "M")) j.M = r.number(*v, pn + ".M");
            pc.jointLoads.push_back(j);
        }
    }
    if (const Json* ff = r.optional(c, "floorForces")) {
        const std::string pf = path + ".floorForces";
        r.array(*ff, pf);
        for (std::size_t n = 0; n < ff->size(); ++n) {
            const std::string pn = Reader::at(pf, n);
            const Json& e = r.object((*ff)[n], pn);
            r.onlyKeys(e, pn, {"level", "H"});
            FloorForce f;
            f.level = r.integer(r.need(e, "level", pn), pn + ".level", 1, NF);
            f.H = r.number(r.need(e, "H", pn), pn + ".H");
            pc.floorForces.push_back(f);
        }
    }
    return pc;
}

// "第 L 行第 C 列" of the byte at index, as an editor counts lines and columns.
std::string textPosition(const std::string& text, std::size_t index)
{
    std::size_t line = 1, column = 1;
    for (std::size_t k = 0; k < index && k < text.size(); ++k) {
        if (text[k] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 列";
}

// Arrays and objects nested deeper than kMaxProjectNesting are refused
// before the parser sees them: one scan that only counts, so that no
// nesting can run the reading out of stack.
void refuseDeepNesting(const std::string& text, const std::string& fileName)
{
    int depth = 0;
    bool inString = false, escaped = false;
    for (std::size_t k = 0; k < text.size(); ++k) {
        const char c = text[k];
        if (inString) {
            if (escaped) escaped = false;
            else if (c == '\\') escaped = true;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxProjectNesting)
                throw Failure("项目文件 " + fileName + " " + textPosition(text, k) + ": 嵌套超过 " +
                              std::to_string(kMaxProjectNesting) + " 层");
        } else if (c == ']' || c == '}') {
            depth = std::max(0, depth - 1);
        }
    }
}

} // namespace

const ProjectCase* Project::findCase(LoadCaseKind kind) const
{
    for (const ProjectCase& c : cases)
        if (c.kind == kind) return &c;
    return nullptr;
}

Project readProjectFile(const std::filesystem::path& path, const std::string& shownName)
{
    return parseProject(readTextFile(path, shownName, "项目文件"), shownName);
}

Project parseProject(const std::string& text, const std::string& fileName)
{
    const Reader r(fileName);
    refuseDeepNesting(text, fileName);
    Json j;
    try {
        j = Json::parse(text);
    } catch (const Json::parse_error& e) {
        // Where the reading stopped.
        r.fail("", "不是有效的 JSON: " + textPosition(text, e.byte > 0 ? e.byte - 1 : 0) + "不合 JSON 的写法");
    } catch (const Json::exception& e) {
        // A number too large for a double: "... parsing '1e999'".
        std::string what = e.what(), token;
        if (auto a = what.find('\''), b = what.rfind('\''); a != std::string::npos && b > a) token = what.substr(a + 1, b - a - 1);
        r.fail("", "不是有效的 JSON: 数值 " + quoteForMessage(token) + " 超出范围");
    }
    r.object(j, "文件内容");
    r.onlyKeys(j, "", {"schema", "name", "spans", "storeys", "sections", "beams", "columns", "continuousBeam",
                       "fixedEnds", "cases", "materials", "design", "combinations", "title", "seismic"});
    const std::string schema = r.text(r.need(j, "schema", ""), "schema");
    if (schema != kProjectSchema)
        r.fail("schema", "应为 \"" + std::string(kProjectSchema) + "\", 实为 " + quoteForMessage(schema));

    Project p;
    p.fileName = fileName;
    p.name = r.text(r.need(j, "name", ""), "name");
    if (p.name.find_first_of("\r\n") != std::string::npos) r.fail("name", "不能含换行");

    auto lengths = [&](const char* k, const char* what) {
        const Json& v = r.array(r.need(j, k, ""), k);
        if (v.empty()) r.fail(k, std::string("至少应有一") + what);
        std::vector<double> out;
        for (std::size_t i = 0; i < v.size(); ++i) out.push_back(r.positive(v[i], Reader::at(k, i), "m"));
        return out;
    };
    p.spans = lengths("spans", "跨");
    p.storeys = lengths("storeys", "层");

    const Json& secs = r.object(r.need(j, "sections", ""), "sections");
    if (secs.empty()) r.fail("sections", "至少应有一个截面");
    for (auto it = secs.begin(); it != secs.end(); ++it) {
        const std::string at = "sections." + clipForMessage(it.key());
        const Json& bh = r.array(it.value(), at);
        if (bh.size() != 2) r.fail(at, "应为 [b, h] (mm)");
        // A width under 51 mm, 0 included, is a member analysed and not designed.
        const double b = r.number(bh[0], at + "[0]");
        if (b < 0) r.fail(at + "[0]", "应不小于 0 mm, 实为 " + num(b));
        p.sections.push_back({it.key(), b, r.positive(bh[1], at + "[1]", "mm")});
    }

    if (const Json* cb = r.optional(j, "continuousBeam")) p.continuousBeam = r.flag(*cb, "continuousBeam");
    if (const Json* fe = r.optional(j, "fixedEnds")) {
        if (!p.continuousBeam) r.fail("fixedEnds", "只用于连续梁 (continuousBeam 为 true)");
        const std::string e = r.text(*fe, "fixedEnds");
        static const std::map<std::string, int> codes{{"none", 0}, {"left", 1}, {"right", 2}, {"both", 3}};
        auto it = codes.find(e);
        if (it == codes.end()) r.fail("fixedEnds", "应为 \"none\", \"left\", \"right\" 或 \"both\", 实为 " + quoteForMessage(e));
        p.endFixity = it->second;
    }

    const long members = static_cast<long>(p.L()) * p.NF() + static_cast<long>(p.L() + 1) * p.NF();
    if (members > kMaxProjectMembers)
        r.fail("spans", "和 storeys: " + std::to_string(p.L()) + " 跨 " + std::to_string(p.NF()) + " 层共 " +
                            std::to_string(members) + " 根梁柱, 超过上限 " + std::to_string(kMaxProjectMembers) + " 根");
    p.beams = readMemberSections(r, r.need(j, "beams", ""), "beams", p.NF(), p.L(), "梁", p.sections);
    if (!p.continuousBeam || j.contains("columns"))
        p.columns = readMemberSections(r, r.need(j, "columns", ""), "columns", p.NF(), p.L() + 1, "柱", p.sections);

    const Json& mat = r.object(r.need(j, "materials", ""), "materials");
    r.onlyKeys(mat, "materials", {"concrete", "fy"});
    p.materials.C = r.positive(r.need(mat, "concrete", "materials"), "materials.concrete", "");
    p.materials.Fy = r.positive(r.need(mat, "fy", "materials"), "materials.fy", "N/mm2");

    const Json& cases = r.object(r.need(j, "cases", ""), "cases");
    r.onlyKeys(cases, "cases", {"G", "Q", "W", "W2"});
    if (!cases.contains("G")) r.fail("cases", "缺少恒载 \"G\" (柱自重计入恒载)");
    for (LoadCaseKind kind : kLoadCaseKinds) {
        const std::string letter(caseLetter(kind));
        if (cases.contains(letter)) p.cases.push_back(readCase(r, cases[letter], "cases." + letter, kind, p));
    }

    if (const Json* d = r.optional(j, "design")) readDesign(r, *d, p);

    if (const Json* c = r.optional(j, "combinations")) {
        GivenCases given{};
        for (const ProjectCase& pc : p.cases) given[ix(static_cast<int>(pc.kind))] = true;
        try {
            if (c->is_string()) {
                p.combinationSet = combinationSet(c->get<std::string>()).key;
                checkCombinationCases(combinationsFor(combinationSet(*p.combinationSet), given), given);
            } else if (c->is_array()) {
                std::vector<Combination> list;
                for (std::size_t i = 0; i < c->size(); ++i) {
                    p.combinations.push_back(r.text((*c)[i], Reader::at("combinations", i)));
                    list.push_back(parseCombination(p.combinations.back()));
                }
                checkCombinationCases(list, given);
            } else {
                r.fail("combinations", "应为内置组合的名称 (\"GB55001\" 或 \"GB50009\") 或组合的列表");
            }
        } catch (const Failure& f) {
            r.fail("combinations", f.what());
        }
    } else if (p.cases.size() > 1) {
        p.combinationSet = "GB55001";
    }

    if (const Json* se = r.optional(j, "seismic")) {
        const std::string at = "seismic";
        r.object(*se, at);
        r.onlyKeys(*se, at, {"intensity", "site", "group", "grade", "periodFactor", "cornerColumns", "roofStorey"});
        // A number or its text: 7.5 and "7.5" alike.
        auto word = [&](const char* k, bool required) {
            const Json* v = r.optional(*se, k);
            if (!v) {
                if (required) r.need(*se, k, at);
                return std::string();
            }
            if (v->is_number()) return num(r.number(*v, at + "." + k));
            return r.text(*v, at + "." + k);
        };
        p.seismic.intensity = word("intensity", true);
        p.seismic.site = word("site", true);
        p.seismic.group = word("group", true);
        p.seismic.grade = word("grade", false);
        p.seismic.psiT = word("periodFactor", false);
        if (const Json* v = r.optional(*se, "cornerColumns")) p.seismic.cornerColumns = r.flag(*v, at + ".cornerColumns");
        p.seismic.roofStorey = word("roofStorey", false);
        std::optional<int> roof;
        try {
            roof = parseSeismicParameters(p.seismic).roofStorey;
        } catch (const Failure& f) {
            r.fail(at, f.what());
        }
        if (roof && *roof > p.NF())
            r.fail(at + ".roofStorey", "为第 " + std::to_string(*roof) + " 层, 框架只有 " + std::to_string(p.NF()) +
                                           " 层 (层号自底层起)");
    }
    if (const Json* t = r.optional(j, "title")) {
        r.object(*t, "title");
        r.onlyKeys(*t, "title", {"project", "designer", "checker", "date"});
        auto field = [&](const char* k, std::string& out) {
            if (const Json* v = r.optional(*t, k)) out = r.text(*v, std::string("title.") + k);
        };
        field("project", p.title.project);
        field("designer", p.title.designer);
        field("checker", p.title.checker);
        field("date", p.title.date);
    }
    return p;
}

// ---------------------------------------------------------------- writing

namespace {

Json loadJson(const BeamLoad& l)
{
    Json e = Json::object();
    switch (l.kind) {
    case BeamLoad::Kind::Uniform: e["q"] = l.value; break;
    case BeamLoad::Kind::Partial:
        e["q"] = l.value;
        e["from"] = l.from;
        e["to"] = l.to;
        break;
    case BeamLoad::Kind::Point:
        e["P"] = l.value;
        e["x"] = l.x;
        break;
    }
    return e;
}

// One value as text: whole numbers without a decimal point.
std::string scalarText(const Json& v)
{
    if (v.is_number_float()) {
        const double x = v.get<double>();
        if (x == std::floor(x) && std::fabs(x) < 1e15) return std::to_string(static_cast<long long>(x));
    }
    return v.dump();
}

// Pretty JSON for people who read and edit it: a value that fits on one
// line of about 100 characters stays on it (a load, a row of sections),
// anything larger opens one line per element.
void writeJson(const Json& v, int indent, std::string& out)
{
    if (!v.is_structured()) {
        out += scalarText(v);
        return;
    }
    std::string flat;
    std::function<bool(const Json&)> oneLine = [&](const Json& x) {
        if (!x.is_structured()) {
            flat += scalarText(x);
            return flat.size() < 100;
        }
        const bool obj = x.is_object();
        flat += obj ? "{" : "[";
        bool first = true;
        for (auto it = x.begin(); it != x.end(); ++it) {
            if (!first) flat += ", ";
            first = false;
            if (obj) flat += Json(it.key()).dump() + ": ";
            if (!oneLine(*it)) return false;
        }
        flat += obj ? "}" : "]";
        return flat.size() < 100;
    };
    if (oneLine(v)) {
        out += flat;
        return;
    }
    const bool obj = v.is_object();
    const std::string pad(static_cast<std::size_t>(indent + 2), ' ');
    out += obj ? "{\n" : "[\n";
    bool first = true;
    for (auto it = v.begin(); it != v.end(); ++it) {
        if (!first) out += ",\n";
        first = false;
        out += pad;
        if (obj) out += Json(it.key()).dump() + ": ";
        writeJson(*it, indent + 2, out);
    }
    out += "\n" + std::string(static_cast<std::size_t>(indent), ' ') + (obj ? "}" : "]");
}

} // namespace

std::string projectJson(const Project& p)
{
    Json j;
    j["schema"] = kProjectSchema;
    j["name"] = p.name;
    j["spans"] = p.spans;
    j["storeys"] = p.storeys;
    Json secs = Json::object();
    for (const ProjectSection& s : p.sections) secs[s.name] = Json::array({s.b, s.h});
    j["sections"] = secs;
    j["beams"] = p.beams;
    if (!p.columns.empty()) j["columns"] = p.columns;
    if (p.continuousBeam) {
        j["continuousBeam"] = true;
        static const char* ends[] = {"none", "left", "right", "both"};
        j["fixedEnds"] = ends[p.endFixity >= 0 && p.endFixity <= 3 ? p.endFixity : 0];
    }
    Json cases = Json::object();
    for (const ProjectCase& c : p.cases) {
        Json jc = Json::object();
        Json storeys = Json::array();
        for (const auto& storey : c.beamLoads) {
            Json spans = Json::array();
            for (const auto& loads : storey) {
                Json list = Json::array();
                for (const BeamLoad& l : loads) list.push_back(loadJson(l));
                spans.push_back(list);
            }
            storeys.push_back(spans);
        }
        jc["beamLoads"] = storeys;
        Json joints = Json::array();
        for (const JointLoad& l : c.jointLoads) joints.push_back({{"level", l.level}, {"line", l.line}, {"P", l.P}, {"M", l.M}});
        jc["jointLoads"] = joints;
        Json floors = Json::array();
        for (const FloorForce& f : c.floorForces) floors.push_back({{"level", f.level}, {"H", f.H}});
        jc["floorForces"] = floors;
        cases[std::string(caseLetter(c.kind))] = jc;
    }
    j["cases"] = cases;
    j["materials"] = {{"concrete", p.materials.C}, {"fy", p.materials.Fy}};

    const DesignOptions o = parseDesignOptions(p.design);
    Json d;
    d["code"] = o.code == DesignCode::Gb50010_2010 ? "GB50010-2010" : "原方法";
    d["cover"] = o.cover;
    d["beta"] = o.beta;
    auto bars = [](const std::optional<ChosenBars>& b) {
        return b ? Json{{"count", b->count}, {"diameter", b->diameter}} : Json(nullptr);
    };
    d["topBars"] = bars(o.topBars);
    d["bottomBars"] = bars(o.bottomBars);
    d["stirrups"] = {{"legs", o.stirrupLegs ? Json(*o.stirrupLegs) : Json(nullptr)},
                     {"diameter", o.stirrupDiameter ? Json(*o.stirrupDiameter) : Json(nullptr)}};
    d["fyv"] = o.fyv;
    d["floors"] = floorsKey(o.floors);
    d["environment"] = o.environment == EnvironmentClass::TwoB ? "2b" : o.environment == EnvironmentClass::TwoA ? "2a" : "1";
    d["liveLoadPatterns"] = p.liveLoadPatterns;
    d["gammaL"] = p.gammaL;
    d["psiC"] = p.psiC;
    d["beamSelfWeight"] = p.beamSelfWeight;
    d["beamStiffnessFactor"] = p.beamStiffnessFactor;
    if (o.quasiPermanentFactor != 0.4) d["quasiPermanentFactor"] = o.quasiPermanentFactor;
    j["design"] = d;
    if (!p.combinations.empty()) j["combinations"] = p.combinations;
    else if (p.combinationSet) j["combinations"] = *p.combinationSet;
    if (!p.seismic.intensity.empty()) {
        Json se;
        se["intensity"] = numberValue(p.seismic.intensity);
        se["site"] = p.seismic.site;
        se["group"] = numberValue(p.seismic.group);
        if (!p.seismic.grade.empty()) se["grade"] = numberValue(p.seismic.grade);
        if (!p.seismic.psiT.empty()) se["periodFactor"] = numberValue(p.seismic.psiT);
        if (p.seismic.cornerColumns) se["cornerColumns"] = true;
        if (!p.seismic.roofStorey.empty()) se["roofStorey"] = numberValue(p.seismic.roofStorey);
        j["seismic"] = se;
    }
    if (!p.title.project.empty() || !p.title.designer.empty() || !p.title.checker.empty() || !p.title.date.empty())
        j["title"] = {{"project", p.title.project}, {"designer", p.title.designer}, {"checker", p.title.checker},
                      {"date", p.title.date}};
    std::string out;
    writeJson(j, 0, out);
    return out + "\n";
}

// ---------------------------------------------------------------- the model

const ProjectSection& sectionNamed(const Project& p, const std::string& name)
{
    for (const ProjectSection& s : p.sections)
        if (s.name == name) return s;
    throw Failure("项目文件 " + p.fileName + ": 截面 " + quoteForMessage(name) + " 不在 sections 中");
}

namespace {

Member memberOf(const Project& p, double len, const std::string& section)
{
    const ProjectSection& s = sectionNamed(p, section);
    return Member{len, s.b / 1000.0, s.h / 1000.0};
}

} // namespace

std::vector<LoadPiece> loadPieces(const std::vector<BeamLoad>& loads, double S)
{
    std::set<double> cuts{0.0, S};
    for (const BeamLoad& l : loads) {
        if (l.kind == BeamLoad::Kind::Partial) cuts.insert({l.from, l.to});
        if (l.kind == BeamLoad::Kind::Point) cuts.insert(l.x);
    }
    const std::vector<double> at(cuts.begin(), cuts.end());
    std::vector<LoadPiece> pieces;
    double reached = 0; // where the pieces laid so far end
    auto gapTo = [&](double x) {
        if (x > reached) pieces.push_back({0, x - reached, false});
        reached = x;
    };
    for (std::size_t k = 0; k < at.size(); ++k) {
        for (const BeamLoad& l : loads)
            if (l.kind == BeamLoad::Kind::Point && l.x == at[k]) {
                gapTo(at[k]);
                pieces.push_back({l.value, 0, true});
            }
        if (k + 1 == at.size()) break;
        double w = 0;
        bool loaded = false;
        for (const BeamLoad& l : loads)
            if (l.kind == BeamLoad::Kind::Uniform ||
                (l.kind == BeamLoad::Kind::Partial && l.from <= at[k] && l.to >= at[k + 1])) {
                w += l.value;
                loaded = true;
            }
        if (!loaded) continue;
        gapTo(at[k]);
        pieces.push_back({w, at[k + 1] - at[k], false});
        reached = at[k + 1];
    }
    return pieces;
}

namespace {

// The pieces as load entries: r, the distance from the right end to the
// centre of a piece, laid end to end from r = S at the left end.
std::vector<LoadEntry> loadEntries(const std::vector<LoadPiece>& pieces, double S)
{
    std::vector<LoadEntry> out;
    double r = S, a = 0;
    for (const LoadPiece& p : pieces) {
        r = r - a / 2 - p.a / 2;
        a = p.a;
        out.push_back({p.w, p.a, r});
    }
    return out;
}

} // namespace

int projectNode(const FrameTopology& t, int level, int line)
{
    const int J = t.NF - level + 1; // levels from the top inside the analysis
    return (J - 1) * (t.L + 1) + line;
}


void checkProjectValues(const Project& p)
{
    const FrameModel model = caseModel(p, LoadCaseKind::G);
    try {
        if (model.materials) checkMaterials(*model.materials, parseDesignOptions(p.design).code);
        checkMemberSizes(model);
    } catch (const Failure& f) {
        throw Failure("项目文件 " + p.fileName + ": " + f.what());
    }
}

FrameModel caseModel(const Project& p, LoadCaseKind kind)
{
    const ProjectCase* c = p.findCase(kind);
    if (!c) throw Failure("项目文件 " + p.fileName + " 没有荷载工况 " + caseLetter(kind));
    FrameModel m;
    m.fileName = p.fileName;
    m.fileKind = "项目文件";
    m.name = p.name;
    m.topo = FrameTopology::of(p.L(), p.NF());
    const FrameTopology& t = m.topo;
    m.continuousBeam = p.continuousBeam;
    m.NZ = p.endFixity;
    m.members.assign(ix(t.memberCount()) + 1, Member{});
    for (int i = 1; i <= t.NB; ++i) {
        const std::size_t s = ix(t.NF - t.beamStorey(i)), k = ix(t.beamSpan(i) - 1);
        m.members[ix(i)] = memberOf(p, p.spans[k], p.beams[s][k]);
        m.members[ix(i)].stiffnessFactor = p.beamStiffnessFactor;
    }
    if (!p.continuousBeam)
        for (int c2 = 1; c2 <= t.NC; ++c2) {
            const std::size_t s = ix(t.NF - t.columnStorey(c2)), line = ix(t.columnLine(c2));
            m.members[ix(t.columnMember(c2))] = memberOf(p, p.storeys[s], p.columns[s][line]);
        }
    applyContinuousBeamProps(m);
    setJointCoordinates(m);

    m.spanItems.assign(ix(t.NB) + 1, std::string());
    m.loads.assign(ix(t.NB) + 1, {});
    for (int i = 1; i <= t.NB; ++i) {
        const std::size_t s = ix(t.NF - t.beamStorey(i)), k = ix(t.beamSpan(i) - 1);
        const double S = p.spans[k];
        std::vector<BeamLoad> loads = c->beamLoads[s][k];
        if (kind == LoadCaseKind::G && p.beamSelfWeight) {
            const Member& b = m.member(i);
            loads.push_back({BeamLoad::Kind::Uniform, kBeamUnitWeight * b.b * b.h, 0, 0, 0});
        }
        m.loads[ix(i)] = loadEntries(loadPieces(loads, S), S);
    }

    // Joint loads add up per joint; each joint then takes one group.
    std::map<int, std::pair<double, double>> joints; // node -> (P, M)
    for (const JointLoad& j : c->jointLoads) {
        auto& pm = joints[projectNode(t, j.level, j.line)];
        pm.first += j.P;
        pm.second += j.M;
    }
    for (const auto& [node, pm] : joints) m.jointGroups.push_back({{node}, pm.first, pm.second});
    // Floor forces: the shear of a storey is the sum of the forces at and
    // above its top level, summed from the top down.
    std::vector<double> H(ix(t.NF) + 1, 0.0); // by level from the top
    for (const FloorForce& f : c->floorForces) H[ix(t.NF - f.level + 1)] += f.H;
    double shear = 0;
    for (int J = 1; J <= t.NF; ++J) {
        shear += H[ix(J)];
        if (shear != 0) m.jointGroups.push_back({{t.drift(J)}, shear, 0});
    }
    m.columnWeight = kind == LoadCaseKind::G;
    m.materials = p.materials;
    return m;
}

std::vector<LoadCaseInput> projectCases(const Project& p)
{
    std::vector<LoadCaseInput> out;
    for (const ProjectCase& c : p.cases) {
        LoadCaseInput in;
        in.kind = c.kind;
        in.fileName = p.fileName;
        in.model = caseModel(p, c.kind);
        in.data.fileName = p.fileName;
        in.data.name = p.name;
        in.data.L = p.L();
        in.data.NF = p.NF();
        in.data.CL = p.continuousBeam ? 1 : 0;
        in.data.NZ = p.endFixity;
        in.data.projectEcho = projectEchoLines(p);
        out.push_back(std::move(in));
    }
    return out;
}

namespace {

std::string loadText(const BeamLoad& l)
{
    switch (l.kind) {
    case BeamLoad::Kind::Uniform: return "q=" + num(l.value) + " kN/m 满跨";
    case BeamLoad::Kind::Partial: return "q=" + num(l.value) + " kN/m " + num(l.from) + "~" + num(l.to) + " m";
    case BeamLoad::Kind::Point: return "P=" + num(l.value) + " kN x=" + num(l.x) + " m";
    }
    return {};
}

std::string joined(const std::vector<std::string>& items, const char* sep)
{
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? sep : "") + items[i];
    return out;
}

} // namespace

std::vector<std::string> projectEchoLines(const Project& p)
{
    std::vector<std::string> lines;
    lines.push_back("项目文件: " + p.fileName + "  (" + std::to_string(p.L()) + " 跨 " + std::to_string(p.NF()) + " 层" +
                    (p.continuousBeam ? ", 连续梁" : "") + ")");
    std::vector<std::string> v;
    for (double s : p.spans) v.push_back(num(s));
    lines.push_back("跨度 (m, 自左): " + joined(v, " "));
    v.clear();
    for (double s : p.storeys) v.push_back(num(s));
    lines.push_back("层高 (m, 自底层): " + joined(v, " "));
    v.clear();
    for (const ProjectSection& s : p.sections) v.push_back(s.name + "=" + num(s.b) + "x" + num(s.h));
    lines.push_back("截面 (mm): " + joined(v, "  "));
    for (int s = 0; s < p.NF(); ++s) {
        std::string line = "第 " + std::to_string(s + 1) + " 层 梁: " + joined(p.beams[ix(s)], " ");
        if (!p.columns.empty()) line += "  柱: " + joined(p.columns[ix(s)], " ");
        lines.push_back(line);
    }
    for (const ProjectCase& c : p.cases) {
        const std::string tag = std::string("工况 ") + caseLetter(c.kind) + " ";
        for (int s = 0; s < p.NF(); ++s)
            for (int k = 0; k < p.L(); ++k) {
                const auto& loads = c.beamLoads[ix(s)][ix(k)];
                if (loads.empty()) continue;
                std::vector<std::string> parts;
                for (const BeamLoad& l : loads) parts.push_back(loadText(l));
                lines.push_back(tag + "第 " + std::to_string(s + 1) + " 层第 " + std::to_string(k + 1) + " 跨: " +
                                joined(parts, "; "));
            }
        for (const JointLoad& j : c.jointLoads)
            lines.push_back(tag + "节点 (第 " + std::to_string(j.level) + " 层, 轴线 " + std::to_string(j.line) +
                            "): P=" + num(j.P) + " kN M=" + num(j.M) + " kN·m");
        for (const FloorForce& f : c.floorForces)
            lines.push_back(tag + "楼层水平力 (第 " + std::to_string(f.level) + " 层): H=" + num(f.H) + " kN " +
                            (f.H >= 0 ? "→" : "←"));
        if (!c.floorForces.empty()) {
            // The storey shears the forces give, summed from the roof down.
            std::vector<double> V(ix(p.NF()) + 2, 0.0);
            for (const FloorForce& f : c.floorForces) V[ix(f.level)] += f.H;
            for (int level = p.NF() - 1; level >= 1; --level) V[ix(level)] += V[ix(level + 1)];
            std::vector<std::string> shears;
            for (int level = 1; level <= p.NF(); ++level) shears.push_back(num(V[ix(level)]));
            lines.push_back(tag + "层剪力 (kN, 自底层): " + joined(shears, " "));
        }
    }
    lines.push_back("柱自重按 30 kN/m3 计入恒载 G 的柱轴力" +
                    std::string(p.beamSelfWeight ? "; 梁自重按 25 kN/m3 计入恒载 G" : ""));
    if (p.beamStiffnessFactor != 1.0) lines.push_back("梁刚度放大系数: " + num(p.beamStiffnessFactor));
    lines.push_back("材料: C" + num(p.materials.C) + ", Fy=" + num(p.materials.Fy));
    return lines;
}

} // namespace kj
