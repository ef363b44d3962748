#include "calc/envelope_report.h"

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

std::string caseLabel(LoadCaseKind kind) { return std::string(1, caseLetter(kind)); }

// The amplification and γRE of a seismic combination at a designed value,
// "[ηvb=1.2 γRE=0.85]"; nothing for a static combination.
std::string seismicTag(const EnvelopeResult& r, int k, const std::string& amplification, double gammaRE)
{
    if (!r.combinations[z(k)].combination.uses(LoadCaseKind::E)) return "";
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
    auto shearTag = [&](int k, bool left) {
        return seismicTag(r, k, beamAmplificationText(r.combinations[z(k)].capacity, i, left), shear);
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
    auto tag = [&](int k, bool top) {
        return seismicTag(r, k, columnAmplificationText(r.combinations[z(k)].capacity, c, top), columnGammaRE(r, k, c));
    };
    std::string t = "    控制组合 上端:" + r.name(g.top) + tag(g.top, true) + "  下端:" + r.name(g.bottom) + tag(g.bottom, false);
    if (z(c) < ratios.size() && ratios[z(c)].combination >= 0) {
        const AxialRatioCheck& a = ratios[z(c)];
        t += "\n    轴压比 N/(fc A)=" + fixedText(a.ratio, 3) + (a.ok ? " <= " : " > ") + fixedText(a.limit, 2) +
             " (GB 50011 表 6.3.6, " + r.name(a.combination) + ") " + (a.ok ? "满足" : "不满足, 超限");
    }
    return t;
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

} // namespace

void writeCasesBlock(ReportWriter& w, const std::vector<LoadCaseInput>& cases, const EnvelopeResult& r)
{
    w.endLine();
    for (const LoadCaseResult& c : r.cases) {
        w.text("荷载工况  ").text(caseLabel(c.kind)).text(" ").text(caseTitle(c.kind)).text("  ").text(c.fileName);
        if (c.kind == LoadCaseKind::G) w.text("  (含柱自重)");
        if (c.kind == LoadCaseKind::W) w.text("  (左风; -W 为右风)");
        w.endLine();
    }
    // The loads of Q and W; their frame is G's, echoed above.
    for (LoadCaseKind kind : {LoadCaseKind::Q, LoadCaseKind::W})
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
    w.text("荷载组合  ").text(r.setTitle).text("  共 ").text(std::to_string(r.combinations.size()))
        .text(" 个; 调幅系数只用于 G 和 Q");
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        std::string number = std::to_string(k + 1);
        w.endLine();
        w.text(std::string(number.size() < 4 ? 4 - number.size() : 0, ' ')).text(number).text("  ")
            .text(r.combinations[k].combination.name);
    }
}

RowNotes governingNotes(const EnvelopeResult& r)
{
    const FrameTopology& t = r.envelope.topo();
    const bool seismic = std::any_of(r.combinations.begin(), r.combinations.end(),
                                     [](const CombinationResult& c) { return c.combination.uses(LoadCaseKind::E); });
    const std::vector<AxialRatioCheck> ratios = seismic ? axialRatioChecks(r) : std::vector<AxialRatioCheck>{};
    const int grade = seismicGrade(r);
    RowNotes notes;
    notes.beams.assign(z(t.NB) + 1, std::string());
    for (int i = 1; i <= t.NB; ++i) {
        const BeamGoverning& g = r.beamGoverning[z(i)];
        notes.beams[z(i)] = "    控制组合 M1:" + r.name(g.leftMoment) + "  V1:" + r.name(g.leftShear) +
                            "  M2:" + r.name(g.rightMoment) + "  V2:" + r.name(g.rightShear) + "  Mo:" + r.name(g.span);
        if (seismic) notes.beams[z(i)] = beamGoverningNote(r, i);
        if (grade > 0) appendLines(notes.beams[z(i)], beamSeismicDetailing(r.envelope, i, grade).lines);
    }
    if (!r.columnGoverning.empty()) {
        notes.columns.assign(z(t.NC) + 1, std::string());
        for (int c = 1; c <= t.NC; ++c) {
            const ColumnGoverning& g = r.columnGoverning[z(c)];
            notes.columns[z(c)] = "    控制组合 上端:" + r.name(g.top) + "  下端:" + r.name(g.bottom);
            if (seismic) notes.columns[z(c)] = columnGoverningNote(r, c, ratios);
            if (grade > 0 && z(c) < ratios.size())
                appendLines(notes.columns[z(c)],
                            columnSeismicDetailing(r.envelope, c, grade, ratios[z(c)].ratio).lines);
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
    j["signs"]["wind"] = "case W is the wind from the left; a negative factor on W is the wind from the right";
    j["signs"]["redistribution"] =
        "support moments of G and Q multiplied by beta before combining, half the moment shed added to the span "
        "moment; W is not redistributed";
    j["combinationSet"] = r.setTitle;
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
                m["Ntop"] = d.Ntop;
                m["Nfoot"] = d.Nfoot;
                if (!c.columnDesigns.empty()) m["design"] = columnDesignJson(c.columnDesigns[z(col)]);
            }
            members.push_back(m);
        }
        combinations.push_back({{"number", k + 1}, {"name", c.combination.name}, {"terms", terms}, {"members", members}});
    }
    j["combinations"] = combinations;

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
        } else {
            const int col = i - t.NB;
            m["kind"] = "column";
            m["number"] = col;
            if (!r.columnGoverning.empty()) {
                const ColumnGoverning& gov = r.columnGoverning[z(col)];
                m["design"] = columnDesignJson(e.columns[z(col)]);
                m["governing"] = {{"top", r.name(gov.top)}, {"bottom", r.name(gov.bottom)}};
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
    j["envelope"] = {{"members", members}};
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
