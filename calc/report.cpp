#include "calc/report.h"

#include "analysis/plausible_sizes.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"

#include <algorithm>
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

// The members of the table analysed and not designed, each on a line after
// the table. The default method's tables stay as the older program wrote
// them, without these lines (the run lists them as warnings); a rule set
// that names itself in the material line names them there too.
void writeAnalysedOnly(ReportWriter& w, const DesignRules& rules, const FrameModel& model, int from, int to)
{
    if (*rules.headingTag == '\0') return;
    for (int i = from; i <= to; ++i)
        if (const std::string line = analysedOnlyLine(model, i); !line.empty()) w.text("注: " + line).endLine();
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

int memberNumberWidening(const FrameTopology& t)
{
    return std::max(0, static_cast<int>(std::to_string(std::max(t.NB, t.NC)).size()) - 3);
}

void writeDesignTables(ReportWriter& w, const CalculationResult& r, const RowNotes* notes)
{
    const FrameTopology& t = r.topo();
    // Every column after the member number moves right by the digits the
    // largest number has beyond three.
    const int d = memberNumberWidening(t);
    const std::string blanks(static_cast<std::size_t>(d), ' ');
    const DesignRules& rules = r.rules ? *r.rules : defaultRules();
    w.endLine();
    w.column(21).text("******* ").text(rules.headingTag).text("Fy=").number(r.materials.Fy).text(" C")
        .number(r.materials.C).text("*******").endLine();
    if (rules.assumptions)
        for (const std::string& line : rules.assumptions(r.options)) w.text(line).endLine();
    w.text("梁号").text(blanks).text("   M1  ").text("   V1  ").text("  As  ").text("  Asv").text("     M2  ")
        .text("   V2  ").text("   As  ").text("  Asv").text("     Mo  ").text("  剪折点").text("   As")
        .text("    As'").endLine();
    for (int i = 1; i <= t.NB; ++i) {
        const BeamDesign& b = r.beams[static_cast<std::size_t>(i)];
        if (!b.designed) continue;
        w.fixedColumns(true).column(1).number(i)
            .column(d + 6).number(whole(b.left.M))
            .column(d + 12).number(whole(b.left.V))
            .column(d + 19).number(whole(b.left.As))
            .column(d + 25).text(b.left.stirrupString)
            .column(d + 33).number(whole(b.right.M))
            .column(d + 40).number(whole(b.right.V))
            .column(d + 47).number(whole(b.right.As))
            .column(d + 53).text(b.right.stirrupString)
            .column(d + 61).number(whole(b.span.M))
            .column(d + 69).number(roundHalfEven2(b.span.x))
            .column(d + 76).number(whole(b.span.As))
            .column(d + 82).number(whole(b.span.AsComp))
            .endLine();
        w.text("    预配钢筋").column(d + 12).text(b.left.barString).column(d + 39).text(b.right.barString).column(d + 69)
            .text(b.span.barString).endLine().fixedColumns(false);
        writeLines(w, b.notes);
        writeNote(w, notes ? &notes->beams : nullptr, i);
    }
    writeAnalysedOnly(w, rules, r.model, 1, t.NB);
    if (r.model.continuousBeam) return;

    w.text("柱号").text(blanks).text("    M1   ").text("    N1   ").text("    As    ").text("   As'  ").text("    M2   ")
        .text("    N2   ").text("    As   ").text("     As'");
    // Rule sets that design the ties give them at the end of the row.
    bool ties = false;
    for (int c = 1; c <= t.NC; ++c) ties = ties || !r.columns[static_cast<std::size_t>(c)].tieString.empty();
    if (ties) w.text("   箍筋");
    w.endLine();
    for (int c = 1; c <= t.NC; ++c) {
        const ColumnDesign& col = r.columns[static_cast<std::size_t>(c)];
        if (!col.designed) continue;
        w.fixedColumns(true).column(1).number(c)
            .column(d + 7).number(whole(col.top.M))
            .column(d + 16).number(whole(col.top.N))
            .column(d + 25).number(whole(col.top.As))
            .column(d + 34).number(whole(col.top.As))
            .column(d + 43).number(whole(col.bottom.M))
            .column(d + 53).number(whole(col.bottom.N))
            .column(d + 62).number(whole(col.bottom.As))
            .column(d + 72).number(whole(col.bottom.As));
        if (!col.tieString.empty()) w.column(d + 82).text(col.tieString);
        w.endLine().fixedColumns(false);
        writeLines(w, col.notes);
        writeNote(w, notes ? &notes->columns : nullptr, c);
    }
    writeAnalysedOnly(w, rules, r.model, t.NB + 1, t.memberCount());
    // The storeys' sway magnifiers the columns and beams were designed with.
    // With each storey's frame stability check (JGJ 3-2010 5.4.4).
    if (r.sway.size() > 1) {
        w.text("层间侧移二阶效应 ηs = 1 / (1 - ΣN / (D H0)) (5.3.4, 附录 B.0.4, 刚度按 B.0.5 折减);").endLine();
        w.text("整体稳定 Di ≥ 10ΣGj/hi (JGJ 3-2010 5.4.4, Di 为弹性侧向刚度, ΣGj 取 ΣN); " + std::string(kStoreysFromGround) + ":")
            .endLine();
        const FrameTopology& t = r.topo();
        bool unit = false;
        for (int J = t.NF; J >= 1; --J) {
            const SwayStorey& s = r.sway[static_cast<std::size_t>(J)];
            char line[200];
            std::snprintf(line, sizeof line, "  第 %d 层  ΣN = %.0f kN  D = %.0f kN/m  H0 = %s m  ηs = %.3f  Di = %.0f ≥ %.0f kN/m",
                          t.fromGround(J), s.sumN, s.D, shortestDecimal(s.H0).c_str(), s.etaS, s.elasticD, s.stabilityLimit);
            w.text(line);
            if (!s.stabilityGoverning.empty()) w.text(" (" + s.stabilityGoverning + ")");
            if (!s.governing.empty()) w.text("  (" + s.governing + ")");
            w.endLine();
            unit = unit || s.unitShears;
        }
        if (unit) w.text("  无水平力: D 和 Di 由各层单位水平剪力求得").endLine();
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
