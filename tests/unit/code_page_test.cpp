#include <gtest/gtest.h>

#include "code_page_cases.h"
#include "platform/host_adapters.h"

using namespace tavi;

TEST(IconvCodePage, ConvertsAsWindowsDoes) {
    IconvCodePage codePage;
    for (const auto& c : code_page_cases::kRoundTrips) {
        EXPECT_EQ(codePage.ToUtf8(c.ansi), c.utf8) << "to UTF-8: " << c.what;
        EXPECT_EQ(codePage.FromUtf8(c.utf8), c.ansi) << "from UTF-8: " << c.what;
    }
    for (const auto& c : code_page_cases::kBadBytes) EXPECT_EQ(codePage.ToUtf8(c.ansi), c.utf8) << c.what;
    for (const auto& c : code_page_cases::kUnmappable) EXPECT_EQ(codePage.FromUtf8(c.utf8), c.ansi) << c.what;
}
