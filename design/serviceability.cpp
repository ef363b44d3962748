#include "design/serviceability.h"

#include "common/failure.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace kj::gb2010 {

namespace {

// Pieces the span is cut into for the integration of its curvature. Each
// piece integrates exactly a curvature of second degree (a uniformly loaded
// span), so the count only matters near forces.
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

SpanDeflection spanDeflection(const std::function<double(double)>& M, double L, double B, double theta1,
                              double theta2)
{
    SpanDeflection out;
    if (!(L > 0) || !(B > 0)) return out;
    const double M0 = M(0), ML = M(L);
    // Curvature of the span's own loads (downward deflection positive:
    // w'' = -M/B), the end moments' straight line taken off.
    auto kappa = [&](double x) { return -(M(x) - (M0 + (ML - M0) * x / L)) / B; };

    // w from the left end with zero slope: per piece, the slope grows by
    // the integral of the curvature and the deflection by the slope times
    // the piece plus the integral of (h - s) kappa(s) (Simpson, exact for a
    // curvature of second degree).
    const int n = kSpanPieces;
    const double h = L / n;
    std::vector<double> w(static_cast<std::size_t>(n) + 1, 0.0);
    double slope = 0;
    for (int i = 0; i < n; ++i) {
        const double x = i * h;
        const double k0 = kappa(x), km = kappa(x + h / 2), k1 = kappa(x + h);
        w[static_cast<std::size_t>(i) + 1] = w[static_cast<std::size_t>(i)] + slope * h + h * h / 6 * (k0 + 2 * km);
        slope += h / 6 * (k0 + 4 * km + k1);
    }
    // As a simple span: w(0) = w(L) = 0 with the end slopes phi1, phi2.
    const double phi1 = -w[static_cast<std::size_t>(n)] / L;
    const double phi2 = phi1 + slope;
    // The joints turn the ends to theta1, theta2: cubic shapes with unit
    // end slope at one end and zero slope at the other.
    const double d1 = theta1 - phi1, d2 = theta2 - phi2;
    std::vector<double> v(static_cast<std::size_t>(n) + 1, 0.0);
    int top = 0;
    for (int i = 0; i <= n; ++i) {
        const double x = i * h, xi = x / L;
        v[static_cast<std::size_t>(i)] = w[static_cast<std::size_t>(i)] + phi1 * x +
                                         d1 * L * xi * (1 - xi) * (1 - xi) - d2 * L * xi * xi * (1 - xi);
        if (v[static_cast<std::size_t>(i)] > v[static_cast<std::size_t>(top)]) top = i;
    }
    out.f = 1000 * v[static_cast<std::size_t>(top)];
    out.x = top * h;
    // Between pieces: the vertex of the parabola through the three points.
    if (top > 0 && top < n) {
        const double a = v[static_cast<std::size_t>(top) - 1], c = v[static_cast<std::size_t>(top) + 1];
        const double bend = a - 2 * v[static_cast<std::size_t>(top)] + c;
        if (bend < 0) {
            const double shift = 0.5 * (a - c) / bend;
            out.f = 1000 * (v[static_cast<std::size_t>(top)] - 0.25 * (a - c) * shift);
            out.x = (top + shift) * h;
        }
    }
    return out;
}

} // namespace kj::gb2010
