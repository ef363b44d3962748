#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "analysis/internal_forces.h"
#include "common/failure.h"
#include "common/textfile.h"
#include "regular_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

using namespace kj;

namespace {
FrameModel model(const std::string& text)
{
    FrameFileReader r(text, "\\KJ-1.txt");
    return buildModel(r.readRecords1to5());
}
} // namespace

TEST(Stiffness, OneSpanOneStoreyHasThreeUnknownsAndColumnsOnlyReachTheirTop)
{
    FrameModel m = model("F,1,1,0,0,\r\n6.003.00,12\r\n.25.50.40.40,122\r\n0\r\n300,25\r\n");
    StiffnessSystem s = assembleStiffness(m);
    ASSERT_EQ(s.N, 3);
    const double kb = 0.25 * 0.125 / 6, kc = 0.4 * 0.064 / 3.0;
    EXPECT_DOUBLE_EQ(s.k(1, 1), 4 * kb + 4 * kc);
    EXPECT_DOUBLE_EQ(s.k(1, 2), 2 * kb);
    EXPECT_DOUBLE_EQ(s.k(3, 3), 2 * 12 * kc / 9.0);
    EXPECT_DOUBLE_EQ(s.k(1, 3), 6 * kc / 3.0);
    EXPECT_DOUBLE_EQ(s.k(3, 2), 6 * kc / 3.0);
    for (int i = 0; i <= 3; ++i)
        for (int j = 0; j <= 3; ++j) EXPECT_EQ(s.k(i, j), s.k(j, i));
    EXPECT_EQ(s.k(0, 0), 0); // the dummy takes nothing
}

TEST(Stiffness, TwoStoreyColumnsCoupleOnlyWithTheirOwnDrift)
{
    FrameModel m = model("F,1,2,0,0,\r\n6.003.00,122\r\n.25.50.40.40,112222\r\n0,0\r\n300,25\r\n");
    StiffnessSystem s = assembleStiffness(m);
    ASSERT_EQ(s.N, 6); // nodes 1-4, drifts 5 (top storey) and 6
    EXPECT_NE(s.k(1, 5), 0);
    EXPECT_EQ(s.k(1, 6), 0);
    EXPECT_NE(s.k(3, 5), 0);
    EXPECT_NE(s.k(3, 6), 0);
    EXPECT_EQ(s.k(5, 6), 0);
}

TEST(Stiffness, ContinuousBeamPropsHaveTheirFixedStiffness)
{
    FrameModel m = model("CB,1,1,0,1,1\r\n6.00,1\r\n.25.50,1\r\n0\r\n300,25\r\n");
    StiffnessSystem s = assembleStiffness(m);
    const double kb = 0.25 * 0.125 / 6;
    EXPECT_DOUBLE_EQ(s.k(1, 1), 4 * kb + 4 * 1.6);           // clamped left end: B = 2^4/10
    EXPECT_DOUBLE_EQ(s.k(2, 2), 4 * kb + 4 * 6.25e-7);       // slender prop: B = 0.05^4/10
}

TEST(Physics, BeamClampedByStiffColumnsUnderFullSpanLoad)
{
    // Columns 9.9 m square: the joints practically do not rotate.
    FrameModel m = model("F,1,1,0,0,\r\n6.003.60,12\r\n.25.509.99.9,122\r\n1 20.0\r\n300,25\r\n");
    InternalForces f = analyse(m);
    const double w = 20, S = 6;
    EXPECT_NEAR(f.M1[1], -w * S * S / 12, 1e-3);
    EXPECT_NEAR(f.M2[1], w * S * S / 12, 1e-3);
    EXPECT_NEAR(f.V1[1], w * S / 2, 1e-9);
    EXPECT_NEAR(f.V2[1], -w * S / 2, 1e-9);
    EXPECT_NEAR(f.X[1], S / 2, 1e-9);
    EXPECT_NEAR(f.Mo[1], w * S * S / 24, 1e-3);
    // Axial force at the foot: half the beam load plus the column's own weight.
    EXPECT_NEAR(f.N[1], 60 + 9.9 * 9.9 * 3.6 * 30, 1e-9);
}

TEST(Physics, MidSpanForceOnNonRotatingJoints)
{
    FrameModel m = model("F,1,1,0,0,\r\n6.003.60,12\r\n.25.509.99.9,122\r\n2    03.00  100P\r\n300,25\r\n");
    InternalForces f = analyse(m);
    EXPECT_NEAR(f.M1[1], -100 * 6 / 8.0, 1e-3);
    EXPECT_NEAR(f.M2[1], 100 * 6 / 8.0, 1e-3);
    EXPECT_NEAR(f.X[1], 3, 1e-12); // the walk stops at the force
    EXPECT_NEAR(f.Mo[1], 100 * 6 / 8.0, 1e-3);
}

TEST(Physics, PortalUnderStoreyShearMatchesSlopeDeflection)
{
    // H = 100 kN at the beam level of a fixed-base portal. With r = kb/kc:
    // top moment (H h / 4) 6r/(1+6r), foot moment (H h / 4)(2+6r)/(1+6r).
    FrameModel m = model("P,1,1,1,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n0\r\n103100.0\r\n300,25\r\n");
    InternalForces f = analyse(m);
    const double kb = 0.25 * 0.125 / 6, kc = 0.4 * 0.064 / 3.6, r = kb / kc, Hh4 = 100 * 3.6 / 4;
    const double top = Hh4 * 6 * r / (1 + 6 * r), foot = Hh4 * (2 + 6 * r) / (1 + 6 * r);
    for (int col : {2, 3}) {
        EXPECT_NEAR(f.M1[col], -top, 1e-9 * top) << "column member " << col;
        EXPECT_NEAR(f.M2[col], -foot, 1e-9 * foot) << "column member " << col;
    }
    // The beam is bent in reverse curvature by the joint rotations.
    EXPECT_NEAR(f.M1[1], top, 1e-9 * top);
    EXPECT_NEAR(f.M2[1], top, 1e-9 * top);
    EXPECT_NEAR(f.V1[1], -2 * top / 6, 1e-9);
    // No load on the beam: Mo = M1 and x = 0 when V1 is not positive.
    EXPECT_EQ(f.Mo[1], f.M1[1]);
    EXPECT_EQ(f.X[1], 0);
}

TEST(Physics, ContinuousBeamMatchesTheThreeMomentEquation)
{
    // Spans 4 m and 6 m on pinned supports under 20 kN/m: the middle support
    // moment is w (L1^3 + L2^3) / (8 (L1 + L2)) = 70 kN*m hogging.
    FrameModel m = model("CB,2,1,0,1,\r\n4.006.00,12\r\n.25.50,11000\r\n1 20.0,1 20.0\r\n300,25\r\n");
    InternalForces f = analyse(m);
    EXPECT_NEAR(f.M2[1], 70, 0.05);
    EXPECT_NEAR(f.M1[2], -70, 0.05);
    EXPECT_NEAR(f.M1[1], 0, 0.05);
    EXPECT_NEAR(f.M2[2], 0, 0.05);
    EXPECT_NEAR(f.V1[1], 40 - 70 / 4.0, 0.02);
    // Slender props weigh 0.05 * 0.05 * 10 * 30 = 0.75 kN each.
    EXPECT_NEAR(f.N[1], f.R[1] + 0.75, 1e-12);
    // Both ends clamped, equal spans: every support moment is w L^2 / 12.
    FrameModel c = model("CB,2,1,0,1,3\r\n6.00,11\r\n.25.50,11000\r\n1 20.0,1 20.0\r\n300,25\r\n");
    InternalForces g = analyse(c);
    EXPECT_NEAR(g.M1[1], -60, 0.3);
    EXPECT_NEAR(g.M2[2], 60, 0.3);
    EXPECT_NEAR(g.N[1], g.R[1] + 1200, 1e-9); // a clamping prop weighs 2 * 2 * 10 * 30
}

TEST(Physics, LowerColumnCarriesTheColumnAboveItsNodeForceAndOwnWeight)
{
    FrameModel m = model("F,1,2,1,0,\r\n6.003.00,122\r\n.25.50.40.40,112222\r\n1 20.0,1 10.0\r\n10325.0\r\n300,25\r\n");
    InternalForces f = analyse(m);
    const double W = 0.4 * 0.4 * 3.0 * 30;
    EXPECT_NEAR(f.N[1], f.R[1] + W, 1e-12);
    EXPECT_NEAR(f.N[3], 25 + f.R[3] + W + f.N[1], 1e-12);
    EXPECT_NEAR(f.R[1] + f.R[2], 120, 1e-9);
    EXPECT_NEAR(f.R[3] + f.R[4], 60, 1e-9);
}

TEST(Physics, LaterJointGroupReplacesTheEarlierOne)
{
    FrameModel a = model("F,1,1,2,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n0\r\n101 50.0  10.0,101 30.0\r\n300,25\r\n");
    FrameModel b = model("F,1,1,1,0,\r\n6.003.60,12\r\n.25.50.40.40,122\r\n0\r\n101 30.0\r\n300,25\r\n");
    InternalForces fa = analyse(a), fb = analyse(b);
    EXPECT_EQ(fa.N[1], fb.N[1]);
    EXPECT_EQ(fa.M1[1], fb.M1[1]);
}

TEST(Solve, SingularFrameNamesTheUnknown)
{
    // An explicit zero-width section on every member: the top joint has no stiffness.
    try {
        analyse(model("F,1,1,0,0,\r\n6.003.60,12\r\n.00.50,111\r\n1 20.0\r\n300,25\r\n"));
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()),
                  "数据文件 \\KJ-1.txt: 刚度矩阵奇异, 无法求解节点 1 的转角; 与该节点相连的梁柱可能截面为 0 或刚度过小 "
                  "(截面为 0 的构件: 第 1 号梁, 第 1 号柱, 第 2 号柱)");
    }
    // Zero-width columns in the ground storey: every joint turns, the storey cannot resist sway.
    try {
        analyse(model("F,1,2,0,0,\r\n6.003.00,122\r\n.25.50.40.40.00.40,112233\r\n0,0\r\n300,25\r\n"));
        FAIL();
    } catch (const Failure& f) {
        EXPECT_EQ(std::string(f.what()),
                  "数据文件 \\KJ-1.txt: 刚度矩阵奇异, 无法求解第 2 层的层间侧移; 该层的柱可能截面为 0, 或该层无法抵抗侧移 "
                  "(截面为 0 的构件: 第 3 号柱, 第 4 号柱)");
    }
}

namespace {

// The dense Gaussian elimination without pivoting that the program solved
// with before the sparse factorisation: the independent reference.
std::vector<double> denseSolve(const StiffnessSystem& s)
{
    const int N = s.N;
    std::vector<std::vector<double>> a(N + 1, std::vector<double>(N + 1, 0.0));
    for (const StiffnessSystem::Entry& e : s.entries) {
        a[e.row][e.col] += e.value;
        if (e.row != e.col) a[e.col][e.row] += e.value;
    }
    std::vector<double> p = s.P;
    for (int k = 1; k <= N - 1; ++k)
        for (int i = k + 1; i <= N; ++i) {
            const double f = a[i][k] / a[k][k];
            for (int j = k; j <= N; ++j) a[i][j] -= f * a[k][j];
            p[i] -= f * p[k];
        }
    for (int i = N; i >= 1; --i) {
        for (int j = i + 1; j <= N; ++j) p[i] -= a[i][j] * p[j];
        p[i] /= a[i][i];
    }
    return p;
}

// The largest difference against the largest value of the reference.
double relativeDifference(const std::vector<double>& x, const std::vector<double>& ref)
{
    double diff = 0, scale = 0;
    for (std::size_t i = 1; i < ref.size(); ++i) {
        diff = std::max(diff, std::fabs(x[i] - ref[i]));
        scale = std::max(scale, std::fabs(ref[i]));
    }
    return diff / scale;
}

} // namespace

TEST(Solve, SparseFactorisationAgreesWithTheDenseElimination)
{
    // A small system worked through both.
    FrameModel small;
    small.topo = FrameTopology::of(1, 1); // nodes 1 and 2, drift 3
    StiffnessSystem s;
    s.N = 3;
    s.P = {0, 1, 2, 3};
    const double K[3][3] = {{4.1, 1.3, 0.7}, {1.3, 3.9, 0.2}, {0.7, 0.2, 2.3}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j <= i; ++j) s.add(i + 1, j + 1, K[i][j]);
    const std::vector<double> ref = denseSolve(s);
    solve(s, small);
    EXPECT_LT(relativeDifference(s.P, ref), 1e-15);

    // Every example frame, and a 30-storey, 12-span frame (420 unknowns)
    // under beam loads and storey shears, with stiffer ground-storey columns.
    std::vector<FrameModel> frames;
    for (const char* name : {"KJ-1", "KJ-1Q", "KJ-1W", "KJ-2", "KJ-3", "CB-1"}) {
        const std::string slot = std::string("\\") + name + ".txt";
        FrameFileReader r(readTextFile(std::filesystem::path(KJ_EXAMPLES_DIR) / (std::string(name) + ".txt"), slot), slot);
        frames.push_back(buildModel(r.readRecords1to5()));
    }
    kjtest::RegularFrame big;
    big.spans = 12;
    big.storeys = 30;
    big.floorForce = 15;
    big.groundColumnH = 0.7;
    frames.push_back(kjtest::regularFrameModel(big));
    ASSERT_EQ(frames.back().topo.N, 420);
    for (const FrameModel& m : frames) {
        const std::vector<double> ref = denseSolve(loadedStiffness(m));
        const std::vector<double> x = analyse(m).displacement;
        EXPECT_LT(relativeDifference(x, ref), 1e-12) << m.fileName;
    }
}
