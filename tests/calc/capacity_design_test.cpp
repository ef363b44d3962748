// Capacity design of a frame structure under a seismic combination (GB
// 50011-2010 6.2.2 to 6.2.5, Table 6.3.6), checked by hand on a frame of two
// spans and two storeys, and whole frames in every grade against their
// static design.
#include "calc/capacity_design.h"
#include "calc/envelope.h"
#include "calc/run.h"
#include "common/textfile.h"
#include "design/gb50010_2010.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>

namespace fs = std::filesystem;
using namespace kj;

namespace {

// Two spans of 6 m, storeys of 4 m; beams 250 x 600, columns 500 x 500.
// Beams 1, 2 at the roof, 3, 4 at level 2; columns 1..3 the top storey, 4..6
// the ground storey; joint 5 has beam 3 on its left, beam 4 on its right,
// column 5 below and column 2 above.
FrameModel twoSpanFrame()
{
    FrameModel m;
    m.topo = FrameTopology::of(2, 2);
    m.members.assign(static_cast<std::size_t>(m.topo.memberCount()) + 1, Member{});
    for (int i = 1; i <= m.topo.NB; ++i) m.members[static_cast<std::size_t>(i)] = {6.0, 0.25, 0.6};
    for (int c = 1; c <= m.topo.NC; ++c) m.members[static_cast<std::size_t>(m.topo.columnMember(c))] = {4.0, 0.5, 0.5};
    return m;
}

struct Forces {
    std::vector<BeamDesignForces> beams = std::vector<BeamDesignForces>(5);
    std::vector<ColumnDesignForces> columns = std::vector<ColumnDesignForces>(7);
    InternalForces f;
    Forces()
    {
        f.along.assign(11, MemberForces{});
        for (int i = 1; i <= 4; ++i) {
            f.along[static_cast<std::size_t>(i)].length = 6.0;
            f.along[static_cast<std::size_t>(i)].loads = {{0, 6, 30}}; // 30 kN/m: VGb = 30 x 5.5 / 2 = 82.5 kN
        }
        for (ColumnDesignForces& c : columns) c.Ntop = c.Nfoot = 1000; // 1000 / (14.3 x 0.25e3) = 0.280
    }
};

TEST(CapacityDesign, StrongColumnAndStrongShearByHand)
{
    const FrameModel m = twoSpanFrame();
    Forces s;
    // Joint 5 swayed: ΣMb = 120 + 80 = 200 clockwise, ΣMc = -110 - 90 = -200.
    s.beams[3] = {100, 120, 100, -120, 0, 0};
    s.beams[4].M1 = 80;
    s.columns[5].Mtop = -110;
    s.columns[5].Mbottom = -150;
    s.columns[2].Mbottom = -90;
    s.columns[2].Ntop = s.columns[2].Nfoot = 500; // 0.140 < 0.15: keeps its moment (6.2.2)

    const CapacityDesign c = capacityDesign(m, s.beams, s.columns, s.f, 2, 14.3);
    EXPECT_NEAR(c.columns[5].axialRatio, 1000 / (14.3 * 250), 1e-12);
    EXPECT_DOUBLE_EQ(c.columns[5].topFactor, 1.5); // ηc 1.5 x 200 / 200
    EXPECT_DOUBLE_EQ(c.columns[2].footFactor, 1.0);
    EXPECT_DOUBLE_EQ(c.columns[5].footFactor, 1.5); // 6.2.3, grade 2
    EXPECT_TRUE(c.columns[5].groundFoot);
    // 6.2.5: Hn = 4 - 0.6 = 3.4; V = 1.3 (-165 - 225) / 3.4.
    EXPECT_NEAR(c.columns[5].V, 1.3 * (-165 - 225) / 3.4, 1e-9);
    // 6.2.4 (11.3.2): ln = 6 - 0.5 = 5.5 between the column faces; the
    // simple beam on ln under 30 kN/m: VGb = 30 x 5.5 / 2 = 82.5; V = 1.2 x
    // (100 + 120) / 5.5 + 82.5 = 48 + 82.5 = 130.5. ΣMb of the joints keeps
    // the moments before γRE.
    EXPECT_DOUBLE_EQ(c.beams[3].ln, 5.5);
    EXPECT_DOUBLE_EQ(c.beams[3].VGb1, 82.5);
    EXPECT_NEAR(c.beams[3].V1, 130.5, 1e-9);
    EXPECT_NEAR(c.beams[3].V2, 130.5, 1e-9);
    EXPECT_DOUBLE_EQ(c.beams[3].M2, 120);
    // A force of 60 kN 1.5 m from the left face on ln = 5.5: 60 x 4 / 5.5 =
    // 43.64 on the left; one on the joint (x = 0.1 < 0.25) stands on the column.
    MemberForces point;
    point.length = 6.0;
    point.loads = {{1.75, 1.75, 60}, {0.1, 0.1, 80}};
    const auto [left, right] = simplySupportedShears(point, 0.25, 5.75);
    EXPECT_NEAR(left, 60 * 4 / 5.5, 1e-12);
    EXPECT_NEAR(right, 60 * 1.5 / 5.5, 1e-12);

    // Grade 3 (6.2.5, frame structure): ηvc = 1.2; column 5 with ηc 1.3 x
    // 200 / 200 at its top and 1.3 at its foot (6.2.3): V = 1.2 x (-110 x 1.3
    // - 150 x 1.3) / 3.4 = -119.29.
    const CapacityDesign three = capacityDesign(m, s.beams, s.columns, s.f, 3, 14.3);
    EXPECT_NEAR(three.columns[5].V, 1.2 * 1.3 * (-110 - 150) / 3.4, 1e-9);
    EXPECT_NEAR(three.columns[5].V, -119.29, 0.005);

    applyCapacityDesign(s.beams, s.columns, c);
    EXPECT_DOUBLE_EQ(s.columns[5].Mtop, -165);
    EXPECT_DOUBLE_EQ(s.columns[5].Mbottom, -225);
    EXPECT_DOUBLE_EQ(s.columns[2].Mbottom, -90);
    EXPECT_NEAR(s.beams[3].V1, 130.5, 1e-9);
    EXPECT_NEAR(s.beams[3].V2, -130.5, 1e-9); // the sign of the combination kept
    EXPECT_EQ(beamAmplificationText(c, 3, true), "ηvb=1.20");
    EXPECT_EQ(columnAmplificationText(c, 5, true), "ηcΣMb/ΣMc=1.50 ηvc=1.30");

    // Grade 1, both beam ends hogging: the smaller one counts as nothing.
    EXPECT_DOUBLE_EQ(jointBeamMoment(150, -60, 1), 150);
    EXPECT_DOUBLE_EQ(jointBeamMoment(150, -60, 2), 90);
    // Grade 4: no beam shear amplification; the top level is never raised.
    const CapacityDesign four = capacityDesign(m, s.beams, s.columns, s.f, 4, 14.3);
    EXPECT_DOUBLE_EQ(four.beams[3].V1, 0);
    EXPECT_DOUBLE_EQ(four.columns[2].topFactor, 1.0);
}

TEST(CapacityDesign, AxialRatioAtItsLimit)
{
    const FrameModel m = twoSpanFrame();
    EnvelopeResult r;
    for (double N : {3000.0, 3000.4}) { // 3000 / (16 x 250) = 0.75, the limit of grade 2
        Forces s;
        for (ColumnDesignForces& c : s.columns) c.Ntop = c.Nfoot = N;
        CombinationResult cr;
        cr.combination.name = N == 3000 ? "at" : "above";
        cr.capacity = capacityDesign(m, s.beams, s.columns, s.f, 2, 16.0);
        r.combinations.push_back(cr);
        const std::vector<AxialRatioCheck> a = axialRatioChecks(r);
        ASSERT_EQ(a.size(), 7u);
        EXPECT_EQ(r.name(a[4].combination), cr.combination.name);
        EXPECT_DOUBLE_EQ(a[4].limit, 0.75);
        EXPECT_EQ(a[4].ok, N == 3000);
    }
}

// The seismic shear of GB 50010-2010 with C30 (ft 1.43, fc 14.3): beams
// 11.3.3 and 11.3.4, columns 11.4.6 and 11.4.7, by hand.
TEST(CapacityDesign, SeismicShearCapacityByHand)
{
    const gb2010::Rules r = gb2010::makeRules(360, 30);
    const gb2010::BeamShear beam = gb2010::designBeamShear(180, 250, 500, 465, false, r, {2, 6}, 0.7, true);
    EXPECT_NEAR(beam.Vc, 0.6 * 0.7 * 1.43 * 250 * 465 / 1000, 1e-9);
    EXPECT_NEAR(beam.limit, 0.20 * 14.3 * 250 * 465 / 1000, 1e-9);
    EXPECT_NEAR(beam.asvsRequired, (180e3 - 0.42 * 1.43 * 250 * 465) / (270 * 465), 1e-9);
    // λ = 3000 / 720 is above 3: 3.
    const gb2010::ColumnShear column = gb2010::designColumnShear(150, 500, 400, 400, 360, 3000, 0.01, r, {}, true);
    EXPECT_NEAR(column.Vc, 1.05 / 4 * 1.43 * 400 * 360 / 1000, 1e-9);
    EXPECT_NEAR(column.Nshare, 0.056 * 500, 1e-9);
    EXPECT_NEAR(column.limit, 0.20 * 14.3 * 400 * 360 / 1000, 1e-9);
}

// KJ-2 (three spans, two storeys) designed with intensity 8 in every grade:
// no section gets less steel or fewer stirrups than the static design, and
// no detailing requirement is left unmet.
TEST(CapacityDesign, SeismicNeverLowersTheSteel)
{
    kjtest::TempDir temp{"kjcapacity"};
    setWorkingRoot(temp.path);
    fs::copy_file(fs::path(KJ_EXAMPLES_DIR) / "KJ-2.txt", temp.path / "KJ-2.txt");
    CalcRequest r;
    r.cases = {{"G", "\\KJ-2.txt"}};
    r.design.code = "GB50010-2010";
    r.renewal = "1";
    const CalcResult plain = runCalculation(r);
    const CalculationResult& s = plain.envelope->envelope;
    for (const char* grade : {"1", "2", "3", "4"}) {
        SCOPED_TRACE(grade);
        r.seismic = {"8", "II", "1", grade, ""};
        r.jsonName = "\\out.json";
        const CalcResult seismic = runCalculation(r);
        const CalculationResult& e = seismic.envelope->envelope;
        for (std::size_t i = 1; i < s.beams.size(); ++i)
            for (auto part : {&BeamDesign::left, &BeamDesign::right, &BeamDesign::span}) {
                EXPECT_GE((e.beams[i].*part).As, (s.beams[i].*part).As - 1e-9) << "beam " << i;
                EXPECT_GE((e.beams[i].*part).asvs, (s.beams[i].*part).asvs - 1e-9) << "beam " << i;
            }
        for (std::size_t c = 1; c < s.columns.size(); ++c) {
            EXPECT_GE(e.columns[c].top.As, s.columns[c].top.As - 1e-9) << "column " << c;
            EXPECT_GE(e.columns[c].bottom.As, s.columns[c].bottom.As - 1e-9) << "column " << c;
            EXPECT_GE(e.columns[c].tieAsvs, s.columns[c].tieAsvs - 1e-9) << "column " << c;
        }
        const nlohmann::json j = nlohmann::json::parse(kjtest::bytesOf(temp.path / "out.json"));
        EXPECT_EQ(j["seismic"]["capacity"]["grade"].get<int>(), std::stoi(grade));
        EXPECT_EQ(j["seismic"]["capacity"]["columns"].size(), s.columns.size() - 1);
        const std::string report = readTextFile(temp.path / "zemowj1.txt", "\\zemowj1.txt");
        EXPECT_NE(report.find("轴压比 N/(fc A)="), std::string::npos);
        EXPECT_NE(report.find("γRE="), std::string::npos);
        EXPECT_NE(report.find("箍筋加密区 长 "), std::string::npos);
        EXPECT_NE(report.find("加密区 λv="), std::string::npos);
        // The detailing gave the frame its minimums, densified stirrups and ties.
        EXPECT_EQ(report.find("抗震构造不满足"), std::string::npos);
        EXPECT_NE(report.find("抗震构造: "), std::string::npos);
        EXPECT_TRUE(j["seismic"]["capacity"]["beams"][0]["detailingFailures"].is_array());
    }
}

} // namespace
