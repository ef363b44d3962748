#pragma once
// What the two result viewers do without a window: the frame shape typed
// into their span and storey boxes, the beam and column positions of each
// shape, the boxes a beam reinforcement file or a force-diagram file fills,
// the beam numbers and the date stamp. Values in, box names and texts out.
#include "shared/box_text.h"
#include "templates/frame_templates.h"

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kj {

// The six frame shapes of the viewers, in the order of their template
// buttons: 1-1, 2-1, 3-1, 1-2, 2-2, 3-2 (spans-storeys), numbered 0 to 5.
struct ViewerShape {
    int spans;
    int storeys;
};
inline constexpr int kViewerShapeCount = kFrameTemplateCount;
ViewerShape viewerShape(int shape);
// "2-2".
std::string shapeName(int shape);
// The shape whose spans and storeys are the number values of the two texts
// (rounded to whole numbers), or nothing for any other pair.
std::optional<int> viewerShapeOf(std::string_view spansText, std::string_view storeysText);

// Beam positions 1 to 3 lie in the upper row, 4 to 6 in the lower row, left
// to right; column positions 1 to 4 in the upper storey, 5 to 8 in the
// lower. A shape's positions are listed in the order its members appear in
// the result files (the template's beams and columns).
std::vector<int> beamPositions(int shape);
std::vector<int> columnPositions(int shape);

// The six boxes of beam position p are Text(6p-5) to Text(6p), the last one
// the beam number; column position q owns Text(40+2q) (top moment) and
// Text(41+2q) (bottom moment).
std::string boxName(int number);
std::vector<std::string> beamGroupBoxes(int position);
std::vector<std::string> columnPairBoxes(int position);
std::string numberBox(int position);

// The number boxes of the six beam positions: each shows its position, and
// the beams of the shape, when the texts form one, are numbered 1, 2, ... in
// the order of their positions.
std::vector<BoxText> beamNumberTexts(std::optional<int> shape);

// "DATE: " with the date and time in the short form 2024/5/6/9:03:07.
std::string dateStamp(const std::tm& when);
std::string dateStampNow();

// The beam reinforcement file: its first beam lines (blank lines pass
// over), one per beam of the shape, each of five fields by the item rules:
// top bars left, stirrups left, top bars right, stirrups right, bottom bars.
// Returns the texts of the shape's groups. Throws Failure naming the file
// when it holds fewer beam lines than the shape has beams or one of those
// lines has not exactly five fields, and naming both frames when it holds
// more lines of five fields than the shape has beams; other lines after the
// shape's are not looked at.
std::vector<BoxText> reinforcementTexts(int shape, const std::string& fileText, std::string_view shownName);

// The force-diagram file read as one stream of numbers, line ends counting
// as separators and blank lines passing over: five per beam of the shape
// (M1, M2, Mo, V1, V2) and then two per column (top and bottom moment).
// Returns the texts of the shape's beam groups (without the number boxes)
// and column pairs, each number in its shortest decimal form. Throws Failure
// naming the file when it holds fewer numbers than the shape needs or an
// item among them is not a number; numbers after them are not looked at.
// A file laid out as the calculation writes it (lines of five numbers, then
// lines of two) whose counts of beams and columns are not the shape's is a
// Failure naming the file's frame and the shape.
std::vector<BoxText> forceDiagramTexts(int shape, const std::string& fileText, std::string_view shownName);

} // namespace kj
