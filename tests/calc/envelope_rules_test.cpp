// The envelope as a checking engineer reads it: live-load patterns against
// a superposition by hand, sagging at supports designed as bottom steel,
// the half simple-span rule with redistribution, ties to the first listed.
#include "calc/envelope.h"
#include "calc/envelope_report.h"
#include "calc/load_cases.h"
#include "calc/seismic_combination.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "design/beam_design.h"
#include "design/materials.h"

#include "regular_frame.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>

namespace kj {
namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }

std::vector<Combination> parsed(std::initializer_list<const char*> texts)
{
    std::vector<Combination> out;
    for (const char* t : texts) out.push_back(parseCombination(t));
    return out;
}

// Three spans of 6.0, 2.4 and 6.0 m, one storey of 3.6 m, beams 250x500,
// columns 400x400; the loads of the three beams as given.
std::string threeSpans(const std::string& loads)
{
    return "T,3,1,0,0,\r\n6.002.403.60,1213\r\n.25.50.40.40,1112222\r\n" + loads + "\r\n300,25\r\n";
}

TEST(LiveLoadPatterns, SpanAndSupportMomentsAreTheHandSuperpositionOfTheLoadedSpans)
{
    const LoadCaseInput g = readLoadCase(LoadCaseKind::G, threeSpans("1 20.0,1 20.0,1 20.0"), "G");
    const LoadCaseInput q = readLoadCase(LoadCaseKind::Q, threeSpans("1 15.0,1 15.0,1 15.0"), "Q");
    // Each span's live load alone, analysed as a frame of its own.
    const InternalForces fg = analyse(g.model);
    const InternalForces q1 = analyse(readLoadCase(LoadCaseKind::Q, threeSpans("1 15.0,0,0"), "Q1").model);
    const InternalForces q2 = analyse(readLoadCase(LoadCaseKind::Q, threeSpans("0,1 15.0,0"), "Q2").model);
    const InternalForces q3 = analyse(readLoadCase(LoadCaseKind::Q, threeSpans("0,0,1 15.0"), "Q3").model);

    EnvelopeOptions patterns;
    patterns.liveLoadPatterns = true;
    const EnvelopeResult e =
        calculateEnvelope({g, q}, parsed({"1.3G+1.5Q"}), "自定义", DesignOptions{}, defaultRules(), patterns);
    const InternalForces& env = e.envelope.forces;

    // The short middle span: its own load only (the checkerboard). With
    // every span loaded it hogs; patterned it sags at mid-span.
    const double S = 2.4;
    const double M1 = 1.3 * fg.M1[2] + 1.5 * q2.M1[2], M2 = 1.3 * fg.M2[2] + 1.5 * q2.M2[2];
    const double midspan = (M1 - M2) / 2 + (1.3 * 20 + 1.5 * 15) * S * S / 8;
    EXPECT_EQ(e.name(e.beamGoverning[2].span), "1.3G+1.5Q[跨2]");
    EXPECT_NEAR(env.Mo[2], midspan, 1e-9);
    EXPECT_NEAR(env.X[2], 1.2, 1e-9);
    EXPECT_GT(env.Mo[2], e.combinations[0].beams[2].Mo + 1);

    // The support between spans 1 and 2: both adjacent spans loaded, the
    // third one not.
    EXPECT_EQ(e.name(e.beamGoverning[1].rightMoment), "1.3G+1.5Q[梁1右负]");
    EXPECT_NEAR(env.M2[1], 1.3 * fg.M2[1] + 1.5 * (q1.M2[1] + q2.M2[1]), 1e-9);
    EXPECT_EQ(e.name(e.beamGoverning[2].leftMoment), "1.3G+1.5Q[梁2左负]");
    EXPECT_NEAR(env.M1[2], 1.3 * fg.M1[2] + 1.5 * (q1.M1[2] + q2.M1[2]), 1e-9);
    // The outer span: itself and the other outer span, the middle one not.
    EXPECT_EQ(e.name(e.beamGoverning[1].span), "1.3G+1.5Q[跨1]");

    // The envelope curves take every layout: at mid-span of the short span
    // the sagging designed for, at its left end the hogging.
    const std::vector<EnvelopePoint> curve = memberEnvelope(e, 2, 12);
    auto point = [&](double x) {
        for (const EnvelopePoint& p : curve)
            if (std::fabs(p.x - x) < 1e-12) return p;
        ADD_FAILURE() << "no point at x = " << x;
        return EnvelopePoint{};
    };
    EXPECT_NEAR(point(1.2).Mmax, midspan, 1e-9);
    EXPECT_NEAR(point(0).Mmin, env.M1[2], 1e-9);

    // The column of the first interior support (column 2), its top moment
    // clockwise: the span on its left loaded, then alternate ones.
    const int col = e.envelope.topo().columnMember(2);
    const std::string nameTop = e.name(e.columnGoverning[2].topSets.maxMoment.governing);
    const double plus = 1.3 * fg.M1[z(col)] + 1.5 * (q1.M1[z(col)] + q3.M1[z(col)]);
    const double minus = 1.3 * fg.M1[z(col)] + 1.5 * q2.M1[z(col)];
    EXPECT_NEAR(e.columnGoverning[2].topSets.maxMoment.M, std::fabs(plus) > std::fabs(minus) ? plus : minus, 1e-9)
        << nameTop;
    // The most axial force: not every span loaded (Q of the far span lifts
    // the column a little), the layout made for it.
    const ColumnForcePair& most = e.columnGoverning[2].topSets.maxAxial;
    EXPECT_EQ(e.name(most.governing), "1.3G+1.5Q[柱2Nmax]");
    EXPECT_GT(most.N, e.combinations[0].columns[2].Ntop);

    // The JSON names the layouts used with the beams they load.
    const std::string json = envelopeJson(e);
    EXPECT_NE(json.find("\"name\": \"跨2\""), std::string::npos);
    EXPECT_NE(json.find("\"liveLoadPatterns\": true"), std::string::npos);
}

TEST(LiveLoadPatterns, EveryDesignedValueIsTheLargestOfEveryLayoutOfATwoStoreyFrame)
{
    // Two storeys of the three spans: 64 layouts of the six beams' Q, with
    // forces near the ends of some spans, so that the largest sagging is
    // not at mid-span.
    const std::string head = "T,3,2,0,0,\r\n6.002.403.60,12133\r\n.25.50.40.40,11111122222222\r\n";
    auto file = [&](const std::string& loads) { return head + loads + "\r\n300,25\r\n"; };
    const LoadCaseInput g = readLoadCase(LoadCaseKind::G, file("1 20.0,1 20.0,1 20.0,1 20.0,1 20.0,1 20.0"), "G");
    LoadCaseInput q = readLoadCase(LoadCaseKind::Q, file("1 15.0,1 15.0,1 15.0,1 15.0,1 15.0,1 15.0"), "Q");
    q.model.loads[1].push_back({60, 0, 4.8}); // a force 1.2 m from the left end
    q.model.loads[3].push_back({45, 0, 0.9});
    q.model.loads[5].push_back({80, 0, 0.6});
    std::vector<InternalForces> unit;
    for (int b = 1; b <= 6; ++b) {
        FrameModel alone = q.model;
        for (int i = 1; i <= 6; ++i)
            if (i != b) alone.loads[z(i)].clear();
        unit.push_back(analyse(alone));
    }
    EnvelopeOptions patterns;
    patterns.liveLoadPatterns = true;
    const EnvelopeResult e =
        calculateEnvelope({g, q}, parsed({"1.0G+1.0Q"}), "自定义", DesignOptions{}, defaultRules(), patterns);
    const InternalForces& fg = e.cases[0].result.forces;
    const InternalForces& env = e.envelope.forces;
    const FrameTopology& t = e.envelope.topo();
    // Every value of every layout: G plus the loaded beams' Q.
    auto largest = [&](auto value) {
        double most = -1e300;
        for (int layout = 0; layout < 64; ++layout) {
            auto sum = [&](const std::vector<double> InternalForces::*field, int i) {
                double v = (fg.*field)[z(i)];
                for (int b = 0; b < 6; ++b)
                    if (layout & (1 << b)) v += (unit[z(b)].*field)[z(i)];
                return v;
            };
            auto along = [&](int i) {
                MemberForces a = fg.along[z(i)];
                for (int b = 0; b < 6; ++b)
                    if (layout & (1 << b)) {
                        a.M1 += unit[z(b)].M1[z(i)];
                        a.V1 += unit[z(b)].V1[z(i)];
                        const std::vector<MemberForces::Load>& own = unit[z(b)].along[z(i)].loads;
                        if (b + 1 == i) a.loads.insert(a.loads.end(), own.begin(), own.end());
                    }
                return a;
            };
            most = std::max(most, value(sum, along));
        }
        return most;
    };
    for (int i = 1; i <= 6; ++i) {
        EXPECT_NEAR(-env.M1[z(i)], largest([&](auto sum, auto) { return -sum(&InternalForces::M1, i); }), 1e-9) << i;
        EXPECT_NEAR(env.M2[z(i)], largest([&](auto sum, auto) { return sum(&InternalForces::M2, i); }), 1e-9) << i;
        EXPECT_NEAR(std::fabs(env.V1[z(i)]),
                    largest([&](auto sum, auto) { return std::fabs(sum(&InternalForces::V1, i)); }), 1e-9)
            << i;
        EXPECT_NEAR(std::fabs(env.V2[z(i)]),
                    largest([&](auto sum, auto) { return std::fabs(sum(&InternalForces::V2, i)); }), 1e-9)
            << i;
        EXPECT_NEAR(env.Mo[z(i)], largest([&](auto, auto along) { return largestSagging(along(i)).M; }), 1e-9) << i;
    }
    for (int c = 1; c <= t.NC; ++c) {
        const int m = t.columnMember(c);
        const ColumnGoverning& gov = e.columnGoverning[z(c)];
        EXPECT_NEAR(std::fabs(gov.topSets.maxMoment.M),
                    largest([&](auto sum, auto) { return std::fabs(sum(&InternalForces::M1, m)); }), 1e-9)
            << c;
        EXPECT_NEAR(std::fabs(gov.bottomSets.maxMoment.M),
                    largest([&](auto sum, auto) { return std::fabs(sum(&InternalForces::M2, m)); }), 1e-9)
            << c;
        // Q carries no self-weight: its axial force is the same at both ends.
        const double weight = fg.N[z(c)] - fg.along[z(m)].N1;
        EXPECT_NEAR(gov.bottomSets.maxAxial.N, largest([&](auto sum, auto) { return sum(&InternalForces::N, c); }), 1e-9);
        EXPECT_NEAR(gov.bottomSets.minAxial.N, -largest([&](auto sum, auto) { return -sum(&InternalForces::N, c); }), 1e-9);
        EXPECT_NEAR(gov.topSets.maxAxial.N,
                    largest([&](auto sum, auto) { return sum(&InternalForces::N, c); }) - weight, 1e-9);
        EXPECT_NEAR(gov.topSets.minAxial.N,
                    -largest([&](auto sum, auto) { return -sum(&InternalForces::N, c); }) - weight, 1e-9);
    }
    // An outer span's largest sagging lies off mid-span, its layout named for the point.
    EXPECT_NE(e.name(e.beamGoverning[5].span).find("[跨5"), std::string::npos);
}

TEST(ConcentratedLoadShear, TheEnvelopeOfAContinuousBeamTakesAlphaCvAsTheSingleCalculationDoes)
{
    // Two spans of 6 m, 250x500, G 10 kN/m, Q two forces of 100 kN 1.5 m
    // from the supports of span 1. At its left support, simply supported,
    // the forces give 1.5 x 100 = 150 kN of 150 + 1.3 x 30 = 189 (79 % >
    // 75 %, GB 50010 6.3.4): lambda = 1500 / h0 > 3 is taken as 3, alphaCv
    // = 1.75 / (3 + 1) = 0.4375.
    const char* text = "CB,2,1,0,1,3\r\n6.00,111\r\n.25.50,11000\r\n1 10.0,1 10.0\r\n300,25\r\n";
    const LoadCaseInput g = readLoadCase(LoadCaseKind::G, text, "G");
    LoadCaseInput q = readLoadCase(LoadCaseKind::Q, text, "Q");
    q.model.loads[1] = {{100, 0, 4.5}, {100, 0, 1.5}};
    q.model.loads[2].clear();
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    const DesignRules& rules = rulesFor(o.code);
    const EnvelopeResult e = calculateEnvelope({g, q}, parsed({"1.3G+1.5Q", "1.0G+1.5Q"}), "自定义", o, rules);
    const BeamDesign& left = e.envelope.beams[1];
    EXPECT_DOUBLE_EQ(left.left.alphaCv, 0.4375);
    EXPECT_EQ(e.name(e.beamGoverning[1].leftShear), "1.3G+1.5Q");
    EXPECT_DOUBLE_EQ(e.envelope.beams[2].right.alphaCv, 0.7); // span 2 carries G only
    // The same beam under the loads of 1.3G+1.5Q in one data file: the same support.
    FrameModel single = g.model;
    for (int i = 1; i <= 2; ++i) {
        for (LoadEntry& l : single.loads[z(i)]) l.w *= 1.3;
        for (LoadEntry l : q.model.loads[z(i)]) single.loads[z(i)].push_back({1.5 * l.w, l.a, l.r});
    }
    const CalculationResult c = calculate(single, o, rules);
    EXPECT_DOUBLE_EQ(c.beams[1].left.alphaCv, 0.4375);
    EXPECT_NEAR(c.beams[1].left.V, left.left.V, 1e-9);
    EXPECT_NEAR(c.beams[1].left.asvs, left.left.asvs, 1e-12);
    EXPECT_EQ(c.beams[1].left.stirrupString, left.left.stirrupString);
    EXPECT_NE(std::find(left.notes.begin(), left.notes.end(), "    左支座以集中荷载为主 (6.3.4), αcv=0.438"),
              left.notes.end());
}

TEST(ColumnTension, AColumnInTensionIsDesignedBy6_2_23OrMarkedFailedNeverDropped)
{
    // 300 x 400 at N = -3000 kN: the default method cannot design tension;
    // GB 50010-2010 6.2.23 needs more than 5 % of b h (9.3.1).
    const ColumnInput pulled{1, {3.6, 0.3, 0.4}, 20, -20, -3000, false, -3000.0, 3.0};
    const ColumnDesign old = defaultRules().designColumn(pulled, {300, 25}, DesignOptions{});
    EXPECT_TRUE(old.top.failed());
    ASSERT_EQ(old.notes.size(), 2u);
    EXPECT_EQ(old.notes[0], "    柱顶 As=9999: 柱受拉 (N=-3000.0 kN), 原方法只能按偏心受压配筋, 可改用 GB50010-2010 按 6.2.23 设计");
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    const ColumnDesign gb = gb50010_2010Rules().designColumn(pulled, {300, 25}, o);
    ASSERT_EQ(gb.notes.size(), 2u);
    EXPECT_EQ(gb.notes[1], "    柱底 As=9999: 全部纵筋超过截面面积的 5% (9.3.1)");
}

TEST(ColumnTension, AStateWithTheColumnInTensionGovernsTheEnvelope)
{
    // The two-span frame under a wind of 300 kN: 1.0G+1.5W lifts the
    // windward column, whose top is then in tension.
    const char* g = "H,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n300,25\r\n";
    const char* w = "HW,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n0,0\r\n104300.0   0.0\r\n300,25\r\n";
    const std::vector<LoadCaseInput> cases{readLoadCase(LoadCaseKind::G, g, "G"), readLoadCase(LoadCaseKind::W, w, "W")};
    const std::vector<Combination> list = parsed({"1.3G+1.5W", "1.3G-1.5W", "1.0G+1.5W", "1.0G-1.5W"});
    const EnvelopeResult old = calculateEnvelope(cases, list, "自定义", DesignOptions{});
    const ColumnGoverning& c1 = old.columnGoverning[1];
    ASSERT_LT(c1.topSets.minAxial.N, 0);
    EXPECT_EQ(old.name(c1.top), old.name(c1.topSets.minAxial.governing)) << c1.topForces.Ntop;
    EXPECT_TRUE(old.envelope.columns[1].top.failed());
    EXPECT_EQ(old.envelope.columns[1].notes.at(0).find("    柱顶 As=9999: 柱受拉 (N=-"), 0u);

    // GB 50010-2010 6.2.23, symmetric steel: As = N e' / (fy (h0 - as')),
    // e' = e0 + h/2 - as', for the state in tension; the envelope's steel
    // is at least that (here 1.3G-1.5W in compression needs more).
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    const EnvelopeResult e = calculateEnvelope(cases, list, "自定义", o, rulesFor(o.code));
    const Governing pulled = e.columnGoverning[1].topSets.minAxial.governing;
    EXPECT_EQ(e.name(pulled), "1.0G+1.5W");
    const ColumnEndDesign& top = e.combinations[z(pulled.combination)].columnDesigns[1].top;
    EXPECT_EQ(top.eccentricity, "大偏心受拉");
    const double N = -1000 * top.N, M = 1e6 * std::fabs(top.M), as = 400 - top.h0;
    EXPECT_NEAR(top.e0, M / N, 1e-9);
    EXPECT_GT(M / N, 200 - as);
    EXPECT_NEAR(top.As, N * (M / N + 200 - as) / (300 * (top.h0 - as)), 1e-9);
    EXPECT_GE(e.envelope.columns[1].top.As, top.As);
}

TEST(SupportSagging, TheWindFromTheOtherSideIsDesignedAsBottomSteel)
{
    // The two-span frame of KJ-1's shape: G 20 kN/m, a wind of 80 kN. The
    // outer support of beam 1 hogs -34.634 under G and sags 33.804 under the
    // wind (slope-deflection by hand): 1.0G+1.5W gives 16.072 kN*m of sagging.
    const char* g = "H,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n300,25\r\n";
    const char* w = "HW,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n0,0\r\n104 80.0   0.0\r\n300,25\r\n";
    const EnvelopeResult e = calculateEnvelope(
        {readLoadCase(LoadCaseKind::G, g, "G"), readLoadCase(LoadCaseKind::W, w, "W")},
        parsed({"1.3G+1.5W", "1.3G-1.5W", "1.0G+1.5W", "1.0G-1.5W"}), "自定义", DesignOptions{});
    const SupportSagging& left = e.supportSagging[1].left;
    ASSERT_TRUE(left.present);
    EXPECT_NEAR(left.M, -34.634 + 1.5 * 33.804, 2e-3);
    EXPECT_EQ(e.name(left.governing), "1.0G+1.5W");
    // Bottom steel as the span designs it, for the unrounded moment.
    const double As = roundHalfEven(flexureDesign(left.M, 250, 500, materialConstants({300, 25})).As);
    EXPECT_EQ(left.design.As, As);
    EXPECT_FALSE(left.design.barString.empty());
    // The mirror: the right end of beam 2 under the wind from the right.
    ASSERT_TRUE(e.supportSagging[2].right.present);
    EXPECT_EQ(e.name(e.supportSagging[2].right.governing), "1.0G-1.5W");
    EXPECT_FALSE(e.supportSagging[1].right.present); // the interior support always hogs
    const RowNotes notes = governingNotes(e);
    EXPECT_NE(notes.beams[1].find("\n    支座正弯矩  左端 M=16.1 底筋As=" + shortestDecimal(As) + " "),
              std::string::npos)
        << notes.beams[1];

    // A load stopping short of a support: the shear stays positive to the
    // right end, and the largest sagging is there, not where the load ends.
    MemberForces a;
    a.length = 6;
    a.V1 = 10;
    a.loads = {{0, 2, 2}};
    const SpanMoment s = largestSagging(a);
    EXPECT_EQ(s.x, 6);
    EXPECT_NEAR(s.M, 10 * 2 - 2 * 2 * 2 / 2.0 + 6 * 4, 1e-12);
}

// One 6 m span of 250x500 between stiff columns of 800x800, under a uniform
// load (kN/m, five characters).
std::string stiffSpan(const char* name, const char* load)
{
    return std::string(name) + ",1,1,0,0,\r\n6.003.60,12\r\n.25.50.80.80,122\r\n1 " + load + "\r\n300,25\r\n";
}

DesignOptions redistributed2010()
{
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    o.beta = 0.8;
    return o;
}

TEST(SimpleSpanRule, WithRedistributionTheSpanTakesHalfTheSimpleSpanMomentUnderGb2010)
{
    // One 6 m span between stiff columns (800x800): nearly fixed ends, so
    // with beta 0.8 the span moment wL^2/24 + 0.2 wL^2/12 = 0.058 wL^2 is
    // below half the simple-span moment, 0.0625 wL^2.
    const LoadCaseInput G = readLoadCase(LoadCaseKind::G, stiffSpan("S", "20.0"), "G");
    const std::string q = stiffSpan("SQ", "10.0");
    DesignOptions o = redistributed2010();
    const DesignRules& rules = rulesFor(o.code);
    EXPECT_DOUBLE_EQ(calculate(G.model, o, rules).beams[1].span.M, 0.5 * 20 * 36 / 8);
    const EnvelopeResult e = calculateEnvelope({G, readLoadCase(LoadCaseKind::Q, q, "Q")},
                                               parsed({"1.3G+1.5Q", "1.0G"}), "自定义", o, rules);
    EXPECT_DOUBLE_EQ(e.envelope.beams[1].span.M, 0.5 * (1.3 * 20 + 1.5 * 10) * 36 / 8);
    const std::vector<std::string> lines = rules.assumptions(o);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[2].find("0.5 倍 (JGJ 3-2010 5.2.3)"), std::string::npos);
    // Without redistribution, and in the default method, no such rule.
    o.beta = 1;
    EXPECT_LT(calculate(G.model, o, rules).beams[1].span.M, 0.5 * 20 * 36 / 8);
    EXPECT_EQ(rules.assumptions(o).size(), 2u);
    o = DesignOptions{};
    o.beta = 0.8;
    EXPECT_LT(calculate(G.model, o).beams[1].span.M, 0.5 * 20 * 36 / 8);
}

TEST(RedistributionLimit, ASupportWhoseRedistributedXiPassesTheLimitKeepsItsWholeMomentInTheEnvelope)
{
    // A 6 m beam 250x500 between stiff columns under 90 kN/m: about 270 kN*m
    // at the supports; redistributed by 0.8, xi would pass 0.35 (5.4.3).
    const LoadCaseInput G = readLoadCase(LoadCaseKind::G, stiffSpan("S", "90.0"), "G");
    const DesignOptions o = redistributed2010();
    const DesignRules& rules = rulesFor(o.code);
    const CalculationResult plain = calculate(G.model, o, rules);
    const EnvelopeResult e = calculateEnvelope({G}, parsed({"1.0G"}), "自定义", o, rules);
    ASSERT_EQ(plain.beams[1].left.beta, 1.0);
    EXPECT_NEAR(e.envelope.beams[1].left.M, plain.beams[1].left.M, 1e-9);
    EXPECT_NEAR(e.envelope.beams[1].right.M, plain.beams[1].right.M, 1e-9);
    EXPECT_NEAR(e.envelope.beams[1].span.M, plain.beams[1].span.M, 1e-9);
    EXPECT_EQ(e.envelope.beams[1].left.As, plain.beams[1].left.As);
    const std::vector<std::string>& notes = e.envelope.beams[1].notes;
    ASSERT_GE(notes.size(), 2u);
    ASSERT_GE(plain.beams[1].notes.size(), 2u);
    EXPECT_EQ(notes[0], plain.beams[1].notes[0]);
    EXPECT_EQ(notes[1], plain.beams[1].notes[1]);
    EXPECT_EQ(notes[0].find("    左支座调幅后 ξ=0."), 0u);
    EXPECT_NE(notes[1].find("右支座调幅后 ξ="), std::string::npos);
    EXPECT_NE(notes[0].find(" > 0.35 (5.4.3), 该支座不调幅 (β=1)"), std::string::npos);

    // The JSON gives the beta applied, 1 there and 0.8 under a light load,
    // and the storeys' etaS with their combination.
    const nlohmann::json j = nlohmann::json::parse(envelopeJson(e));
    EXPECT_EQ(j["envelope"]["members"][0]["design"]["left"]["beta"].get<double>(), 1.0);
    EXPECT_EQ(j["options"]["beta"].get<double>(), 0.8);
    ASSERT_EQ(j["envelope"]["sway"].size(), 1u);
    EXPECT_EQ(j["envelope"]["sway"][0]["etaS"].get<double>(), e.envelope.sway[1].etaS);
    EXPECT_EQ(j["envelope"]["sway"][0]["combination"], "1.0G");
    const EnvelopeResult light =
        calculateEnvelope({readLoadCase(LoadCaseKind::G, stiffSpan("S", "20.0"), "G")}, parsed({"1.0G"}), "自定义", o, rules);
    EXPECT_EQ(light.envelope.beams[1].right.beta, 0.8);
}

TEST(RedistributionLimit, ASeismicSupportKeepsItsWholeMomentWithGammaRE)
{
    // The same beam (6 m, 250 x 500, columns 800 x 800, 90 kN/m) in a
    // seismic envelope of grade 2 with E 50 kN at the roof, β 0.8: ξ 0.366
    // after redistribution (top bars 2Φ18+6Φ20 laid 4/4, h0 429.6), so both supports keep their whole moment, with
    // γRE: under 1.3G-1.4E (G -263.959, E 9.696 at the left end, ηs 1.002747)
    // M = 0.75 × (1.3 × -263.959 - 1.4 × 1.002747 × 9.696) = -267.57 kN m,
    // as without redistribution.
    kjtest::RegularFrame f;
    f.spans = 1;
    f.beamH = 0.5;
    f.columnB = f.columnH = 0.8;
    auto frameCase = [&](LoadCaseKind kind, double q, double F) { return kjtest::regularFrameCase(kind, f, q, F); };
    const std::vector<LoadCaseInput> cases{frameCase(LoadCaseKind::G, 90, 0), frameCase(LoadCaseKind::E, 0, 50)};
    EnvelopeOptions grade2;
    grade2.seismicGrade = 2;
    DesignOptions o = redistributed2010();
    const DesignRules& rules = rulesFor(o.code);
    const EnvelopeResult e = calculateEnvelope(cases, seismicCombinations("GB55001", false), "", o, rules, grade2);
    o.beta = 1;
    const EnvelopeResult whole = calculateEnvelope(cases, seismicCombinations("GB55001", false), "", o, rules, grade2);
    EXPECT_NEAR(e.envelope.beams[1].left.M, -267.57, 0.005);
    EXPECT_NEAR(e.envelope.beams[1].left.M, whole.envelope.beams[1].left.M, 1e-9);
    EXPECT_EQ(e.envelope.beams[1].notes[0], "    左支座调幅后 ξ=0.366 > 0.35 (5.4.3), 该支座不调幅 (β=1)");
}

TEST(NearTies, TheMirrorTwinsOfASymmetricFrameGoToTheFirstListed)
{
    // A symmetric frame: the middle column's moment is the wind's, the same
    // from either side up to round-off, and so is its steel.
    const char* g = "H,2,1,0,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n1 20.0,1 20.0\r\n300,25\r\n";
    const char* w = "HW,2,1,1,0,\r\n6.003.60,112\r\n.25.50.40.40,11222\r\n0,0\r\n104 80.0   0.0\r\n300,25\r\n";
    const std::vector<LoadCaseInput> cases{readLoadCase(LoadCaseKind::G, g, "G"), readLoadCase(LoadCaseKind::W, w, "W")};
    for (const auto& [first, second] : {std::pair{"1.0G-1.5W", "1.0G+1.5W"}, std::pair{"1.0G+1.5W", "1.0G-1.5W"}}) {
        const EnvelopeResult e = calculateEnvelope(cases, parsed({first, second}), "自定义", DesignOptions{});
        const ColumnGoverning& c = e.columnGoverning[2];
        EXPECT_EQ(e.name(c.top), first);
        EXPECT_EQ(e.name(c.bottom), first);
        EXPECT_EQ(e.name(c.topSets.maxMoment.governing), first);
    }

    // A combination the report's columns cannot show is refused, naming it.
    try {
        parseCombination("1000G");
        ADD_FAILURE();
    } catch (const Failure& f) {
        EXPECT_NE(std::string(f.what()).find("\"1000G\" 中 G 的系数 1000 超过三位整数"), std::string::npos) << f.what();
    }
    // The factors of the live load: gamma_L 1.1 and psi_c 0.9.
    const std::vector<std::string> rows = combinationSet("GB55001").rowsWith({1.1, 0.9});
    EXPECT_EQ(rows[0], "1.3G+1.65Q");
    EXPECT_EQ(rows[3], "1.3G+1.485Q+1.5W");
    EXPECT_EQ(combinationWarnings(parsed({"1.5Q+1.5W"})).size(), 1u);
}

} // namespace

TEST(Penthouse, TheEarthquakesEffectsOfStoreysOnTheRoofAreTripledAndNotPassedDown)
{
    // GB 50011 5.2.4: a two-storey frame whose roof is storey 1, its upper
    // storey a penthouse. The E case's forces in the upper storey's beams
    // and columns are three times the analysis; the lower storey's stay.
    kjtest::RegularFrame f;
    f.storeys = 2;
    auto frameCase = [&](LoadCaseKind kind, double q, double F) { return kjtest::regularFrameCase(kind, f, q, F); };
    const std::vector<LoadCaseInput> cases{frameCase(LoadCaseKind::G, 20, 0), frameCase(LoadCaseKind::E, 0, 40)};
    DesignOptions o;
    o.code = DesignCode::Gb50010_2010;
    EnvelopeOptions plain, penthouse;
    plain.seismicGrade = penthouse.seismicGrade = 3;
    penthouse.penthouseStoreys = 1;
    const auto combinations = seismicCombinations("GB55001", false);
    const EnvelopeResult a = calculateEnvelope(cases, combinations, "", o, gb50010_2010Rules(), plain);
    const EnvelopeResult b = calculateEnvelope(cases, combinations, "", o, gb50010_2010Rules(), penthouse);
    const InternalForces &Ea = a.cases[1].result.forces, &Eb = b.cases[1].result.forces;
    const FrameTopology& t = a.envelope.topo();
    for (int i = 1; i <= t.memberCount(); ++i) {
        const bool upper = t.isBeam(i) ? t.beamStorey(i) == 1 : t.columnStorey(i - t.NB) == 1;
        EXPECT_DOUBLE_EQ(Eb.M1[z(i)], (upper ? 3 : 1) * Ea.M1[z(i)]) << i;
        EXPECT_DOUBLE_EQ(Eb.M2[z(i)], (upper ? 3 : 1) * Ea.M2[z(i)]) << i;
    }
    EXPECT_NE(Ea.M1[1], 0);
    EXPECT_DOUBLE_EQ(Eb.V1[1], 3 * Ea.V1[1]);
    EXPECT_DOUBLE_EQ(Eb.N[1], 3 * Ea.N[1]);
    EXPECT_DOUBLE_EQ(Eb.N[t.NC], Ea.N[t.NC]);
    // JGJ 3-2010 5.4.4 reported with the least margin of all combinations,
    // not that of the combination of the largest etaS.
    for (int J = 1; J <= t.NF; ++J) {
        double least = INFINITY;
        for (const CombinationResult& c : b.combinations)
            least = std::min(least, c.sway.storeys[z(J)].elasticD / c.sway.storeys[z(J)].stabilityLimit);
        const SwayStorey& s = b.envelope.sway[z(J)];
        EXPECT_DOUBLE_EQ(s.elasticD / s.stabilityLimit, least) << J;
    }
    // The JSON's combined axial forces stand beside the combined moments;
    // the design forces, with γRE in a seismic combination, apart.
    const nlohmann::json j = nlohmann::json::parse(envelopeJson(b));
    for (std::size_t k = 0; k < b.combinations.size(); ++k) {
        const nlohmann::json& col = j["combinations"][k]["members"][t.NB]; // column 1
        const double N = b.combinations[k].forces.N[1];
        EXPECT_DOUBLE_EQ(col["Nfoot"].get<double>(), N);
        const double ratio = col["designForces"]["Nfoot"].get<double>() / N;
        auto near = [&](double x) { return std::fabs(ratio - x) < 1e-12; };
        EXPECT_TRUE(b.combinations[k].combination.uses(LoadCaseKind::E) ? near(0.75) || near(0.8) : near(1)) << ratio;
    }
}

} // namespace kj
