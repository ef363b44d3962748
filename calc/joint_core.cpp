#include "calc/joint_core.h"

#include "calc/capacity_design.h"
#include "calc/envelope.h"
#include "common/numbers.h"
#include "design/gb50010_2010.h"
#include "design/gb50010_2010_rules.h"
#include "design/gb50011_2010.h"
#include "design/design_rules.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kj {

namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }

double tieAsvs(const Stirrups& s)
{
    if (!(s.spacing > 0) || !(s.diameter > 0)) return 0;
    return std::max(2, s.legs) * std::numbers::pi / 4 * s.diameter * s.diameter / s.spacing;
}

std::string axisText(int line)
{
    static const std::array<const char*, 20> circled{"①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨", "⑩",
                                                     "⑪", "⑫", "⑬", "⑭", "⑮", "⑯", "⑰", "⑱", "⑲", "⑳"};
    if (line >= 1 && line <= 20) return circled[z(line - 1)];
    return std::to_string(line);
}

// The beam section at the joint: the right support of the beam on the left,
// the left support of the beam on the right.
struct JointBeam {
    double b = 0, h = 0, h0 = 0, asComp = 0;
};

bool jointBeam(const CalculationResult& e, int beam, bool rightEnd, JointBeam& out)
{
    if (beam == 0) return false;
    const BeamDesign& d = e.beams[z(beam)];
    const BeamSectionDesign& s = rightEnd ? d.right : d.left;
    if (!d.designed || !(s.h0 > 0)) return false;
    out.b = d.b;
    out.h = d.h;
    out.h0 = s.h0;
    // The bottom bars in compression at a hogging support lie as deep as the
    // top ones unless the design placed compression steel of its own.
    out.asComp = s.asComp > 0 ? s.asComp : d.h - s.h0;
    return true;
}

void checkJoint(const EnvelopeResult& r, int node, int grade, const gb2010::Rules& rules, JointCoreCheck& j)
{
    const CalculationResult& e = r.envelope;
    const FrameTopology& t = e.topo();
    const FrameModel& model = e.model;
    const int bl = t.beamLeftOf(node), br = t.beamRightOf(node);
    const int above = t.nodeLevel(node) > 1 ? node - (t.L + 1) : 0;
    JointBeam left, right;
    const bool hasLeft = jointBeam(e, bl, true, left), hasRight = jointBeam(e, br, false, right);
    const ColumnDesign& col = e.columns[z(node)];
    if (!col.designed || (!hasLeft && !hasRight)) {
        j.refused = col.designed ? "节点两侧的梁未能设计, 节点核心区未验算" : "节点下柱未能设计, 节点核心区未验算";
        return;
    }
    // 11.6.2: hb0 and hb the mean of the two beams where they differ.
    const int beams = (hasLeft ? 1 : 0) + (hasRight ? 1 : 0);
    j.hb = ((hasLeft ? left.h : 0) + (hasRight ? right.h : 0)) / beams;
    j.hb0 = ((hasLeft ? left.h0 : 0) + (hasRight ? right.h0 : 0)) / beams;
    j.asComp = ((hasLeft ? left.asComp : 0) + (hasRight ? right.asComp : 0)) / beams;
    // Hc between the points of contraflexure: the mean of the storeys above
    // and below (the one below at the top level).
    const double below = model.member(t.columnMember(node)).len;
    j.Hc = above ? (below + model.member(t.columnMember(above)).len) / 2 : below;
    // 11.6.1: bj and hj from the column below and the wider beam.
    j.bc = col.b;
    j.hj = col.h;
    j.bj = gb50011::jointEffectiveWidth(std::max(left.b, right.b), col.b, col.h);
    j.etaJb = gb50011::jointShearFactor(grade);

    constexpr double etaJ = 1.0;
    const double gammaRE = gb50011::seismicAdjustmentFactor(gb50011::SeismicCheck::Shear);
    const gb2010::Concrete& c = rules.concrete;
    const double fyv = rules.fyv;
    const double arm = j.hb0 - j.asComp;
    j.limit = gb50011::jointShearLimit(etaJ, c.betaC, c.fc, j.bj, j.hj, gammaRE) / 1000;
    j.asvsColumn = col.tieTooSmall ? 0.0 : tieAsvs(col.ties);

    // 11.6.2: ΣMb from the combination's beam end moments as the capacity
    // design took them (ηs in them), before γRE, which 11.6.3 and 11.6.4 apply
    // once on the resistance side; the grade-1 note of 6.2.2 as there.
    auto sumMb = [&](const CombinationResult& cr) {
        const std::vector<BeamCapacity>& b = cr.capacity.beams;
        const double Ml = bl && z(bl) < b.size() ? b[z(bl)].M2 : 0.0;
        const double Mr = br && z(br) < b.size() ? b[z(br)].M1 : 0.0;
        return std::fabs(jointBeamMoment(Ml, Mr, grade));
    };
    // 11.6.4: N of the column above at the joint, as combined (the design
    // forces carry γRE).
    auto aboveN = [&](const CombinationResult& cr) {
        return above && z(above) < cr.forces.N.size() ? cr.forces.N[z(above)] : 0.0;
    };
    // Every seismic combination: the one short of the most governs, and the
    // largest Vj is held against the section limit.
    double worst = -1e300, largest = -1;
    int largestAt = -1;
    for (std::size_t k = 0; k < r.combinations.size(); ++k) {
        const CombinationResult& cr = r.combinations[k];
        if (!cr.combination.uses(LoadCaseKind::E)) continue;
        const double Mb = sumMb(cr);
        const double Vj = gb50011::jointShear(j.etaJb, Mb * 1e6, j.hb0, j.asComp, 1000 * j.Hc, j.hb, !above) / 1000;
        const double N = aboveN(cr);
        const double concrete =
            gb50011::jointShearCapacity(etaJ, c.ft, c.fc, j.bj, j.hj, j.bc, j.hj, 1000 * N, fyv, 0, j.hb0, j.asComp, gammaRE) / 1000;
        // Asvj/s for Vj (11.6.4-2), mm2/mm.
        const double need = arm > 0 ? std::max(0.0, (gammaRE * Vj - gammaRE * concrete) * 1000 / (fyv * arm)) : 0.0;
        j.asvsRequired = std::max(j.asvsRequired, need);
        if (Vj - concrete > worst) {
            worst = Vj - concrete;
            j.combination = static_cast<int>(k);
            j.sumMb = Mb;
            j.Vj = Vj;
            j.N = N;
        }
        if (Vj > largest) {
            largest = Vj;
            largestAt = static_cast<int>(k);
        }
    }
    if (j.combination < 0) {
        j.checked = false;
        return;
    }
    if (largest > j.limit) {
        j.sectionOk = false;
        j.combination = largestAt;
        const CombinationResult& cr = r.combinations[z(largestAt)];
        j.sumMb = sumMb(cr);
        j.Vj = largest;
        j.N = aboveN(cr);
    }

    // 11.6.8: λv and ρv of the core, the ties in both directions of a
    // rectangular hoop as the column's densified zone takes them.
    const double cover = e.options.cover;
    const double bcore = col.b - 2 * cover, hcore = col.h - 2 * cover;
    j.rhoVMin = gb50011::jointMinimumVolumetricRatio(grade, c.fc, fyv);
    if (bcore > 0 && hcore > 0) j.asvsRequired = std::max(j.asvsRequired, j.rhoVMin * bcore * hcore / (bcore + hcore));

    j.ties = col.ties;
    j.ties.legs = std::max(2, j.ties.legs);
    if (j.asvsRequired > j.asvsColumn * (1 + 1e-9) || col.tieTooSmall) {
        // Thicker or closer ties with the column's legs, within its spacing
        // and the densified zone's, chosen as the column ties are.
        const gb50011::DenseZone zone = gb50011::columnDenseZone(grade, std::max(col.b, col.h), 1000 * below, 20, false);
        double cap = std::floor(zone.maxSpacing / 10) * 10;
        if (!col.tieTooSmall && col.ties.spacing > 0) cap = std::min<double>(cap, col.ties.spacing);
        const double dStart = std::max<double>(col.tieTooSmall ? 0 : col.ties.diameter, zone.minDiameter);
        const Stirrups st = gb2010::chooseStirrupSpacing(std::ceil(j.asvsRequired * 100) / 100, j.ties.legs, dStart,
                                                         cap, cap >= 100 ? gb2010::kStirrupSpacingStep : 10.0);
        if (st.spacing == 0) j.tiesFailed = true;
        else {
            j.ties = st;
            j.tiesRaised = true;
        }
    }
    ColumnDesign text;
    gb2010::setColumnTies(text, j.ties);
    j.tieString = text.tieString;
    j.capacity = gb50011::jointShearCapacity(etaJ, c.ft, c.fc, j.bj, j.hj, j.bc, j.hj, 1000 * j.N, fyv,
                                             j.tiesFailed ? j.asvsColumn : tieAsvs(j.ties), j.hb0, j.asComp, gammaRE) /
                 1000;
}

} // namespace

std::vector<JointCoreCheck> jointCoreChecks(const EnvelopeResult& r, bool intensityNine)
{
    const int grade = r.envelopeOptions.seismicGrade;
    const CalculationResult& e = r.envelope;
    const bool seismic = std::any_of(r.combinations.begin(), r.combinations.end(), [](const CombinationResult& c) {
        return c.combination.uses(LoadCaseKind::E);
    });
    if (!seismic || !gb50011::jointCoreChecked(grade) || e.rules != &gb50010_2010Rules() || e.model.continuousBeam ||
        e.columns.empty())
        return {};
    const FrameTopology& t = e.topo();
    const gb2010::Rules rules = gb2010::makeRules(e.materials.Fy, e.materials.C, e.options.fyv);
    std::vector<JointCoreCheck> out(z(t.NC) + 1);
    for (int node = 1; node <= t.NC; ++node) {
        JointCoreCheck& j = out[z(node)];
        j.checked = true;
        j.level = t.NF - t.nodeLevel(node) + 1;
        j.line = t.nodeLine(node) + 1;
        j.topLevel = t.nodeLevel(node) == 1;
        if (grade == 1 && intensityNine) {
            j.refused = "9 度一级框架的节点核心区剪力应按梁端实配抗震受弯承载力 1.15ΣMbua 计算 (11.6.2-1), "
                        "本程序不做此项, 应另行验算";
            continue;
        }
        checkJoint(r, node, grade, rules, j);
    }
    return out;
}

namespace {

std::string jointName(const JointCoreCheck& j)
{
    return "第 " + std::to_string(j.level) + " 层, 轴" + axisText(j.line);
}

// The joint nearest to failing: the largest Vj over its capacity (over its
// section limit where that fails); none when no joint was checked.
const JointCoreCheck* governingJoint(const EnvelopeResult& r)
{
    const JointCoreCheck* g = nullptr;
    double most = -1;
    for (std::size_t c = 1; c < r.joints.size(); ++c) {
        const JointCoreCheck& j = r.joints[c];
        if (!j.checked || !j.refused.empty() || j.combination < 0) continue;
        const double resistance = j.sectionOk ? j.capacity : j.limit;
        const double use = resistance > 0 ? j.Vj / resistance : 1e300;
        if (use > most) {
            most = use;
            g = &j;
        }
    }
    return g;
}

// 11.6.2 and 11.6.4 (or 11.6.3 where the section fails) with the numbers of
// one joint put in, for the book.
std::string substitutedJoint(const EnvelopeResult& r, const JointCoreCheck& j)
{
    const CalculationResult& e = r.envelope;
    const gb2010::Rules rules = gb2010::makeRules(e.materials.Fy, e.materials.C, e.options.fyv);
    const gb2010::Concrete& c = rules.concrete;
    const double gammaRE = gb50011::seismicAdjustmentFactor(gb50011::SeismicCheck::Shear);
    const std::string arm = "(" + fixedText(j.hb0, 1) + " - " + fixedText(j.asComp, 1) + ")";
    std::string t = "控制节点 (" + jointName(j) + ", " + r.name(j.combination) + "): Vj = " + shortestDecimal(j.etaJb) +
                    " × " + fixedText(j.sumMb, 1) + "×10⁶ / " + arm;
    if (!j.topLevel)
        t += " × (1 - " + arm + " / (" + fixedText(1000 * j.Hc, 0) + " - " + fixedText(j.hb, 0) + "))";
    t += " = " + fixedText(j.Vj, 1) + " kN";
    const std::string tail = ") / " + shortestDecimal(gammaRE) + " = ";
    if (!j.sectionOk)
        return t + "; 截面限值 = 0.3 × 1.0 × " + shortestDecimal(c.betaC) + " × " + shortestDecimal(c.fc) + " × " +
               fixedText(j.bj, 0) + " × " + fixedText(j.hj, 0) + " / " + shortestDecimal(gammaRE) + " = " +
               fixedText(j.limit, 1) + " kN < Vj。";
    // N of the column above within 0 and 0.5 fc bc hc (11.6.4).
    const double N = std::clamp(j.N, 0.0, 0.5 * c.fc * j.bc * j.hj / 1000);
    const double asvs = j.tiesFailed ? j.asvsColumn : tieAsvs(j.ties);
    return t + "; 受剪承载力 = (1.1 × 1.0 × " + shortestDecimal(c.ft) + " × " + fixedText(j.bj, 0) + " × " +
           fixedText(j.hj, 0) + " + 0.05 × 1.0 × " + fixedText(N, 1) + "×10³ × " + fixedText(j.bj, 0) + " / " +
           fixedText(j.bc, 0) + " + " + shortestDecimal(rules.fyv) + " × " + fixedText(asvs, 3) + " × " + arm + tail +
           fixedText(j.capacity, 1) + " kN (Asvj/s = " + fixedText(asvs, 3) + " mm2/mm, " +
           (j.tiesFailed ? std::string("柱加密区箍筋") : j.tieString) + ")。";
}

} // namespace

std::string jointCoreLine(const EnvelopeResult& r, int column)
{
    if (z(column) >= r.joints.size()) return "";
    const JointCoreCheck& j = r.joints[z(column)];
    if (!j.checked) return "";
    std::string t = "    节点 (" + jointName(j) + ") ";
    if (!j.refused.empty()) return t + "未验算: " + j.refused;
    const std::string why = " (" + r.name(j.combination) + ", ηjb=" + shortestDecimal(j.etaJb) + ")";
    if (!j.sectionOk)
        return t + "Vj=" + fixedText(j.Vj, 1) + "kN > " + fixedText(j.limit, 1) +
               "kN 不满足: 节点核心区截面不满足 11.6.3, 应加大柱截面或提高混凝土强度等级" + why;
    const bool enough = j.capacity >= j.Vj * (1 - 1e-9);
    t += "Vj=" + fixedText(j.Vj, 1) + "kN " + (enough ? "≤ " : "> ") + fixedText(j.capacity, 1) + "kN " +
         (enough && !j.tiesFailed ? "满足" : "不满足") + why + ", 截面限值 " + fixedText(j.limit, 1) + "kN";
    if (j.tiesFailed)
        return t + "; 节点核心区箍筋需 Asvj/s=" + fixedText(j.asvsRequired, 2) + " mm2/mm (11.6.4, 11.6.8 ρv>=" +
               fixedText(100 * j.rhoVMin, 2) + "%), 无法选配, 应加大柱截面";
    t += "; 节点核心区箍筋 " + j.tieString;
    if (j.tiesRaised) t += " (按 11.6.4 及 11.6.8 ρv>=" + fixedText(100 * j.rhoVMin, 2) + "% 由柱加密区箍筋加强)";
    else t += " (同柱加密区)";
    return t;
}

JointCoreTable jointCoreTable(const EnvelopeResult& r)
{
    JointCoreTable t;
    t.headers = {"柱号", "节点", "组合", "ΣMb (kN·m)", "N (kN)", "Vj (kN)", "截面限值 (kN)", "受剪承载力 (kN)", "核心区箍筋", "结论"};
    for (std::size_t c = 1; c < r.joints.size(); ++c) {
        const JointCoreCheck& j = r.joints[c];
        if (!j.checked) continue;
        const std::string verdict = j.ok() ? "满足" : !j.refused.empty() ? "未验算" : "不满足";
        if (!j.refused.empty()) {
            t.rows.push_back({std::to_string(c), jointName(j), "", "", "", "", "", "", "", verdict});
            t.failures.push_back("节点 (" + jointName(j) + ") 未验算: " + j.refused);
            continue;
        }
        t.rows.push_back({std::to_string(c), jointName(j), r.name(j.combination), fixedText(j.sumMb, 1), fixedText(j.N, 0),
                          fixedText(j.Vj, 1),
                          fixedText(j.limit, 1), j.sectionOk ? fixedText(j.capacity, 1) : std::string("—"),
                          j.tiesFailed || !j.sectionOk ? std::string("—") : j.tieString, verdict});
        if (!j.sectionOk)
            t.failures.push_back("节点 (" + jointName(j) + ") 核心区截面不满足 11.6.3, 应加大柱截面或提高混凝土强度等级");
        else if (!j.ok())
            t.failures.push_back("节点 (" + jointName(j) + ") 核心区箍筋无法选配");
    }
    if (t.rows.empty()) return t;
    const int grade = r.envelopeOptions.seismicGrade;
    const JointCoreCheck* governing = governingJoint(r);
    t.notes = {"GB 50010-2010 11.6: Vj = ηjb ΣMb / (hb0 - as') · (1 - (hb0 - as') / (Hc - hb)), 顶层不乘括号项; ηjb = " +
                   shortestDecimal(gb50011::jointShearFactor(grade)) + "; 截面限值 0.3 ηj βc fc bj hj / γRE (11.6.3); 承载力 "
                   "(1.1 ηj ft bj hj + 0.05 ηj N bj/bc + fyv Asvj (hb0 - as')/s) / γRE (11.6.4), γRE = 0.85。",
               "平面框架无法计入正交梁, ηj 取 1.0; N 为上柱轴压力 (不大于 0.5 fc bc hc, 受拉取 0); 核心区箍筋不少于柱端加密区箍筋, "
               "并满足 11.6.8 配箍特征值 λv = " + fixedText(gb50011::jointTieCharacteristicValue(grade), 2) + "。"};
    if (governing) t.notes.push_back(substitutedJoint(r, *governing));
    return t;
}

} // namespace kj
