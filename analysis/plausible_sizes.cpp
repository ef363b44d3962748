#include "analysis/plausible_sizes.h"

#include "common/failure.h"
#include "common/numbers.h"

#include <cmath>
#include <string>

namespace kj {

void checkMemberSizes(const FrameModel& model)
{
    const FrameTopology& t = model.topo;
    auto mm = [](double m) { return shortestDecimal(m * 1000) + " mm"; };
    for (int i = 1; i <= t.memberCount(); ++i) {
        const bool beam = t.isBeam(i);
        if (model.continuousBeam && !beam) continue;
        const Member& m = model.member(i);
        const std::pair<const char*, double> sides[] = {{"截面宽度 b", m.b}, {"截面高度 h", m.h}};
        for (const auto& [field, size] : sides)
            if (!std::isfinite(size) || size < kSmallestSection || size > kLargestSection)
                throw Failure(t.memberName(i) + "的" + field + " 为 " + mm(size) +
                              ", 超出范围: 应在 100 mm 至 3000 mm 之间");
        const double longest = beam ? kLongestSpan : kTallestStorey;
        if (!std::isfinite(m.len) || m.len > longest)
            throw Failure(t.memberName(i) + (beam ? "的跨度 L" : "的层高 H") + " 为 " + shortestDecimal(m.len) +
                          " m, 超出范围: 应不大于 " + shortestDecimal(longest) + " m");
    }
}

} // namespace kj
