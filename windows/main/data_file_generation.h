#pragma once
// The frame data file assembled from the main window's entries and the length
// and section tables of the member parameter file. No window code: values
// in, values out.
#include "shared/pane_text.h" // importPaneText and savePaneText, for this header's callers

#include <map>
#include <string>
#include <string_view>

namespace kj {

// The four fields of the member parameter file.
struct MemberParameters {
    std::string lengthTable;    // lengths 1 to 5, four characters each
    std::string lengthNumbers;  // one digit per span, then per storey
    std::string sectionTable;   // b and h of sections 1 to 6, three characters each
    std::string memberSections; // one digit per member
};

// Reads the four fields of a member parameter file's text (items separated
// by commas or line ends, quotes removed). Throws Failure naming the file
// when it holds fewer than four.
MemberParameters parseMemberParameters(const std::string& text, std::string_view shownName);

// The main window's texts that go into a frame data file, each as typed.
struct MainEntries {
    std::string frameName;   // Combo38
    std::string spans;       // Text67, L
    std::string storeys;     // Text68, NF
    std::string jointGroups; // Combo37, NJ
    std::string fy;          // Combo36
    std::string concrete;    // Combo35, C
    // Entry boxes, beam load boxes and joint load boxes by control name
    // ("Text5", "Text6", "Text60" ...); a box not given counts as empty.
    std::map<std::string, std::string, std::less<>> boxes;

    const std::string& box(std::string_view name) const;
};

// The frame data file text: header line, lengths, sections, the span loads
// two to a line, the joint loads, "Fy,C". Lines joined by CR LF, no line end
// after the last one.
std::string dataFileText(const MainEntries& entries, const MemberParameters& parameters);

// Reads the member parameter file named by memberSlot, builds the text and
// replaces the file named by targetSlot with it and one more CR LF, keeping
// the target's previous content as its .bak. Returns the text. Throws
// Failure (nothing written) when the member parameter file is missing or
// short, an entry box of the template does not hold one digit, or the
// target cannot be written.
std::string generateDataFile(const MainEntries& entries, std::string_view memberSlot,
                             std::string_view targetSlot);

} // namespace kj
