#include "calc/json_output.h"
#include "calc/json_value.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace kj {

namespace {

using nlohmann::json;

double at(const std::vector<double>& v, int i) { return v[static_cast<std::size_t>(i)]; }

json barsJson(const BarArrangement& b)
{
    json j{{"continuous", {{"count", b.n}, {"diameter", b.d}}},
           {"additional", {{"count", b.k}, {"diameter", b.e}}},
           {"outerLayer", b.outer},
           {"secondLayer", b.second}};
    if (b.third > 0) j["thirdLayer"] = b.third;
    return j;
}

json sectionJson(const BeamSectionDesign& s, bool support)
{
    json j{{"M", s.M}, {"h0", s.h0}, {"As", s.As}, {"AsComp", s.AsComp}, {"failed", s.failed()},
           {"bars", barsJson(s.bars)}, {"barString", s.barString}};
    if (!s.governs.empty()) { // the checker's values of GB 50010-2010
        j["zoneDepth"] = s.zoneDepth;
        j["xi"] = s.xi;
        j["asComp"] = s.asComp;
        j["stirrupForLayout"] = s.stirrup;
        j["layers"] = s.bars.third > 0 ? 3 : s.bars.second > 0 ? 2 : 1;
        j["governs"] = s.governs;
        j["failure"] = s.failure;
        j["providedArea"] = barArea(s.bars);
        if (support) {
            j["beta"] = s.beta;
            j["alphaCv"] = s.alphaCv;
        }
    }
    if (support) {
        j["V"] = s.V;
        j["AsvPerS"] = s.asvs;
        j["shearFailed"] = s.shearFailed();
        j["stirrups"] = {{"legs", s.stirrups.legs}, {"diameter", s.stirrups.diameter}, {"spacing", s.stirrups.spacing}};
        j["stirrupString"] = s.stirrupString;
    } else {
        j["x"] = s.x;
    }
    return j;
}

json columnEndJson(const ColumnEndDesign& e)
{
    json j{{"M", e.M}, {"N", e.N}, {"e0", e.e0}, {"ea", e.ea}, {"ei", e.ei}, {"eta", e.eta}, {"xi", e.xi},
           {"As", e.As}, {"AsComp", e.As}, {"failed", e.failed()}, {"failure", e.failure}};
    if (!e.governs.empty()) { // the checker's values of GB 50010-2010
        j["Cm"] = e.Cm;
        j["etaNs"] = e.etaNs;
        j["etaS"] = e.etaS;
        j["h0"] = e.h0;
        j["axialRatio"] = e.axialRatio;
        j["eccentricity"] = e.eccentricity;
        j["governs"] = e.governs;
    }
    return j;
}

json stationsJson(const MemberForces& a)
{
    json out = json::array();
    for (double x : a.stations())
        out.push_back({{"x", x}, {"M", a.M(x)}, {"Vleft", a.V(x, true)}, {"Vright", a.V(x)}, {"N", a.N(x)}});
    return out;
}

// A value of a check, null where the section has none.
json checked(bool done, double value) { return done ? json(value) : json(nullptr); }

// GB 50010-2010 7.2.1: the stiffness the span's deflection is integrated with.
const char* stiffnessKey(BeamServiceability::Stiffness k)
{
    using Taken = BeamServiceability::Stiffness;
    switch (k) {
    case Taken::Sagging: return "span";
    case Taken::Uniform: return "uniform";
    case Taken::Variable: return "variable";
    case Taken::HoggingLeft: return "leftSupport";
    case Taken::HoggingRight: return "rightSupport";
    }
    return "";
}

json serviceabilityJson(const BeamServiceability& s)
{
    return {{"Mq", {{"left", s.left.Mq}, {"right", s.right.Mq}, {"span", s.span.Mq}}},
            {"wmax",
             {{"left", checked(s.left.checked, s.left.wmax)},
              {"right", checked(s.right.checked, s.right.wmax)},
              {"span", checked(s.span.checked, s.span.wmax)}}},
            {"wlim", s.wlim},
            {"bottomBars", {{"left", s.left.bottomBars}, {"right", s.right.bottomBars}}},
            {"deflection", checked(s.deflectionChecked, s.deflection)},
            {"xDeflection", checked(s.deflectionChecked, s.xDeflection)},
            {"deflectionLimit", s.deflectionLimit},
            {"B", checked(s.deflectionChecked, s.B)},
            {"Bsupports", {{"left", checked(s.Bleft > 0, s.Bleft)}, {"right", checked(s.Bright > 0, s.Bright)}}},
            {"stiffness", s.deflectionChecked ? json(stiffnessKey(s.stiffness)) : json(nullptr)}};
}

} // namespace

nlohmann::json swayJson(const std::vector<SwayStorey>& storeys)
{
    // Storeys from the ground up, 1 = the ground storey (the analysis
    // numbers them from the top).
    json sway = json::array();
    for (std::size_t J = storeys.size() - 1; J >= 1; --J) {
        sway.push_back({{"storey", storeys.size() - J}, {"sumN", storeys[J].sumN}, {"D", storeys[J].D},
                        {"H0", storeys[J].H0}, {"etaS", storeys[J].etaS}, {"elasticD", storeys[J].elasticD},
                        {"stabilityLimit", storeys[J].stabilityLimit}, {"unitShears", storeys[J].unitShears}});
        if (!storeys[J].governing.empty()) sway.back()["combination"] = storeys[J].governing;
        if (!storeys[J].stabilityGoverning.empty())
            sway.back()["stabilityCombination"] = storeys[J].stabilityGoverning;
    }
    return sway;
}

nlohmann::json beamDesignJson(const BeamDesign& d)
{
    if (!d.designed) return {{"skipped", d.skipReason}};
    json j{{"left", sectionJson(d.left, true)}, {"right", sectionJson(d.right, true)}, {"span", sectionJson(d.span, false)}};
    if (!d.notes.empty()) j["notes"] = d.notes;
    if (d.serviceability) j["serviceability"] = serviceabilityJson(*d.serviceability);
    return j;
}

nlohmann::json columnDesignJson(const ColumnDesign& d)
{
    if (!d.designed) return {{"skipped", d.skipReason}};
    json j{{"l0", d.l0}, {"top", columnEndJson(d.top)}, {"bottom", columnEndJson(d.bottom)}};
    if (!d.tieString.empty()) {
        j["lc"] = d.lc;
        j["V"] = d.V;
        j["tieAsvPerS"] = d.tieAsvs;
        j["tiesTooSmall"] = d.tieTooSmall;
        j["ties"] = {{"legs", d.ties.legs}, {"diameter", d.ties.diameter}, {"spacing", d.ties.spacing}};
        j["tieString"] = d.tieString;
    }
    if (!d.notes.empty()) j["notes"] = d.notes;
    return j;
}

std::string resultJson(const CalculationResult& r) { return resultJsonValue(r).dump(1) + "\n"; }

nlohmann::json resultJsonValue(const CalculationResult& r)
{
    const FrameModel& m = r.model;
    const FrameTopology& t = m.topo;
    const InternalForces& f = r.forces;
    json j;
    j["schema"] = kResultSchema;
    j["units"] = {{"length", "m"}, {"force", "kN"}, {"moment", "kN·m"}, {"section", "mm"}, {"steelArea", "mm²"},
                  {"stirrupArea", "mm²/mm"}, {"distributedLoad", "kN/m"}};
    j["signs"] = {
        {"endMoments", "M1 at end 1 (left end of a beam, top of a column), M2 at end 2; clockwise on the member positive"},
        {"bendingMoment", "M(x) positive where the fibre right of the direction from end 1 to end 2 is in tension "
                          "(bottom of a beam: sagging; left side of a column); M(0) = M1, M(length) = -M2"},
        {"shear", "V(x) = dM/dx; V1 just right of end 1, V2 just left of end 2"},
        {"axialForce", "compression positive"},
        {"loads", "span loads, joint forces downward positive; storey shears and drifts as in the data file"},
        {"displacements", "rotation and drift with b·h³/length standing for EI/L; rotationRad (counter-clockwise "
                          "positive), driftMm and driftRatio (drift / storey height) with Ec of the concrete grade, "
                          "drifts signed as the storey shears"},
        {"jointMoments", "as in the data file; joint residual = sum of member end moments at the joint + joint moment"},
        {"storeys", "storey and level counted from the ground: storey 1 is the ground storey, level 1 the floor on its "
                    "top; the storeys, sway and equilibrium.storeys arrays run from the ground storey up"},
    };
    j["frame"] = {{"name", m.name}, {"file", m.fileName}, {"spans", t.L}, {"storeys", t.NF},
                  {"continuousBeam", m.continuousBeam}};
    j["materials"] = {{"Fy", r.materials.Fy}, {"C", r.materials.C}};
    if (!r.displacements.empty()) j["materials"]["Ec"] = r.displacements.Ec;
    const DesignRules& rules = r.rules ? *r.rules : defaultRules();
    j["rules"] = rules.name;
    const DesignOptions& o = r.options;
    j["assumptions"] = rules.assumptions(o);
    auto chosen = [](const std::optional<ChosenBars>& b) {
        return b ? json{{"count", b->count}, {"diameter", b->diameter}} : json(nullptr);
    };
    j["options"] = {{"beta", o.beta}, {"cover", o.cover}, {"topBars", chosen(o.topBars)},
                    {"bottomBars", chosen(o.bottomBars)},
                    {"stirrupLegs", o.stirrupLegs ? json(*o.stirrupLegs) : json(nullptr)},
                    {"stirrupDiameter", o.stirrupDiameter ? json(*o.stirrupDiameter) : json(nullptr)},
                    {"fyv", o.fyv},
                    {"floors", o.floors == FloorKind::Precast ? "precast" : "castInPlace"},
                    {"environment", o.environment == EnvironmentClass::TwoB ? "2b"
                                    : o.environment == EnvironmentClass::TwoA ? "2a" : "1"}};

    // Real displacements where the modulus is known, null where it is not.
    const Displacements& d = r.displacements;
    auto real = [&](const std::vector<double>& v, int i) { return d.empty() ? json(nullptr) : json(at(v, i)); };
    json joints = json::array();
    for (int n = 1; n <= t.NC; ++n)
        joints.push_back({{"node", n}, {"x", m.nodeX(n)}, {"y", m.nodeY(n)}, {"level", t.fromGround(t.nodeLevel(n))},
                          {"moment", at(f.jointMoment, n)}, {"force", at(f.jointForce, n)},
                          {"rotation", at(f.displacement, t.rotation(n))}, {"rotationRad", real(d.rotation, n)}});
    j["joints"] = joints;
    json storeys = json::array();
    for (int J = t.NF; J >= 1; --J)
        storeys.push_back({{"storey", t.fromGround(J)}, {"height", m.y[static_cast<std::size_t>(J)] - m.y[static_cast<std::size_t>(J + 1)]},
                           {"shear", at(f.storeyShear, J)}, {"drift", at(f.displacement, t.drift(J))},
                           {"driftMm", real(d.drift, J)}, {"driftRatio", real(d.driftRatio, J)}});
    j["storeys"] = storeys;
    if (r.sway.size() > 1) j["sway"] = swayJson(r.sway);
    if (!r.serviceabilityNote.empty()) j["serviceabilityNote"] = r.serviceabilityNote;

    const bool designed = !r.beams.empty();
    json members = json::array();
    for (int i = 1; i <= t.memberCount(); ++i) {
        const Member& mem = m.member(i);
        const MemberForces& a = f.along[static_cast<std::size_t>(i)];
        json e{{"member", i}, {"length", mem.len}, {"b", mem.b}, {"h", mem.h}, {"M1", at(f.M1, i)}, {"M2", at(f.M2, i)}};
        if (t.isBeam(i)) {
            e["kind"] = "beam";
            e["number"] = i;
            e["storey"] = t.fromGround(t.beamStorey(i));
            e["span"] = t.beamSpan(i);
            e["nodes"] = {t.leftNode(i), t.rightNode(i)};
            e["V1"] = at(f.V1, i);
            e["V2"] = at(f.V2, i);
            e["Mo"] = at(f.Mo, i);
            e["x"] = at(f.X, i);
            json loads = json::array();
            for (const MemberForces::Load& l : a.loads)
                loads.push_back({{"from", l.x0}, {"to", l.x1}, {"w", l.w}, {"kind", l.x1 > l.x0 ? "distributed" : "force"}});
            e["loads"] = loads;
            // A load case analysed alone has no design: only its combinations are designed.
            if (designed) e["design"] = beamDesignJson(r.beams[static_cast<std::size_t>(i)]);
        } else {
            const int c = i - t.NB;
            e["kind"] = "column";
            e["number"] = c;
            e["storey"] = t.fromGround(t.columnStorey(c));
            e["line"] = t.columnLine(c);
            e["nodes"] = {t.topNode(c), t.bottomNode(c)};
            e["V"] = a.V1;
            e["Ntop"] = a.N1;
            e["Nfoot"] = a.N2;
            if (!designed) {
                // As for a beam.
            } else if (!r.columns.empty()) {
                e["design"] = columnDesignJson(r.columns[static_cast<std::size_t>(c)]);
            } else {
                e["design"] = {{"skipped", "连续梁的支座, 不配筋"}};
            }
        }
        e["stations"] = stationsJson(a);
        members.push_back(e);
    }
    j["members"] = members;

    const EquilibriumResiduals& res = r.residuals;
    // Entries 1..n; none when no residuals were computed.
    auto fromOne = [](const std::vector<double>& v) {
        return v.empty() ? std::vector<double>() : std::vector<double>(v.begin() + 1, v.end());
    };
    std::vector<double> storeyResiduals = fromOne(res.storey);
    std::reverse(storeyResiduals.begin(), storeyResiduals.end()); // from the ground storey up
    j["equilibrium"] = {{"joints", fromOne(res.joint)},
                        {"storeys", storeyResiduals},
                        {"vertical", res.vertical},
                        {"largestEndForce", res.largestEndForce},
                        {"largestResidual", res.largest()}};
    return j;
}

} // namespace kj
