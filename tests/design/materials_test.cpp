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

TEST(DesignMaterials, ModulusOfElasticityFollowsTable415AndItsFormulaOutsideIt)
{
    // GB 50010-2010 Table 4.1.5 (x 10^4 N/mm2).
    EXPECT_EQ(concreteEc(15), 2.20e4);
    EXPECT_EQ(concreteEc(25), 2.80e4);
    EXPECT_EQ(concreteEc(30), 3.00e4);
    EXPECT_EQ(concreteEc(60), 3.60e4);
    EXPECT_EQ(concreteEc(80), 3.80e4);
    EXPECT_EQ(concreteEc(22.5), 2.55e4); // C20's row, as for fc
    // C10 and C90: 10^5 / (2.2 + 34.7 / fcu,k).
    EXPECT_NEAR(concreteEc(10), 17636.7, 0.1);
    EXPECT_NEAR(concreteEc(90), 38676.4, 0.1);
    EXPECT_THROW(concreteEc(0), Failure);
    EXPECT_THROW(concreteEc(-25), Failure);
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
