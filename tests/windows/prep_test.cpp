// The Qt-free logic behind the main window's buttons.
#include "common/failure.h"
#include "common/text.h"
#include "main/data_file_generation.h"
#include "main/external_commands.h"
#include "main/reference_texts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

namespace {

kj::MainEntries initialEntries(const char* spans, const char* storeys)
{
    kj::MainEntries e;
    e.frameName = "KJ-1";
    e.spans = spans;
    e.storeys = storeys;
    e.jointGroups = "0";
    e.fy = "300";
    e.concrete = "30";
    return e;
}

const kj::MemberParameters kParameters{"4.203.60", "12", ".25.45.40.40", "122"};

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find("\r\n", start);
        out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return out;
        start = end + 2;
    }
}

} // namespace

TEST(MemberParameterFile, ReadsFourFieldsAndRejectsFewer)
{
    const auto p = kj::parseMemberParameters("\"4.203.60\",\"12\"\r\n\".25.45.40.40\",\"122\"\r\n", "\\gjcs-1.txt");
    EXPECT_EQ(p.lengthTable, "4.203.60");
    EXPECT_EQ(p.lengthNumbers, "12");
    EXPECT_EQ(p.sectionTable, ".25.45.40.40");
    EXPECT_EQ(p.memberSections, "122");
    // Unquoted fields and a quoted field holding a comma.
    const auto q = kj::parseMemberParameters("  4.20,\"1,2\"\n.25.45,3", "x");
    EXPECT_EQ(q.lengthTable, "4.20");
    EXPECT_EQ(q.lengthNumbers, "1,2");
    EXPECT_EQ(q.memberSections, "3");
    try {
        kj::parseMemberParameters("\"4.20\",\"1\"\r\n\".25.45\"\r\n", "\\gjcs-2.txt");
        FAIL() << "three fields accepted";
    } catch (const kj::Failure& f) {
        EXPECT_NE(std::string(f.what()).find("\\gjcs-2.txt"), std::string::npos) << f.what();
    }
    EXPECT_THROW(kj::parseMemberParameters("", "\\gjcs-1.txt"), kj::Failure);
}

TEST(DataFileText, EachTemplateTakesItsBoxesInMemberOrder)
{
    // Every box holds its own name's number, so the order shows in the text.
    auto e = initialEntries("3", "2");
    for (int i = 5; i <= 77; ++i) e.boxes["Text" + std::to_string(i)] = std::to_string(i) + ";";
    const auto l = lines(kj::dataFileText(e, kParameters));
    ASSERT_EQ(l.size(), 7u);
    EXPECT_EQ(l[0], "KJ-1,3,2,0,0,");
    EXPECT_EQ(l[1], "4.203.60,5;70;72;74;76;");
    EXPECT_EQ(l[2], ".25.45.40.40,32;38;42;46;52;56;34;36;40;44;48;50;54;58;");
    EXPECT_EQ(l[3], "6;,7;");
    EXPECT_EQ(l[4], "10;,27;");
    EXPECT_EQ(l[5], "29;,31;");
    EXPECT_EQ(l[6], "300,30");

    const struct {
        const char *spans, *storeys, *lengths, *sections;
        std::vector<std::string> loads;
    } shapes[] = {
        {"1", "1", "5;74;", "32;34;36;", {"6;"}},
        {"2", "1", "5;70;74;", "32;38;34;36;40;", {"6;,7;"}},
        {"3", "1", "5;70;72;74;", "32;38;42;34;36;40;44;", {"6;,7;", "10;"}},
        {"1", "2", "5;74;76;", "32;46;34;36;48;50;", {"6;,27;"}},
        {"2", "2", "5;70;74;76;", "32;38;46;52;34;36;40;48;50;54;", {"6;,7;", "27;,29;"}},
    };
    for (const auto& s : shapes) {
        e.spans = s.spans;
        e.storeys = s.storeys;
        const auto t = lines(kj::dataFileText(e, kParameters));
        ASSERT_EQ(t.size(), 4 + s.loads.size()) << s.spans << "-" << s.storeys;
        EXPECT_EQ(t[1], std::string("4.203.60,") + s.lengths);
        EXPECT_EQ(t[2], std::string(".25.45.40.40,") + s.sections);
        for (std::size_t i = 0; i < s.loads.size(); ++i) EXPECT_EQ(t[3 + i], s.loads[i]);
        EXPECT_EQ(t.back(), "300,30");
    }
    // Shapes compared as numbers.
    e.spans = " 2.0";
    e.storeys = "1";
    EXPECT_EQ(lines(kj::dataFileText(e, kParameters))[1], "4.203.60,5;70;74;");
}

TEST(DataFileText, HeaderJointLoadsAndOtherShapes)
{
    auto e = initialEntries("2", "1");
    EXPECT_EQ(kj::dataFileText(e, kParameters),
              "KJ-1,2,1,0,0,\r\n4.203.60,\r\n.25.45.40.40,\r\n,\r\n300,30");

    e.spans = "4";
    EXPECT_EQ(kj::dataFileText(e, kParameters), "KJ-1,4,1,0,0,\r\n\r\n\r\n\r\n300,30");
    e.spans = "";
    e.storeys = "";
    EXPECT_EQ(kj::dataFileText(e, kParameters), "KJ-1,,,0,0,\r\n\r\n\r\n\r\n300,30");

    e = initialEntries("1", "1");
    for (int i = 60; i <= 65; ++i) e.boxes["Text" + std::to_string(i)] = "J" + std::to_string(i);
    const std::string body = "4.203.60,\r\n.25.45.40.40,\r\n\r\n";
    e.jointGroups = "2";
    EXPECT_EQ(kj::dataFileText(e, kParameters), "KJ-1,1,1,2,0,\r\n" + body + "J60\r\nJ61\r\n300,30");
    e.jointGroups = "6";
    EXPECT_EQ(lines(kj::dataFileText(e, kParameters)).size(), 11u);
    for (const char* other : {"9", "7", "-1", "2.5"}) {
        e.jointGroups = other;
        EXPECT_EQ(kj::dataFileText(e, kParameters),
                  "KJ-1,1,1," + std::string(other) + ",0,\r\n" + body + "\r\n300,30")
            << other;
    }
    // A text that is not a number counts as no joint loads.
    e.jointGroups = "";
    EXPECT_EQ(kj::dataFileText(e, kParameters), "KJ-1,1,1,,0,\r\n" + body + "300,30");
}

TEST(ReferenceTexts, RebarAreasAreComputedFromTheDiameter)
{
    const auto rows = lines(kj::rebarAreaText());
    ASSERT_EQ(rows.size(), 11u);
    EXPECT_EQ(rows[1], "  6   28   57   85  113  141   6  170  198  226  254 0.222    6");
    EXPECT_EQ(rows[10], " 25  491  982 1473 1963 2454  25 2945 3436 3927 4418 3.853   25");
    const int diameters[] = {6, 8, 10, 12, 14, 16, 18, 20, 22, 25};
    for (int r = 1; r <= 10; ++r) {
        const std::string& row = rows[static_cast<std::size_t>(r)];
        ASSERT_EQ(row.size(), 63u);
        const int d = diameters[r - 1];
        const double one = std::numbers::pi * d * d / 4;
        EXPECT_EQ(std::stoi(row.substr(0, 3)), d);
        EXPECT_EQ(std::stoi(row.substr(28, 4)), d);
        EXPECT_EQ(std::stoi(row.substr(58, 5)), d);
        for (int n = 1; n <= 9; ++n) {
            const std::size_t at = n <= 5 ? 3 + 5 * (n - 1) : 32 + 5 * (n - 6);
            EXPECT_EQ(std::stoi(row.substr(at, 5)), std::lround(n * one)) << d << " mm, " << n << " bars";
        }
        EXPECT_NEAR(std::stod(row.substr(52, 6)), one * 0.00785, 0.0005) << d;
    }
}

TEST(ExternalCommands, ClassicNameFirstThenStandIns)
{
    EXPECT_EQ(kj::externalCommandPrograms(1).front(), "notepad.exe");
    for (int answer : {1, 2, 3, 5}) {
        EXPECT_GT(kj::externalCommandPrograms(answer).size(), 2u) << answer;
        EXPECT_FALSE(kj::externalCommandName(answer).empty());
    }
    for (int answer : {0, 4, 6}) EXPECT_TRUE(kj::externalCommandPrograms(answer).empty());
}
