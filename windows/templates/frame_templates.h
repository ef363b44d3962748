#pragma once
// The six frame templates of the windows and which box belongs to which
// span, storey, beam and column. The main window and the member window lay
// the same entry and value boxes over their pictures (the main window adds
// a load box above every beam); the two result viewers number a group of
// boxes per beam and a pair per column. The data file, the member parameter
// file, the load distribution, the viewers and the pictures all take their
// boxes and their order from here. No window code.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kj {

enum class PlaceKind { Span, Storey, Beam, Column };

// One place of the frame sketch. Rows count storeys from the top: a
// one-storey frame has the upper row only, so its storey height is the
// upper one's box.
struct FramePlace {
    PlaceKind kind;
    int row;            // storey from the top, 1 or 2; 0 for a span
    int index;          // span 1 to 3, or column axis 1 to 4 from the left; the row for a storey
    const char* entry;  // the length or section number box
    const char* value;  // the length, or b and h, the number selects
    const char* load;   // a beam's load string box in the main window; empty otherwise
    int viewerPosition; // a beam's group 1 to 6 or a column's pair 1 to 8 in the viewers; 0 otherwise
    const char* name;   // "第 2 跨跨长", "上层层高", "下层第 1 跨梁", "上层第 4 根柱"
};

// Every place: spans, storeys, then beams and columns row by row from the top.
const std::vector<FramePlace>& framePlaces();
// The place whose entry, value or load box has that name, or null.
const FramePlace* placeOfBox(std::string_view box);

// One template with its places, each list in the order the files use.
struct FrameTemplate {
    int spans;
    int storeys;
    // Spans left to right, then storeys from the top: the length numbers.
    std::vector<const FramePlace*> lengths;
    // Beams from the top row, left to right, then the columns likewise: the
    // member sections, the load file's lines, the result files' lines.
    std::vector<const FramePlace*> beams;
    std::vector<const FramePlace*> columns;

    std::string name() const; // "2-1"
    std::vector<const char*> lengthBoxes() const;
    // Beam entry boxes, then column entry boxes.
    std::vector<const char*> memberBoxes() const;
    std::vector<const char*> loadBoxes() const;
    // Every entry and value box of the template and, withLoads, its load boxes.
    std::vector<const char*> shownBoxes(bool withLoads) const;
    std::vector<int> beamPositions() const;
    std::vector<int> columnPositions() const;
};

// 1-1, 2-1, 3-1, 1-2, 2-2, 3-2 (spans-storeys): the order of the template
// buttons and of the pictures Image1 to Image6.
inline constexpr int kFrameTemplateCount = 6;
const std::array<FrameTemplate, kFrameTemplateCount>& frameTemplates();
// The template of exactly that many spans and storeys, or null.
const FrameTemplate* findTemplate(double spans, double storeys);

} // namespace kj
