#include <windows.h>

#include <gtest/gtest.h>

#include "platform/ui_text.h"

int wmain(int argc, wchar_t** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The texts and dialog templates of Windows' language, as the program
    // takes them: the layout test runs in each language this way.
    tavi::UseLanguage(tavi::LanguageFor(GetUserDefaultUILanguage(), ""));
    return RUN_ALL_TESTS();
}

// The profile and code page tests expect Japanese Windows; under Wine that
// takes LC_ALL=ja_JP.UTF-8 with the locale generated.
TEST(Environment, AnsiCodePageIs932) { EXPECT_EQ(GetACP(), 932u); }
