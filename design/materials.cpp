#include "design/materials.h"

#include "common/failure.h"
#include "common/numbers.h"

#include <cmath>

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

} // namespace kj
