#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavi {

// Pictures drawn from icon files, kept between runs ("TaviMenu2.icons"
// beside the settings) so that a start draws its first page without opening
// every program again. Each picture names its file, its icon number and the
// file's last-write stamp when it was drawn: a picture whose file has
// changed since is drawn anew.
struct CachedPicture {
    std::string iconFile;
    int iconIndex = 0;
    uint64_t stamp = 0;
    std::vector<uint32_t> pixels;  // size × size, top-down, 0xAARRGGBB premultiplied
};

struct IconCache {
    int size = 0;  // pixels per side, the same for every picture
    std::vector<CachedPicture> pictures;
};

inline constexpr char kIconCacheFile[] = "TaviMenu2.icons";
inline constexpr int kIconCacheLargestSize = 256;
inline constexpr size_t kIconCacheMostPictures = 1000;
// Far above a page of pictures at any size the bar shows; a larger file is
// not read at all.
inline constexpr uint64_t kIconCacheMostBytes = 16u << 20;

// The file's bytes: a magic, the size and count, then each picture.
// Pictures whose pixel count is not size × size are left out.
std::string WriteIconCache(const IconCache& cache);
// Nothing when the bytes are not a whole cache of this form: a damaged,
// cut or foreign file is ignored as a whole, never trusted in part.
std::optional<IconCache> ReadIconCache(std::string_view bytes);

}  // namespace tavi
