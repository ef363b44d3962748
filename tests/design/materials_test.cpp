#include "design/materials.h"

#include "common/failure.h"

#include <gtest/gtest.h>

namespace kj {
namespace {

MaterialConstants constantsFor(double Fy, double C) { return materialConstants(Materials{Fy, C}); }

TEST(DesignMaterials, GradeTableGivesConcreteStrengthsFromC15ToC80)
{
    const MaterialConstants c25 = constantsFor(300, 25);
    EXPECT_DOUBLE_EQ(c25.fc, 11.9);
    EXPECT_DOUBLE_EQ(c25.ft, 1.27);
    EXPECT_DOUBLE_EQ(c25.fcf, 12.0);
    EXPECT_DOUBLE_EQ(c25.fy, 300);
    EXPECT_DOUBLE_EQ(c25.fyv, 210);

    const MaterialConstants c40 = constantsFor(360, 40);
    EXPECT_DOUBLE_EQ(c40.fc, 19.1);
    EXPECT_DOUBLE_EQ(c40.ft, 1.71);
    EXPECT_DOUBLE_EQ(c40.fcf, 0.48 * 40); // the flexure strength does not follow the table

    EXPECT_DOUBLE_EQ(constantsFor(300, 15).fc, 7.2);
    EXPECT_DOUBLE_EQ(constantsFor(300, 80).fc, 35.9);
    EXPECT_DOUBLE_EQ(constantsFor(300, 80).ft, 2.22);
}

TEST(DesignMaterials, GradeIndexRoundsHalvesToEven)
{
    EXPECT_EQ(concreteGradeIndex(25), 3);
    EXPECT_EQ(concreteGradeIndex(27.5), 4); // 3.5 -> 4
    EXPECT_EQ(concreteGradeIndex(22.5), 2); // 2.5 -> 2
    EXPECT_DOUBLE_EQ(constantsFor(300, 22.5).fc, 9.6); // C20's row
}

TEST(DesignMaterials, GradeOutsideTableFallsBackToMultiplesOfC)
{
    // C10: index 0; C85: index 15.
    const MaterialConstants c10 = constantsFor(300, 10);
    EXPECT_DOUBLE_EQ(c10.fc, 4.8);
    EXPECT_DOUBLE_EQ(c10.ft, 0.55);
    const MaterialConstants c85 = constantsFor(300, 85);
    EXPECT_DOUBLE_EQ(c85.fc, 0.48 * 85);
    EXPECT_DOUBLE_EQ(c85.ft, 0.055 * 85);
}

TEST(DesignMaterials, BalancedDepthDependsOnSteel)
{
    EXPECT_DOUBLE_EQ(constantsFor(210, 25).xib, 0.614);
    EXPECT_DOUBLE_EQ(constantsFor(300, 25).xib, 0.544);
    EXPECT_DOUBLE_EQ(constantsFor(359, 25).xib, 0.544);
    EXPECT_DOUBLE_EQ(constantsFor(360, 25).xib, 0.518);
    EXPECT_DOUBLE_EQ(constantsFor(400, 25).xib, 0.518);
}

TEST(DesignMaterials, NonPositiveSteelOrConcreteIsAFailure)
{
    EXPECT_THROW(constantsFor(0, 25), Failure);
    EXPECT_THROW(constantsFor(300, 0), Failure);
    EXPECT_THROW(constantsFor(-300, 25), Failure);
}

} // namespace
} // namespace kj
