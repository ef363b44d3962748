#pragma once
// The sizes a frame of this program can have: a check made before anything
// is calculated or written, so that a slip of the decimal point (a section
// of 6 m, a span of 600 m) is refused rather than designed.
#include "analysis/frame_model.h"

namespace kj {

inline constexpr double kSmallestSection = 0.1; // m, section width or depth
inline constexpr double kLargestSection = 3.0;  // m
inline constexpr double kLongestSpan = 30.0;    // m, a beam
inline constexpr double kTallestStorey = 20.0;  // m, a column

// Refuses the first member whose section is under 100 mm or over 3 m, a beam
// longer than 30 m or a column taller than 20 m, naming the member, the
// field and the range (the caller adds the file). The props of a continuous beam are the program's
// own and are not checked. Throws Failure.
void checkMemberSizes(const FrameModel& model);

} // namespace kj
