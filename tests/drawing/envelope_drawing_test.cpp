// The envelope of KJ-1 under G, Q and W drawn as two curves, and the
// choice of a case or a combination.
#include "calc/envelope.h"
#include "calc/options.h"
#include "calc/serviceability_report.h"
#include "design/design_rules.h"
#include "common/textfile.h"
#include "calc_book.h"
#include "frame_painter.h"
#include "test_support.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

kj::EnvelopeResult kj1Envelope(kj::FrameData* deadLoad = nullptr)
{
    std::vector<kj::LoadCaseInput> cases;
    const std::pair<kj::LoadCaseKind, std::string> files[] = {
        {kj::LoadCaseKind::G, "KJ-1"}, {kj::LoadCaseKind::Q, "KJ-1Q"}, {kj::LoadCaseKind::W, "KJ-1W"}};
    for (const auto& [kind, name] : files)
        cases.push_back(kj::readLoadCase(
            kind, kj::readTextFile(std::string(KJ_EXAMPLES_DIR) + "/" + name + ".txt", name + ".txt"), name + ".txt"));
    if (deadLoad) *deadLoad = cases.front().data;
    const kj::CombinationSet& set = kj::combinationSet("GB55001");
    return kj::calculateEnvelope(cases, kj::combinationsFor(set, {true, true, true}), set.title,
                                 kj::parseDesignOptions({}));
}

QString fixed1(double v) { return QString::number(std::fabs(v) < 0.05 ? 0.0 : v, 'f', 1); }

} // namespace

TEST(EnvelopeDrawing, MomentEnvelopeLabelsTheLargestAndLeastEndMomentsOverTheCombinations)
{
    const kj::EnvelopeResult e = kj1Envelope();
    ASSERT_GE(e.combinations.size(), 3u);
    QImage image(3200, 2400, QImage::Format_RGB32);
    QPainter p(&image);
    kjd::FramePainter painter(e.envelope, &e);
    painter.setCaption(kjd::shownCaption(e, {}));
    painter.paint(p, QRectF(0, 0, 3200, 2400), kjd::Layer::Moment);
    p.end();
    const std::vector<QString>& texts = painter.labelTexts();
    // Every member end: both values, the largest and the least over the
    // combinations as summed from the cases, are drawn (by size; the side shows the sign).
    const kj::FrameTopology& t = e.envelope.topo();
    int checked = 0;
    for (int i = 1; i <= t.memberCount(); ++i) {
        for (int end = 0; end < 2; ++end) {
            double hi = -1e300, lo = 1e300;
            for (const kj::CombinationResult& c : e.combinations) {
                const kj::MemberForces& a = c.forces.along[static_cast<std::size_t>(i)];
                const double M = a.M(end == 0 ? 0 : a.length);
                hi = std::max(hi, M);
                lo = std::min(lo, M);
            }
            EXPECT_LT(lo, hi) << "member " << i; // W reverses: the two curves differ at every end
            for (double v : {hi, lo}) {
                if (std::fabs(v) < 0.05) continue;
                EXPECT_NE(std::find(texts.begin(), texts.end(), fixed1(std::fabs(v))), texts.end())
                    << "member " << i << " end " << end << " value " << v;
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 2 * t.memberCount());
    EXPECT_EQ(painter.skippedLabels(), 0);
}

TEST(EnvelopeDrawing, EveryCaseAndCombinationCanBeChosen)
{
    const kj::EnvelopeResult e = kj1Envelope();
    const QStringList names = kjd::shownNames(e);
    ASSERT_EQ(names.size(), static_cast<qsizetype>(1 + e.cases.size() + e.combinations.size()));
    EXPECT_EQ(names[0], QStringLiteral("包络"));
    EXPECT_EQ(names[1], QStringLiteral("G 恒载"));
    EXPECT_EQ(names[3], QStringLiteral("W 风载 (左风)"));
    const int last = static_cast<int>(names.size()) - 1;
    const kjd::Shown s = kjd::shownAt(e, last);
    EXPECT_EQ(s.kind, kjd::Shown::Kind::Combination);
    const kj::CalculationResult r = kjd::shownCalculation(e, s);
    EXPECT_EQ(r.forces.M1, e.combinations.back().forces.M1);
    EXPECT_TRUE(r.beams.empty());
    EXPECT_EQ(kjd::shownCalculation(e, kjd::shownAt(e, 2)).forces.M1, e.cases[1].result.forces.M1);
    // The layers of one state of equilibrium are drawn for a combination, and
    // for the envelope say to choose one; none of them fails.
    QImage image(1100, 760, QImage::Format_RGB32);
    for (kjd::Layer layer : kjd::kLayers) {
        QPainter p(&image);
        kjd::FramePainter(r).paint(p, QRectF(0, 0, 1100, 760), layer);
        kjd::FramePainter env(e.envelope, &e);
        env.paint(p, QRectF(0, 0, 1100, 760), layer);
        if (layer == kjd::Layer::Axial || layer == kjd::Layer::Deflection) {
            const std::vector<QString>& texts = env.labelTexts();
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                    [](const QString& t) { return t.contains(QStringLiteral("请选择一个工况或组合")); }));
        }
    }
}

TEST(EnvelopeDrawing, TheBookOfAnEnvelopeDrawsTheEnvelopesAndEveryCase)
{
    kj::FrameData data;
    const kj::EnvelopeResult e = kj1Envelope(&data);
    kjtest::TempDir dir("kjenvbook");
    const auto path = dir.path / "KJ-1.pdf";
    kjd::BookOptions options;
    options.date = "2026/3/4";
    options.envelope = &e;
    kjd::writeCalculationBook(e.envelope, data, path, options);
    std::string text;
    if (FILE* pipe = ::popen(("pdftotext '" + path.string() + "' -").c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) text.append(buf, n);
        ::pclose(pipe);
    }
    const QString book = QString::fromStdString(text).remove(QLatin1Char(' '));
    for (const char* want : {"弯矩包络图", "剪力包络图", "弯矩图(工况G恒载)", "弯矩图(工况W风载(左风))", "6.6设计内力及控制组合"})
        EXPECT_TRUE(book.contains(QString::fromUtf8(want))) << want;
    EXPECT_FALSE(book.contains(QStringLiteral("请选择一个工况或组合")));
}

TEST(EnvelopeDrawing, TheDriftLayerChecksTheWindCaseAsTheReportsWindTableAndNoCombination)
{
    std::vector<kj::LoadCaseInput> cases;
    for (const auto& [kind, name] : {std::pair{kj::LoadCaseKind::G, "KJ-1"}, std::pair{kj::LoadCaseKind::W, "KJ-1W"}})
        cases.push_back(kj::readLoadCase(
            kind, kj::readTextFile(std::string(KJ_EXAMPLES_DIR) + "/" + name + ".txt", std::string(name) + ".txt"), name));
    kj::DesignSettings settings;
    settings.code = "2010";
    const kj::CombinationSet& set = kj::combinationSet("GB55001");
    const kj::DesignOptions options = kj::parseDesignOptions(settings);
    const kj::EnvelopeResult e = kj::calculateEnvelope(cases, kj::combinationsFor(set, {true, false, true}), set.title,
                                                       options, kj::rulesFor(options.code));
    EXPECT_EQ(kjd::driftCheckOf(e, {kjd::Shown::Kind::Case, 1}), kjd::DriftCheck::Wind);
    EXPECT_EQ(kjd::driftCheckOf(e, {kjd::Shown::Kind::Case, 0}), kjd::DriftCheck::None);
    EXPECT_EQ(kjd::driftCheckOf(e, {kjd::Shown::Kind::Combination, 0}), kjd::DriftCheck::None);

    // The wind case's storey drifts are the wind table's, number for number.
    const kj::CalculationResult& w = e.cases[1].result;
    const std::vector<kjd::StoreyDriftLabel> labels = kjd::storeyDriftLabels(w, kjd::DriftCheck::Wind);
    ASSERT_EQ(labels.size(), e.windDrifts.size());
    ASSERT_FALSE(labels.empty());
    for (std::size_t k = 0; k < labels.size(); ++k) {
        EXPECT_NEAR(labels[k].drift, e.windDrifts[k].drift, 1e-9);
        EXPECT_EQ(labels[k].ratioText.toStdString(), kj::storeyDriftRatioText(e.windDrifts[k]));
        EXPECT_EQ(labels[k].ok, e.windDrifts[k].passes());
        EXPECT_TRUE(labels[k].text().contains(QStringLiteral(" 1/550")));
    }
    QImage image(1100, 760, QImage::Format_RGB32);
    QPainter p(&image);
    kjd::FramePainter fp(w);
    fp.setDriftCheck(kjd::DriftCheck::Wind);
    fp.paint(p, QRectF(0, 0, 1100, 760), kjd::Layer::Drift);
    const std::vector<QString>& texts = fp.labelTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), labels.front().text()), texts.end());
    EXPECT_EQ(fp.skippedLabels(), 0);
    // A combination's drifts are drawn without the limit.
    EXPECT_FALSE(kjd::storeyDriftLabels(kjd::shownCalculation(e, {kjd::Shown::Kind::Combination, 0}),
                                        kjd::DriftCheck::None)
                     .front()
                     .text()
                     .contains(QStringLiteral("1/550")));
}
