// The icon cache file: whatever its bytes, reading it ends, takes no more
// memory than its pictures need, and what it accepts writes back the same.
#include <cstdint>
#include <string_view>

#include "bar/icon_cache.h"
#include "fuzz/fuzz_support.h"

using namespace tavi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<IconCache> cache = ReadIconCache(bytes);
    if (!cache) return 0;
    fuzz::Check(cache->size > 0 && cache->size <= kIconCacheLargestSize, "the size is within its limits");
    for (const CachedPicture& picture : cache->pictures)
        fuzz::Check(picture.pixels.size() == static_cast<size_t>(cache->size) * static_cast<size_t>(cache->size),
                    "every picture has size × size pixels");
    fuzz::Check(WriteIconCache(*cache) == bytes, "an accepted file is written back byte for byte");
    return 0;
}
