#pragma once
// The sizes a frame of this program can have: a check made before anything
// is calculated or written, so that a slip of the decimal point (a section
// of 6 m, a span of 600 m) is refused rather than designed.
#include "analysis/frame_model.h"

#include <string>
#include <vector>

namespace kj {

inline constexpr double kSmallestSection = 0.1; // m, section width or depth of a designed member
inline constexpr double kLargestSection = 3.0;  // m
inline constexpr double kLongestSpan = 30.0;    // m, a beam
inline constexpr double kTallestStorey = 20.0;  // m, a column

// Refuses the first member whose section is under 100 mm or over 3 m, a beam
// longer than 30 m or a column taller than 20 m, naming the member, the
// field and the range (the caller adds the file). A member narrower than
// 51 mm (width 0 included) is analysed and not designed: only its length is
// checked. The props of a continuous beam are the program's own and are not
// checked. Throws Failure.
void checkMemberSizes(const FrameModel& model);

// One line for every member narrower than 51 mm, in member order: it is
// analysed and not designed ("第 2 号柱截面宽度 b 为 0 mm, 小于 51 mm: 只计算
// 内力, 不配筋 ..."), so that a section forgotten is not taken for a prop.
// None for the props of a continuous beam.
std::vector<std::string> analysedOnlyLines(const FrameModel& model);
// The line of member i (1..NB+NC), or empty when it is designed.
std::string analysedOnlyLine(const FrameModel& model, int i);

} // namespace kj
