// The steel the seismic detailing gives a designed frame (GB 50010-2010
// 11.3.1, 11.3.6, 11.4.12, 11.4.17), checked by hand on one span and one
// storey: C30 (fc 14.3, ft 1.43), HRB400 (fy 360), ties fyv 270, cover 25.
#include "calc/envelope.h"
#include "calc/seismic_detailing.h"
#include "design/design_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

using namespace kj;

namespace {

// Beam forces: end moments, end shears, span moment and its place (kN, m).
BeamInput beamForces(double M1, double M2, double V1, double V2, double Mo, double x)
{
    BeamInput in;
    std::tie(in.M1, in.M2, in.V1, in.V2, in.Mo, in.x) = std::tie(M1, M2, V1, V2, Mo, x);
    return in;
}

// A frame of one 6 m span and one 4 m storey, beam b x h and square columns
// (400 x 400 unless given; m), designed for the given beam forces and small
// column forces, as an envelope with one seismic combination of the grade;
// each column's axial ratio as given.
EnvelopeResult designed(int grade, double b, double h, const BeamInput& forces, double axialRatio = 0.3,
                        double column = 0.4)
{
    EnvelopeResult r;
    CalculationResult& e = r.envelope;
    e.model.topo = FrameTopology::of(1, 1);
    e.model.members.assign(4, Member{});
    e.model.members[1] = {6.0, b, h};
    for (int c = 1; c <= 2; ++c) e.model.members[static_cast<std::size_t>(e.model.topo.columnMember(c))] = {4.0, column, column};
    e.materials = {360, 30};
    e.options.code = DesignCode::Gb50010_2010;
    e.rules = &gb50010_2010Rules();
    BeamInput in = forces;
    in.beam = 1;
    in.member = e.model.members[1];
    e.beams = {BeamDesign{}, e.rules->designBeam(in, e.materials, e.options)};
    e.columns.assign(3, ColumnDesign{});
    for (int c = 1; c <= 2; ++c) {
        ColumnInput col{c, e.model.member(e.model.topo.columnMember(c)), 10, -10, 200, true, std::nullopt};
        e.columns[static_cast<std::size_t>(c)] = e.rules->designColumn(col, e.materials, e.options);
    }
    CombinationResult seismic;
    seismic.combination = {"1.3G+1.4E", {{LoadCaseKind::G, 1.3}, {LoadCaseKind::E, 1.4}}};
    seismic.capacity.grade = grade;
    seismic.capacity.columns.assign(3, ColumnCapacity{});
    for (ColumnCapacity& c : seismic.capacity.columns) c.axialRatio = axialRatio;
    r.combinations.push_back(seismic);
    r.envelopeOptions.seismicGrade = grade;
    return r;
}

bool hasNote(const std::vector<std::string>& notes, const std::string& text)
{
    for (const std::string& n : notes)
        if (n.find(text) != std::string::npos) return true;
    return false;
}

} // namespace

// Grade 2, 250 x 600 with light moments: the static design takes 8.5.1's
// 0.20 % b h = 300 mm2 everywhere; Table 11.3.6-1 asks 0.30 % = 450 mm2 at
// the supports and 0.25 % = 375 mm2 in the span.
TEST(SeismicDetailing, BeamRaisedToTheMinimumRatiosOfTheGrade)
{
    EnvelopeResult r = designed(2, 0.25, 0.6, beamForces(-20, 20, 30, -30, 10, 3));
    const BeamDesign before = r.envelope.beams[1];
    EXPECT_NEAR(before.left.As, 300, 1e-9);
    applySeismicDetailing(r);
    const BeamDesign& b = r.envelope.beams[1];
    EXPECT_NEAR(b.left.As, 450, 1e-9);
    EXPECT_NEAR(b.right.As, 450, 1e-9);
    EXPECT_NEAR(b.span.As, 375, 1e-9);
    EXPECT_GE(barArea(b.left.bars), 450);
    EXPECT_TRUE(hasNote(b.notes, "抗震构造: 左支座顶筋按表 11.3.6-1 最小配筋率 0.30% 由 As=300 增至 As=450 mm2"));
    EXPECT_TRUE(hasNote(b.notes, "抗震构造: 跨中底筋按表 11.3.6-1 最小配筋率 0.25% 由 As=300 增至 As=375 mm2"));
    // Densified zone of grade 2: spacing min(600/4, 8d, 100), diameter 8.
    EXPECT_EQ(b.left.stirrups.diameter, 8);
    EXPECT_LE(b.left.stirrups.spacing, 100);
    EXPECT_TRUE(beamSeismicDetailing(r.envelope, 1, 2).failures.empty());

    // Without a seismic combination nothing changes.
    EnvelopeResult plain = designed(2, 0.25, 0.6, beamForces(-20, 20, 30, -30, 10, 3));
    plain.combinations.front().combination = {"1.3G", {{LoadCaseKind::G, 1.3}}};
    applySeismicDetailing(plain);
    EXPECT_EQ(plain.envelope.beams[1].left.As, before.left.As);
    EXPECT_EQ(plain.envelope.beams[1].notes, before.notes);
}

// Grade 3, a heavy hogging end and a light span: the bottom bars through the
// supports carry at least 0.3 of the top bars there (11.3.6 item 2), more
// than the span's 0.20 % = 300 mm2.
TEST(SeismicDetailing, BottomBarsAtLeastThreeTenthsOfTheTop)
{
    EnvelopeResult r = designed(3, 0.25, 0.6, beamForces(-250, 60, 150, -80, 20, 2));
    applySeismicDetailing(r);
    const BeamDesign& b = r.envelope.beams[1];
    const double top = barArea(b.left.bars);
    ASSERT_GT(0.3 * top, 300);
    EXPECT_NEAR(b.span.As, 0.3 * top, 1e-9);
    EXPECT_TRUE(hasNote(b.notes, "跨中底筋按左端底筋/顶筋 >= 0.3 (11.3.6-2)"));
    EXPECT_TRUE(beamSeismicDetailing(r.envelope, 1, 3).failures.empty());
}

// Grade 1, 250 x 500 under 260 kN m (top steel between 2 % and 2.5 %): with
// half their area below, the top bars would give ξ over 0.25; the bottom
// bars become compression steel until (fy As - fy' As') / (α1 fc b h0) =
// 0.25, more than 0.5 of the top.
TEST(SeismicDetailing, CompressionSteelKeepsTheEndDepthWithinTheLimit)
{
    EnvelopeResult r = designed(1, 0.25, 0.5, beamForces(-260, 40, 200, -60, 20, 2));
    const BeamSectionDesign first = r.envelope.beams[1].left;
    applySeismicDetailing(r);
    const BeamDesign& b = r.envelope.beams[1];
    const double top = barArea(b.left.bars), h0 = b.left.h0;
    const double need = (360 * top - 0.25 * 1.0 * 14.3 * 250 * h0) / 360;
    ASSERT_GT(need, 0.5 * top);
    EXPECT_NEAR(b.span.As, need, 1e-6);
    const double bottom = barArea(b.span.bars);
    EXPECT_LE((360 * top - 360 * bottom) / (14.3 * 250 * h0), 0.25);
    // The end records that ξ at its final h0: the stirrups of grade 1, 4 mm
    // thicker, moved the top bars 2Φ22+4Φ22 (3/3) in from h0 = 432.5 to
    // 428.5, and as' is the bottom bars' own: 2Φ28 at 25 + 12 + 14 = 51.
    EXPECT_NEAR(first.h0 - h0, 4, 1e-9);
    EXPECT_NEAR(b.left.xi, (360 * top - 360 * bottom) / (14.3 * 250 * h0), 1e-12);
    EXPECT_NEAR(b.left.zoneDepth, b.left.xi * h0, 1e-9);
    EXPECT_NEAR(b.left.asComp, 500 - b.span.h0, 1e-9);
    EXPECT_NEAR(b.left.asComp, 51, 0.005);
    EXPECT_TRUE(hasNote(b.notes, "跨中底筋按左端 ξ <= 0.25 (11.3.1, 计入受压钢筋)"));
    for (const std::string& f : beamSeismicDetailing(r.envelope, 1, 1).failures) ADD_FAILURE() << f;
}

// Grade 2, 400 x 400 columns: Table 11.4.12-1 0.8 % + 0.05 % for 400 MPa
// bars = 0.85 % of 160000 = 1360 mm2, 680 a face (8.5.1 gave 0.55 %: 440).
// At an axial ratio of 0.5, λv = 0.11 and ρv >= 0.11 x 16.7 / 270 = 0.680 %
// (fc of C35 at least, above 0.6 %). Ties inside the cover, bc = hc = 350:
// legs 400 - 50 - 8 = 342 mm apart exceed 250 (11.4.15), so three each way;
// Φ8 then needs s <= 3 x 50.27 x 700 / (350^2 x 0.00680) = 127 mm, and the
// zone's 100 mm governs: ρv = 3 x 50.27 x 700 / (350^2 x 100) = 0.862 %.
TEST(SeismicDetailing, ColumnRaisedToTheLeastSteelAndTiesForTheVolumetricRatio)
{
    EnvelopeResult r = designed(2, 0.25, 0.6, beamForces(-20, 20, 30, -30, 10, 3), 0.5);
    EXPECT_NEAR(r.envelope.columns[1].top.As, 440, 1e-9);
    applySeismicDetailing(r);
    const ColumnDesign& c = r.envelope.columns[1];
    EXPECT_NEAR(c.top.As, 680, 1e-9);
    EXPECT_NEAR(c.bottom.As, 680, 1e-9);
    EXPECT_EQ(c.tieString, "Φ8@100(3)");
    EXPECT_NEAR(3 * std::numbers::pi / 4 * 8 * 8 * 700 / (350.0 * 350 * 100), 0.00862, 1e-5);
    EXPECT_TRUE(hasNote(c.notes, "全部纵筋按表 11.4.12-1 最小配筋率 0.85% (按中柱、边柱) 增至 As=As'=680 mm2"));
    EXPECT_TRUE(hasNote(c.notes, "柱端加密区箍筋按 11.4.17 (λv=0.110, ρv >= 0.68%)"));
    EXPECT_TRUE(columnSeismicDetailing(r.envelope, 1, 2, 0.5).failures.empty());
}

// Grade 2, 300 x 300 columns at an axial ratio of 0.3: ρv >= max(0.08 x
// 16.7 / 270, 0.6 %) = 0.6 % (11.4.17). Ties inside the cover, bc = hc = 250:
// the two legs each way lie 250 - 8 = 242 mm apart, within 250 (11.4.15), so
// the hoop keeps two legs each way. Φ8 at the zone's 100 mm:
// ρv = 2 x 50.27 x (250 + 250) / (250 x 250 x 100) = 0.804 % (three legs
// would give 1.21 %).
TEST(SeismicDetailing, VolumetricRatioOfATwoLegHoop)
{
    EnvelopeResult r = designed(2, 0.25, 0.6, beamForces(-20, 20, 30, -30, 10, 3), 0.3, 0.3);
    applySeismicDetailing(r);
    const ColumnDesign& c = r.envelope.columns[1];
    EXPECT_EQ(c.tieString, "Φ8@100");
    EXPECT_NEAR(2 * std::numbers::pi / 4 * 8 * 8 * 500 / (250.0 * 250 * 100), 0.00804, 1e-5);
    const DetailingResult d = columnSeismicDetailing(r.envelope, 1, 2, 0.3);
    EXPECT_TRUE(hasNote(d.lines, "ρv 需 >= 0.60%, Φ8@100(2 肢, 双向) 得 0.80%")) << d.lines.back();
    EXPECT_TRUE(d.failures.empty());
}
