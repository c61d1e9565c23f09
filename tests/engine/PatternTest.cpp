#include <gtest/gtest.h>

#include "engine/Pattern.h"

using namespace pav;

TEST(Pattern, OppositeFlipsPairs) {
  EXPECT_EQ(Opposite(1), 2);
  EXPECT_EQ(Opposite(2), 1);
  EXPECT_EQ(Opposite(3), 4);
  EXPECT_EQ(Opposite(4), 3);
}
