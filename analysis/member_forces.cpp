#include "analysis/member_forces.h"

#include <algorithm>

namespace kj {

double MemberForces::M(double x) const
{
    double m = M1 + V1 * x;
    for (const Load& l : loads) {
        if (l.x1 > l.x0) {
            const double end = std::min(x, l.x1);
            if (end > l.x0) m -= l.w * (end - l.x0) * (x - (l.x0 + end) / 2);
        } else if (x > l.x0) {
            m -= l.w * (x - l.x0);
        }
    }
    return m;
}

double MemberForces::V(double x, bool fromLeft) const
{
    double v = V1;
    for (const Load& l : loads) {
        if (l.x1 > l.x0) {
            const double end = std::min(x, l.x1);
            if (end > l.x0) v -= l.w * (end - l.x0);
        } else if (fromLeft ? x > l.x0 : x >= l.x0) {
            v -= l.w;
        }
    }
    return v;
}

double MemberForces::N(double x) const
{
    if (!(length > 0)) return N1;
    return N1 + (N2 - N1) * x / length;
}

std::vector<double> MemberForces::stations() const
{
    std::vector<double> xs{0.0, length};
    for (const Load& l : loads) {
        xs.push_back(std::clamp(l.x0, 0.0, length));
        xs.push_back(std::clamp(l.x1, 0.0, length));
    }
    if (xMax > 0 && xMax < length) xs.push_back(xMax);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end(), [&](double a, double b) { return b - a <= 1e-9 * (1 + length); }),
             xs.end());
    return xs;
}

} // namespace kj
