#include <gtest/gtest.h>

#include <climits>

#include "platform/MathUtils.h"

namespace {

TEST(MathUtilsTest, RoundIsHalfToEven) {
  struct Case {
    double value;
    int64_t rounded;
  };
  const Case cases[] = {{0.5, 0},
                        {1.5, 2},
                        {2.5, 2},
                        {3.5, 4},
                        {-0.5, 0},
                        {-1.5, -2},
                        {-2.5, -2},
                        {2.4999, 2},
                        {2.5001, 3},
                        {-2.6, -3},
                        {1e12 + 0.5, 1000000000000},
                        {4503599627370497.0, 4503599627370497}};
  for (const Case& c : cases) EXPECT_EQ(Round(c.value), c.rounded) << c.value;
}

TEST(MathUtilsTest, TruncCeilFloorFrac) {
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Ceil(2.1), 3);
  EXPECT_EQ(Ceil(-2.1), -2);
  EXPECT_EQ(Floor(-2.1), -3);
  EXPECT_EQ(Floor(2.9), 2);
  EXPECT_DOUBLE_EQ(Frac(-2.25), -0.25);
}

TEST(MathUtilsTest, MulDivRoundsHalfAwayFromZero) {
  struct Case {
    int a, b, c, result;
  };
  const Case cases[] = {
      {5, 1, 2, 3},      // 2.5
      {-5, 1, 2, -3},    // -2.5
      {5, -1, 2, -3},    // -2.5
      {5, 1, -2, -3},    // -2.5
      {-5, -1, -2, -3},  // -2.5
      {7, 1, 3, 2},      // 2.33
      {8, 1, 3, 3},      // 2.67
      {-8, 1, 3, -3},
      {72, 96, 72, 96},
      {100000, 100000, 100000, 100000},  // needs 64 bits in between
      {INT_MAX, 2, 2, INT_MAX},
      {1, 1, 0, -1},        // division by zero
      {INT_MAX, 2, 1, -1},  // overflow
      {INT_MIN, 1, 1, -1},  // below -INT_MAX
  };
  for (const Case& c : cases) EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.result) << c.a << "*" << c.b << "/" << c.c;
}

}  // namespace
