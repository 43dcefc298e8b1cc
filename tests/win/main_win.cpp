#include <windows.h>

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The profile and code page tests expect Japanese Windows; under Wine that
// takes LC_ALL=ja_JP.UTF-8 with the locale generated.
TEST(Environment, AnsiCodePageIs932) { EXPECT_EQ(GetACP(), 932u); }
