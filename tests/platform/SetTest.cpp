#include <gtest/gtest.h>

#include "platform/Classes.h"

namespace {

enum TFruit { frApple, frBanana, frCherry, frDate };
using TFruits = TSet<TFruit>;

TEST(SetTest, MembershipFollowsIncludeAndExclude) {
  TFruits fruits{frApple, frCherry};
  EXPECT_TRUE(fruits.Contains(frApple));
  EXPECT_FALSE(fruits.Contains(frBanana));
  EXPECT_TRUE(fruits.Contains(frCherry));
  fruits.Include(frBanana).Exclude(frApple);
  EXPECT_FALSE(fruits.Contains(frApple));
  EXPECT_TRUE(fruits.Contains(frBanana));
  EXPECT_EQ(fruits, (TFruits{frBanana, frCherry}));
}

TEST(SetTest, UnionDifferenceAndIntersection) {
  const TFruits a{frApple, frBanana};
  const TFruits b{frBanana, frDate};
  EXPECT_EQ(a + b, (TFruits{frApple, frBanana, frDate}));
  EXPECT_EQ(a - b, (TFruits{frApple}));
  EXPECT_EQ(a * b, (TFruits{frBanana}));
  EXPECT_NE(a, b);
  EXPECT_TRUE((a - a).Empty());
  TFruits c = a;
  c += b;
  c -= TFruits{frApple};
  EXPECT_EQ(c, (TFruits{frBanana, frDate}));
}

TEST(SetTest, BitsFollowOrdinals) {
  EXPECT_EQ((TFruits{frApple, frDate}).Bits(), 0b1001u);
  EXPECT_EQ(TFruits::FromBits(0b0110), (TFruits{frBanana, frCherry}));
}

}  // namespace
