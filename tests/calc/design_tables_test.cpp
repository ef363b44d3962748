#include "calc/calculation.h"
#include "calc/options.h"
#include "calc/report.h"

#include "common/failure.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kj {
namespace {

// A frame of L spans and NF storeys whose beams are b x h (m), columns
// 0.4 x 0.4 x 4 m, with an internal-force record of zeros.
struct Frame {
    CalculationResult r;
    FrameModel& model = r.model;
    InternalForces& forces = r.forces;

    Frame(int L, int NF, double b = 0.25, double h = 0.5)
    {
        model.topo = FrameTopology::of(L, NF);
        const int NB = model.topo.NB, NC = model.topo.NC;
        const int members = NB + NC;
        r.materials = Materials{300, 25};
        model.members.assign(members + 1, Member{});
        for (int i = 1; i <= NB; ++i) model.members[i] = Member{6, b, h};
        for (int i = NB + 1; i <= members; ++i) model.members[i] = Member{4, 0.4, 0.4};
        forces.M1.assign(members + 1, 0);
        forces.M2.assign(members + 1, 0);
        for (auto* v : {&forces.V1, &forces.V2, &forces.Mo, &forces.X}) v->assign(NB + 1, 0);
        forces.R.assign(NC + 1, 0);
        forces.N.assign(NC + 1, 0);
    }
    // Designs with the settings and writes the design tables after the report's text.
    void design(ReportWriter& report, const DesignSettings& settings = DesignSettings{})
    {
        r.options = parseDesignOptions(settings);
        designMembers(r, defaultRules());
        writeDesignTables(report, r);
    }
    void beam(int i, double M1, double M2, double Mo, double V1, double V2, double x)
    {
        forces.M1[i] = M1;
        forces.M2[i] = M2;
        forces.Mo[i] = Mo;
        forces.V1[i] = V1;
        forces.V2[i] = V2;
        forces.X[i] = x;
    }
};

DesignSettings withBeta(const char* beta)
{
    DesignSettings s;
    s.beta = beta;
    return s;
}

const char* const kMaterialLine = "                    ******* Fy= 300  C 25 *******\r\n";
const char* const kBeamHeader = "梁号   M1     V1    As    Asv     M2     V2     As    Asv     Mo    剪折点   As    As'\r\n";
const char* const kColumnHeader = "柱号    M1       N1       As       As'      M2       N2       As        As'\r\n";

std::string firstLine(const std::string& s) { return s.substr(0, s.find("\r\n")); }

TEST(DesignRun, BeamAndColumnsWorkedByHand)
{
    // One span, one storey: beam 1 is 250 x 500; columns 2 and 3 are 400 x 400 x 4 m.
    Frame f(1, 1);
    f.beam(1, -125, -90, 80, 140.4, -180.6, 3.126);
    f.forces.M1[2] = 150;
    f.forces.M2[2] = -75.5;
    f.forces.N[1] = 500;
    f.forces.M1[3] = 150;
    f.forces.M2[3] = -0.5;
    f.forces.N[2] = 1219.2;

    ReportWriter report;
    report.text("echo");
    // beta 0.8. Left end: r1 = 25, M1 = -100, V1 = 140.
    //   Flexure |100|: h0 = 465, alpha_s = 0.154160, xi = 0.168327, As = 782.72 -> 783.
    //   Top bars: 2 of 16 (783 / 402.12 = 1.95), dA = 380.88, D = 21.46: k 2 of 16, 4 in the top layer.
    //   Shear 140: needs 0.3003 < minimum 0.4233 -> 0.42; 2 legs of 6: s = 134.64 -> 2*6@135.
    // Right end: r2 = 18, M2 = -72, V2 = -181.
    //   Flexure |72|: alpha_s = 0.110995, xi = 0.117952, As = 548.48 -> 548.
    //   Top bars: dA = 145.88, D = 13.28 -> one of 14; 3 bars in one layer.
    //   Shear 181: (181000 - 103346.25) / 122062.5 = 0.636 -> 0.64; d 6 gives 88.4 < 100, d 8 gives 157.08.
    // Span: Mo = 80 + (25 + 18) / 2 = 101.5 designed unrounded: alpha_s = 0.156473, xi = 0.171113,
    //   As = 795.67 -> 796, As' = 0; printed Mo = 102 (halves to even), x = 3.13.
    //   Bottom bars: dA = 393.88, D = 21.83: k 2 of 16; bottom layer (200 + 25) / 41 = 5 takes all 4.
    // Columns, bottom storey: l0 = 1.25 * 4 = 5 m; own weight 0.00003 * 400 * 400 * 4 = 19.2 kN.
    // Column 1 top: M 150, N1 = 480.8 -> As 953.31 (large eccentricity, eta 1.1288).
    // Column 1 bottom: M 75.5, N 500: As 212.1 < 400 -> 400; Mb -75.5 printed -76.
    // Column 2 top: M 150, N1 = 1200 -> small eccentricity, xi 0.6320, As 1091.38.
    // Column 2 bottom: M 0.5, N 1219.2 -> 400; Mb -0.5 printed 0.
    f.design(report, withBeta("0.80"));
    EXPECT_EQ(beamBarsText(f.r), "\"2,16+2,16 4/0\", \"2*6@135\", \"2,16+1,14 3/0\", \"2*8@157\", \"2,16+2,16 0/4\"\r\n");
    EXPECT_EQ(report.str(), std::string("echo\r\n") + kMaterialLine + kBeamHeader +
                                " 1   -100   140    783  2*6@135 -72    -181    548  2*8@157  102     3.13   796   0 \r\n"
                                "    预配钢筋   2,16+2,16 4/0              2,16+1,14 3/0                 2,16+2,16 0/4\r\n" +
                                kColumnHeader +
                                " 1     150      481      953      953     -76        500      400       400 \r\n"
                                " 2     150      1200     1091     1091     0         1219     400       400 \r\n");
    EXPECT_EQ(forceDiagramText(f.r), "-100,-72,102,140,-181\r\n150,-76\r\n150,0\r\n");
    EXPECT_DOUBLE_EQ(f.r.beams[1].span.x, 3.13);
    EXPECT_NEAR(f.r.columns[1].top.eta, 1.1288, 1e-4);
    EXPECT_NEAR(f.r.columns[2].top.xi, 0.6320, 1e-4);
    // The analysis's own forces stay as they were.
    EXPECT_EQ(f.forces.M1[1], -125);
}

TEST(DesignRun, RedistributionMovesSupportMomentIntoTheSpan)
{
    Frame f(1, 1);
    f.beam(1, -100, -60, 50, 80, -70, 3);
    ReportWriter report;
    f.design(report, withBeta("0.80"));
    // M1 = 0.8 * -100, M2 = 0.8 * -60, Mo = 50 + (20 + 12) / 2.
    EXPECT_EQ(firstLine(forceDiagramText(f.r)), "-80,-48,66,80,-70");

    Frame unchanged(1, 1);
    unchanged.beam(1, -100.4, -60.6, 50.5, 80, -70, 3);
    unchanged.design(report);
    EXPECT_EQ(firstLine(forceDiagramText(unchanged.r)), "-100,-61,50,80,-70");
}

TEST(DesignRun, DesignValuesRoundHalvesToEven)
{
    Frame f(1, 1);
    f.beam(1, -0.5, 1.5, 2.5, 2.5, -3.5, 0.125);
    ReportWriter report;
    f.design(report);
    EXPECT_EQ(firstLine(forceDiagramText(f.r)), "0,2,2,2,-4");
    EXPECT_DOUBLE_EQ(f.r.beams[1].span.x, 0.12);
}

TEST(DesignRun, NarrowBeamIsSkipped)
{
    // Two spans: beam 1 is 40 mm wide, beam 2 is designed.
    Frame f(2, 1);
    f.model.continuousBeam = true; // beams only
    f.model.members[1].b = 0.04;
    f.beam(1, 0.5, -2.25, 0.125, 1.5, -0.75, 0.5);
    f.beam(2, -10, -10, 5, 10, -10, 3);
    ReportWriter report;
    f.design(report);
    // One line only, for beam 2: As = 232.5 -> 232 (halves to even), 2 of 14 suffice.
    EXPECT_EQ(beamBarsText(f.r), "\"2,14+0,0 2/0\", \"2*6@135\", \"2,14+0,0 2/0\", \"2*6@135\", \"2,14+0,0 0/2\"\r\n");
    const std::string& text = report.str();
    EXPECT_EQ(text.find(" 1 "), std::string::npos);
    EXPECT_EQ(text.rfind(" 2   -10 ", std::string::npos), text.find(kBeamHeader) + std::string(kBeamHeader).size());
    // The skipped beam keeps its unrounded values, written with a leading zero.
    EXPECT_EQ(forceDiagramText(f.r), "0.5,-2.25,0.125,1.5,-0.75\r\n-10,-10,5,10,-10\r\n");
    EXPECT_FALSE(f.r.beams[1].designed);
    EXPECT_EQ(f.r.beams[1].skipReason, "截面宽度小于 51 mm, 不配筋");
}

TEST(DesignRun, OnlyNarrowBeamsLeaveMaterialLineAndHeader)
{
    Frame f(1, 1, 0.0);
    f.model.continuousBeam = true;
    ReportWriter report;
    f.design(report);
    EXPECT_EQ(beamBarsText(f.r), "");
    EXPECT_EQ(report.str(), std::string("\r\n") + kMaterialLine + kBeamHeader);
}

TEST(DesignRun, RedistributionFactorOutsideZeroToOneIsRefused)
{
    for (const char* beta : {"0", "1.01", "abc", "-0.8"}) {
        try {
            parseDesignOptions(withBeta(beta));
            ADD_FAILURE() << "accepted " << beta;
        } catch (const Failure& e) {
            EXPECT_EQ(std::string(e.what()), std::string("梁顶负弯矩调幅系数应大于 0 且不大于 1: ") + beta);
        }
    }
    EXPECT_EQ(parseDesignOptions(withBeta("1")).beta, 1);
    // The cover box: "一般梁" is 0 mm as before; a negative or huge cover is refused.
    DesignSettings s;
    s.cover = "一般梁";
    EXPECT_EQ(parseDesignOptions(s).cover, 0);
    for (const char* cover : {"-5", "1e300", "200"}) {
        s.cover = cover;
        EXPECT_THROW(parseDesignOptions(s), Failure) << cover;
    }
}

TEST(DesignRun, FailedSectionsStillGetTheirRows)
{
    // 250 x 500 beam with M1 = -400: alpha_s > 0.5, As 9999 arranged as 2 of 25 + 18 of 25.
    // Shear 400 > 0.25 fc b h0 = 327.25: 2*32@50.
    Frame f(1, 1);
    f.beam(1, -400, -10, 5, 400, -10, 3);
    // Column 1 in tension (N1 = -50 - 19.2 at the top), named on a line each end; column 2
    // overloaded (As 4368 > 4000).
    f.forces.N[1] = -50;
    f.forces.M1[3] = 300;
    f.forces.M2[3] = 300;
    f.forces.N[2] = 2519.2;
    ReportWriter report;
    // Right end and span: M 10 and 5 need 232.5 -> 232 (halves to even), 2 of 14 suffice.
    f.design(report);
    EXPECT_EQ(beamBarsText(f.r), "\"2,25+18,25 3/17\", \"2*32@50\", \"2,14+0,0 2/0\", \"2*6@135\", \"2,14+0,0 0/2\"\r\n");
    // The 9999 fills columns 19 to 24, so the stirrups follow without a blank.
    EXPECT_EQ(report.str(), std::string("\r\n") + kMaterialLine + kBeamHeader +
                                " 1   -400   400    9999 2*32@50 -10    -10     232  2*6@135  5       3      232   0 \r\n"
                                "    预配钢筋   2,25+18,25 3/17            2,14+0,0 2/0                  2,14+0,0 0/2\r\n" +
                                kColumnHeader +
                                " 1     0       -69       9999     9999     0        -50       9999      9999 \r\n"
                                "    柱顶 As=9999: 柱受拉 (N=-69.2 kN), 原方法只能按偏心受压配筋, 可改用 GB50010-2010 按 6.2.23 设计\r\n"
                                "    柱底 As=9999: 柱受拉 (N=-50.0 kN), 原方法只能按偏心受压配筋, 可改用 GB50010-2010 按 6.2.23 设计\r\n"
                                " 2     300      2500     9999     9999     300       2519     9999      9999 \r\n");
    EXPECT_TRUE(f.r.beams[1].left.failed());
    EXPECT_TRUE(f.r.beams[1].left.shearFailed());
}

TEST(DesignRun, ColumnsAboveTheBottomStoreyUseLongerEffectiveLength)
{
    // One span, two storeys: columns 1 and 2 in the top storey (l0 = 1.5 * 4 = 6 m),
    // columns 3 and 4 in the bottom storey (l0 = 5 m).
    // M 150 with N1 = 480.8: l0 = 6 gives eta = 1 + 225 * 360 / (1400 * 311.98) = 1.185451,
    // e = 529.837, As = 1036.64; l0 = 5 gives 953.31.
    Frame f(1, 2);
    const int NB = f.model.topo.NB;
    for (int c = 1; c <= 4; ++c) {
        f.forces.M1[NB + c] = 150;
        f.forces.N[c] = 500;
    }
    for (int i = 1; i <= NB; ++i) f.model.members[i].b = 0.04; // beams skipped
    f.model.members[NB + 2].b = 0.04; // skipped: no row, moments unrounded
    f.forces.M2[NB + 2] = 0.25;
    ReportWriter report;
    f.design(report);
    EXPECT_EQ(report.str(), std::string("\r\n") + kMaterialLine + kBeamHeader + kColumnHeader +
                                " 1     150      481      1037     1037     0         500      400       400 \r\n"
                                " 3     150      481      953      953      0         500      400       400 \r\n"
                                " 4     150      481      953      953      0         500      400       400 \r\n");
    EXPECT_EQ(forceDiagramText(f.r), "0,0,0,0,0\r\n0,0,0,0,0\r\n150,0\r\n150,0.25\r\n150,0\r\n150,0\r\n");
    EXPECT_DOUBLE_EQ(f.r.columns[1].l0, 6);
    EXPECT_DOUBLE_EQ(f.r.columns[3].l0, 5);
}

TEST(DesignRun, ValuesThatAreNotFiniteAreNeverWritten)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Frame f(2, 1);
    f.model.continuousBeam = true;
    f.model.members[1].b = 0.04;
    f.forces.M1[1] = nan; // a skipped beam: not designed, but its line would hold it
    ReportWriter report;
    f.design(report);
    EXPECT_THROW(forceDiagramText(f.r), Failure);

    Frame g(1, 1);
    g.forces.V2[1] = std::numeric_limits<double>::infinity();
    ReportWriter untouched;
    try {
        g.design(untouched);
        ADD_FAILURE();
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("第 1 号梁"), std::string::npos);
    }
    EXPECT_EQ(untouched.str(), "");

    Frame h(1, 1);
    h.forces.M2[3] = nan;
    try {
        h.design(untouched);
        ADD_FAILURE();
    } catch (const Failure& e) {
        EXPECT_NE(std::string(e.what()).find("第 2 号柱"), std::string::npos);
    }
    EXPECT_EQ(untouched.str(), "");
}

} // namespace
} // namespace kj
