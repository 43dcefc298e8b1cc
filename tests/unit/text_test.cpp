#include <gtest/gtest.h>

#include "app/text.h"

using namespace tavi;

TEST(PathHelpers, Extension) {
    EXPECT_EQ(GetExtension("C:\\a\\b.txt"), ".txt");
}
