#include "analysis/plausible_sizes.h"

#include "common/failure.h"
#include "common/numbers.h"

#include <cmath>
#include <string>

namespace kj {

namespace {

std::string mm(double m) { return shortestDecimal(m * 1000) + " mm"; }

// The members a check looks at: a continuous beam's columns are its own props.
bool ownMember(const FrameModel& model, int i) { return !model.continuousBeam || model.topo.isBeam(i); }

} // namespace

void checkMemberSizes(const FrameModel& model)
{
    const FrameTopology& t = model.topo;
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (!ownMember(model, i)) continue;
        const bool beam = t.isBeam(i);
        const Member& m = model.member(i);
        // A designed member's sides; an analysed-only one's need only be numbers.
        const std::pair<const char*, double> sides[] = {{"截面宽度 b", m.b}, {"截面高度 h", m.h}};
        for (const auto& [field, size] : sides)
            if (!std::isfinite(size) || (!m.analysedOnly() && (size < kSmallestSection || size > kLargestSection)))
                throw Failure(t.memberName(i) + "的" + field + " 为 " + mm(size) +
                              ", 超出范围: 应在 100 mm 至 3000 mm 之间" +
                              (field == sides[0].first ? ", 或小于 51 mm (只计算内力, 不配筋)" : ""));
        const double longest = beam ? kLongestSpan : kTallestStorey;
        if (!std::isfinite(m.len) || m.len > longest)
            throw Failure(t.memberName(i) + (beam ? "的跨度 L" : "的层高 H") + " 为 " + shortestDecimal(m.len) +
                          " m, 超出范围: 应不大于 " + shortestDecimal(longest) + " m");
    }
}

std::string analysedOnlyLine(const FrameModel& model, int i)
{
    if (!ownMember(model, i) || !model.member(i).analysedOnly()) return "";
    return model.topo.memberName(i) + "截面宽度 b 为 " + mm(model.member(i).b) +
           ", 小于 51 mm: 只计算内力, 不配筋 (撑杆、铰或相对刚度的构件; 若是漏填的截面, 请补上)";
}

std::vector<std::string> analysedOnlyLines(const FrameModel& model)
{
    std::vector<std::string> out;
    for (int i = 1; i <= model.topo.memberCount(); ++i)
        if (std::string line = analysedOnlyLine(model, i); !line.empty()) out.push_back(line);
    return out;
}

} // namespace kj
