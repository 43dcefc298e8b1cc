#include <gtest/gtest.h>

#include "platform/text.h"

using namespace tavi;

TEST(PathHelpers, ExtensionIsFoundFromTheEnd) {
    const struct {
        const char* path;
        const char* extension;
    } cases[] = {
        {"C:\\Tools\\app.exe", ".exe"},      {"C:\\a.b\\readme", ""},        {"C:\\a.b\\c.tar.gz", ".gz"},
        {"C:\\Tools\\", ""},                 {"noext", ""},                  {"C:\\dir\\.hidden", ".hidden"},
        {"C:\\ﾃﾞｰﾀ\\表.XLS", ".XLS"},       {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(GetExtension(c.path), c.extension) << c.path;
}

TEST(PathHelpers, FileNameIsThePartAfterTheLastBackslash) {
    EXPECT_EQ(GetFileName("C:\\Tools\\app.exe"), "app.exe");
    EXPECT_EQ(GetFileName("app.exe"), "app.exe");
    EXPECT_EQ(GetFileName("C:\\Tools\\"), "");
    EXPECT_EQ(GetFileName("C:\\ﾂｰﾙ\\ｴｸｽﾌﾟﾛｰﾗ.lnk"), "ｴｸｽﾌﾟﾛｰﾗ.lnk");
}

TEST(PathHelpers, FolderNameOfEveryKindOfPath) {
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\Tools\\app.exe", "C:\\Tools"},
        {"C:/Tools/app.exe", "C:\\Tools"},  // forward slashes count as separators
        {"C:\\app.exe", "C:"},              // a drive root gives the letter and colon only
        {"C:\\", "C:"},
        {"C:\\Tools\\", "C:\\Tools"},       // a folder path opens in itself
        {"\\\\server\\share\\doc.txt", "\\\\server\\share"},
        {"app.exe", "D:\\Current"},         // no folder: the current directory
        {"", "D:\\Current"},
    };
    for (const auto& c : cases) EXPECT_EQ(GetFolderName(c.path, "D:\\Current"), c.folder) << c.path;
}

TEST(PathHelpers, BackslashAndQuotes) {
    EXPECT_EQ(AddBackslash("C:\\Tools"), "C:\\Tools\\");
    EXPECT_EQ(AddBackslash("C:\\"), "C:\\");
    EXPECT_EQ(AddBackslash(""), "\\");
    EXPECT_EQ(QuoteIfSpaced("C:\\My Documents\\a.txt"), "\"C:\\My Documents\\a.txt\"");
    EXPECT_EQ(QuoteIfSpaced("C:\\Docs\\a.txt"), "C:\\Docs\\a.txt");
    // A full-width space is not a space to the command line.
    EXPECT_EQ(QuoteIfSpaced("C:\\新しい　フォルダ"), "C:\\新しい　フォルダ");
}

TEST(Numbers, LeadingNumberReadsLikeTheOldRunTime) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"12abc", 12}, {"abc", 0},     {"", 0},         {"  42", 42},    {"-7", -7},     {"1 2", 12},
        {"3.5x", 3.5}, {"1e3", 1000},  {"2D2", 200},    {"1e", 1},       {"+8", 8},      {"\t9", 9},
        {".5", 0.5},   {"1.2.3", 1.2}, {"０", 0},  // full-width digits are not digits
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(Numbers, IsNumericWantsTheWholeText) {
    for (const char* yes : {"10", " 10 ", "-1", "2.5", "1e2"}) EXPECT_TRUE(IsNumeric(yes)) << yes;
    for (const char* no : {"", "abc", "10a", "1e", " ", "."}) EXPECT_FALSE(IsNumeric(no)) << no;
}

TEST(Numbers, RoundingIsHalfToEvenAndRangeChecked) {
    int32_t value = -1;
    ASSERT_TRUE(RoundToInt32(2.5, value));
    EXPECT_EQ(value, 2);
    ASSERT_TRUE(RoundToInt32(3.5, value));
    EXPECT_EQ(value, 4);
    EXPECT_FALSE(RoundToInt32(3e9, value));
    EXPECT_EQ(LeadingInt("99999999999"), 0);
    EXPECT_EQ(LeadingInt("12.7abc"), 13);
}

TEST(Characters, CountedAsCodePointsNotBytes) {
    const std::string katakana = "ｴｸｽﾌﾟﾛｰﾗ";
    EXPECT_EQ(CharCount(katakana), 8u);
    EXPECT_EQ(CharMid(katakana, 2, 3), "ｽﾌﾟ");
    EXPECT_EQ(CharMid("abc", 5, 2), "");
    EXPECT_EQ(FixedWidth("ab", 4), "ab  ");
    EXPECT_EQ(FixedWidth("日本語テキスト", 3), "日本語");
    EXPECT_EQ(ReplaceChar("000", 1, "7x"), "070");
    EXPECT_EQ(ReplaceChar("日本語", 2, "a"), "日本a");
    EXPECT_EQ(ReplaceChar("000", 3, "1"), "000");
}

TEST(Characters, TrimOnlySpaces) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(TrimLeadingSpaces("  a  "), "a  ");
    EXPECT_TRUE(IsBlank("   "));
    EXPECT_FALSE(IsBlank("　"));  // full-width space is text
}
