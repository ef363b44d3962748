// What a reviewer reads in the book and the drawings: numbers rounded as the
// report rounds them, values beside their own members, every combination of
// the envelope, and floor forces rather than storey shears.
#include "calc/envelope.h"
#include "calc/options.h"
#include "calc/run.h"
#include "calc/seismic_report.h"
#include "common/textfile.h"
#include "calc_book.h"
#include "drawing_support.h"
#include "frame_painter.h"
#include "test_support.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cmath>

namespace {

kj::EnvelopeResult kj1Envelope(kj::FrameData& deadLoad)
{
    std::vector<kj::LoadCaseInput> cases;
    const std::pair<kj::LoadCaseKind, std::string> files[] = {
        {kj::LoadCaseKind::G, "KJ-1"}, {kj::LoadCaseKind::Q, "KJ-1Q"}, {kj::LoadCaseKind::W, "KJ-1W"}};
    for (const auto& [kind, name] : files)
        cases.push_back(kj::readLoadCase(
            kind, kj::readTextFile(std::string(KJ_EXAMPLES_DIR) + "/" + name + ".txt", name + ".txt"), name + ".txt"));
    deadLoad = cases.front().data;
    const kj::CombinationSet& set = kj::combinationSet("GB55001");
    return kj::calculateEnvelope(cases, kj::combinationsFor(set, {true, true, true}), set.title,
                                 kj::parseDesignOptions({}));
}

// Numbers with more than two decimals (or the given number) or more than six
// whole digits (a residual in the form 1.23e-15 is two decimals).
QStringList unrounded(const QString& text, int decimals = 2)
{
    static const QRegularExpression number(QStringLiteral("(\\d+)(?:\\.(\\d+))?"));
    QStringList bad;
    for (auto it = number.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(1).size() > 6 || m.captured(2).size() > decimals) bad << m.captured(0);
    }
    return bad;
}

void scanBook(const kjd::BookTexts& texts, const std::string& where)
{
    // Crack widths and the storey drifts under the earthquake are written to 0.001 mm, as the report writes them.
    int thousandths = -1, width = 0;
    for (const QStringList& row : texts.tableRows) {
        const int header = std::max(row.indexOf(QStringLiteral("wmax (mm)")), row.indexOf(QStringLiteral("层间位移 (mm)")));
        if (header >= 0) thousandths = header, width = static_cast<int>(row.size());
        else if (row.size() != width) thousandths = -1;
        for (int c = 0; c < row.size(); ++c)
            EXPECT_TRUE(unrounded(row[c], c == thousandths && header < 0 ? 3 : 2).isEmpty())
                << where << ": cell \"" << row[c].toStdString() << "\"";
    }
    // So are the drift layer's storey drifts of E, beside the block's table.
    for (const QString& label : texts.drawingTexts)
        EXPECT_TRUE(unrounded(label, label.startsWith(QStringLiteral("Δu=")) ? 3 : 2).isEmpty())
            << where << ": label \"" << label.toStdString() << "\"";
    // The design tables hold whole kN, kN·m and mm² (the first line of a cell; the second names a combination).
    bool inBeams = false;
    for (const QStringList& row : texts.tableRows) {
        if (row.size() == 13 && row[1] == QStringLiteral("左 M")) inBeams = true;
        else if (row.size() != 13) inBeams = false;
        else if (inBeams) {
            for (int c : {1, 2, 3, 5, 6, 7, 9, 11, 12}) {
                EXPECT_FALSE(row[c].section(QLatin1Char('\n'), 0, 0).contains(QLatin1Char('.'))) << where << ": " << row[c].toStdString();
            }
        }
    }
    // No value left out: every one the drawings could not place is listed.
    EXPECT_EQ(texts.droppedValues, texts.listedValues) << where;
}

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b)
{
    const QPointF d = b - a;
    const double len2 = d.x() * d.x() + d.y() * d.y();
    const double t = len2 > 0 ? std::clamp(((p - a).x() * d.x() + (p - a).y() * d.y()) / len2, 0.0, 1.0) : 0;
    return QLineF(p, a + d * t).length();
}

} // namespace

TEST(BookReview, NoNumberInAnyBookOrWindowHasMoreDigitsThanItsColumnAllows)
{
    kjd::BookOptions options;
    options.date = "2026/3/4";
    for (const char* name : {"KJ-1", "KJ-2", "KJ-3", "CB-1"}) {
        const kj::FileCalculation fc = kjtest::calculateExample(name);
        scanBook(kjd::calculationBookTexts(fc.calculation, fc.data, options), name);
        // The window at its default size, every layer.
        kjd::FramePainter painter(fc.calculation);
        QImage image(kjd::kDefaultViewWidth, kjd::kDefaultViewHeight, QImage::Format_RGB32);
        for (kjd::Layer layer : kjd::kLayers) {
            QPainter p(&image);
            painter.paint(p, QRectF(0, 0, image.width(), image.height()), layer);
            for (const QString& label : painter.labelTexts())
                EXPECT_TRUE(unrounded(label).isEmpty()) << name << " window: " << label.toStdString();
        }
    }
    // GB 50010-2010, whose records hold unrounded values.
    kj::DesignSettings settings;
    settings.code = "2010";
    const kj::FileCalculation fc = kj::calculateDataFile(KJ_EXAMPLES_DIR "/KJ-3.txt", "KJ-3.txt", settings);
    scanBook(kjd::calculationBookTexts(fc.calculation, fc.data, options), "KJ-3 2010");
    kj::FrameData dead;
    const kj::EnvelopeResult e = kj1Envelope(dead);
    options.envelope = &e;
    scanBook(kjd::calculationBookTexts(e.envelope, dead, options), "KJ-1 envelope");
}

// GB 50010-2010 with the live load as a case and the earthquake: the book's
// seismic and serviceability sections, through the run's hook as the batch
// command writes the book.
TEST(BookReview, SeismicAndServiceabilitySectionsShowTheReportsNumbers)
{
    kjtest::TempDir dir("kjbookeq");
    for (const char* name : {"KJ-1.txt", "KJ-1Q.txt", "KJ-2.txt"})
        kjtest::writeBytes(dir.path / name, kjtest::bytesOf(std::string(KJ_EXAMPLES_DIR) + "/" + name));
    kj::setWorkingRoot(dir.path);
    kj::CalcRequest req;
    req.design.code = "2010";
    req.pdfName = "\\book.pdf";
    kjd::BookTexts texts;
    std::optional<kj::SeismicAction> seen;
    req.pdfWriter = [&](const kj::CalculationResult& r, const kj::FrameData& d, const kj::EnvelopeResult* e,
                        const kj::SeismicAction* seismic, const kj::TitleBlock&, const std::filesystem::path&) {
        kjd::BookOptions options;
        options.envelope = e;
        options.seismic = seismic;
        if (seismic) seen = *seismic;
        texts = kjd::calculationBookTexts(r, d, options);
    };
    // The rows of the table headed by a column header.
    const auto rowsUnder = [&](const QString& header) {
        std::vector<QStringList> rows;
        const std::vector<QStringList>& all = texts.tableRows;
        for (std::size_t k = 0; k < all.size(); ++k)
            if (all[k].contains(header))
                for (std::size_t j = k + 1; j < all.size() && all[j].size() == all[k].size(); ++j) rows.push_back(all[j]);
        return rows;
    };
    // One data file, no earthquake: design values, no serviceability table.
    req.dataName = "\\KJ-2.txt";
    const kj::CalcResult single = kj::runCalculation(req);
    scanBook(texts, "KJ-2 2010");
    for (const kj::BeamDesign& b : single.calculation.beams) EXPECT_FALSE(b.serviceability);
    EXPECT_FALSE(single.calculation.serviceabilityNote.empty());
    EXPECT_TRUE(rowsUnder(QStringLiteral("wmax (mm)")).empty());
    EXPECT_TRUE(rowsUnder(QStringLiteral("层间位移 (mm)")).empty());

    req.cases = {{"G", "\\KJ-1.txt"}, {"Q", "\\KJ-1Q.txt"}};
    req.seismic = {"8", "II", "2", "", ""};
    const kj::CalcResult quake = kj::runCalculation(req);
    ASSERT_TRUE(seen && quake.seismic);
    scanBook(texts, "KJ-1 seismic");
    const std::vector<QStringList> floors = rowsUnder(QStringLiteral("层间位移 (mm)"));
    ASSERT_EQ(floors.size(), seen->floors.size());
    // From the roof down, cell for cell as the report's block.
    for (std::size_t k = 0; k < floors.size(); ++k) {
        const kj::SeismicFloor& f = seen->floors[seen->floors.size() - 1 - k];
        const kj::SeismicFloorCells c = kj::seismicFloorCells(f);
        EXPECT_EQ(floors[k][0].toStdString(), c.level);
        EXPECT_EQ(floors[k][3].toStdString(), c.F);
        EXPECT_EQ(floors[k][6].toStdString(), c.drift);
        EXPECT_EQ(floors[k][8], f.driftOk ? QStringLiteral("满足") : QStringLiteral("不满足"));
    }
    EXPECT_FALSE(rowsUnder(QStringLiteral("wmax (mm)")).empty());
}

TEST(BookReview, EveryLabelOfAMemberIsAnchoredOnItAndNearerItThanAnyOtherMemberOfItsKind)
{
    for (const char* name : {"KJ-2", "KJ-3"}) {
        const kj::FileCalculation fc = kjtest::calculateExample(name);
        const kj::FrameTopology& t = fc.calculation.topo();
        kjd::FramePainter painter(fc.calculation);
        QImage image(kjd::kDefaultViewWidth, kjd::kDefaultViewHeight, QImage::Format_RGB32);
        for (kjd::Layer layer : kjd::kLayers) {
            QPainter p(&image);
            painter.paint(p, QRectF(0, 0, image.width(), image.height()), layer);
            const auto ends = [&](int i) {
                const kj::FrameModel& m = fc.calculation.model;
                if (t.isBeam(i))
                    return std::pair{painter.map(m.nodeX(t.leftNode(i)), m.nodeY(t.leftNode(i))),
                                     painter.map(m.nodeX(t.rightNode(i)), m.nodeY(t.rightNode(i)))};
                const int c = i - t.NB;
                return std::pair{painter.map(m.x[static_cast<std::size_t>(t.columnLine(c))], m.y[static_cast<std::size_t>(t.columnStorey(c))]),
                                 painter.map(m.x[static_cast<std::size_t>(t.columnLine(c))], m.y[static_cast<std::size_t>(t.columnStorey(c) + 1)])};
            };
            if (layer != kjd::Layer::Deflection && layer != kjd::Layer::Drift) {
                EXPECT_FALSE(painter.memberLabels().empty()) << name;
            }
            for (const kjd::PlacedLabel& l : painter.memberLabels()) {
                const auto [a, b] = ends(l.member);
                const std::string where = std::string(name) + " " + kjd::layerTitle(layer).toStdString() + " " +
                                          painter.memberName(l.member).toStdString() + " \"" + l.text.toStdString() + "\"";
                // The anchor lies alongside the member, between its ends.
                const bool alongside = t.isBeam(l.member) ? l.anchor.x() >= a.x() - 1 && l.anchor.x() <= b.x() + 1
                                                          : l.anchor.y() >= a.y() - 1 && l.anchor.y() <= b.y() + 1;
                EXPECT_TRUE(alongside) << where;
                // The text is no nearer any other beam (column) than its own.
                const double own = distanceToSegment(l.rect.center(), a, b);
                for (int j = 1; j <= t.memberCount(); ++j) {
                    if (j == l.member || t.isBeam(j) != t.isBeam(l.member)) continue;
                    const auto [c, d] = ends(j);
                    EXPECT_LE(own, distanceToSegment(l.rect.center(), c, d) + 1.0) << where << " nearer " << painter.memberName(j).toStdString();
                }
            }
        }
    }
}

TEST(BookReview, EnvelopeBookListsEveryCombinationAndItsFactors)
{
    kj::FrameData dead;
    const kj::EnvelopeResult e = kj1Envelope(dead);
    kjd::BookOptions options;
    options.date = "2026/3/4";
    options.envelope = &e;
    const kjd::BookTexts texts = kjd::calculationBookTexts(e.envelope, dead, options);
    ASSERT_GE(e.combinations.size(), 4u);
    for (std::size_t k = 0; k < e.combinations.size(); ++k) {
        const kj::Combination& c = e.combinations[k].combination;
        const QString gFactor = QString::number(c.factor(kj::LoadCaseKind::G), 'f', 2);
        bool listed = false;
        for (const QStringList& row : texts.tableRows)
            listed = listed || (row.size() == 5 && row[0] == QString::number(k + 1) &&
                                row[1] == QString::fromStdString(c.name) && row[2] == gFactor);
        EXPECT_TRUE(listed) << c.name;
    }
    // The governing combinations of beam 1's designed values, in the row beside its design.
    const kj::BeamGoverning& g = e.beamGoverning[1];
    const QStringList want{QStringLiteral("1"), QString::fromStdString(e.name(g.leftMoment)),
                           QString::fromStdString(e.name(g.leftShear)), QString::fromStdString(e.name(g.rightMoment)),
                           QString::fromStdString(e.name(g.rightShear)), QString::fromStdString(e.name(g.span))};
    bool beside = false;
    for (const QStringList& row : texts.tableRows) beside = beside || row == want;
    EXPECT_TRUE(beside);
}

TEST(BookReview, FloorForcesOfKJ2AreTheDifferencesOfItsStoreyShears)
{
    const kj::FileCalculation fc = kjtest::calculateExample("KJ-2");
    // Storey shears 30 (top) and 20 kN: 30 kN to the right at the roof, 10 kN
    // to the left at the level below it, which the labels, counting from the
    // ground, call storey 1.
    EXPECT_DOUBLE_EQ(kjd::floorForce(fc.calculation.forces, 1), 30.0);
    EXPECT_DOUBLE_EQ(kjd::floorForce(fc.calculation.forces, 2), -10.0);
    kjd::FramePainter painter(fc.calculation);
    QImage image(kjd::kDefaultViewWidth, kjd::kDefaultViewHeight, QImage::Format_RGB32);
    QPainter p(&image);
    painter.paint(p, QRectF(0, 0, image.width(), image.height()), kjd::Layer::Loads);
    int found = 0;
    for (const kjd::DrawnValue& v : painter.values()) {
        if (v.what.startsWith(QStringLiteral("第1层 (自下而上) 楼面水平力"))) {
            EXPECT_EQ(v.text, QStringLiteral("-10.0"));
            EXPECT_TRUE(v.drawn);
            ++found;
        }
        if (v.what.startsWith(QStringLiteral("第1层 (自下而上) 层间剪力"))) {
            EXPECT_EQ(v.text, QStringLiteral("V=20.0"));
        }
    }
    EXPECT_EQ(found, 1);
}
