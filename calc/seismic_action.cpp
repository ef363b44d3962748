#include "calc/seismic_action.h"

#include "analysis/internal_forces.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"
#include "design/materials.h"

#include <cmath>

namespace kj {

namespace {

namespace g = gb50011;

// The text without blanks around it, ASCII letters in upper case, the
// Roman numerals Ⅰ to Ⅳ written with letters.
std::string normalised(const std::string& text)
{
    std::string s;
    for (char c : text) {
        if (c == ' ' || c == '\t') continue;
        s += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    for (const auto& [roman, letters] : {std::pair<const char*, const char*>{"Ⅰ", "I"}, {"Ⅱ", "II"}, {"Ⅲ", "III"}, {"Ⅳ", "IV"}})
        for (std::size_t p; (p = s.find(roman)) != std::string::npos;) s.replace(p, std::string(roman).size(), letters);
    return s;
}

// A plain decimal number (digits with at most one point), or nothing.
std::optional<double> plainNumber(const std::string& s)
{
    if (s.empty() || s.find_first_not_of("0123456789.") != std::string::npos) return std::nullopt;
    if (s.find('.') != s.rfind('.') || s == ".") return std::nullopt;
    return numberValue(s);
}

double at(const std::vector<double>& v, int i) { return v[static_cast<std::size_t>(i)]; }

// The downward joint forces of a model at nodes 1..NC as its analysis
// applies them: a later group replaces an earlier one at the same node.
std::vector<double> nodeForces(const FrameModel& m)
{
    std::vector<double> F(static_cast<std::size_t>(m.topo.NC) + 1, 0.0);
    for (const JointLoadGroup& grp : m.jointGroups)
        for (int d : grp.numbers)
            if (d >= 1 && d <= m.topo.NC) F[static_cast<std::size_t>(d)] = grp.F;
    return F;
}

// Adds factor x (span loads of each level's beams + joint forces at each
// level's nodes) of a model to GE.
void addLevelLoads(std::vector<double>& GE, const FrameModel& m, double factor)
{
    const FrameTopology& t = m.topo;
    for (int I = 1; I <= t.NB; ++I)
        for (const LoadEntry& e : m.loads[static_cast<std::size_t>(I)])
            GE[static_cast<std::size_t>(t.beamStorey(I))] += factor * (e.a > 0 ? e.w * e.a : e.w);
    const std::vector<double> F = nodeForces(m);
    for (int n = 1; n <= t.NC; ++n) GE[static_cast<std::size_t>(t.nodeLevel(n))] += factor * at(F, n);
}

// The model of the frame of G with no load but the given storey shears
// (kN, storeys 1..NF) as joint loads on the storey drifts.
FrameModel lateralModel(const FrameModel& G, const std::vector<double>& shear, const std::string& name)
{
    FrameModel m = G;
    m.name = name;
    for (auto& item : m.spanItems) item = "0";
    for (auto& loads : m.loads) loads.clear();
    m.jointGroups.clear();
    for (int J = 1; J <= m.topo.NF; ++J) m.jointGroups.push_back({{m.topo.drift(J)}, at(shear, J), 0.0});
    m.columnWeight = false;
    return m;
}

// Storey drifts (mm) of storeys 1..NF (index 0 unused) of a model analysed
// with the real stiffness of concrete of modulus Ec (N/mm2).
std::vector<double> storeyDrifts(const FrameModel& model, double Ec)
{
    return realDisplacements(model, analyse(model), Ec).drift;
}

const LoadCaseInput* findCase(const std::vector<LoadCaseInput>& cases, LoadCaseKind kind)
{
    for (const LoadCaseInput& c : cases)
        if (c.kind == kind) return &c;
    return nullptr;
}

} // namespace

SeismicParameters parseSeismicParameters(const SeismicTexts& t)
{
    SeismicParameters p;
    const std::string intensity = normalised(t.intensity);
    static const std::pair<const char*, g::Intensity> intensities[] = {
        {"6", g::Intensity::I6}, {"7", g::Intensity::I7}, {"7.5", g::Intensity::I7_5},
        {"8", g::Intensity::I8}, {"8.5", g::Intensity::I8_5}, {"9", g::Intensity::I9}};
    bool found = false;
    for (const auto& [text, value] : intensities)
        if (intensity == text) {
            p.intensity = value;
            found = true;
        }
    if (!found)
        throw Failure("抗震设防烈度应为 6, 7, 7.5 (0.15g), 8, 8.5 (0.30g) 或 9: " + clipForMessage(t.intensity));

    const std::string site = normalised(t.site);
    static const std::pair<const char*, g::SiteClass> sites[] = {{"I0", g::SiteClass::I0}, {"I1", g::SiteClass::I1},
                                                                  {"II", g::SiteClass::II}, {"III", g::SiteClass::III},
                                                                  {"IV", g::SiteClass::IV}};
    found = false;
    for (const auto& [text, value] : sites)
        if (site == text) {
            p.site = value;
            found = true;
        }
    if (!found) throw Failure("场地类别应为 I0, I1, II, III 或 IV: " + clipForMessage(t.site));

    const std::string group = normalised(t.group);
    if (group != "1" && group != "2" && group != "3")
        throw Failure("设计地震分组应为 1, 2 或 3: " + clipForMessage(t.group));
    p.group = group[0] - '0';

    const std::string grade = normalised(t.grade);
    if (!grade.empty()) {
        if (grade.size() != 1 || grade[0] < '1' || grade[0] > '4')
            throw Failure("抗震等级应为 1 到 4 (一级至四级): " + clipForMessage(t.grade));
        p.grade = grade[0] - '0';
    }

    const std::string psi = normalised(t.psiT);
    if (!psi.empty()) {
        const std::optional<double> v = plainNumber(psi);
        if (!v || !(*v > 0 && *v <= 1))
            throw Failure("周期折减系数 ψT 应大于 0 且不大于 1: " + clipForMessage(t.psiT));
        p.psiT = *v;
    }
    p.cornerColumns = t.cornerColumns;

    const std::string roof = normalised(t.roofStorey);
    if (!roof.empty()) {
        const std::optional<double> v = plainNumber(roof);
        if (!v || *v < 1 || *v > 99 || *v != std::floor(*v))
            throw Failure("屋面所在层应为自底层 (1) 起的层号: " + clipForMessage(t.roofStorey));
        p.roofStorey = static_cast<int>(*v);
    }
    return p;
}

std::vector<double> gravityRepresentativeValues(const FrameModel& G, const FrameModel* Q, int roofStorey)
{
    const FrameTopology& t = G.topo;
    std::vector<double> GE(static_cast<std::size_t>(t.NF) + 1, 0.0);
    addLevelLoads(GE, G, 1.0);
    if (Q) {
        // Table 5.1.3: the floors' live load at 0.5, the roof's not at all.
        // The model counts levels from the top: the roof of storey r (from
        // the ground) is level NF - r + 1, the levels above it lie on the roof.
        std::vector<double> live(GE.size(), 0.0);
        addLevelLoads(live, *Q, 1.0);
        const int roofLevel = t.NF - roofStorey + 1;
        for (int J = roofLevel + 1; J <= t.NF; ++J)
            GE[static_cast<std::size_t>(J)] += g::kLiveLoadCombinationFactor * at(live, J);
    }
    for (int c = 1; c <= t.NC; ++c) {
        const double W = appliedColumnWeight(G, G.member(t.columnMember(c)));
        const int top = t.nodeLevel(t.topNode(c));
        GE[static_cast<std::size_t>(top)] += W / 2;
        if (!t.bottomStorey(c)) GE[static_cast<std::size_t>(top + 1)] += W / 2;
    }
    return GE;
}

SeismicAction seismicAction(const FrameModel& G, const FrameModel* Q, const SeismicParameters& params, double Ec)
{
    const FrameTopology& t = G.topo;
    const std::string where = "抗震计算 (" + G.fileName + "): ";
    if (G.continuousBeam) throw Failure(where + "连续梁不能进行抗震计算");
    if (!(Ec > 0) || !std::isfinite(Ec)) throw Failure(where + "混凝土弹性模量无效");

    SeismicAction a;
    a.params = params;
    a.Ec = Ec;
    a.height = G.y[1];
    if (a.height > g::kBaseShearMethodHeightLimit)
        throw Failure(where + "框架高度 " + shortestDecimal(a.height) + " m 超过底部剪力法的适用高度 " +
                      shortestDecimal(g::kBaseShearMethodHeightLimit) + " m (GB 50011-2010 5.1.2), 无法计算地震作用");
    for (int i = 1; i <= t.NB; ++i) a.longestSpan = std::max(a.longestSpan, G.member(i).len);
    // Refuses a frame too high for the intensity.
    const int tableGrade = g::frameSeismicGrade(params.intensity, a.height, a.longestSpan);
    a.grade = params.grade.value_or(tableGrade);
    a.gradeFromTable = !params.grade;
    a.detailingGrade =
        params.grade.value_or(g::frameDetailingGrade(params.intensity, params.site, a.height, a.longestSpan));
    a.Tg = g::characteristicPeriod(params.site, params.group);
    a.alphaMax = g::maxInfluenceCoefficient(params.intensity);

    const int roofStorey = params.roofStorey.value_or(t.NF);
    if (roofStorey < 1 || roofStorey > t.NF)
        throw Failure(where + "屋面所在层为第 " + std::to_string(roofStorey) + " 层, 框架只有 " + std::to_string(t.NF) +
                      " 层 (层号自底层起)");
    a.roofStorey = roofStorey;
    const std::vector<double> GE = gravityRepresentativeValues(G, Q, roofStorey);
    for (int J = 1; J <= t.NF; ++J) a.sumGE += at(GE, J);
    for (int J = 1; J <= t.NF; ++J)
        if (!(at(GE, J) > 0) || !std::isfinite(at(GE, J)))
            throw Failure(where + "第 " + std::to_string(J) + " 层楼面的重力荷载代表值为 " + shortestDecimal(at(GE, J)) +
                          " kN, 不是正数, 无法计算地震作用");

    // Fundamental period: GE applied horizontally at the floors.
    std::vector<double> shear(static_cast<std::size_t>(t.NF) + 1, 0.0);
    for (int J = 1; J <= t.NF; ++J) shear[static_cast<std::size_t>(J)] = (J > 1 ? at(shear, J - 1) : 0.0) + at(GE, J);
    const std::vector<double> gravityDrift = storeyDrifts(lateralModel(G, shear, G.name), Ec);
    for (int J = 1; J <= t.NF; ++J) a.uT += at(gravityDrift, J) / 1000.0;
    a.T1 = g::fundamentalPeriod(params.psiT, a.uT);
    a.alpha1 = g::influenceCoefficient(a.T1, a.Tg, a.alphaMax);

    // Floor forces, storey shears and the least shear.
    a.Geq = g::equivalentGravity(a.sumGE, t.NF);
    a.FEk = g::totalHorizontalAction(a.alpha1, a.Geq);
    a.deltaN = g::topAdditionalFactor(a.T1, a.Tg);
    a.deltaFn = a.deltaN * a.FEk;
    a.lambda = g::minimumShearFactor(params.intensity, a.T1);
    std::vector<double> Gs, Hs;
    for (int J = 1; J <= t.NF; ++J) {
        Gs.push_back(at(GE, J));
        Hs.push_back(G.y[static_cast<std::size_t>(J)]);
    }
    const std::vector<double> F = g::floorForces(Gs, Hs, a.FEk, a.deltaN);
    std::vector<SeismicFloor> top(static_cast<std::size_t>(t.NF) + 1);
    double V = 0, above = 0;
    for (int J = 1; J <= t.NF; ++J) {
        SeismicFloor& f = top[static_cast<std::size_t>(J)];
        f.level = t.NF - J + 1;
        f.height = G.y[static_cast<std::size_t>(J)];
        f.storeyHeight = G.y[static_cast<std::size_t>(J)] - G.y[static_cast<std::size_t>(J + 1)];
        f.GE = at(GE, J);
        f.F = F[static_cast<std::size_t>(J - 1)] + (J == 1 ? a.deltaFn : 0.0);
        V += f.F;
        above += f.GE;
        f.Vcomputed = V;
        f.Vmin = a.lambda * above;
        f.raised = V < f.Vmin;
        f.V = f.raised ? f.Vmin : V;
        shear[static_cast<std::size_t>(J)] = f.V;
    }

    // The load case E and its drifts.
    a.model = lateralModel(G, shear, G.name + " (地震作用 E)");
    const std::vector<double> drift = storeyDrifts(a.model, Ec);
    for (int J = t.NF; J >= 1; --J) {
        SeismicFloor f = top[static_cast<std::size_t>(J)];
        f.drift = std::fabs(at(drift, J));
        f.driftRatio = f.drift / (f.storeyHeight * 1000.0);
        f.driftOk = g::driftWithinLimit(f.drift / 1000.0, f.storeyHeight);
        a.floors.push_back(f);
    }
    return a;
}

SeismicAction seismicAction(const std::vector<LoadCaseInput>& cases, const SeismicParameters& params, DesignCode code)
{
    if (code != DesignCode::Gb50010_2010)
        throw Failure("抗震设计按 GB 50010-2010 规则进行: 设计规范为原方法时不能进行抗震计算, 请选用 GB50010-2010");
    const LoadCaseInput* G = findCase(cases, LoadCaseKind::G);
    if (!G) throw Failure("抗震计算需要恒载 G: 重力荷载代表值由恒载和活载求得");
    if (!G->model.materials) throw Failure(G->model.materialsFailure);
    const LoadCaseInput* Q = findCase(cases, LoadCaseKind::Q);
    return seismicAction(G->model, Q ? &Q->model : nullptr, params, concreteEc(G->model.materials->C));
}

LoadCaseInput seismicCase(const std::vector<LoadCaseInput>& cases, const SeismicAction& action)
{
    LoadCaseInput e;
    if (const LoadCaseInput* G = findCase(cases, LoadCaseKind::G)) e = *G;
    e.kind = LoadCaseKind::E;
    e.fileName = findCase(cases, LoadCaseKind::Q) ? "(底部剪力法, 由 G 和 Q 求得)" : "(底部剪力法, 由 G 求得)";
    e.model = action.model;
    return e;
}

} // namespace kj
