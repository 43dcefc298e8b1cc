#include <windows.h>
#include <gtest/gtest.h>
int wmain(int argc, wchar_t** argv) { testing::InitGoogleTest(&argc, argv); return RUN_ALL_TESTS(); }
TEST(Smoke, Acp) { EXPECT_GT(GetACP(), 0u); }
