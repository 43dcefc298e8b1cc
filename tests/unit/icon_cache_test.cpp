#include "bar/icon_cache.h"

#include <gtest/gtest.h>

using namespace tavi;

namespace {

IconCache TwoPictures() {
    IconCache cache;
    cache.size = 2;
    cache.pictures = {{"C:\\windows\\notepad.exe", 0, 0x01D9'0000'1234'5678ull, {0xFF000000, 1, 2, 0x80FFFFFF}},
                      {"C:\\プログラム\\表.exe", -3, 7, {4, 5, 6, 7}}};
    return cache;
}

}  // namespace

TEST(IconCacheTest, PicturesComeBackAsTheyWereWritten) {
    const IconCache cache = TwoPictures();
    const std::optional<IconCache> read = ReadIconCache(WriteIconCache(cache));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size, 2);
    ASSERT_EQ(read->pictures.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(read->pictures[i].iconFile, cache.pictures[i].iconFile);
        EXPECT_EQ(read->pictures[i].iconIndex, cache.pictures[i].iconIndex) << "negative numbers too";
        EXPECT_EQ(read->pictures[i].stamp, cache.pictures[i].stamp);
        EXPECT_EQ(read->pictures[i].pixels, cache.pictures[i].pixels);
    }

    // A picture of the wrong size is left out, not written cut or padded.
    IconCache odd = cache;
    odd.pictures[0].pixels.pop_back();
    const std::optional<IconCache> fewer = ReadIconCache(WriteIconCache(odd));
    ASSERT_TRUE(fewer);
    ASSERT_EQ(fewer->pictures.size(), 1u);
    EXPECT_EQ(fewer->pictures[0].iconFile, cache.pictures[1].iconFile);
    IconCache empty;
    empty.size = 16;
    EXPECT_TRUE(ReadIconCache(WriteIconCache(empty)));
}

TEST(IconCacheTest, ADamagedOrForeignFileIsIgnoredWhole) {
    const std::string good = WriteIconCache(TwoPictures());
    auto withNumber = [&](size_t at, uint32_t value) {
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        return bytes;
    };
    const struct {
        const char* name;
        std::string bytes;
    } rows[] = {
        {"empty", ""},
        {"another file", "[Setting]\r\nIconSize=0\r\n"},
        {"another version", "TaviIco2" + good.substr(8)},
        {"cut inside the header", good.substr(0, 12)},
        {"cut inside a picture", good.substr(0, good.size() - 1)},
        {"a byte too many", good + "x"},
        {"size zero", withNumber(8, 0)},
        {"size too large", withNumber(8, kIconCacheLargestSize + 1)},
        {"more pictures than the file holds", withNumber(12, 3)},
        {"a count past the limit", withNumber(12, 1u << 31)},
        {"a path longer than the file", withNumber(16, 0xFFFFFF)},
        {"larger than any cache of ours", good + std::string(kIconCacheMostBytes, '\0')},
    };
    for (const auto& row : rows) EXPECT_FALSE(ReadIconCache(row.bytes)) << row.name;
}
