// The seismic shear check of a joint core (GB 50010-2010 11.6.1 to 11.6.4,
// 11.6.8), checked by hand on the middle joint of the lower floor of a frame
// of two 6 m spans and two storeys (3.6 m above, 4.2 m below): beams 250 x
// 600 with h0 560 (as' 40), columns 500 x 500 with ties Φ8@100(4), C30 (fc
// 14.3, ft 1.43, βc 1.0), ties fyv 270, cover 25, grade 2 (ηjb 1.35).
#include "calc/envelope.h"
#include "calc/joint_core.h"
#include "calc/seismic_combination.h"
#include "calc/sway.h"
#include "design/design_rules.h"
#include "regular_frame.h"

#include <gtest/gtest.h>

using namespace kj;

namespace {

constexpr int kJoint = 5; // the middle joint of the lower floor: column 5 below, 2 above, beams 3 and 4

// One seismic combination with the beams on either side of the joint
// turning it by Mleft (beam 3's right end) and Mright (beam 4's left end),
// kN*m, as the capacity design took them, and 800 kN in the column above.
// The design forces carry γRE 0.75, which ΣMb and N must not.
EnvelopeResult frame(int grade, double Mleft, double Mright, bool seismic = true)
{
    EnvelopeResult r;
    CalculationResult& e = r.envelope;
    FrameModel& m = e.model;
    m.topo = FrameTopology::of(2, 2);
    m.members.assign(static_cast<std::size_t>(m.topo.memberCount()) + 1, Member{});
    for (int i = 1; i <= m.topo.NB; ++i) m.members[static_cast<std::size_t>(i)] = {6.0, 0.25, 0.6};
    for (int c = 1; c <= m.topo.NC; ++c)
        m.members[static_cast<std::size_t>(m.topo.columnMember(c))] = {c <= 3 ? 3.6 : 4.2, 0.5, 0.5};
    e.materials = {360, 30};
    e.options.code = DesignCode::Gb50010_2010;
    e.rules = &gb50010_2010Rules();
    BeamDesign beam;
    beam.designed = true;
    beam.b = 250;
    beam.h = 600;
    beam.left.h0 = beam.right.h0 = 560;
    e.beams.assign(5, beam);
    ColumnDesign column;
    column.designed = true;
    column.b = column.h = 500;
    column.ties = {4, 8, 100};
    e.columns.assign(7, column);

    CombinationResult c;
    c.combination = seismic ? Combination{"1.3G+1.4E", {{LoadCaseKind::G, 1.3}, {LoadCaseKind::E, 1.4}}}
                            : Combination{"1.3G+1.5Q", {{LoadCaseKind::G, 1.3}, {LoadCaseKind::Q, 1.5}}};
    c.capacity.grade = grade;
    c.capacity.beams.assign(5, BeamCapacity{});
    c.capacity.beams[3].M2 = Mleft;
    c.capacity.beams[4].M1 = Mright;
    c.beams.assign(5, BeamDesignForces{});
    c.beams[3].M2 = 0.75 * Mleft;
    c.beams[4].M1 = 0.75 * Mright;
    c.columns.assign(7, ColumnDesignForces{});
    c.columns[2].Nfoot = 0.75 * 800;
    c.forces.N.assign(7, 0.0);
    c.forces.N[2] = 800;
    r.combinations.push_back(c);
    r.envelopeOptions.seismicGrade = grade;
    return r;
}

JointCoreCheck joint(EnvelopeResult& r, bool intensityNine = false)
{
    r.joints = jointCoreChecks(r, intensityNine);
    return r.joints.at(kJoint);
}

} // namespace

// ΣMb = 180 + 120 = 300 kN m: Vj = 1.35 × 300e6 / 520 × (1 − 520 / (3900 −
// 600)) = 656.1 kN; bj = bc = 500 (bb = bc / 2); limit 0.3 × 14.3 × 500 ×
// 500 / 0.85 = 1261.8 kN; capacity (1.1 × 1.43 × 500² + 0.05 × 800e3 +
// 270 × 4 × 50.27 / 100 × 520) / 0.85 = 841.8 kN with the column's ties.
TEST(JointCore, HandCheckedJointOfGradeTwo)
{
    EnvelopeResult r = frame(2, 180, 120);
    const JointCoreCheck j = joint(r);
    EXPECT_NEAR(j.Vj, 656.12, 0.01);
    EXPECT_NEAR(j.limit, 1261.76, 0.01);
    EXPECT_NEAR(j.capacity, 841.81, 0.01);
    EXPECT_NEAR(j.Hc, 3.9, 1e-12);
    EXPECT_NEAR(j.bj, 500, 1e-12);
    EXPECT_TRUE(j.ok());
    EXPECT_FALSE(j.tiesRaised);
    EXPECT_EQ(jointCoreLine(r, kJoint), "    节点 (第 1 层, 轴②) Vj=656.1kN ≤ 841.8kN 满足 (1.3G+1.4E, ηjb=1.35), "
                                        "截面限值 1261.8kN; 节点核心区箍筋 Φ8@100(4) (同柱加密区)");
    // The top-level joint above takes no reduction (11.6.2-2) and no N.
    EXPECT_TRUE(r.joints.at(2).topLevel);
    EXPECT_NEAR(r.joints.at(2).Vj, 0, 1e-12);
}

// ΣMb = 400 kN m: Vj = 874.8 kN > 841.8 kN; Asvj/s = (0.85 × 874825 −
// 433250) / (270 × 520) = 2.21 mm2/mm, within 100 mm by Φ10@100(4), which
// gives 1028.6 kN.
TEST(JointCore, TiesRaisedWhereTheCapacityFallsShort)
{
    EnvelopeResult r = frame(2, 250, 150);
    const JointCoreCheck j = joint(r);
    EXPECT_NEAR(j.Vj, 874.83, 0.01);
    EXPECT_NEAR(j.asvsRequired, 2.2105, 1e-4);
    EXPECT_TRUE(j.tiesRaised);
    EXPECT_EQ(j.tieString, "Φ10@100(4)");
    EXPECT_NEAR(j.capacity, 1028.62, 0.01);
    EXPECT_TRUE(j.ok());
    EXPECT_NE(jointCoreLine(r, kJoint).find("节点核心区箍筋 Φ10@100(4) (按 11.6.4 及 11.6.8"), std::string::npos);
}

// ΣMb = 600 kN m: Vj = 1312.2 kN above the section limit of 1261.8 kN.
TEST(JointCore, SectionLimitFailureIsSaid)
{
    EnvelopeResult r = frame(2, 350, 250);
    const JointCoreCheck j = joint(r);
    EXPECT_FALSE(j.sectionOk);
    EXPECT_FALSE(j.ok());
    EXPECT_NE(jointCoreLine(r, kJoint).find("Vj=1312.2kN > 1261.8kN 不满足: 节点核心区截面不满足 11.6.3, "
                                            "应加大柱截面或提高混凝土强度等级"),
              std::string::npos);
}

// Grade 4, a static envelope, and grade 1 at intensity 9 (refused).
TEST(JointCore, NoCheckAtGradeFourOrWithoutEarthquake)
{
    EnvelopeResult four = frame(4, 180, 120);
    EXPECT_TRUE(jointCoreChecks(four, false).empty());
    EnvelopeResult plain = frame(2, 180, 120, false);
    EXPECT_TRUE(jointCoreChecks(plain, false).empty());
    EnvelopeResult nine = frame(1, 180, 120);
    const JointCoreCheck j = joint(nine, true);
    EXPECT_FALSE(j.ok());
    EXPECT_NE(jointCoreLine(nine, kJoint).find("未验算: 9 度一级框架"), std::string::npos);
}

// Three storeys of 3.6 m, two spans of 6 m (beams 250 x 600, columns 500 x
// 500, C30, HRB400, ties fyv 270), 8 degrees and grade 2 (ηjb 1.35): G 25
// kN/m on every beam, E 60 kN at every level. The middle joint of level 2
// (column 5 below, 2 above, beams 3 and 4) under 1.0G+1.4E, from the cases'
// end moments (G 79.071 and -79.071, E 75.036 at both ends) and ηs = 1.010905
// of the beams' storeys: ΣMb = (79.071 + 1.4 × 1.010905 × 75.036) + (-79.071
// + 1.4 × 1.010905 × 75.036) = 185.267 + 27.124 = 212.392 kN m, before γRE.
// hb0 = 545.50: h less the centroid of the top bars 2Φ14+5Φ12 laid 4/3
// (cover 25 + Φ8: 2Φ14 at 40 and 2Φ12 at 39, the second layer's 3Φ12 at
// 33 + 14 + 25 + 6 = 78; (2·196·40 + 2·144·39 + 3·144·78) / 1112 = 54.50);
// as' = 600 - 559 = 41 (the bottom bars), Hc = 3600, hb = 600: Vj = 1.35 ×
// 212.392e6 / 504.50 × (1 - 504.50 / 3000) = 472.77 kN (the beams' design
// moments, with γRE 0.75 in them, would give 354.6). N = 188.46 kN in the
// column above as combined (not its 0.75 of the design forces), Φ8@100(4):
// capacity (1.1 × 1.43 × 500² + 0.05 × 188462 + 270 × 2.0106 × 504.50) /
// 0.85 = 795.94 kN.
TEST(JointCore, ThreeStoreyFrameByHandFromTheCombinationsBeamMoments)
{
    kjtest::RegularFrame f;
    f.storeys = 3;
    auto frameCase = [&](LoadCaseKind kind, double q, double F) { return kjtest::regularFrameCase(kind, f, q, F); };
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    EnvelopeOptions eo;
    eo.seismicGrade = 2;
    const EnvelopeResult r = calculateEnvelope({frameCase(LoadCaseKind::G, 25, 0), frameCase(LoadCaseKind::E, 0, 60)},
                                               seismicCombinations("GB55001", false), "GB 55001-2021", o,
                                               gb50010_2010Rules(), eo);
    const JointCoreCheck& j = r.joints.at(kJoint);
    ASSERT_EQ(r.name(j.combination), "1.0G+1.4E");
    const CombinationResult& cr = r.combinations[static_cast<std::size_t>(j.combination)];
    const InternalForces &G = r.cases[0].result.forces, &E = r.cases[1].result.forces;
    const double etaS = beamSwayFactor(r.envelope.model, cr.sway, 3);
    EXPECT_NEAR(etaS, 1.010905, 5e-7);
    EXPECT_NEAR(j.sumMb, G.M2[3] + G.M1[4] + 1.4 * etaS * (E.M2[3] + E.M1[4]), 1e-9);
    EXPECT_NEAR(j.sumMb, 212.392, 0.001);
    EXPECT_NEAR(j.hb0, r.envelope.beams[3].right.h0, 1e-9);
    EXPECT_NEAR(j.hb0, 545.50, 0.005);
    EXPECT_DOUBLE_EQ(j.asComp, 41);
    EXPECT_NEAR(j.Vj, 472.77, 0.005);
    EXPECT_NEAR(j.N, 188.46, 0.005);
    EXPECT_NEAR(j.capacity, 795.94, 0.005);
    // The book puts the numbers of the joint nearest to failing into 11.6.2
    // and 11.6.4: the middle joint of level 1.
    const std::vector<std::string> notes = jointCoreTable(r).notes;
    EXPECT_EQ(notes.back().find("控制节点 (第 1 层, 轴②, 1.0G+1.4E): Vj = 1.35 × 276.2×10⁶ / (556.5 - 41.0) × (1 - (556.5 "
                                "- 41.0) / (3600 - 600)) = 599.1 kN; 受剪承载力 = (1.1 × 1.0 × 1.43 × 500 × 500 + 0.05 × "
                                "1.0 × 369.5×10³ × 500 / 500 + 270 × 2.011 × (556.5 - 41.0)) / 0.85 = 813.6 kN"),
              0u);
}
