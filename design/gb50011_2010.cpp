#include "design/gb50011_2010.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "design/gb50010_2010.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kj::gb50011 {

namespace {

std::size_t intensityIndex(Intensity i) { return static_cast<std::size_t>(i); }

// Grade 1..4 as an index 0..3; a grade outside is a fault of the caller.
std::size_t gradeIndex(int grade)
{
    if (grade < 1 || grade > 4) throw Failure("抗震等级 " + std::to_string(grade) + " 不在一级至四级之间");
    return static_cast<std::size_t>(grade - 1);
}

} // namespace

int intensityDegree(Intensity i)
{
    static constexpr std::array<int, 6> degree{6, 7, 7, 8, 8, 9};
    return degree[intensityIndex(i)];
}

std::string intensityText(Intensity i)
{
    static const std::array<const char*, 6> text{"6", "7", "7.5", "8", "8.5", "9"};
    return text[intensityIndex(i)];
}

std::string intensityTitle(Intensity i)
{
    static const std::array<const char*, 6> text{"6 度 (0.05g)", "7 度 (0.10g)", "7 度 (0.15g)",
                                                 "8 度 (0.20g)", "8 度 (0.30g)", "9 度 (0.40g)"};
    return text[intensityIndex(i)];
}

std::string siteText(SiteClass s)
{
    static const std::array<const char*, 5> text{"I0", "I1", "II", "III", "IV"};
    return text[static_cast<std::size_t>(s)];
}

double maxInfluenceCoefficient(Intensity i)
{
    static constexpr std::array<double, 6> alphaMax{0.04, 0.08, 0.12, 0.16, 0.24, 0.32};
    return alphaMax[intensityIndex(i)];
}

double characteristicPeriod(SiteClass site, int group)
{
    // Rows: design earthquake groups 1..3; columns: I0, I1, II, III, IV.
    static constexpr double Tg[3][5] = {
        {0.20, 0.25, 0.35, 0.45, 0.65},
        {0.25, 0.30, 0.40, 0.55, 0.75},
        {0.30, 0.35, 0.45, 0.65, 0.90},
    };
    if (group < 1 || group > 3) throw Failure("设计地震分组 " + std::to_string(group) + " 不在第一组至第三组之间");
    return Tg[group - 1][static_cast<std::size_t>(site)];
}

SpectrumShape spectrumShape(double zeta)
{
    SpectrumShape s;
    s.gamma = 0.9 + (0.05 - zeta) / (0.3 + 6 * zeta);
    s.eta1 = std::max(0.0, 0.02 + (0.05 - zeta) / (4 + 32 * zeta));
    s.eta2 = std::max(0.55, 1 + (0.05 - zeta) / (0.08 + 1.6 * zeta));
    return s;
}

double influenceCoefficient(double T, double Tg, double alphaMax, double zeta)
{
    if (!(T >= 0) || !std::isfinite(T))
        throw Failure("结构自振周期 " + shortestDecimal(T) + " s 无效");
    if (T > 6.0)
        throw Failure("结构基本自振周期 " + shortestDecimal(T) +
                      " s 大于 6.0 s, 其地震影响系数应专门研究 (GB 50011-2010 5.1.5)");
    const SpectrumShape s = spectrumShape(zeta);
    if (T < 0.1) return (0.45 + 10 * (s.eta2 - 0.45) * T) * alphaMax;
    if (T <= Tg) return s.eta2 * alphaMax;
    if (T <= 5 * Tg) return std::pow(Tg / T, s.gamma) * s.eta2 * alphaMax;
    return (s.eta2 * std::pow(0.2, s.gamma) - s.eta1 * (T - 5 * Tg)) * alphaMax;
}

double fundamentalPeriod(double psiT, double uT) { return 1.7 * psiT * std::sqrt(uT); }

double equivalentGravity(double sumGE, int storeys) { return storeys > 1 ? 0.85 * sumGE : sumGE; }

double totalHorizontalAction(double alpha1, double Geq) { return alpha1 * Geq; }

double topAdditionalFactor(double T1, double Tg)
{
    // The periods are given to hundredths: 1.4 x 0.40 is 0.56, not the float below it.
    if (T1 <= 1.4 * Tg + 1e-9) return 0.0;
    if (Tg <= 0.35) return 0.08 * T1 + 0.07;
    if (Tg <= 0.55) return 0.08 * T1 + 0.01;
    return 0.08 * T1 - 0.02;
}

std::vector<double> floorForces(const std::vector<double>& G, const std::vector<double>& H, double FEk, double deltaN)
{
    double sum = 0;
    for (std::size_t i = 0; i < G.size(); ++i) sum += G[i] * H[i];
    std::vector<double> F(G.size(), 0.0);
    if (sum == 0) return F;
    for (std::size_t i = 0; i < G.size(); ++i) F[i] = G[i] * H[i] / sum * FEk * (1 - deltaN);
    return F;
}

double minimumShearFactor(Intensity i, double T1)
{
    static constexpr std::array<double, 6> shortPeriod{0.008, 0.016, 0.024, 0.032, 0.048, 0.064};
    static constexpr std::array<double, 6> longPeriod{0.006, 0.012, 0.018, 0.024, 0.036, 0.048};
    const double a = shortPeriod[intensityIndex(i)], b = longPeriod[intensityIndex(i)];
    if (T1 <= 3.5) return a;
    if (T1 >= 5.0) return b;
    return a + (b - a) * (T1 - 3.5) / 1.5;
}

double maxFrameHeight(Intensity i)
{
    static constexpr std::array<double, 6> height{60, 50, 50, 40, 35, 24};
    return height[intensityIndex(i)];
}

bool driftWithinLimit(double drift, double storeyHeight) { return drift <= kFrameDriftLimit * storeyHeight; }

SeismicCombinationFactors combinationFactorsGb55002() { return {1.3, 1.0, 1.4}; }
SeismicCombinationFactors combinationFactorsGb50011() { return {1.2, 1.0, 1.3}; }

double seismicAdjustmentFactor(SeismicCheck check, double axialRatio)
{
    switch (check) {
    case SeismicCheck::BeamFlexure: return 0.75;
    case SeismicCheck::ColumnCompression: return axialRatio < 0.15 ? 0.75 : 0.80;
    case SeismicCheck::Shear: return 0.85;
    }
    return 1.0;
}

namespace {

// Table 6.1.2, frame structures: the row of the height, and of a large span.
int tableGrade(Intensity i, double height, double longestSpan)
{
    const bool tall = height > 24.0;
    int grade = 1;
    int largeSpan = 1;
    switch (intensityDegree(i)) {
    case 6: grade = tall ? 3 : 4; largeSpan = 3; break;
    case 7: grade = tall ? 2 : 3; largeSpan = 2; break;
    case 8: grade = tall ? 1 : 2; largeSpan = 1; break;
    default: grade = 1; largeSpan = 1; break;
    }
    return longestSpan >= kLargeSpan ? std::min(grade, largeSpan) : grade;
}

} // namespace

int frameSeismicGrade(Intensity i, double height, double longestSpan)
{
    if (height > maxFrameHeight(i))
        throw Failure("框架高度 " + shortestDecimal(height) + " m 超过 " + intensityTitle(i) + " 框架结构的最大适用高度 " +
                      shortestDecimal(maxFrameHeight(i)) + " m (GB 50011-2010 表 6.1.1), 无法按框架结构设计");
    return tableGrade(i, height, longestSpan);
}

Intensity detailingIntensity(Intensity i, SiteClass site)
{
    if (site != SiteClass::III && site != SiteClass::IV) return i;
    if (i == Intensity::I7_5) return Intensity::I8;
    if (i == Intensity::I8_5) return Intensity::I9;
    return i;
}

int frameDetailingGrade(Intensity i, SiteClass site, double height, double longestSpan)
{
    return tableGrade(detailingIntensity(i, site), height, longestSpan);
}

std::string gradeText(int grade)
{
    static const std::array<const char*, 4> text{"一级", "二级", "三级", "四级"};
    return text[gradeIndex(grade)];
}

double columnMomentFactor(int grade)
{
    static constexpr std::array<double, 4> f{1.7, 1.5, 1.3, 1.2};
    return f[gradeIndex(grade)];
}

double columnFootFactor(int grade)
{
    static constexpr std::array<double, 4> f{1.7, 1.5, 1.3, 1.2};
    return f[gradeIndex(grade)];
}

double beamShearFactor(int grade)
{
    static constexpr std::array<double, 4> f{1.3, 1.2, 1.1, 1.0};
    return f[gradeIndex(grade)];
}

double columnShearFactor(int grade)
{
    static constexpr std::array<double, 4> f{1.5, 1.3, 1.2, 1.1};
    return f[gradeIndex(grade)];
}

double axialRatioLimit(int grade)
{
    static constexpr std::array<double, 4> f{0.65, 0.75, 0.85, 0.90};
    return f[gradeIndex(grade)];
}

bool axialRatioWithinLimit(double ratio, int grade) { return ratio <= axialRatioLimit(grade); }

std::optional<double> beamEndDepthLimit(int grade)
{
    const std::size_t g = gradeIndex(grade);
    if (g == 0) return 0.25;
    if (g <= 2) return 0.35;
    return std::nullopt;
}

std::optional<double> beamEndBottomTopRatio(int grade)
{
    const std::size_t g = gradeIndex(grade);
    if (g == 0) return 0.5;
    if (g <= 2) return 0.3;
    return std::nullopt;
}

double beamMinimumSteelRatio(int grade, bool atSupport, double ft, double fy)
{
    // Percent: the fixed value and the factor of ft/fy, grades 1, 2, 3-4.
    static constexpr double support[4][2] = {{0.40, 80}, {0.30, 65}, {0.25, 55}, {0.25, 55}};
    static constexpr double span[4][2] = {{0.30, 65}, {0.25, 55}, {0.20, 45}, {0.20, 45}};
    const double* row = atSupport ? support[gradeIndex(grade)] : span[gradeIndex(grade)];
    return std::max(row[0], row[1] * ft / fy) / 100.0;
}

DenseZone beamDenseZone(int grade, double hb, double barDiameter, double endTensionRatio)
{
    const std::size_t g = gradeIndex(grade);
    DenseZone z;
    z.length = std::max(g == 0 ? 2.0 * hb : 1.5 * hb, 500.0);
    const double barSpacing = (g == 0 ? 6 : 8) * barDiameter;
    const double cap = g <= 1 ? 100.0 : 150.0;
    z.maxSpacing = std::min({hb / 4, barSpacing, cap});
    static constexpr std::array<double, 4> dia{10, 8, 8, 6};
    z.minDiameter = dia[g] + (endTensionRatio > 0.02 ? 2 : 0);
    return z;
}

double beamDenseLegSpacing(int grade, double stirrupDiameter)
{
    const std::size_t g = gradeIndex(grade);
    if (g == 3) return 300;
    return std::max(g == 0 ? 200.0 : 250.0, 20 * stirrupDiameter);
}

double columnDenseLegSpacing(int grade, double tieDiameter)
{
    const std::size_t g = gradeIndex(grade);
    if (g == 0) return 200;
    if (g == 3) return 300;
    return std::max(250.0, 20 * tieDiameter);
}

double columnMinimumTotalSteelRatio(int grade, double fy, double C, bool cornerColumn)
{
    static constexpr std::array<double, 4> middle{1.0, 0.8, 0.7, 0.6};
    static constexpr std::array<double, 4> corner{1.1, 0.9, 0.8, 0.7};
    double percent = (cornerColumn ? corner : middle)[gradeIndex(grade)];
    if (fy <= 300) percent += 0.1;
    else if (fy <= 360) percent += 0.05;
    if (C >= 60) percent += 0.1;
    return percent / 100.0;
}

DenseZone columnDenseZone(int grade, double hc, double Hn, double barDiameter, bool groundFoot)
{
    const std::size_t g = gradeIndex(grade);
    DenseZone z;
    z.length = groundFoot ? Hn / 3 : std::max({hc, Hn / 6, 500.0});
    const double barSpacing = (g == 0 ? 6 : 8) * barDiameter;
    const double cap = (g <= 1 || groundFoot) ? 100.0 : 150.0;
    z.maxSpacing = std::min(barSpacing, cap);
    static constexpr std::array<double, 4> dia{10, 8, 8, 6};
    z.minDiameter = (g == 3 && groundFoot) ? 8 : dia[g];
    return z;
}

double stirrupCharacteristicValue(int grade, double axialRatio)
{
    static constexpr std::array<double, 9> ratio{0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0, 1.05};
    // Grade 1 stops at 0.9: the code gives no value above (its axial ratio
    // limits never reach it); the last value is kept.
    static constexpr double lv[3][9] = {
        {0.10, 0.11, 0.13, 0.15, 0.17, 0.20, 0.23, 0.23, 0.23},
        {0.08, 0.09, 0.11, 0.13, 0.15, 0.17, 0.19, 0.22, 0.24},
        {0.06, 0.07, 0.09, 0.11, 0.13, 0.15, 0.17, 0.20, 0.22},
    };
    const std::size_t g = std::min<std::size_t>(gradeIndex(grade), 2);
    if (axialRatio <= ratio[0]) return lv[g][0];
    for (std::size_t k = 1; k < ratio.size(); ++k)
        if (axialRatio <= ratio[k])
            return lv[g][k - 1] + (lv[g][k] - lv[g][k - 1]) * (axialRatio - ratio[k - 1]) / (ratio[k] - ratio[k - 1]);
    return lv[g][ratio.size() - 1];
}

double columnMinimumVolumetricRatio(int grade, double axialRatio, double fc, double fyv)
{
    static constexpr std::array<double, 4> least{0.008, 0.006, 0.004, 0.004};
    const double fcC35 = gb2010::concreteGrade(35).fc;
    return std::max(stirrupCharacteristicValue(grade, axialRatio) * std::max(fc, fcC35) / fyv, least[gradeIndex(grade)]);
}

double jointShearFactor(int grade)
{
    static constexpr std::array<double, 3> factor{1.5, 1.35, 1.2};
    if (!jointCoreChecked(grade)) throw Failure("抗震等级 " + std::to_string(grade) + " 的框架节点不做核心区受剪验算");
    return factor[gradeIndex(grade)];
}

double jointShear(double etaJb, double sumMb, double hb0, double asComp, double Hc, double hb, bool topLevel)
{
    const double arm = hb0 - asComp;
    if (!(arm > 0)) return 0;
    const double V = etaJb * sumMb / arm;
    if (topLevel || !(Hc - hb > arm)) return V;
    return V * (1 - arm / (Hc - hb));
}

double jointEffectiveWidth(double bb, double bc, double hc)
{
    if (bb >= bc / 2) return bc;
    return std::min(bb + 0.5 * hc, bc);
}

double jointShearLimit(double etaJ, double betaC, double fc, double bj, double hj, double gammaRE)
{
    return 0.3 * etaJ * betaC * fc * bj * hj / gammaRE;
}

double jointShearCapacity(double etaJ, double ft, double fc, double bj, double hj, double bc, double hc, double N,
                          double fyv, double asvs, double hb0, double asComp, double gammaRE)
{
    const double n = std::clamp(N, 0.0, 0.5 * fc * bc * hc);
    const double concrete = 1.1 * etaJ * ft * bj * hj + 0.05 * etaJ * n * bj / bc;
    return (concrete + fyv * asvs * std::max(0.0, hb0 - asComp)) / gammaRE;
}

double jointTieCharacteristicValue(int grade)
{
    static constexpr std::array<double, 3> lv{0.12, 0.10, 0.08};
    if (!jointCoreChecked(grade)) throw Failure("抗震等级 " + std::to_string(grade) + " 的框架节点不做核心区受剪验算");
    return lv[gradeIndex(grade)];
}

double jointMinimumVolumetricRatio(int grade, double fc, double fyv)
{
    static constexpr std::array<double, 3> least{0.006, 0.005, 0.004};
    const double fcC35 = gb2010::concreteGrade(35).fc;
    return std::max(jointTieCharacteristicValue(grade) * std::max(fc, fcC35) / fyv, least[gradeIndex(grade)]);
}

} // namespace kj::gb50011
