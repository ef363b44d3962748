// GB 50010-2010 beam bars: the depth of a layout's centroid and the choice
// of the bars a detailer can place (9.2.1 spacing, 8.2.1 cover).
#include "design/gb50010_2010.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace kj::gb2010 {

double barCentroidDepth(const BarArrangement& bars, double cover, double stirrup)
{
    // The bars in order: the continuous ones first (corner bars of the
    // outer layer), then the additional ones; each layer takes its share.
    const double capacity[3] = {bars.outer, bars.second, bars.third};
    double continuousLeft = bars.n, additionalLeft = bars.k;
    double continuousIn[3] = {0, 0, 0}, additionalIn[3] = {0, 0, 0};
    for (int l = 0; l < 3; ++l) {
        double room = std::max(0.0, capacity[l]);
        continuousIn[l] = std::min(room, continuousLeft);
        continuousLeft -= continuousIn[l];
        room -= continuousIn[l];
        additionalIn[l] = std::min(room, additionalLeft);
        additionalLeft -= additionalIn[l];
    }
    // Bars no layer was given (an arrangement without layers): the outer one.
    continuousIn[0] += continuousLeft;
    additionalIn[0] += additionalLeft;

    const double largest = std::max(bars.d, bars.k > 0 ? bars.e : 0.0);
    double moment = 0, area = 0;
    double line = 0, previousLargest = 0;
    for (int l = 0; l < 3; ++l) {
        double layerLargest = 0;
        if (continuousIn[l] > 0) layerLargest = bars.d;
        if (additionalIn[l] > 0) layerLargest = std::max(layerLargest, bars.e);
        if (layerLargest <= 0) continue;
        if (l == 0) line = std::max(cover + stirrup, layerLargest); // 8.2.1-1: cover not below the bar
        else line += previousLargest + std::max(25.0, largest);    // 9.2.1-3
        for (auto [count, d] : {std::pair{continuousIn[l], bars.d}, std::pair{additionalIn[l], bars.e}}) {
            if (count <= 0 || d <= 0) continue;
            area += count * d * d;
            moment += count * d * d * (line + d / 2);
        }
        previousLargest = layerLargest;
    }
    if (area <= 0) return std::max(cover + stirrup, bars.d) + bars.d / 2;
    return moment / area;
}

namespace {

// Bar sizes the chooser lays, mm (hot-rolled ribbed bars up to 32 mm).
constexpr double kBarSizes[] = {12, 14, 16, 18, 20, 22, 25, 28, 32};
// The least steel of a section's bars, mm2, as the program always took it.
constexpr double kLeastBarArea = 220;
// Additional bars within this of the continuous bars' diameter, mm, as the
// program always chose them (two sizes either way).
constexpr double kSizeSpread = 5;
// Most additional bars tried of one size.
constexpr double kMaxBars = 200;

// 9.2.1-3: the layers of total bars at most perLayer a layer. The outer
// layer is full before a second one opens and the second before a third; a
// third lies at twice the spacing, on every other position (ceil(a/2)
// bars); no layer holds a single bar, each its two corner bars at least.
// False when the bars have no such layers.
bool layBars(double total, double perLayer, BarArrangement& r)
{
    if (!(perLayer >= 2) || !(total >= 1)) return false;
    r.outer = std::min(total, perLayer);
    r.second = std::min(total - r.outer, perLayer);
    r.third = total - r.outer - r.second;
    return r.second != 1 && r.third != 1 && r.third <= std::ceil(perLayer / 2);
}

// The cover of the outer bars at the beam's sides, mm: the stirrup's cover and
// the stirrup, and not less than the bar's diameter (8.2.1-1).
double sideCover(double cover, double stirrup, double largestBar)
{
    return std::max(cover + stirrup, largestBar);
}

// The fewest bars a layer must take for total bars to have layers.
double leastPerLayer(double total)
{
    BarArrangement layers;
    double perLayer = 2;
    while (!layBars(total, perLayer, layers)) perLayer += 1; // ends by max(2, total): one layer
    return perLayer;
}

// Clear spacing of the bars of a layer, 9.2.1-3: top bars max(30, 1.5 d),
// bottom bars max(25, d), d the largest bar.
double clearSpacing(double largestBar, BarPosition position)
{
    return position == BarPosition::Top ? std::max(30.0, 1.5 * largestBar) : std::max(25.0, largestBar);
}

// Every set of bars the chooser considers for a section: n continuous bars of
// a diameter d (the boxes', or a size from the thinnest the program chose
// for the depth up to 32 mm) and k additional bars of d or of a size e within
// kSizeSpread of it. visit(bars, largest bar) from k = 0 (or 1) up, for each
// (d, e), while it returns true.
template <class Visit>
void eachBarSet(double b, double h, const std::optional<ChosenBars>& chosen, Visit visit)
{
    const double n = chosen ? chosen->count : b <= 300 ? 2 : 4;
    // The thinnest the program ever chose with its least area: the depth's
    // size, two below it from h = 500 mm, and not below 14 mm from 250.
    const double thinnest = std::max(continuousBarDiameter(h) - (h < 500 ? 0 : 2), h < 250 ? 12.0 : 14.0);
    std::vector<double> continuous;
    if (chosen) continuous.push_back(chosen->diameter);
    else
        for (double d : kBarSizes)
            if (d >= thinnest) continuous.push_back(d);
    for (double d : continuous) {
        std::vector<double> additional{d};
        for (double e : kBarSizes)
            if (e != d && std::fabs(e - d) <= kSizeSpread) additional.push_back(e);
        for (double e : additional) {
            BarArrangement bars;
            bars.n = n;
            bars.d = d;
            for (double k = e == d ? 0 : 1; k <= kMaxBars; ++k) {
                bars.k = k;
                bars.e = k > 0 ? e : 0; // no additional bars: "n,d+0,0"
                if (!visit(bars, k > 0 ? std::max(d, e) : d)) break;
            }
        }
    }
}

} // namespace

double barsPerLayer(double b, double cover, double stirrup, double largestBar, BarPosition position)
{
    const double s = clearSpacing(largestBar, position);
    const double w = b - 2 * sideCover(cover, stirrup, largestBar);
    return std::floor((w + s) / (largestBar + s));
}

BarArrangement chooseBeamBars(double As, double b, double h, double cover, double stirrup, BarPosition position,
                              const std::optional<ChosenBars>& chosen)
{
    const double target = std::max(As, kLeastBarArea);
    std::optional<BarArrangement> best, closest;
    double bestDepth = 0;
    auto visit = [&](BarArrangement bars, double largest) {
        const double area = barArea(bars);
        if (area < target) return true;
        const double total = bars.n + bars.k;
        // The narrowest beam that takes these bars, for the message when none fits.
        bars.widthNeeded =
            2 * sideCover(cover, stirrup, largest) + leastPerLayer(total) * (largest + clearSpacing(largest, position)) -
            clearSpacing(largest, position);
        if (!closest || std::pair(bars.widthNeeded, area) < std::pair(closest->widthNeeded, barArea(*closest)))
            closest = bars;
        const double perLayer = barsPerLayer(b, cover, stirrup, largest, position);
        if (!layBars(total, perLayer, bars)) return perLayer >= 2 && total < 2 * perLayer + std::ceil(perLayer / 2);
        bars.widthNeeded = 0;
        // The least steel; then the fewer bars, the larger h0 and the thinner
        // continuous bars.
        const double depth = barCentroidDepth(bars, cover, stirrup);
        if (!best || area < barArea(*best) ||
            (area == barArea(*best) &&
             std::tuple(total, depth, bars.d) < std::tuple(best->n + best->k, bestDepth, best->d))) {
            best = bars;
            bestDepth = depth;
        }
        return false; // more bars of these sizes only add steel
    };
    if (std::isfinite(target + b + h + cover + stirrup) && (!chosen || (chosen->count >= 1 && chosen->diameter > 0)))
        eachBarSet(b, h, chosen, visit);
    if (best) return *best;

    // No set fits: the one that needs the narrowest beam, in the layers of
    // that width; without one (an area or a size that is not a number), the
    // bars as the program always chose them, in one layer.
    BarArrangement r = closest ? *closest : chooseBarSizes(As, b, h, chosen, true);
    const double total = r.n + r.k;
    if (!closest || !layBars(total, leastPerLayer(total), r)) r.outer = total, r.second = 0, r.third = 0;
    r.tooMany = true;
    return r;
}

} // namespace kj::gb2010
