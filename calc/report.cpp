#include "calc/report.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"

#include <cmath>
#include <cstdio>

namespace kj {

namespace {

std::string trimLeft(std::string s)
{
    s.erase(0, s.find_first_not_of(' '));
    return s;
}

// A header item in the report's number format; an empty item writes nothing.
void headerItem(ReportWriter& w, const std::string& item, double value)
{
    if (!item.empty()) w.number(value);
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

double at(const std::vector<double>& v, int i) { return v[static_cast<std::size_t>(i)]; }

// Design values are shown in whole kN, kN*m and mm2 (the default method's
// records already hold them so).
double whole(double x) { return roundHalfEven(x); }

std::string numbersLine(std::initializer_list<double> values, const std::string& member)
{
    std::string line;
    for (double x : values) {
        if (!std::isfinite(x)) throw Failure(member + "的内力不是有限数值, 无法写入内力图文件");
        if (!line.empty()) line += ",";
        line += shortestDecimal(x);
    }
    return line + CRLF;
}

} // namespace

void writeEcho(ReportWriter& w, const FrameData& d, const std::string& date, const std::string& time)
{
    w.endLine();
    w.text(std::string(14, ' ')).text("*******").text(" ").text(d.name).text(" 输入信息  *******");
    w.text("  [").text(trimLeft(date)).text("/").text(trimLeft(time)).text("]").endLine();
    if (!d.projectEcho.empty()) {
        for (std::size_t k = 0; k < d.projectEcho.size(); ++k) {
            if (k > 0) w.endLine();
            w.text(d.projectEcho[k]);
        }
        return;
    }
    w.text("L,NF,NJ,CL,NZ: ");
    headerItem(w, d.itemL, d.L);
    headerItem(w, d.itemNF, d.NF);
    headerItem(w, d.itemNJ, d.NJ);
    headerItem(w, d.itemCL, d.CL);
    headerItem(w, d.itemNZ, d.NZ);
    w.endLine();
    w.text("LL$,I$1: ").text(d.lengthTable).text(", ").text(d.lengthNumbers).endLine();
    w.text("BH$,I$2: ").text(d.sectionTable).text(", ").text(d.memberSections).endLine();
    w.text("Qq1$(I): ");
    for (const std::string& s : d.spanLoads) w.text(s).text(", ");
    if (d.NJ > 0) {
        w.endLine();
        w.text("Jj$(I): ");
        for (const std::string& s : d.jointLoads) w.text(s).text(", ");
    }
}

namespace {

void writeLines(ReportWriter& w, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) w.text(line).endLine();
}

void writeNote(ReportWriter& w, const std::vector<std::string>* lines, int i)
{
    if (!lines || static_cast<std::size_t>(i) >= lines->size()) return;
    // A note of several lines holds them separated by '\n'.
    const std::string& note = (*lines)[static_cast<std::size_t>(i)];
    std::size_t from = 0;
    while (from < note.size()) {
        const std::size_t end = std::min(note.find('\n', from), note.size());
        w.text(note.substr(from, end - from)).endLine();
        from = end + 1;
    }
}

} // namespace

void writeDesignTables(ReportWriter& w, const CalculationResult& r, const RowNotes* notes)
{
    const FrameTopology& t = r.topo();
    const DesignRules& rules = r.rules ? *r.rules : defaultRules();
    w.endLine();
    w.column(21).text("******* ").text(rules.headingTag).text("Fy=").number(r.materials.Fy).text(" C")
        .number(r.materials.C).text("*******").endLine();
    if (rules.assumptions)
        for (const std::string& line : rules.assumptions(r.options)) w.text(line).endLine();
    w.text("梁号").text("   M1  ").text("   V1  ").text("  As  ").text("  Asv").text("     M2  ")
        .text("   V2  ").text("   As  ").text("  Asv").text("     Mo  ").text("  剪折点").text("   As")
        .text("    As'").endLine();
    for (int i = 1; i <= t.NB; ++i) {
        const BeamDesign& b = r.beams[static_cast<std::size_t>(i)];
        if (!b.designed) continue;
        w.fixedColumns(true).column(1).number(i)
            .column(6).number(whole(b.left.M))
            .column(12).number(whole(b.left.V))
            .column(19).number(whole(b.left.As))
            .column(25).text(b.left.stirrupString)
            .column(33).number(whole(b.right.M))
            .column(40).number(whole(b.right.V))
            .column(47).number(whole(b.right.As))
            .column(53).text(b.right.stirrupString)
            .column(61).number(whole(b.span.M))
            .column(69).number(roundHalfEven2(b.span.x))
            .column(76).number(whole(b.span.As))
            .column(82).number(whole(b.span.AsComp))
            .endLine();
        w.text("    预配钢筋").column(12).text(b.left.barString).column(39).text(b.right.barString).column(69)
            .text(b.span.barString).endLine().fixedColumns(false);
        writeLines(w, b.notes);
        writeNote(w, notes ? &notes->beams : nullptr, i);
    }
    if (r.model.continuousBeam) return;

    w.text("柱号").text("    M1   ").text("    N1   ").text("    As    ").text("   As'  ").text("    M2   ")
        .text("    N2   ").text("    As   ").text("     As'");
    // Rule sets that design the ties give them at the end of the row.
    bool ties = false;
    for (int c = 1; c <= t.NC; ++c) ties = ties || !r.columns[static_cast<std::size_t>(c)].tieString.empty();
    if (ties) w.text("   箍筋");
    w.endLine();
    for (int c = 1; c <= t.NC; ++c) {
        const ColumnDesign& d = r.columns[static_cast<std::size_t>(c)];
        if (!d.designed) continue;
        w.fixedColumns(true).column(1).number(c)
            .column(7).number(whole(d.top.M))
            .column(16).number(whole(d.top.N))
            .column(25).number(whole(d.top.As))
            .column(34).number(whole(d.top.As))
            .column(43).number(whole(d.bottom.M))
            .column(53).number(whole(d.bottom.N))
            .column(62).number(whole(d.bottom.As))
            .column(72).number(whole(d.bottom.As));
        if (!d.tieString.empty()) w.column(82).text(d.tieString);
        w.endLine().fixedColumns(false);
        writeLines(w, d.notes);
        writeNote(w, notes ? &notes->columns : nullptr, c);
    }
    // The storeys' sway magnifiers the columns and beams were designed with.
    if (r.sway.size() > 1) {
        w.text("层间侧移二阶效应 ηs = 1 / (1 - ΣN / (D H0)) (5.3.4, 附录 B.0.4, 刚度按 B.0.5 折减; " +
               std::string(kStoreysFromGround) + "):")
            .endLine();
        const FrameTopology& t = r.topo();
        for (int J = t.NF; J >= 1; --J) {
            const SwayStorey& s = r.sway[static_cast<std::size_t>(J)];
            char line[160];
            std::snprintf(line, sizeof line, "  第 %d 层  ΣN = %.0f kN  D = %.0f kN/m  H0 = %s m  ηs = %.3f", t.fromGround(J),
                          s.sumN, s.D, shortestDecimal(s.H0).c_str(), s.etaS);
            w.text(line);
            if (!s.governing.empty()) w.text("  (" + s.governing + ")");
            w.endLine();
        }
    }
}

std::string beamBarsText(const CalculationResult& r)
{
    std::string out;
    for (int i = 1; i <= r.topo().NB; ++i) {
        const BeamDesign& b = r.beams[static_cast<std::size_t>(i)];
        if (!b.designed) continue;
        out += quoted(b.left.barString) + ", " + quoted(b.left.stirrupString) + ", " + quoted(b.right.barString) +
               ", " + quoted(b.right.stirrupString) + ", " + quoted(b.span.barString) + CRLF;
    }
    return out;
}

std::string forceDiagramText(const CalculationResult& r)
{
    const FrameTopology& t = r.topo();
    const InternalForces& f = r.forces;
    std::string out;
    for (int i = 1; i <= t.NB; ++i) {
        const BeamDesign& b = r.beams[static_cast<std::size_t>(i)];
        const std::string name = t.memberName(i);
        if (b.designed)
            out += numbersLine({whole(b.left.M), whole(b.right.M), whole(b.span.M), whole(b.left.V), whole(b.right.V)},
                               name);
        else
            out += numbersLine({at(f.M1, i), at(f.M2, i), at(f.Mo, i), at(f.V1, i), at(f.V2, i)}, name);
    }
    if (r.model.continuousBeam) return out;
    for (int c = 1; c <= t.NC; ++c) {
        const ColumnDesign& d = r.columns[static_cast<std::size_t>(c)];
        const int i = t.columnMember(c);
        if (d.designed) out += numbersLine({whole(d.top.M), whole(d.bottom.M)}, t.memberName(i));
        else out += numbersLine({at(f.M1, i), at(f.M2, i)}, t.memberName(i));
    }
    return out;
}

} // namespace kj
