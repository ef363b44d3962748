#include "calc/serviceability_report.h"

#include "calc/report.h"
#include "common/numbers.h"
#include "design/gb50010_2010.h"

#include <algorithm>
#include <cmath>

namespace kj {

namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }

bool anyCheck(const BeamServiceability& s)
{
    return s.left.checked || s.span.checked || s.right.checked || s.deflectionChecked;
}


double round3(double x) { return roundHalfEven(1000 * x) / 1000; }

// The limit's divisor of Table 3.4.3.
int deflectionDivisor(double l0) { return l0 < 7 ? 200 : l0 <= 9 ? 250 : 300; }

// How far a beam is from its limits: the largest of wmax / wlim and f / flim.
double usage(const BeamServiceability& s)
{
    double u = 0;
    for (const SectionCrackCheck* c : {&s.left, &s.span, &s.right})
        if (c->checked && s.wlim > 0) u = std::max(u, c->wmax / s.wlim);
    if (s.deflectionChecked && s.deflectionLimit > 0) u = std::max(u, s.deflection / s.deflectionLimit);
    return u;
}

} // namespace

const char* serviceabilityVerdict(bool passes) { return passes ? "满足" : "不满足"; }

std::string serviceabilityTitle(const CalculationResult& r, const std::string& quasiPermanent)
{
    const std::string combination = quasiPermanent.empty() ? "全部荷载按永久荷载" : quasiPermanent + " (Mk: 标准组合 G+Q, 仅供参考)";
    return "正常使用极限状态验算 (GB50010-2010): 准永久组合 " + combination + ", 环境类别" +
           gb2010::environmentName(r.options.environment) + ", 裂缝 7.1.2, 挠度 7.2 (跨内准永久弯矩按 7.2.1 的刚度二次积分, 自两端连线量起)";
}

std::vector<CrackRow> crackRows(const BeamServiceability& s)
{
    std::vector<CrackRow> rows;
    for (auto [name, c] : {std::pair{"左支座", &s.left}, std::pair{"跨中", &s.span}, std::pair{"右支座", &s.right}})
        rows.push_back({name, c->checked, c->noCheck, roundHalfEven2(c->Mk), roundHalfEven2(c->Mq), round3(c->wmax),
                        roundHalfEven2(s.wlim), s.crackPasses(*c), c->bottomBars});
    return rows;
}

std::string deflectionText(const BeamServiceability& s)
{
    return "f = " + shortestDecimal(roundHalfEven2(s.deflection)) + " mm (x = " +
           shortestDecimal(roundHalfEven2(s.xDeflection)) + " m), 限值 l0/" + std::to_string(deflectionDivisor(s.l0)) +
           " = " + shortestDecimal(roundHalfEven2(s.deflectionLimit)) + " mm, B = " + shortestDecimal(roundHalfEven(s.B)) +
           " kN.m2";
}

std::string stiffnessText(const BeamServiceability& s)
{
    using Taken = BeamServiceability::Stiffness;
    std::string supports;
    for (auto [name, B] : {std::pair{"左支座 ", s.Bleft}, std::pair{"右支座 ", s.Bright}})
        if (B > 0) supports += (supports.empty() ? "" : ", ") + std::string(name) + shortestDecimal(roundHalfEven(B));
    switch (s.stiffness) {
    case Taken::Sagging: return "刚度: 取跨中截面刚度 B (7.2.1, 支座处无负弯矩区段)";
    case Taken::Uniform:
        return "刚度: 等刚度, 取跨中截面刚度 B (7.2.1: 支座截面刚度 " + supports + " kN.m2 在 B 的 1/2 至 2 倍之间)";
    case Taken::Variable:
        return "刚度: 变刚度, 正弯矩区段取跨中截面刚度 B, 负弯矩区段取支座截面刚度 " + supports +
               " kN.m2 (7.2.1: 超出 B 的 1/2 至 2 倍)";
    case Taken::HoggingLeft: return "刚度: 全跨负弯矩, 取左支座截面刚度 B (7.2.1)";
    case Taken::HoggingRight: return "刚度: 全跨负弯矩, 取右支座截面刚度 B (7.2.1)";
    }
    return "";
}

int worstServiceabilityBeam(const CalculationResult& r)
{
    int worst = 0;
    double most = -1;
    for (int i = 1; i < static_cast<int>(r.beams.size()); ++i)
        if (r.beams[z(i)].serviceability && anyCheck(*r.beams[z(i)].serviceability) &&
            usage(*r.beams[z(i)].serviceability) > most) {
            most = usage(*r.beams[z(i)].serviceability);
            worst = i;
        }
    return worst;
}

std::vector<std::string> worstBeamFormulas(const CalculationResult& r)
{
    const int worst = worstServiceabilityBeam(r);
    if (worst == 0) return {};
    const BeamDesign& d = r.beams[z(worst)];
    const BeamServiceability& s = *d.serviceability;
    const SectionCrackCheck* c = nullptr;
    for (const SectionCrackCheck* k : {&s.left, &s.span, &s.right})
        if (k->checked && (!c || k->wmax > c->wmax)) c = k;
    std::vector<std::string> lines{"最不利梁 " + std::to_string(worst) + " (b=" + shortestDecimal(d.b) + ", h=" +
                                   shortestDecimal(d.h) + " mm):"};
    if (c) {
        lines.push_back("  σsq = Mq/(0.87 h0 As) = " + shortestDecimal(roundHalfEven2(c->Mq)) + "e6/(0.87×" +
                        shortestDecimal(roundHalfEven2(c->h0)) + "×" + shortestDecimal(roundHalfEven(c->As)) + ") = " +
                        shortestDecimal(roundHalfEven2(c->sigmaSq)) + " N/mm2");
        lines.push_back("  ρte = " + shortestDecimal(round3(c->rhoTe * 100)) + "%, ψ = 1.1 - 0.65 ftk/(ρte σsq) = " +
                        shortestDecimal(round3(c->psi)) + ", cs = " + shortestDecimal(roundHalfEven2(c->cs)) +
                        " mm, deq = " + shortestDecimal(roundHalfEven2(c->deq)) + " mm");
        lines.push_back("  wmax = 1.9 ψ σsq/Es (1.9 cs + 0.08 deq/ρte) = " + shortestDecimal(round3(c->wmax)) + " mm");
    }
    if (s.deflectionChecked)
        lines.push_back("  Bs = " + shortestDecimal(roundHalfEven(s.Bs)) + " kN.m2, θ = " + shortestDecimal(round3(s.theta)) +
                        ", B = Bs/θ = " + shortestDecimal(roundHalfEven(s.B)) + " kN.m2, f = " +
                        shortestDecimal(roundHalfEven2(s.deflection)) + " mm (x = " +
                        shortestDecimal(roundHalfEven2(s.xDeflection)) + " m)");
    if (s.deflectionChecked) lines.push_back("  " + stiffnessText(s));
    return lines;
}

std::string storeyDriftRatioText(const StoreyDrift& s)
{
    return s.ratio > 0 ? "1/" + std::to_string(static_cast<long long>(std::floor(1 / s.ratio))) : "0";
}

ServiceabilityCount countFailingBeams(const CalculationResult& r)
{
    ServiceabilityCount n;
    for (const BeamDesign& d : r.beams)
        if (d.serviceability && anyCheck(*d.serviceability)) {
            ++n.checked;
            if (!d.serviceability->passes()) ++n.failing;
        }
    return n;
}

void writeServiceabilityTables(ReportWriter& w, const CalculationResult& r, const std::string& quasiPermanent,
                               const std::vector<StoreyDrift>& drifts)
{
    const bool anyRecord = std::any_of(r.beams.begin(), r.beams.end(), [](const BeamDesign& d) { return d.serviceability.has_value(); });
    if (!anyRecord && drifts.empty()) return;
    w.endLine();
    w.text(serviceabilityTitle(r, quasiPermanent)).endLine();
    const int wide = memberNumberWidening(r.topo()); // the beam numbers' column, as the design table's
    w.text("梁号").column(wide + 6).text("截面").column(wide + 14).text("Mk(kN.m)").column(wide + 24).text("Mq(kN.m)").column(wide + 34)
        .text("wmax(mm)").column(wide + 44).text("wlim").column(wide + 52).text("结论")
        .endLine();
    for (int i = 1; i < static_cast<int>(r.beams.size()); ++i) {
        const BeamDesign& d = r.beams[z(i)];
        if (!d.serviceability) continue;
        const BeamServiceability& s = *d.serviceability;
        w.text(std::to_string(i));
        for (const CrackRow& c : crackRows(s)) {
            w.column(wide + 6).text(c.section).column(wide + 14).number(c.Mk).column(wide + 24).number(c.Mq);
            if (!c.checked) {
                w.column(wide + 34).text("不验算: " + c.noCheck).endLine();
                continue;
            }
            w.column(wide + 34).number(c.wmax).column(wide + 44).number(c.wlim).column(wide + 52)
                .text(serviceabilityVerdict(c.passes));
            if (c.bottomBars) w.text(kBottomBarsNote);
            w.endLine();
        }
        w.column(wide + 6).text("挠度");
        if (!s.deflectionChecked) {
            w.column(wide + 14).text("不验算: " + s.noDeflection).endLine();
            continue;
        }
        w.column(wide + 14).text(deflectionText(s)).column(wide + 80).text(serviceabilityVerdict(s.deflectionPasses())).endLine();
        w.column(wide + 14).text(stiffnessText(s)).endLine();
    }
    const ServiceabilityCount n = countFailingBeams(r);
    if (n.checked > 0) {
        w.text("不满足正常使用要求的梁: " + std::to_string(n.failing) + " / " + std::to_string(n.checked)).endLine();
        for (const std::string& line : worstBeamFormulas(r)) w.text(line).endLine();
    }
    if (!drifts.empty()) {
        w.text("风荷载标准值作用下的层间位移 (限值 Δ/h ≤ 1/550; " + std::string(kStoreysFromGround) + ")").endLine();
        w.text("层号").column(6).text("层高(m)").column(16).text("Δ(mm)").column(26).text("Δ/h").column(38).text("结论")
            .endLine();
        for (const StoreyDrift& s : drifts) {
            w.text(std::to_string(s.storey)).column(6).number(roundHalfEven2(s.height)).column(16)
                .number(roundHalfEven2(s.drift)).column(26).text(storeyDriftRatioText(s)).column(38)
                .text(serviceabilityVerdict(s.passes()))
                .endLine();
        }
    }
}

} // namespace kj
