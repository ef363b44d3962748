#include "calc/envelope_report.h"

#include "calc/json_value.h"

#include <nlohmann/json.hpp>

namespace kj {

namespace {

using nlohmann::json;

std::size_t z(int i) { return static_cast<std::size_t>(i); }

std::string caseLabel(LoadCaseKind kind) { return std::string(1, caseLetter(kind)); }

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
    RowNotes notes;
    notes.beams.assign(z(t.NB) + 1, std::string());
    for (int i = 1; i <= t.NB; ++i) {
        const BeamGoverning& g = r.beamGoverning[z(i)];
        notes.beams[z(i)] = "    控制组合 M1:" + r.name(g.leftMoment) + "  V1:" + r.name(g.leftShear) +
                            "  M2:" + r.name(g.rightMoment) + "  V2:" + r.name(g.rightShear) + "  Mo:" + r.name(g.span);
    }
    if (!r.columnGoverning.empty()) {
        notes.columns.assign(z(t.NC) + 1, std::string());
        for (int c = 1; c <= t.NC; ++c) {
            const ColumnGoverning& g = r.columnGoverning[z(c)];
            notes.columns[z(c)] = "    控制组合 上端:" + r.name(g.top) + "  下端:" + r.name(g.bottom);
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
