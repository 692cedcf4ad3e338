#include "calc/wetting_front.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "calc/tests/test_support.h"

namespace soakmark::calc {
namespace {

using testing::Bits;

struct Row {
  SoilCondition condition;
  double wide_depth, wide_radius, narrow_depth, narrow_radius;  // centimetres, to four decimals
};

void ExpectFronts(double volume, const Row& row) {
  SCOPED_TRACE(static_cast<int>(row.condition));
  const WettingFronts f = CalcFronts(volume, row.condition);
  EXPECT_NEAR(f[0].Depth, row.wide_depth, 5e-5);
  EXPECT_NEAR(f[0].Radius, row.wide_radius, 5e-5);
  EXPECT_NEAR(f[1].Depth, row.narrow_depth, 5e-5);
  EXPECT_NEAR(f[1].Radius, row.narrow_radius, 5e-5);
}

TEST(CalcFronts, TenLitres) {
  const Row rows[] = {
      {SoilCondition::Moist, 42.2931, 37.1101, 74.7140, 21.0587},
      {SoilCondition::Dry, 37.4344, 32.8319, 68.2473, 22.3289},
      {SoilCondition::VeryDry, 34.9602, 30.5199, 64.6760, 19.9078},
  };
  for (const Row& row : rows) ExpectFronts(10, row);
}

TEST(CalcFronts, HundredLitres) {
  const Row rows[] = {
      {SoilCondition::Moist, 94.3560, 76.7347, 209.9433, 33.7778},
      {SoilCondition::Dry, 84.2501, 66.8030, 194.2162, 36.7847},
      {SoilCondition::VeryDry, 77.7094, 62.1846, 181.6950, 32.3686},
  };
  for (const Row& row : rows) ExpectFronts(100, row);
}

// At one litre every value is its coefficient, rounded once to a double.
TEST(CalcFronts, OneLitreGivesTheCoefficients) {
  const Row rows[] = {
      {SoilCondition::Moist, 18.957, 17.947, 26.589, 13.129},
      {SoilCondition::Dry, 16.633, 16.136, 23.982, 13.554},
      {SoilCondition::VeryDry, 15.728, 14.979, 23.022, 12.244},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.condition));
    const WettingFronts f = CalcFronts(1, row.condition);
    EXPECT_EQ(f[0].Depth, row.wide_depth);
    EXPECT_EQ(f[0].Radius, row.wide_radius);
    EXPECT_EQ(f[1].Depth, row.narrow_depth);
    EXPECT_EQ(f[1].Radius, row.narrow_radius);
  }
}

TEST(CalcFronts, ZeroVolumeOfEitherSignGivesNoFront) {
  for (double zero : {0.0, -0.0}) {
    for (SoilCondition c : {SoilCondition::Moist, SoilCondition::Dry, SoilCondition::VeryDry}) {
      const WettingFronts f = CalcFronts(zero, c);
      EXPECT_EQ(f[0], TWettingFront{});
      EXPECT_EQ(f[1], TWettingFront{});
    }
  }
}

TEST(CalcFronts, NegativeVolumeIsAnInvalidOperation) {
  for (double volume : {-10.0, -4.9406564584124654e-324, -DBL_MAX}) {
    SCOPED_TRACE(volume);
    EXPECT_TRUE(testing::ThrowsCalcError([&] { CalcFronts(volume, SoilCondition::Moist); },
                                         CalcError::Kind::InvalidOperation, "Invalid floating point operation"));
  }
}

TEST(CalcFronts, StaysFiniteForEveryVolume) {
  for (double volume : {4.9406564584124654e-324, 1e-300, 1e300, DBL_MAX}) {
    for (SoilCondition c : {SoilCondition::Moist, SoilCondition::Dry, SoilCondition::VeryDry}) {
      const WettingFronts f = CalcFronts(volume, c);
      for (const TWettingFront& front : f) {
        EXPECT_TRUE(std::isfinite(front.Depth) && front.Depth > 0) << volume;
        EXPECT_TRUE(std::isfinite(front.Radius) && front.Radius > 0) << volume;
      }
    }
  }
  // The largest front of all: the dry narrow depth at the largest volume.
  EXPECT_NEAR(CalcFronts(DBL_MAX, SoilCondition::Dry)[1].Depth / 2.5e141, 1.0, 0.05);
}

// Where the narrow front first reaches deeper than 100 cm.
TEST(CalcFronts, NarrowDepthPassesOneMetreWhereExpected) {
  const struct {
    SoilCondition condition;
    double litres;  // to two decimals
  } cases[] = {{SoilCondition::Moist, 19.15}, {SoilCondition::Dry, 23.19}, {SoilCondition::VeryDry, 26.42}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.condition));
    EXPECT_LT(CalcFronts(c.litres - 0.01, c.condition)[1].Depth, 100);
    EXPECT_GT(CalcFronts(c.litres + 0.01, c.condition)[1].Depth, 100);
  }
}

TEST(CalcFronts, ConditionOutsideTheThreeIsRejected) {
  EXPECT_THROW(CalcFronts(10, static_cast<SoilCondition>(3)), std::out_of_range);
  EXPECT_THROW(CalcFronts(10, static_cast<SoilCondition>(-1)), std::out_of_range);
}

TEST(FrontBounds, AreTenTimesTheCentimetresAroundTheEmitter) {
  const WettingFronts f = CalcFronts(1, SoilCondition::Moist);
  EXPECT_EQ(FrontBounds(f[0]), (ShapeBounds{-179.47, 179.47, -189.57, 189.57}));
  EXPECT_EQ(FrontBounds(f[1]), (ShapeBounds{-131.29, 131.29, -265.89, 265.89}));
  const ShapeBounds b = FrontBounds(TWettingFront{42.2931, 37.1101});
  EXPECT_EQ(Bits(b.X1), Bits(10 * 37.1101));
  EXPECT_EQ(Bits(b.X0), Bits(-(10 * 37.1101)));
  EXPECT_EQ(Bits(b.Y1), Bits(10 * 42.2931));
  EXPECT_EQ(Bits(b.Y0), Bits(-(10 * 42.2931)));
  EXPECT_EQ(FrontBounds(TWettingFront{}), ShapeBounds{});
}

}  // namespace
}  // namespace soakmark::calc
