#include "design/column_design.h"

#include "design/beam_design.h"

#include <cmath>

namespace kj {

double effectiveLengthFactor(bool bottomStorey) { return bottomStorey ? 1.25 : 1.5; }

ColumnSteel columnSteel(double M, double N, double b, double h, double l0, const MaterialConstants& mat)
{
    ColumnSteel r;
    r.As = kFailedArea;
    const double Mp = 1e6 * std::fabs(M); // N*mm
    const double Np = 1000 * N;           // N
    if (!(Np > 0) || !(h > 80) || !(b > 0) || !std::isfinite(Mp) || !std::isfinite(Np) || !std::isfinite(l0))
        return r;
    const double h0 = h - 40;
    const double l0mm = 1000 * l0;

    // Eccentricity with the additional eccentricity of a nearly axial load.
    const double e0 = Mp / Np;
    double ei = e0;
    if (e0 <= 0.3 * h0) ei = e0 + 0.12 * (0.3 * h0 - e0);

    // Magnifier of the eccentricity for slender columns.
    double zeta1 = 0.5 * mat.fc * b * h / Np;
    if (zeta1 > 1) zeta1 = 1;
    const double slenderness = l0mm / h;
    double zeta2 = 1;
    if (slenderness > 15) zeta2 = 1.15 - 0.01 * slenderness;
    double eta = 1;
    if (slenderness > 8) eta = 1 + slenderness * slenderness * zeta1 * zeta2 * h0 / (1400 * ei);
    const double e = eta * ei + h / 2 - 40;
    r.e0 = e0;
    r.ei = ei;
    r.eta = eta;

    const double balanced = mat.xib * mat.fcf * b * h0;
    double xi = Np / (mat.fcf * b * h0);
    if (Np > balanced) { // small eccentricity
        const double K = (Np * e - 0.45 * mat.fcf * b * h0 * h0) / ((0.8 - mat.xib) * (h - 80));
        const double denominator = K + mat.fcf * b * h0;
        if (!(denominator > 0)) return r;
        xi = mat.xib + (Np - balanced) / denominator;
    }
    r.xi = xi;
    double As = (Np * e - xi * (1 - 0.5 * xi) * mat.fcf * b * h0 * h0) / (mat.fy * (h - 60));
    const double minimum = 0.0025 * b * h;
    if (As < minimum) As = minimum;
    if (!(As <= 0.025 * b * h)) return r;
    r.As = As;
    return r;
}

} // namespace kj
