#include "viewers/result_views.h"

#include "common/clock.h"
#include "common/failure.h"
#include "common/items.h"
#include "common/numbers.h"
#include "common/text.h"

#include <array>
#include <cctype>

namespace kj {

namespace {

bool isBlankLine(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// A whole item is a number: blanks anywhere, an optional sign, digits with
// an optional decimal point, an optional exponent (E or D) with digits.
bool isNumberText(std::string_view item)
{
    std::string s;
    for (char c : item)
        if (c != ' ' && c != '\t') s += c;
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
        return i - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t mantissa = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == s.size();
}

// "4-10 框架 (40 根梁、50 根柱)": the frame a force-diagram file of that many
// beam and column lines was written for, when the counts form one. L spans
// and NF storeys have L·NF beams and (L+1)·NF columns; a continuous beam has
// no column lines.
std::optional<std::string> fileFrame(std::size_t beams, std::size_t columns)
{
    if (beams == 0) return std::nullopt;
    if (columns == 0) return std::to_string(beams) + " 根梁的连续梁 (没有柱)";
    if (columns <= beams) return std::nullopt;
    const std::size_t storeys = columns - beams;
    if (beams % storeys != 0) return std::nullopt;
    return std::to_string(beams / storeys) + "-" + std::to_string(storeys) + " 框架 (" + std::to_string(beams) +
           " 根梁、" + std::to_string(columns) + " 根柱)";
}

const FrameTemplate& templateOf(int shape)
{
    return frameTemplates().at(static_cast<std::size_t>(shape));
}

} // namespace

ViewerShape viewerShape(int shape)
{
    const FrameTemplate& t = templateOf(shape);
    return {t.spans, t.storeys};
}

std::string shapeName(int shape)
{
    return templateOf(shape).name();
}

std::optional<int> viewerShapeOf(std::string_view spansText, std::string_view storeysText)
{
    const int spans = indexValue(spansText);
    const int storeys = indexValue(storeysText);
    const FrameTemplate* t = findTemplate(spans, storeys);
    if (!t) return std::nullopt;
    return static_cast<int>(t - frameTemplates().data());
}

std::vector<int> beamPositions(int shape)
{
    return templateOf(shape).beamPositions();
}

std::vector<int> columnPositions(int shape)
{
    return templateOf(shape).columnPositions();
}

std::string boxName(int number)
{
    return "Text" + std::to_string(number);
}

std::vector<std::string> beamGroupBoxes(int position)
{
    std::vector<std::string> out;
    for (int k = 6 * position - 5; k <= 6 * position; ++k) out.push_back(boxName(k));
    return out;
}

std::vector<std::string> columnPairBoxes(int position)
{
    return {boxName(40 + 2 * position), boxName(41 + 2 * position)};
}

std::string numberBox(int position)
{
    return boxName(6 * position);
}

std::vector<BoxText> beamNumberTexts(std::optional<int> shape)
{
    std::array<std::string, 6> numbers;
    for (int p = 1; p <= 6; ++p) numbers[static_cast<std::size_t>(p - 1)] = std::to_string(p);
    if (shape) {
        int beam = 0;
        for (int p : beamPositions(*shape)) numbers[static_cast<std::size_t>(p - 1)] = std::to_string(++beam);
    }
    std::vector<BoxText> out;
    for (int p = 1; p <= 6; ++p) out.push_back({numberBox(p), numbers[static_cast<std::size_t>(p - 1)]});
    return out;
}

std::string dateStamp(const std::tm& when)
{
    const ShortDateTime t = shortDateTime(when);
    return "DATE: " + t.date + "/" + t.time;
}

std::string dateStampNow()
{
    const ShortDateTime t = shortDateTimeNow();
    return "DATE: " + t.date + "/" + t.time;
}

std::vector<BoxText> reinforcementTexts(int shape, const std::string& fileText, std::string_view shownName)
{
    const std::vector<int> positions = beamPositions(shape);
    const std::string file = "配筋文件 " + std::string(shownName);
    // Where the five fields of a beam line go within its group: the group's
    // boxes hold top bars left, top bars right, stirrups left, bottom bars,
    // stirrups right, number.
    constexpr std::array<int, 5> kFieldBox{0, 2, 1, 4, 3};

    // More beam lines than the shape has beams: a file of another frame.
    std::size_t beamLines = 0;
    for (const std::string& line : splitLines(fileText))
        if (!isBlankLine(line) && readItems(line).size() == 5) ++beamLines;
    if (beamLines > positions.size())
        throw Failure(file + " 有 " + std::to_string(beamLines) + " 行梁配筋, 是至少有 " + std::to_string(beamLines) +
                      " 根梁的框架的; 当前为 " + shapeName(shape) + " 框架 (" + std::to_string(positions.size()) +
                      " 根梁): 没有绘图");

    std::vector<BoxText> out;
    std::size_t beam = 0;
    int lineNumber = 0;
    for (const std::string& line : splitLines(fileText)) {
        if (beam == positions.size()) break;
        ++lineNumber;
        if (isBlankLine(line)) continue;
        const std::vector<std::string> fields = readItems(line);
        if (fields.size() != 5)
            throw Failure(file + " 第 " + std::to_string(lineNumber) + " 行有 " + std::to_string(fields.size()) +
                          " 项, 配筋行应有 5 项(左端上部筋, 左端箍筋, 右端上部筋, 右端箍筋, 跨中下部筋)");
        const std::vector<std::string> boxes = beamGroupBoxes(positions[beam]);
        for (std::size_t f = 0; f < 5; ++f)
            out.push_back({boxes[static_cast<std::size_t>(kFieldBox[f])], fields[f]});
        ++beam;
    }
    if (beam < positions.size())
        throw Failure(file + " 只有 " + std::to_string(beam) + " 行梁配筋, " + shapeName(shape) + " 框架有 " +
                      std::to_string(positions.size()) +
                      " 根梁(截面宽度不足 51mm 的梁未配筋, 在文件中没有配筋行)");
    return out;
}

std::vector<BoxText> forceDiagramTexts(int shape, const std::string& fileText, std::string_view shownName)
{
    const std::vector<int> beams = beamPositions(shape);
    const std::vector<int> columns = columnPositions(shape);
    const std::size_t beamNumbers = 5 * beams.size();
    const std::size_t needed = beamNumbers + 2 * columns.size();
    const std::string file = "内力文件 " + std::string(shownName);

    // A file as the calculation writes it, beam lines of five numbers then
    // column lines of two, shows the frame it was written for.
    std::size_t beamLines = 0, columnLines = 0;
    bool calculated = true;
    for (const std::string& line : splitLines(fileText)) {
        if (isBlankLine(line)) continue;
        const std::size_t items = readItems(line).size();
        if (items == 5 && columnLines == 0) ++beamLines;
        else if (items == 2) ++columnLines;
        else calculated = false;
    }
    const bool continuous = columnLines == 0 && beamLines == beams.size(); // told below: no column moments
    const std::optional<std::string> written = fileFrame(beamLines, columnLines);
    if (calculated && written && !continuous && (beamLines != beams.size() || columnLines != columns.size()))
        throw Failure(file + " 是 " + *written + "的, 当前为 " + shapeName(shape) +
                      " 框架 (" + std::to_string(beams.size()) + " 根梁、" + std::to_string(columns.size()) +
                      " 根柱): 没有绘图; 请选择与文件相同的框架模板");

    // Every number is read before any box is written.
    std::vector<std::string> numbers;
    int lineNumber = 0;
    for (const std::string& line : splitLines(fileText)) {
        if (numbers.size() == needed) break;
        ++lineNumber;
        if (isBlankLine(line)) continue;
        int itemNumber = 0;
        for (const std::string& item : readItems(line)) {
            if (numbers.size() == needed) break;
            ++itemNumber;
            if (!isNumberText(item))
                throw Failure(file + " 第 " + std::to_string(lineNumber) + " 行第 " + std::to_string(itemNumber) +
                              " 项 \"" + item + "\" 不是数");
            numbers.push_back(shortestDecimal(numberValue(item)));
        }
    }
    if (numbers.size() < needed) {
        std::string why = file + " 只有 " + std::to_string(numbers.size()) + " 个数, " + shapeName(shape) +
                          " 框架需要 " + std::to_string(needed) + " 个(每根梁 5 个, 每根柱 2 个)";
        if (numbers.size() == beamNumbers)
            why += "; 文件中没有柱端弯矩, 框架标志为 1 时不计算柱";
        throw Failure(why);
    }

    // The file gives M1, M2, Mo, V1, V2; a group holds M1, M2, V1, Mo, V2.
    constexpr std::array<int, 5> kValueBox{0, 1, 3, 2, 4};
    std::vector<BoxText> out;
    std::size_t next = 0;
    for (int p : beams) {
        const std::vector<std::string> boxes = beamGroupBoxes(p);
        for (std::size_t v = 0; v < 5; ++v)
            out.push_back({boxes[static_cast<std::size_t>(kValueBox[v])], numbers[next++]});
    }
    for (int q : columns) {
        const std::vector<std::string> boxes = columnPairBoxes(q);
        out.push_back({boxes[0], numbers[next++]});
        out.push_back({boxes[1], numbers[next++]});
    }
    return out;
}

} // namespace kj
