#include "diag/TextHelpers.h"

#include <gtest/gtest.h>

TEST(TextHelpers, Placeholder) { EXPECT_EQ(IntToText(5), "5"); }
