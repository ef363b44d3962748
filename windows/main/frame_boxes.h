#pragma once
// What each box laid over the frame pictures of the main window and the
// member parameter window holds: its role ("上层第 3 跨梁截面编号") for
// messages, and a tooltip. Both windows name these boxes alike.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kj {

// The role of an entry, value, load or joint-load box, or of the frame shape
// boxes; empty for any other name.
std::string frameBoxRole(std::string_view box);
// The role and what the box holds, for its tooltip; empty for any other name.
std::string frameBoxTip(std::string_view box);

// Length and section numbers select one entry of a table: the box must hold
// exactly one digit. Throws Failure naming the role of the first of the
// entry boxes that does not (a box not given counts as empty).
void requireOneDigit(const std::vector<const char*>& entryBoxes,
                     const std::map<std::string, std::string, std::less<>>& texts);

} // namespace kj
