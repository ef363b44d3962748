#include "design/serviceability.h"

#include "common/failure.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kj::gb2010 {

namespace {

// Pieces the span is cut into for the integration of its curvature. Each
// piece integrates exactly a curvature of second degree (a uniformly loaded
// stretch of one stiffness), so the count only matters for finding the
// changes of sign of the moment and the largest deflection.
constexpr int kSpanPieces = 240;

} // namespace

// ------------------------------------------------------------------- limits

double tensileStrengthCharacteristic(int grade)
{
    // Table 4.1.3-2, C15 ... C80.
    static constexpr double kFtk[14] = {1.27, 1.54, 1.78, 2.01, 2.20, 2.39, 2.51,
                                        2.64, 2.74, 2.85, 2.93, 2.99, 3.05, 3.11};
    if (grade < 15 || grade > 80 || grade % 5 != 0)
        throw Failure("GB50010-2010 表 4.1.3-2 没有混凝土强度等级 C" + std::to_string(grade) + " 的 ftk");
    return kFtk[(grade - 15) / 5];
}

double crackWidthLimit(kj::EnvironmentClass environment)
{
    return environment == kj::EnvironmentClass::One ? 0.30 : 0.20;
}

double deflectionLimit(double l0)
{
    const double l0mm = 1000 * l0;
    if (l0 < 7) return l0mm / 200;
    if (l0 <= 9) return l0mm / 250;
    return l0mm / 300;
}

// --------------------------------------------------------------- crack width

double equivalentBarDiameter(const std::vector<BarGroup>& bars, double bond)
{
    double top = 0, bottom = 0;
    for (const BarGroup& g : bars) {
        if (g.count <= 0 || g.diameter <= 0) continue;
        top += g.count * g.diameter * g.diameter;
        bottom += g.count * bond * g.diameter;
    }
    return bottom > 0 ? top / bottom : 0;
}

double effectiveTensionRatio(double As, double b, double h)
{
    const double Ate = 0.5 * b * h;
    return std::max(0.01, Ate > 0 ? As / Ate : 0.0);
}

double quasiPermanentSteelStress(double Mq, double h0, double As)
{
    if (h0 <= 0 || As <= 0) return 0;
    return Mq / (0.87 * h0 * As);
}

double strainNonUniformity(double ftk, double rhoTe, double sigmaS)
{
    if (sigmaS <= 0 || rhoTe <= 0) return 0.2;
    return std::clamp(1.1 - 0.65 * ftk / (rhoTe * sigmaS), 0.2, 1.0);
}

double crackCover(double cs) { return std::clamp(cs, 20.0, 65.0); }

double maxCrackWidth(double alphaCr, double psi, double sigmaS, double Es, double cs, double deq, double rhoTe)
{
    if (sigmaS <= 0 || Es <= 0 || rhoTe <= 0) return 0;
    return alphaCr * psi * sigmaS / Es * (1.9 * cs + 0.08 * deq / rhoTe);
}

// --------------------------------------------------------------- stiffness

double shortTermStiffness(double Es, double As, double h0, double psi, double alphaE, double rho, double gammaF)
{
    return Es * As * h0 * h0 / (1.15 * psi + 0.2 + 6 * alphaE * rho / (1 + 3.5 * gammaF));
}

double longTermFactor(double rho, double rhoComp)
{
    if (rho <= 0) return 2.0;
    return 2.0 - 0.4 * std::clamp(rhoComp / rho, 0.0, 1.0);
}

double longTermStiffness(double Bs, double theta) { return Bs / theta; }

SectionServiceability sectionServiceability(const SectionInput& in)
{
    SectionServiceability s;
    const double Mq = std::max(0.0, in.Mq) * 1e6; // N*mm
    s.sigmaSq = quasiPermanentSteelStress(Mq, in.h0, in.As);
    s.rhoTe = effectiveTensionRatio(in.As, in.b, in.h);
    s.psi = strainNonUniformity(in.ftk, s.rhoTe, s.sigmaSq);
    s.cs = crackCover(in.cs);
    s.wmax = maxCrackWidth(kFlexuralCrackFactor, s.psi, s.sigmaSq, in.Es, s.cs, in.deq, s.rhoTe);
    s.rho = in.As / (in.b * in.h0);
    s.rhoComp = in.AsComp / (in.b * in.h0);
    s.alphaE = in.Es / in.Ec;
    s.Bs = shortTermStiffness(in.Es, in.As, in.h0, s.psi, s.alphaE, s.rho);
    s.theta = longTermFactor(s.rho, s.rhoComp);
    s.B = longTermStiffness(s.Bs, s.theta);
    return s;
}

// ---------------------------------------------------------------- deflection

namespace {

// The points 0 ... L with the points `at` inside, each interval between
// them cut into pieces, about kSpanPieces over the span and at least two
// per interval.
std::vector<double> spanPoints(double L, std::vector<double> at)
{
    at.push_back(0);
    at.push_back(L);
    for (double& x : at) x = std::clamp(x, 0.0, L);
    std::sort(at.begin(), at.end());
    std::vector<double> out{0.0};
    for (std::size_t k = 1; k < at.size(); ++k) {
        const double a = at[k - 1], b = at[k];
        if (!(b - a > 1e-9 * L)) continue;
        const int n = std::max(2, static_cast<int>(std::ceil(kSpanPieces * (b - a) / L)));
        for (int p = 1; p < n; ++p) out.push_back(a + (b - a) * p / n);
        out.push_back(b);
    }
    out.back() = L;
    return out;
}

// One piece of the integration: the curvature k(t) = a + b t + c t^2 over
// t = 0 ... h from x0, and the slope S0 and deflection W0 at its start.
struct Piece {
    double x0 = 0, h = 0, a = 0, b = 0, c = 0, S0 = 0, W0 = 0;
    double slope(double t) const { return S0 + t * (a + t * (b / 2 + t * c / 3)); }
    double deflection(double t) const { return W0 + t * (S0 + t * (a / 2 + t * (b / 6 + t * c / 12))); }
};

} // namespace

std::vector<Stretch> sameSignStretches(const std::function<double(double)>& M, double L, const std::vector<double>& at)
{
    std::vector<Stretch> out;
    if (!(L > 0)) return out;
    const std::vector<double> x = spanPoints(L, at);
    double previousMid = 0;
    for (std::size_t k = 1; k < x.size(); ++k) {
        const double mid = (x[k - 1] + x[k]) / 2;
        const bool sagging = M(mid) > 0;
        if (out.empty()) {
            out.push_back({0, L, sagging, 0});
        } else if (sagging != out.back().sagging) {
            // The change of sign between the two middles.
            double lo = previousMid, hi = mid;
            for (int i = 0; i < 100 && hi - lo > 1e-12 * L; ++i) {
                const double m = (lo + hi) / 2;
                ((M(m) > 0) == sagging ? hi : lo) = m;
            }
            out.back().x1 = hi;
            out.push_back({hi, L, sagging, 0});
        }
        previousMid = mid;
    }
    return out;
}

bool uniformStiffnessAllowed(double Bspan, double Bsupport) { return Bsupport <= 2 * Bspan && 2 * Bsupport >= Bspan; }

SpanDeflection spanDeflection(const std::function<double(double)>& M, double L, const std::vector<Stretch>& stiffness,
                              const std::vector<double>& at)
{
    SpanDeflection out;
    if (!(L > 0) || stiffness.empty()) return out;
    for (const Stretch& s : stiffness)
        if (!(s.B > 0)) return out;
    std::vector<double> breaks = at;
    for (const Stretch& s : stiffness) breaks.push_back(s.x0), breaks.push_back(s.x1);
    const std::vector<double> x = spanPoints(L, breaks);

    // The stiffness of the stretch holding a piece's middle.
    auto stiffnessAt = [&](double xm) {
        for (const Stretch& s : stiffness)
            if (xm >= s.x0 && xm <= s.x1) return s.B;
        return xm < stiffness.front().x0 ? stiffness.front().B : stiffness.back().B;
    };
    // From the left end with zero slope and deflection, piece by piece
    // (exact for a curvature of second degree in each piece).
    std::vector<Piece> pieces;
    double S = 0, W = 0;
    for (std::size_t k = 1; k < x.size(); ++k) {
        Piece p;
        p.x0 = x[k - 1];
        p.h = x[k] - x[k - 1];
        const double B = stiffnessAt(p.x0 + p.h / 2);
        // Downward deflection positive: w'' = -M/B.
        const double k0 = -M(p.x0) / B, km = -M(p.x0 + p.h / 2) / B, k1 = -M(x[k]) / B;
        p.a = k0;
        p.c = 2 * (k1 - 2 * km + k0) / (p.h * p.h);
        p.b = (k1 - k0) / p.h - p.c * p.h;
        p.S0 = S, p.W0 = W;
        S = p.slope(p.h);
        W = p.deflection(p.h);
        pieces.push_back(p);
    }
    // From the chord: w(x) = W(x) - W(L) x / L, its slope S(x) - W(L) / L.
    const double chord = W / L;
    auto better = [&](double f, double at) {
        if (f > out.f) out.f = f, out.x = at;
    };
    for (const Piece& p : pieces) {
        better(1000 * (p.deflection(p.h) - chord * (p.x0 + p.h)), p.x0 + p.h);
        // A peak inside the piece: the slope turns from down to up.
        double lo = 0, hi = p.h;
        if (!(p.slope(lo) - chord > 0 && p.slope(hi) - chord < 0)) continue;
        for (int i = 0; i < 100 && hi - lo > 1e-15 * L; ++i) {
            const double t = (lo + hi) / 2;
            (p.slope(t) - chord > 0 ? lo : hi) = t;
        }
        const double t = (lo + hi) / 2;
        better(1000 * (p.deflection(t) - chord * (p.x0 + t)), p.x0 + t);
    }
    return out;
}

SpanDeflection spanDeflection(const std::function<double(double)>& M, double L, double B)
{
    return spanDeflection(M, L, std::vector<Stretch>{{0, L, true, B}});
}

} // namespace kj::gb2010
