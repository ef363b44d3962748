#include "calc/envelope_report.h"

#include "calc/joint_core.h"
#include "calc/json_value.h"
#include "calc/seismic_detailing.h"
#include "common/numbers.h"
#include "design/gb50011_2010.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace kj {

namespace {

using nlohmann::json;

std::size_t z(int i) { return static_cast<std::size_t>(i); }

std::string caseLabel(LoadCaseKind kind) { return std::string(caseLetter(kind)); }

// The amplification and γRE of a seismic combination at a designed value,
// "[ηvb=1.2 γRE=0.85]"; nothing for a static combination.
std::string seismicTag(const EnvelopeResult& r, const Governing& g, const std::string& amplification, double gammaRE)
{
    if (!r.combinations[z(g.combination)].combination.uses(LoadCaseKind::E)) return "";
    std::string t = "[";
    if (!amplification.empty()) t += amplification + " ";
    return t + "γRE=" + shortestDecimal(gammaRE) + "]";
}

double columnGammaRE(const EnvelopeResult& r, int k, int c)
{
    const CapacityDesign& cap = r.combinations[z(k)].capacity;
    const double ratio = cap.grade > 0 ? cap.columns[z(c)].axialRatio : 0.0;
    return gb50011::seismicAdjustmentFactor(gb50011::SeismicCheck::ColumnCompression, ratio);
}

// Beam rows: the seismic combinations' amplification beside their names.
std::string beamGoverningNote(const EnvelopeResult& r, int i)
{
    using gb50011::SeismicCheck;
    const BeamGoverning& g = r.beamGoverning[z(i)];
    const double flexure = gb50011::seismicAdjustmentFactor(SeismicCheck::BeamFlexure);
    const double shear = gb50011::seismicAdjustmentFactor(SeismicCheck::Shear);
    auto shearTag = [&](const Governing& k, bool left) {
        return seismicTag(r, k, beamAmplificationText(r.combinations[z(k.combination)].capacity, i, left), shear);
    };
    return "    控制组合 M1:" + r.name(g.leftMoment) + seismicTag(r, g.leftMoment, "", flexure) +
           "  V1:" + r.name(g.leftShear) + shearTag(g.leftShear, true) + "  M2:" + r.name(g.rightMoment) +
           seismicTag(r, g.rightMoment, "", flexure) + "  V2:" + r.name(g.rightShear) + shearTag(g.rightShear, false) +
           "  Mo:" + r.name(g.span) + seismicTag(r, g.span, "", flexure);
}

// Column rows: the amplification of each end, and the axial compression
// ratio over the seismic combinations (Table 6.3.6).
std::string columnGoverningNote(const EnvelopeResult& r, int c, const std::vector<AxialRatioCheck>& ratios)
{
    const ColumnGoverning& g = r.columnGoverning[z(c)];
    auto tag = [&](const Governing& k, bool top) {
        return seismicTag(r, k, columnAmplificationText(r.combinations[z(k.combination)].capacity, c, top),
                          columnGammaRE(r, k.combination, c));
    };
    std::string t = "    控制组合 上端:" + r.name(g.top) + tag(g.top, true) + "  下端:" + r.name(g.bottom) + tag(g.bottom, false);
    if (z(c) < ratios.size() && ratios[z(c)].combination >= 0) {
        const AxialRatioCheck& a = ratios[z(c)];
        t += "\n    轴压比 N/(fc A)=" + fixedText(a.ratio, 3) + (a.ok ? " <= " : " > ") + fixedText(a.limit, 2) +
             " (GB 50011 表 6.3.6, " + r.name(a.combination) + ") " + (a.ok ? "满足" : "不满足, 超限");
    }
    return t;
}

// The joint core on a column's top: Vj, the section limit (11.6.3) and the
// capacity (11.6.4-2) in kN, the governing combination and the core's ties.
json jointJson(const EnvelopeResult& r, const JointCoreCheck& j)
{
    json o{{"level", j.level}, {"line", j.line}, {"ok", j.ok()}};
    if (!j.refused.empty()) {
        o["refused"] = j.refused;
        return o;
    }
    o["Vj"] = j.Vj;
    o["limit"] = j.limit;
    o["capacity"] = j.capacity;
    o["combination"] = r.name(j.combination);
    o["ties"] = j.tiesFailed ? std::string() : j.tieString;
    o["sectionOk"] = j.sectionOk;
    o["etaJb"] = j.etaJb;
    o["sumMb"] = j.sumMb;
    o["N"] = j.N;
    o["bj"] = j.bj;
    o["hj"] = j.hj;
    o["asvsRequired"] = j.asvsRequired;
    o["tiesRaised"] = j.tiesRaised;
    return o;
}

// The grade of the seismic combinations' capacity design; 0: none.
int seismicGrade(const EnvelopeResult& r)
{
    for (const CombinationResult& c : r.combinations)
        if (c.capacity.grade > 0) return c.capacity.grade;
    return 0;
}

void appendLines(std::string& note, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) note += (note.empty() ? "" : "\n") + line;
}

// A factor with one decimal at least: 1 -> "1.0".
std::string factorText(double f)
{
    std::string s = shortestDecimal(f);
    return s.find('.') == std::string::npos ? s + ".0" : s;
}

// Values in the lines under the rows: moments to 0.1 kN*m, forces and
// areas whole.
std::string tenth(double x) { return shortestDecimal(roundHalfEven(x * 10) / 10); }
std::string whole(double x) { return shortestDecimal(roundHalfEven(x)); }

json pairJson(const EnvelopeResult& r, const ColumnForcePair& p)
{
    return {{"M", p.M}, {"N", p.N}, {"governing", r.name(p.governing)}};
}

json forceSetsJson(const EnvelopeResult& r, const ColumnEndForceSets& s)
{
    return {{"design", pairJson(r, s.design)},
            {"maxAbsM", pairJson(r, s.maxMoment)},
            {"maxN", pairJson(r, s.maxAxial)},
            {"minN", pairJson(r, s.minAxial)}};
}

} // namespace

void writeCasesBlock(ReportWriter& w, const std::vector<LoadCaseInput>& cases, const EnvelopeResult& r)
{
    w.endLine();
    for (const LoadCaseResult& c : r.cases) {
        w.text("荷载工况  ").text(caseLabel(c.kind)).text(" ").text(caseTitle(c.kind)).text("  ").text(c.fileName);
        if (c.kind == LoadCaseKind::G) w.text("  (含柱自重)");
        if (c.kind == LoadCaseKind::W)
            w.text(std::any_of(r.cases.begin(), r.cases.end(), [](const LoadCaseResult& o) { return o.kind == LoadCaseKind::W2; })
                       ? "  (左风)"
                       : "  (左风; -W 为右风)");
        if (c.kind == LoadCaseKind::W2) w.text("  (右风, 荷载按所给方向计入)");
        w.endLine();
    }
    // The loads of Q and the winds; their frame is G's, echoed above.
    for (LoadCaseKind kind : {LoadCaseKind::Q, LoadCaseKind::W, LoadCaseKind::W2})
        for (const LoadCaseInput& in : cases) {
            // A project's echo above lists every case's loads already.
            if (in.kind != kind || !in.data.projectEcho.empty()) continue;
            w.text("  ").text(caseLabel(kind)).text(" Qq1$(I): ");
            for (const std::string& s : in.data.spanLoads) w.text(s).text(", ");
            w.endLine();
            if (in.data.NJ > 0) {
                w.text("  ").text(caseLabel(kind)).text(" Jj$(I): ");
                for (const std::string& s : in.data.jointLoads) w.text(s).text(", ");
                w.endLine();
            }
        }
    w.text("荷载组合  ").text(r.setTitle);
    if (const auto& f = r.envelopeOptions.liveLoadFactors)
        w.text("  活载 γL=").text(factorText(f->gammaL)).text(" ψc=").text(factorText(f->psiC));
    w.text("  共 ").text(std::to_string(r.combinations.size())).text(" 个; 调幅系数只用于 G 和 Q");
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        std::string number = std::to_string(k + 1);
        w.endLine();
        w.text(std::string(number.size() < 4 ? 4 - number.size() : 0, ' ')).text(number).text("  ")
            .text(r.combinations[k].combination.name);
    }
    if (r.envelopeOptions.liveLoadPatterns) {
        w.endLine();
        w.text("活载不利布置: 各梁的活载分别计算后叠加, 每个设计值取使之最大的布置代替 Q 参与组合, "
               "控制组合后的 [跨3] 为第 3 号梁跨中 ([跨3@1.20] 为距左端 1.20 m 处) 正弯矩、[梁3左负] 为其左端负弯矩、"
               "[梁3左剪+] 为其左端剪力、[柱5上+] 为第 5 号柱上端顺时针弯矩、[柱5Nmax] 为其最大轴力的布置");
    }
    for (const std::string& warning : r.warnings) {
        w.endLine();
        w.text("注意: ").text(warning);
    }
}

RowNotes governingNotes(const EnvelopeResult& r)
{
    const FrameTopology& t = r.envelope.topo();
    const bool seismic = std::any_of(r.combinations.begin(), r.combinations.end(),
                                     [](const CombinationResult& c) { return c.combination.uses(LoadCaseKind::E); });
    const std::vector<AxialRatioCheck> ratios = seismic ? axialRatioChecks(r) : std::vector<AxialRatioCheck>{};
    // The detailing lines by the grade of the detailing measures.
    const int grade = seismicGrade(r) > 0 ? r.envelopeOptions.detailing() : 0;
    RowNotes notes;
    notes.beams.assign(z(t.NB) + 1, std::string());
    for (int i = 1; i <= t.NB; ++i) {
        const BeamGoverning& g = r.beamGoverning[z(i)];
        std::string& note = notes.beams[z(i)];
        note = "    控制组合 M1:" + r.name(g.leftMoment) + "  V1:" + r.name(g.leftShear) + "  M2:" +
               r.name(g.rightMoment) + "  V2:" + r.name(g.rightShear) + "  Mo:" + r.name(g.span);
        if (seismic) note = beamGoverningNote(r, i);
        // Sagging at a support: the bottom steel it needs.
        const BeamSupportSagging& s = r.supportSagging[z(i)];
        if (s.left.present || s.right.present) {
            note += "\n    支座正弯矩";
            for (const auto& [side, end] : {std::pair{"左端", &s.left}, std::pair{"右端", &s.right}})
                if (end->present)
                    note += std::string("  ") + side + " M=" + tenth(end->M) + " 底筋As=" + whole(end->design.As) + " " +
                            end->design.barString + " (" + r.name(end->governing) + ")";
        }
        if (grade > 0) appendLines(note, beamSeismicDetailing(r.envelope, i, grade).lines);
    }
    if (!r.columnGoverning.empty()) {
        notes.columns.assign(z(t.NC) + 1, std::string());
        for (int c = 1; c <= t.NC; ++c) {
            const ColumnGoverning& g = r.columnGoverning[z(c)];
            std::string& note = notes.columns[z(c)];
            note = "    控制组合 上端:" + r.name(g.top) + "  下端:" + r.name(g.bottom);
            if (seismic) note = columnGoverningNote(r, c, ratios);
            // The force sets of each end: the largest |M|, the largest and the least N.
            for (const auto& [end, sets] : {std::pair{"上端", &g.topSets}, std::pair{"下端", &g.bottomSets}}) {
                auto pair = [&](const char* what, const ColumnForcePair& p) {
                    return std::string("  ") + what + " M=" + tenth(p.M) + " N=" + whole(p.N) + " (" +
                           r.name(p.governing) + ")";
                };
                note += std::string("\n    ") + end + pair("|M|max", sets->maxMoment) +
                        pair("Nmax", sets->maxAxial) + pair("Nmin", sets->minAxial);
            }
            if (grade > 0 && z(c) < ratios.size())
                appendLines(note, columnSeismicDetailing(r.envelope, c, grade, ratios[z(c)].ratio, designedAsCornerColumn(r, c)).lines);
            if (const std::string joint = jointCoreLine(r, c); !joint.empty()) note += "\n" + joint;
        }
    }
    return notes;
}

std::string envelopeJson(const EnvelopeResult& r)
{
    const CalculationResult& e = r.envelope;
    const FrameTopology& t = e.topo();
    json j;
    j["schema"] = kEnvelopeSchema;

    json cases = json::array();
    for (const LoadCaseResult& c : r.cases)
        cases.push_back({{"case", caseLabel(c.kind)},
                         {"title", caseTitle(c.kind)},
                         {"file", c.fileName},
                         {"columnWeight", c.result.model.columnWeight},
                         {"result", resultJsonValue(c.result)}});
    const json& g = cases.front()["result"];
    for (const char* key : {"units", "signs", "frame", "materials", "rules", "options"}) j[key] = g[key];
    const bool secondWind =
        std::any_of(r.cases.begin(), r.cases.end(), [](const LoadCaseResult& c) { return c.kind == LoadCaseKind::W2; });
    j["signs"]["wind"] = secondWind ? "case W is the wind from the left; case W2 is the wind from the right with its own "
                                      "shape, its loads taken as given and never reversed"
                                    : "case W is the wind from the left; a negative factor on W is the wind from the right";
    j["signs"]["redistribution"] =
        std::string("support moments of G and Q multiplied by beta before combining, half the moment shed added to "
                    "the span moment; ") +
        (secondWind ? "W and W2 are" : "W is") + " not redistributed";
    j["combinationSet"] = r.setTitle;
    if (const auto& f = r.envelopeOptions.liveLoadFactors)
        j["liveLoadFactors"] = {{"gammaL", f->gammaL}, {"psiC", f->psiC}};
    j["liveLoadPatterns"] = r.envelopeOptions.liveLoadPatterns;
    j["warnings"] = r.warnings;
    j["cases"] = cases;

    json combinations = json::array();
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationResult& c = r.combinations[k];
        json terms = json::array();
        for (const CombinationTerm& term : c.combination.terms)
            terms.push_back({{"case", caseLabel(term.kind)}, {"factor", term.factor}});
        json members = json::array();
        for (int i = 1; i <= t.memberCount(); ++i) {
            const InternalForces& f = c.forces;
            json m{{"member", i}, {"M1", f.M1[z(i)]}, {"M2", f.M2[z(i)]}};
            if (t.isBeam(i)) {
                const BeamDesignForces& b = c.beams[z(i)];
                m["kind"] = "beam";
                m["V1"] = f.V1[z(i)];
                m["V2"] = f.V2[z(i)];
                m["Mo"] = f.Mo[z(i)];
                m["x"] = f.X[z(i)];
                m["designForces"] = {{"M1", b.M1}, {"M2", b.M2}, {"V1", b.V1}, {"V2", b.V2}, {"Mo", b.Mo}, {"x", b.x}};
            } else {
                const int col = i - t.NB;
                const ColumnDesignForces& d = c.columns[z(col)];
                m["kind"] = "column";
                m["number"] = col;
                m["V"] = f.along[z(i)].V1;
                // The combined axial forces beside the combined M and V; the
                // design forces (after γRE in a seismic combination) apart.
                m["Ntop"] = f.along[z(i)].N1;
                m["Nfoot"] = f.N[z(col)];
                m["designForces"] = {{"Mtop", d.Mtop}, {"Mbottom", d.Mbottom}, {"Ntop", d.Ntop}, {"Nfoot", d.Nfoot}};
                if (!c.columnDesigns.empty()) m["design"] = columnDesignJson(c.columnDesigns[z(col)]);
            }
            members.push_back(m);
        }
        combinations.push_back({{"number", k + 1}, {"name", c.combination.name}, {"terms", terms}, {"members", members}});
    }
    j["combinations"] = combinations;

    std::vector<bool> usedPatterns(r.patterns.size(), false);
    json members = json::array();
    for (int i = 1; i <= t.memberCount(); ++i) {
        json m{{"member", i}};
        if (t.isBeam(i)) {
            const BeamGoverning& gov = r.beamGoverning[z(i)];
            m["kind"] = "beam";
            m["number"] = i;
            m["design"] = beamDesignJson(e.beams[z(i)]);
            m["governing"] = {{"leftMoment", r.name(gov.leftMoment)}, {"leftShear", r.name(gov.leftShear)},
                              {"rightMoment", r.name(gov.rightMoment)}, {"rightShear", r.name(gov.rightShear)},
                              {"span", r.name(gov.span)}};
            for (const Governing* used : {&gov.leftMoment, &gov.leftShear, &gov.rightMoment, &gov.rightShear, &gov.span})
                if (used->pattern >= 0) usedPatterns[z(used->pattern)] = true;
            json sagging = json::object();
            const BeamSupportSagging& s = r.supportSagging[z(i)];
            for (const auto& [side, end] : {std::pair{"left", &s.left}, std::pair{"right", &s.right}}) {
                if (!end->present) continue;
                sagging[side] = {{"M", end->M},
                                 {"h0", end->design.h0},
                                 {"As", end->design.As},
                                 {"AsComp", end->design.AsComp},
                                 {"bars", end->design.barString},
                                 {"failed", end->design.failed()},
                                 {"governing", r.name(end->governing)}};
                if (end->governing.pattern >= 0) usedPatterns[z(end->governing.pattern)] = true;
            }
            m["supportSagging"] = sagging;
        } else {
            const int col = i - t.NB;
            m["kind"] = "column";
            m["number"] = col;
            if (!r.columnGoverning.empty()) {
                const ColumnGoverning& gov = r.columnGoverning[z(col)];
                m["design"] = columnDesignJson(e.columns[z(col)]);
                m["governing"] = {{"top", r.name(gov.top)}, {"bottom", r.name(gov.bottom)}};
                m["forceSets"] = {{"top", forceSetsJson(r, gov.topSets)}, {"bottom", forceSetsJson(r, gov.bottomSets)}};
                if (z(col) < r.joints.size() && r.joints[z(col)].checked) m["joint"] = jointJson(r, r.joints[z(col)]);
                for (const ColumnEndForceSets* sets : {&gov.topSets, &gov.bottomSets})
                    for (const ColumnForcePair* p : {&sets->design, &sets->maxMoment, &sets->maxAxial, &sets->minAxial})
                        if (p->governing.pattern >= 0) usedPatterns[z(p->governing.pattern)] = true;
            } else {
                m["design"] = {{"skipped", "连续梁的支座, 不配筋"}};
            }
        }
        json curve = json::array();
        for (const EnvelopePoint& p : memberEnvelope(r, i))
            curve.push_back({{"x", p.x}, {"Mmax", p.Mmax}, {"Mmin", p.Mmin}, {"Vmax", p.Vmax}, {"Vmin", p.Vmin}});
        m["forceEnvelope"] = curve;
        members.push_back(m);
    }
    // The live-load layouts named in the envelope, with the beams they load.
    json patterns = json::array();
    for (std::size_t p = 0; p < r.patterns.size(); ++p) {
        if (!usedPatterns[p]) continue;
        json loaded = json::array();
        for (int i = 1; i <= t.NB; ++i)
            if (r.patterns[p].loaded[z(i)]) loaded.push_back(i);
        patterns.push_back({{"name", r.patterns[p].name}, {"loadedBeams", loaded}});
    }
    j["envelope"] = {{"members", members}, {"patterns", patterns}};
    if (e.sway.size() > 1) j["envelope"]["sway"] = swayJson(e.sway);
    if (e.rules == &gb50010_2010Rules()) {
        j["envelope"]["quasiPermanent"] = r.quasiPermanentName;
        json drifts = json::array();
        for (const StoreyDrift& d : r.windDrifts)
            drifts.push_back({{"storey", d.storey}, {"height", d.height}, {"drift", d.drift}, {"ratio", d.ratio},
                              {"limit", kFrameDriftLimit}, {"passes", d.passes()}});
        if (!r.windDrifts.empty()) j["envelope"]["windDrifts"] = drifts;
    }
    return j.dump(1) + "\n";
}

} // namespace kj
