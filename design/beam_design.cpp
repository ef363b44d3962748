#include "design/beam_design.h"

#include "common/numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kj {

namespace {

// Steps of 95 mm2 of compression steel tried before a section is given up.
constexpr int kMaxCompressionSteps = 1000000;
// Sizes tried in the search for additional bars.
constexpr int kMaxAdditionalBars = 100;
// Stirrup diameters grow up to this size, mm.
constexpr double kLargestStirrup = 50;

// First standard bar size not below e; 0 when e is above the largest.
double standardBarSize(double e)
{
    static constexpr double kSizes[] = {12, 14, 16, 18, 20, 22, 25};
    for (double s : kSizes)
        if (e <= s) return s;
    return 0;
}

} // namespace

FlexureResult flexureDesign(double M, double b, double h, const MaterialConstants& mat)
{
    FlexureResult r;
    M = std::fabs(M);
    // A large moment means a deep section with two layers of bars.
    double h0 = h - 35;
    if (M > 0.4 * h) h0 = h - 60;
    r.h0 = h0;
    if (!(h0 > 0) || !(b > 0) || !std::isfinite(M)) {
        r.As = kFailedArea;
        return r;
    }
    const double resistance = mat.fcf * b * h0 * h0;
    double asComp = 0;
    for (int step = 0; step < kMaxCompressionSteps; ++step) {
        const double alphaS = (1e6 * M - mat.fy * asComp * (h - 35)) / resistance;
        if (!(alphaS <= 0.5)) break; // concrete crushes even with the steel reached so far
        const double xi = 1 - std::sqrt(1 - 2 * alphaS);
        if (xi > mat.xib) {
            asComp += 95;
            continue;
        }
        double rho = mat.fcf * xi / mat.fy;
        if (rho < 0.002) rho = 0.002;
        r.As = rho * b * h0 + asComp;
        r.AsComp = asComp;
        return r;
    }
    r.As = kFailedArea;
    r.AsComp = asComp;
    return r;
}

double shearDesign(double V, double b, double h, const MaterialConstants& mat)
{
    V = std::fabs(V);
    double h0 = h - 35;
    if (V > 0.5 * h) h0 = h - 60;
    if (!(h0 > 0) || !(b > 0) || !std::isfinite(V)) return 0;
    // Upper limit 0.25 fc b h0 of the web, in kN.
    if (V >= 0.00025 * mat.fc * b * h0) return 0;
    const double Vc = 0.7 * mat.ft * b * h0;
    const double minimum = 0.28 * mat.ft * b / mat.fyv;
    double asvs = minimum;
    if (1000 * V > Vc) {
        const double needed = (1000 * V - Vc) / (1.25 * mat.fyv * h0);
        if (needed > minimum) asvs = needed;
    }
    // A designable section always gets some stirrups: 0 is kept for a
    // section too small for its shear.
    return std::max(0.01, roundHalfEven2(asvs));
}

Stirrups chooseStirrups(double asvs, double b, std::optional<int> legs, std::optional<double> diameter)
{
    Stirrups s;
    s.legs = b < 100 ? 1 : b < 350 ? 2 : b < 650 ? 4 : 6;
    if (legs && *legs >= s.legs) s.legs = *legs;
    if (!(asvs > 0)) { // section too small for its shear: a diameter that stands out
        s.diameter = 32;
        s.spacing = 50;
        return s;
    }
    double d = diameter.value_or(2);
    if (!(d >= 2)) d = 2;
    if (d > kLargestStirrup) d = kLargestStirrup;
    auto spacingFor = [&](double dia) { return s.legs * 0.7854 * dia * dia / asvs; };
    double spacing = spacingFor(d);
    while (spacing < 100 && d + 2 <= kLargestStirrup) {
        d += 2;
        spacing = spacingFor(d);
    }
    if (spacing > 250) spacing = 250;
    s.diameter = toIndex(d);
    s.spacing = toIndex(spacing);
    return s;
}

std::string stirrupString(const Stirrups& s)
{
    return std::to_string(s.legs) + "*" + std::to_string(s.diameter) + "@" + std::to_string(s.spacing);
}

double continuousBarDiameter(double h) { return h < 250 ? 12 : h < 500 ? 14 : h < 700 ? 16 : h < 900 ? 18 : 20; }

BarArrangement chooseBarSizes(double As, double b, double h, const std::optional<ChosenBars>& chosen, bool fullArea)
{
    if (As < 220) As = 220;
    BarArrangement r;

    // Continuous bars: chosen by the user, or from the section.
    if (chosen) {
        r.n = chosen->count;
        r.d = chosen->diameter;
    } else {
        r.n = b <= 300 ? 2 : 4;
        r.d = continuousBarDiameter(h);
        const double A0 = 0.7854 * r.n * r.d * r.d;
        if (As / A0 < 0.7) r.d -= 2;
        else if (As / A0 > 3.15) r.d += 2;
        if ((b > 300 && As > 3950) || (b <= 300 && As > 2750)) r.d = 25;
    }

    const double A1 = 0.7854 * r.n * r.d * r.d;
    const double dA = As - A1;
    if (dA <= 0) return r; // the continuous bars suffice

    // Additional bars: the fewest of a standard size close to the continuous ones.
    const double D = fullArea ? std::sqrt(4 * dA / std::numbers::pi) : std::sqrt(3.8 * dA / 3.1416);
    bool found = false;
    for (int k = 1; k <= kMaxAdditionalBars && !found; ++k) {
        double e = std::sqrt(D * D / k);
        if (e < r.d - 4 && r.d < 25) e = r.d - 4;
        if (e < r.d - 5 && r.d == 25) e = r.d - 5;
        const double size = standardBarSize(e);
        if (size == 0) continue;
        if (std::fabs(size - r.d) < 5.1) {
            r.k = k;
            r.e = size;
            found = true;
        }
    }
    if (!found) { // no standard size fits: more bars of the continuous size
        r.searchFailed = true;
        r.e = r.d;
        r.k = std::ceil(dA / (0.7854 * r.d * r.d));
    }
    // The full area exactly, not short by the rounding of pi.
    if (fullArea && std::isfinite(As))
        for (int extra = 0; barArea(r) < As && r.e > 0 && extra < kMaxAdditionalBars; ++extra) r.k += 1;
    return r;
}

double barArea(const BarArrangement& bars)
{
    return std::numbers::pi / 4 * (bars.n * bars.d * bars.d + bars.k * bars.e * bars.e);
}

BarArrangement arrangeBars(double As, double b, double h, double cover, BarPosition position,
                           const std::optional<ChosenBars>& chosen)
{
    BarArrangement r = chooseBarSizes(As, b, h, chosen, false);
    if (r.k == 0) { // the continuous bars suffice, in one layer
        r.outer = r.n;
        return r;
    }

    // Layers: as many bars in the outer layer as the clear width takes.
    const double dm = std::min(r.d, r.e);
    const double w = b - 2 * cover;
    double s = 25;
    if (position == BarPosition::Top) s = dm > 20 ? 1.5 * dm : 30;
    double a = std::floor((w + s) / (dm + s));
    // The corner bars stay in the outer layer however narrow the section.
    if (!(a >= 2)) a = 2;
    const double total = r.n + r.k;
    if (total < a) a = total;
    double t = total - a;
    if (t == 1) { // a single bar does not make a layer
        t = 2;
        a -= 1;
    }
    r.outer = a;
    r.second = t;
    return r;
}

std::string barString(const BarArrangement& bars, BarPosition position)
{
    std::string s = shortestDecimal(bars.n) + "," + shortestDecimal(bars.d) + "+" + shortestDecimal(bars.k) +
                    "," + shortestDecimal(bars.e) + " ";
    // A third layer (GB 50010-2010 only) is written beyond the second.
    const std::string third = bars.third > 0 ? shortestDecimal(bars.third) : "";
    if (position == BarPosition::Top)
        s += shortestDecimal(bars.outer) + "/" + shortestDecimal(bars.second) + (third.empty() ? "" : "/" + third);
    else s += (third.empty() ? "" : third + "/") + shortestDecimal(bars.second) + "/" + shortestDecimal(bars.outer);
    return s;
}

} // namespace kj
