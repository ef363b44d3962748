#include "design/materials.h"

#include "common/failure.h"
#include "common/numbers.h"

#include <cmath>
#include <span>
#include <string>

namespace kj {

namespace {

struct GradeStrength {
    double fc, ft;
};

// Grades C15 to C80, index 1..14 (entry 0 unused).
constexpr GradeStrength kGrades[15] = {
    {0, 0},
    {7.2, 0.91},  {9.6, 1.10},  {11.9, 1.27}, {14.3, 1.43}, {16.7, 1.57},
    {19.1, 1.71}, {21.1, 1.80}, {23.1, 1.89}, {25.3, 1.96}, {27.5, 2.04},
    {29.7, 2.09}, {31.8, 2.14}, {33.8, 2.18}, {35.9, 2.22},
};

// GB 50010-2010 Table 4.1.5, Ec of C15 to C80 (2.20 ... 3.80 x 10^4 N/mm2), index 1..14.
constexpr double kGradeEc[15] = {0,     22000, 25500, 28000, 30000, 31500, 32500, 33500,
                                 34500, 35500, 36000, 36500, 37000, 37500, 38000};

void checkConcreteGrade(double C)
{
    if (!std::isfinite(C) || C <= 0)
        throw Failure("混凝土强度等级 C 应为正数, 数据文件中为: " + shortestDecimal(C));
}

} // namespace

double concreteEc(double C)
{
    checkConcreteGrade(C);
    const int index = concreteGradeIndex(C);
    if (index >= 1 && index <= 14) return kGradeEc[index];
    return 1e5 / (2.2 + 34.7 / C);
}

int concreteGradeIndex(double C) { return toIndex(C / 5.0 - 2.0); }

MaterialConstants materialConstants(const Materials& materials)
{
    const double Fy = materials.Fy;
    const double C = materials.C;
    if (!std::isfinite(Fy) || Fy <= 0)
        throw Failure("钢筋强度设计值 Fy 应为正数, 数据文件中为: " + shortestDecimal(Fy));
    checkConcreteGrade(C);

    MaterialConstants m;
    m.fy = Fy;
    m.fyv = 210;
    if (Fy >= 360) m.xib = 0.518;
    else if (Fy == 210) m.xib = 0.614;
    else m.xib = 0.544;
    m.fcf = 0.48 * C;
    const int index = concreteGradeIndex(C);
    if (index >= 1 && index <= 14) {
        m.fc = kGrades[index].fc;
        m.ft = kGrades[index].ft;
    } else {
        m.fc = 0.48 * C;
        m.ft = 0.055 * C;
    }
    return m;
}

void checkMaterials(const Materials& m, DesignCode code)
{
    const bool gb2010 = code == DesignCode::Gb50010_2010;
    const std::string rules = gb2010 ? "GB50010-2010" : "原方法";
    const double lowest = gb2010 ? 15 : 10;
    const bool gradeOk = std::isfinite(m.C) && m.C >= lowest && m.C <= 80 &&
                         (!gb2010 || std::fabs(m.C / 5 - std::round(m.C / 5)) < 1e-9);
    if (!gradeOk)
        throw Failure("混凝土强度等级 C=" + shortestDecimal(m.C) + " 超出范围: " + rules +
                      (gb2010 ? " 取 C15 至 C80 中 5 的倍数" : " 取 C10 至 C80"));
    static const double kDefaultSteels[] = {210, 300, 360};
    static const double kGb2010Steels[] = {270, 300, 360, 435};
    bool steelOk = false;
    for (double fy : gb2010 ? std::span<const double>(kGb2010Steels) : std::span<const double>(kDefaultSteels))
        steelOk = steelOk || m.Fy == fy;
    if (!steelOk) {
        std::string message = "钢筋强度设计值 Fy=" + shortestDecimal(m.Fy) + " 超出范围: " + rules +
                              (gb2010 ? " 取 270、300、360 或 435" : " 取 210、300 或 360");
        if (m.Fy == 400) message += " (HRB400 的强度设计值是 360)";
        throw Failure(message);
    }
}

} // namespace kj
