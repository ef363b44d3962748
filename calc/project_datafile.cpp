// The project file and the frame data file: a project from data files, and
// the data file of a project's case when the frame fits it.
#include "calc/project.h"
#include "calc/project_pieces.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

namespace kj {

namespace {

std::size_t ix(int i) { return static_cast<std::size_t>(i); }
std::string num(double x) { return shortestDecimal(x); }

} // namespace

// ---------------------------------------------------------------- from data files

namespace {

// A value read from a data file, cleaned of the round-off of the reader's
// end-to-end laying of loads (positions are decimals of a few digits).
double clean(double x)
{
    const double r = std::round(x * 1e9) / 1e9;
    return r == 0 ? 0.0 : r;
}

std::string sizeName(double b, double h) { return num(b) + "x" + num(h); }

} // namespace

Project projectFromDataFiles(const std::vector<LoadCaseInput>& cases, const DesignSettings& design,
                             const std::optional<std::string>& combinationSetKey,
                             const std::vector<std::string>& combinations)
{
    auto gIt = std::find_if(cases.begin(), cases.end(), [](const LoadCaseInput& c) { return c.kind == LoadCaseKind::G; });
    if (gIt == cases.end()) throw Failure("缺少恒载 G 的数据文件");
    const LoadCaseInput& g = *gIt;
    const FrameModel& m = g.model;
    const FrameTopology& t = m.topo;
    Project p;
    p.name = g.data.name;
    p.continuousBeam = m.continuousBeam;
    p.endFixity = m.NZ;
    for (int k = 1; k <= t.L; ++k) p.spans.push_back(m.member(k).len);
    for (int J = t.NF; J >= 1; --J) {
        // The storey height as the length table states it (a continuous
        // beam's props have a length of their own).
        const int digit = indexValue(charAt(g.data.lengthNumbers, ix(t.L + J)));
        const double h = (digit >= 1 && digit <= 9)
                             ? numberValue(charSlice(g.data.lengthTable, ix(4 * (digit - 1) + 1), 4))
                             : m.member(t.columnMember(t.firstColumnOfStorey(J))).len;
        p.storeys.push_back(h > 0 ? h : m.member(t.columnMember(t.firstColumnOfStorey(J))).len);
    }
    auto section = [&](int member) {
        const Member& mem = m.member(member);
        const double b = clean(mem.b * 1000), h = clean(mem.h * 1000);
        const std::string name = sizeName(b, h);
        if (std::none_of(p.sections.begin(), p.sections.end(), [&](const ProjectSection& s) { return s.name == name; }))
            p.sections.push_back({name, b, h});
        return name;
    };
    p.beams.assign(ix(t.NF), std::vector<std::string>(ix(t.L)));
    for (int i = 1; i <= t.NB; ++i) p.beams[ix(t.NF - t.beamStorey(i))][ix(t.beamSpan(i) - 1)] = section(i);
    if (!m.continuousBeam) {
        p.columns.assign(ix(t.NF), std::vector<std::string>(ix(t.L + 1)));
        for (int c = 1; c <= t.NC; ++c)
            p.columns[ix(t.NF - t.columnStorey(c))][ix(t.columnLine(c))] = section(t.columnMember(c));
    }
    p.materials = m.materials.value_or(Materials{});

    for (const LoadCaseInput& in : cases) {
        const FrameModel& cm = in.model;
        ProjectCase pc;
        pc.kind = in.kind;
        pc.beamLoads.assign(ix(t.NF), std::vector<std::vector<BeamLoad>>(ix(t.L)));
        for (int i = 1; i <= t.NB; ++i) {
            const double S = cm.member(i).len;
            auto& out = pc.beamLoads[ix(t.NF - t.beamStorey(i))][ix(t.beamSpan(i) - 1)];
            for (const LoadEntry& e : cm.loads[ix(i)]) {
                if (e.w == 0) continue; // a gap before a later load
                BeamLoad l;
                l.value = e.w;
                if (e.a == 0) {
                    l.kind = BeamLoad::Kind::Point;
                    l.x = clean(S - e.r);
                } else if (e.a == S && e.r == S / 2) {
                    l.kind = BeamLoad::Kind::Uniform;
                } else {
                    l.kind = BeamLoad::Kind::Partial;
                    l.from = clean(S - e.r - e.a / 2);
                    l.to = clean(S - e.r + e.a / 2);
                    if (l.from == 0 && l.to == S) l.kind = BeamLoad::Kind::Uniform;
                }
                out.push_back(l);
            }
        }
        // Joint loads as applied: a later group replaces an earlier one.
        std::vector<double> P(ix(t.NC) + 1, 0.0), M(ix(t.NC) + 1, 0.0), V(ix(t.NF) + 1, 0.0);
        for (const JointLoadGroup& grp : cm.jointGroups)
            for (int d : grp.numbers) {
                if (d <= t.NC) {
                    P[ix(d)] = grp.F;
                    M[ix(d)] = grp.M;
                } else {
                    V[ix(d - t.NC)] = grp.F;
                }
            }
        for (int n = 1; n <= t.NC; ++n)
            if (P[ix(n)] != 0 || M[ix(n)] != 0)
                pc.jointLoads.push_back({t.NF - t.nodeLevel(n) + 1, t.nodeLine(n) + 1, P[ix(n)], M[ix(n)]});
        // Storey shears to the floor forces that give them, from the top.
        for (int J = 1; J <= t.NF; ++J) {
            const double H = clean(V[ix(J)] - V[ix(J - 1)]);
            if (H != 0) pc.floorForces.push_back({t.NF - J + 1, H});
        }
        p.cases.push_back(std::move(pc));
    }
    std::stable_sort(p.cases.begin(), p.cases.end(),
                     [](const ProjectCase& a, const ProjectCase& b) { return a.kind < b.kind; });

    p.design = design;
    parseDesignOptions(p.design);
    p.combinations = combinations;
    if (combinations.empty() && (combinationSetKey || cases.size() > 1))
        p.combinationSet = combinationSet(combinationSetKey.value_or("GB55001")).key;
    return p;
}

// ---------------------------------------------------------------- to a data file

namespace {

// A value in a fixed-width field of `width` characters that reads back as
// the value: exactly for lengths and sections, within 1e-9 for positions.
std::optional<std::string> field(double x, std::size_t width, double tolerance = 0)
{
    // Loads as the window writes them (" 20.0", "  0.0"), lengths and
    // sections with two decimals ("6.00", ".25").
    const std::vector<int> order = width >= 5 ? std::vector<int>{1, 2, 0} : std::vector<int>{2, 1, 0};
    auto fits = [&](const std::string& s) {
        return s.size() <= width && std::fabs(numberValue(s) - x) <= tolerance * std::max(1.0, std::fabs(x));
    };
    auto pad = [&](std::string s) { return std::string(width - s.size(), ' ') + s; };
    for (int decimals : order) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", decimals, x);
        std::string s = buf;
        if (s.size() > width && s.rfind("0.", 0) == 0) s.erase(0, 1);   // ".25"
        if (s.size() > width && s.rfind("-0.", 0) == 0) s.erase(1, 1);  // "-.25"
        if (fits(s)) return pad(s);
    }
    std::string s = shortestDecimal(x);
    if (s.rfind("0.", 0) == 0) s.erase(0, 1);
    if (fits(s)) return pad(s);
    return std::nullopt;
}

class Exporter {
public:
    Exporter(const Project& p, LoadCaseKind kind) : p_(p), kind_(kind) {}

    [[noreturn]] void refuse(const std::string& why) const
    {
        throw Failure("项目文件 " + p_.fileName + " 不能写成数据文件: " + why);
    }

    std::string text();

private:
    std::string fit(double x, std::size_t width, const std::string& what, double tolerance = 0) const
    {
        auto f = field(x, width, tolerance);
        if (!f) refuse(what + " " + num(x) + " 不能用 " + std::to_string(width) + " 个字符准确表示");
        return *f;
    }
    std::string spanItem(const std::vector<BeamLoad>& loads, double S, const std::string& where) const;

    const Project& p_;
    LoadCaseKind kind_;
};

std::string Exporter::spanItem(const std::vector<BeamLoad>& loads, double S, const std::string& where) const
{
    if (loads.empty()) return "0";
    if (loads.size() == 1 && loads[0].kind == BeamLoad::Kind::Uniform)
        return "1" + fit(loads[0].value, 5, where + "的荷载值"); // fewer than 7 characters: the whole span
    const std::vector<LoadPiece> pieces = loadPieces(loads, S);
    if (pieces.size() > static_cast<std::size_t>(kMaxLoadEntries))
        refuse(where + "的荷载按数据文件的写法需要 " + std::to_string(pieces.size()) + " 段, 最多 " +
               std::to_string(kMaxLoadEntries) + " 段");
    std::string item = std::to_string(pieces.size());
    for (const LoadPiece& pc : pieces) {
        item += fit(pc.w, 5, where + "的荷载值");
        item += pc.force ? std::string("P") : fit(pc.a, 4, where + "的荷载长度", 1e-9);
    }
    return item;
}

std::string Exporter::text()
{
    const ProjectCase* c = p_.findCase(kind_);
    if (!c) refuse(std::string("没有荷载工况 ") + caseLetter(kind_));
    const FrameTopology t = FrameTopology::of(p_.L(), p_.NF());
    if (t.NF > kMaxStoreys) refuse("层数 " + std::to_string(t.NF) + " 超过数据文件的 " + std::to_string(kMaxStoreys) + " 层");
    if (t.NB > kMaxBeams) refuse("梁数 " + std::to_string(t.NB) + " 超过数据文件的 " + std::to_string(kMaxBeams) + " 根");
    if (t.NC > kMaxNodes) refuse("节点数 " + std::to_string(t.NC) + " 超过数据文件的 " + std::to_string(kMaxNodes) + " 个");

    // Record 2: every distinct span and storey height in one table.
    std::vector<double> lengths;
    auto lengthDigit = [&](double v, const std::string& what) {
        auto it = std::find(lengths.begin(), lengths.end(), v);
        if (it == lengths.end()) {
            if (lengths.size() == 9) refuse("跨度和层高共有 9 种以上, 数据文件最多 9 种");
            fit(v, 4, what);
            lengths.push_back(v);
            it = lengths.end() - 1;
        }
        return std::to_string(it - lengths.begin() + 1);
    };
    std::string lengthNumbers;
    for (int k = 0; k < t.L; ++k) lengthNumbers += lengthDigit(p_.spans[ix(k)], "跨度");
    for (int J = 1; J <= t.NF; ++J) lengthNumbers += lengthDigit(p_.storeys[ix(t.NF - J)], "层高");
    std::string lengthTable;
    for (double v : lengths) lengthTable += fit(v, 4, "长度");

    // Record 3: the sections the members use, 3 + 3 characters in metres.
    std::vector<std::string> fields;
    auto sectionDigit = [&](const std::string& name) {
        const ProjectSection& s = sectionNamed(p_, name);
        auto part = [&](double mm) {
            std::string f = fit(mm / 1000.0, 3, "截面 " + name + " 的尺寸 (m)");
            if (numberValue(f) != mm / 1000.0) refuse("截面 " + name + " 的尺寸 " + num(mm) + " mm 不能用 3 个字符准确表示");
            return f;
        };
        const std::string f = part(s.b) + part(s.h);
        auto it = std::find(fields.begin(), fields.end(), f);
        if (it == fields.end()) {
            if (fields.size() == 9) refuse("截面共有 9 种以上, 数据文件最多 9 种");
            fields.push_back(f);
            it = fields.end() - 1;
        }
        return std::to_string(it - fields.begin() + 1);
    };
    std::string memberSections;
    for (int i = 1; i <= t.NB; ++i)
        memberSections += sectionDigit(p_.beams[ix(t.NF - t.beamStorey(i))][ix(t.beamSpan(i) - 1)]);
    for (int cc = 1; cc <= t.NC; ++cc)
        memberSections += p_.continuousBeam ? std::string("0")
                                            : sectionDigit(p_.columns[ix(t.NF - t.columnStorey(cc))][ix(t.columnLine(cc))]);
    std::string sectionTable;
    for (const std::string& f : fields) sectionTable += f;

    // Record 4.
    if (kind_ == LoadCaseKind::G && p_.beamSelfWeight)
        refuse("数据文件不能表示梁自重 (design.beamSelfWeight)");
    if (p_.beamStiffnessFactor != 1.0) refuse("数据文件不能表示梁刚度放大系数 (design.beamStiffnessFactor)");
    std::vector<std::string> spanItems;
    for (int i = 1; i <= t.NB; ++i) {
        const int s = t.NF - t.beamStorey(i), k = t.beamSpan(i) - 1;
        spanItems.push_back(spanItem(c->beamLoads[ix(s)][ix(k)], p_.spans[ix(k)],
                                     std::string("工况 ") + caseLetter(kind_) + " 第 " + std::to_string(s + 1) + " 层第 " +
                                         std::to_string(k + 1) + " 跨"));
    }

    // Record 5: joints with the same force and moment share a group; each
    // storey with a shear has one.
    std::map<int, std::pair<double, double>> joints;
    for (const JointLoad& j : c->jointLoads) {
        auto& pm = joints[projectNode(t, j.level, j.line)];
        pm.first += j.P;
        pm.second += j.M;
    }
    std::vector<std::string> groups;
    std::vector<std::pair<std::pair<double, double>, std::vector<int>>> byLoad;
    for (const auto& [node, pm] : joints) {
        if (pm.first == 0 && pm.second == 0) continue;
        auto it = std::find_if(byLoad.begin(), byLoad.end(),
                               [&](const auto& e) { return e.first == pm && e.second.size() < 9; });
        if (it == byLoad.end()) byLoad.push_back({pm, {node}});
        else it->second.push_back(node);
    }
    auto two = [](int n) { return (n < 10 ? "0" : "") + std::to_string(n); };
    for (const auto& [pm, nodes] : byLoad) {
        std::string g = std::to_string(nodes.size());
        for (int n : nodes) g += two(n);
        g += fit(pm.first, 5, "节点荷载 P") + fit(pm.second, 6, "节点弯矩 M");
        groups.push_back(g);
    }
    std::vector<double> H(ix(t.NF) + 1, 0.0);
    for (const FloorForce& f : c->floorForces) H[ix(t.NF - f.level + 1)] += f.H;
    double shear = 0;
    for (int J = 1; J <= t.NF; ++J) {
        shear += H[ix(J)];
        if (shear != 0) groups.push_back("1" + two(t.drift(J)) + fit(shear, 5, "第 " + std::to_string(J) + " 层的层剪力"));
    }
    if (groups.size() > static_cast<std::size_t>(kMaxJointGroups))
        refuse("节点荷载共 " + std::to_string(groups.size()) + " 组, 数据文件最多 " + std::to_string(kMaxJointGroups) + " 组");

    std::string name = p_.name;
    if (kind_ != LoadCaseKind::G) name += caseLetter(kind_);
    if (name.find_first_of(",\"") != std::string::npos) refuse("框架名称 " + quoteForMessage(name) + " 含逗号或引号");
    std::string out = name + "," + std::to_string(t.L) + "," + std::to_string(t.NF) + "," + std::to_string(groups.size()) +
                      (p_.continuousBeam ? ",1," + std::to_string(p_.endFixity) : ",0,") + CRLF;
    out += lengthTable + "," + lengthNumbers + CRLF;
    out += sectionTable + "," + memberSections + CRLF;
    for (std::size_t i = 0; i < spanItems.size(); ++i) out += (i ? "," : "") + spanItems[i];
    out += CRLF;
    for (const std::string& g : groups) out += g + CRLF;
    out += num(p_.materials.Fy) + "," + num(p_.materials.C) + CRLF;
    return out;
}

} // namespace

std::string dataFileText(const Project& project, LoadCaseKind kind) { return Exporter(project, kind).text(); }

std::vector<std::string> dataFileOmissions(const Project& p)
{
    std::vector<std::string> out;
    const DesignSettings& d = p.design;
    const DesignSettings plain;
    if (d.code != plain.code) out.push_back("设计规范 " + d.code);
    // The settings as the boxes name them, where they differ from the boxes' defaults.
    const std::pair<const char*, std::string DesignSettings::*> fields[] = {
        {"箍筋 fyv", &DesignSettings::fyv},
        {"楼盖", &DesignSettings::floors},
        {"环境类别", &DesignSettings::environment},
        {"支座负弯矩调幅系数 β", &DesignSettings::beta},
        {"主筋保护层 (mm)", &DesignSettings::cover},
        {"梁顶通长筋根数", &DesignSettings::topCount},
        {"梁顶通长筋直径", &DesignSettings::topDiameter},
        {"梁底通长筋根数", &DesignSettings::bottomCount},
        {"梁底通长筋直径", &DesignSettings::bottomDiameter},
        {"箍筋肢数", &DesignSettings::stirrupLegs},
        {"箍筋直径", &DesignSettings::stirrupDiameter},
        {"活荷载准永久值系数 ψq", &DesignSettings::quasiPermanent}};
    // "1" and "1.00" are one number; texts ("zd", "现浇") compare as texts.
    const auto same = [](const std::string& a, const std::string& b) {
        return a == b || (numberValue(a) == numberValue(b) && numberValue(a) != 0);
    };
    for (const auto& [label, field] : fields)
        if (!same(d.*field, plain.*field)) out.push_back(std::string(label) + " " + d.*field);
    if (!p.seismic.intensity.empty()) out.push_back("地震作用 (设防烈度 " + p.seismic.intensity + " 度及其场地、分组、抗震等级)");
    if (!p.combinations.empty())
        out.push_back("自定义荷载组合 " + std::to_string(p.combinations.size()) + " 条");
    else if (p.combinationSet && *p.combinationSet != "GB55001")
        out.push_back("荷载组合 " + *p.combinationSet);
    if (p.liveLoadPatterns) out.push_back("活载不利布置");
    if (p.gammaL != 1.0 || p.psiC != 0.7) out.push_back("活载系数 γL = " + num(p.gammaL) + ", ψc = " + num(p.psiC));
    const ProjectTitle& t = p.title;
    if (!t.project.empty() || !t.designer.empty() || !t.checker.empty() || !t.date.empty())
        out.push_back("计算书标题栏 (工程名称、设计、校对、日期)");
    return out;
}

} // namespace kj
