#pragma once
// The member parameter file built from the member window's texts, and read
// back into the entry and value boxes of a window. No window code: texts in,
// texts out.
//
// The file holds two lines of two quoted fields each: the length table and
// the length numbers, then the section table and the member sections. The
// tables are the list texts joined without separators (a length is four
// characters, a b or an h three); the numbers fields hold one number per
// span, storey or member.
#include "main/data_file_generation.h"
#include "shared/box_text.h"
#include "templates/frame_templates.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kj {

// The template whose spans and storeys equal the number values of the two
// texts ("2.0" counts as 2), or none.
const FrameTemplate* matchMemberShape(std::string_view spans, std::string_view storeys);
// The value box beside an entry box ("Text5" -> "Text69", "Text32" -> "Text33").
std::string valueBoxOf(std::string_view entryBox);

// The member window's texts that generation reads, each as shown.
struct MemberEntries {
    std::array<std::string, 5> lengths; // lengths 1 to 5 (Combo2..Combo6)
    std::array<std::string, 6> widths;  // b of sections 1 to 6 (Combo7, Combo9 .. Combo17)
    std::array<std::string, 6> heights; // h of sections 1 to 6 (Combo8, Combo10 .. Combo18)
    std::string spans;                  // Text67
    std::string storeys;                // Text68
    // Entry box texts by box name; a box not given counts as empty.
    std::map<std::string, std::string, std::less<>> boxes;
};

struct MemberGeneration {
    // The two lines of the file, joined by CR LF, no line end after the second.
    std::string text;
    // The value boxes of the matched template, in field order; none when the
    // spans and storeys match no template.
    std::vector<BoxText> valueBoxes;
};

// Every entry box of the matched template must hold exactly one digit;
// Failure names the role of the first that does not ("上层第 3 跨梁截面编号").
// Length numbers 1 to 5 select lengths and section numbers 1 to 6 sections;
// any other digit selects an empty entry: an empty length, or a lone comma
// for b and h.
// Every length list (1 to 5) holds four characters ("4.20") or is left
// empty after the last one filled: a length of another width, or an empty
// one before a filled one, would shift every later length of the table.
// Failure names the first by its role ("长度 2").
MemberGeneration generateMemberParameters(const MemberEntries& entries);

// Why length list k (0 to 4) cannot be written into the length table, by
// its role, or nothing when it can.
std::optional<std::string> lengthProblem(const std::array<std::string, 5>& lengths, std::size_t k);

// The two-line text of the four fields (no line end after the second line).
std::string memberParametersText(const MemberParameters& fields);

struct MemberCorrection {
    // The file's two lines reassembled, for the window's pane.
    std::string paneText;
    // Entry and value boxes of the matched template, in field order; none
    // when the spans and storeys match no template.
    std::vector<BoxText> boxes;
};

// At most this many numbers of each numbers field are taken; later
// characters are never placed (no template has as many boxes).
inline constexpr std::size_t kCorrectionTableSize = 20;

// Every character of the numbers fields is one number (a digit, or 0 for
// any other character). Number c selects the four characters of the length
// table from 4(c-1)+1, number s the three characters of b from 6(s-1)+1 and
// of h from 6(s-1)+4 of the section table, each cut short or empty where the
// table ends. Number 0 selects nothing: an empty length, empty b and h.
// Boxes beyond a field's numbers get empty entry and length texts and a lone
// comma for b and h.
MemberCorrection correctMemberParameters(const MemberParameters& fields, std::string_view spans,
                                         std::string_view storeys);

// A file written for the shape has one length number per span and storey and
// one section number per member. Throws Failure naming the file, the shape
// it was written for (when its counts form one) and the current shape.
void requireMemberShape(const MemberParameters& fields, const FrameTemplate& shape, std::string_view shownName);

// Reads the member parameter file of the slot and corrects as above. Throws
// Failure naming the file when it is missing, unreadable, holds fewer than
// four fields, or was written for another shape than a matched template.
MemberCorrection readMemberCorrection(std::string_view slot, std::string_view spans,
                                      std::string_view storeys);

} // namespace kj
