#include "bar/icon_cache.h"

namespace tavi {
namespace {

constexpr std::string_view kMagic = "TaviIco1";
constexpr size_t kLongestPath = 32768;

void Put(std::string& out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// Reads little-endian numbers and runs of bytes; once short of bytes every
// later read fails too.
class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    std::optional<uint64_t> Number(int bytes) {
        if (bytes_.size() - at_ < static_cast<size_t>(bytes)) return std::nullopt;
        uint64_t value = 0;
        for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[at_ + i])) << (8 * i);
        at_ += static_cast<size_t>(bytes);
        return value;
    }
    std::optional<std::string_view> Bytes(size_t count) {
        if (bytes_.size() - at_ < count) return std::nullopt;
        const std::string_view run = bytes_.substr(at_, count);
        at_ += count;
        return run;
    }
    bool AtEnd() const { return at_ == bytes_.size(); }

private:
    std::string_view bytes_;
    size_t at_ = 0;
};

}  // namespace

std::string WriteIconCache(const IconCache& cache) {
    const size_t pixels = static_cast<size_t>(cache.size) * static_cast<size_t>(cache.size);
    std::vector<const CachedPicture*> kept;
    for (const CachedPicture& picture : cache.pictures)
        if (cache.size > 0 && picture.pixels.size() == pixels && kept.size() < kIconCacheMostPictures &&
            picture.iconFile.size() <= kLongestPath)
            kept.push_back(&picture);
    std::string out(kMagic);
    Put(out, static_cast<uint64_t>(cache.size), 4);
    Put(out, kept.size(), 4);
    for (const CachedPicture* picture : kept) {
        Put(out, picture->iconFile.size(), 4);
        out += picture->iconFile;
        Put(out, static_cast<uint32_t>(picture->iconIndex), 4);
        Put(out, picture->stamp, 8);
        for (uint32_t pixel : picture->pixels) Put(out, pixel, 4);
    }
    return out;
}

std::optional<IconCache> ReadIconCache(std::string_view bytes) {
    if (bytes.size() > kIconCacheMostBytes) return std::nullopt;
    Reader in(bytes);
    const auto magic = in.Bytes(kMagic.size());
    if (!magic || *magic != kMagic) return std::nullopt;
    const auto size = in.Number(4);
    const auto count = in.Number(4);
    if (!size || !count || *size == 0 || *size > kIconCacheLargestSize || *count > kIconCacheMostPictures)
        return std::nullopt;
    IconCache cache;
    cache.size = static_cast<int>(*size);
    const size_t pixels = static_cast<size_t>(*size) * static_cast<size_t>(*size);
    for (uint64_t i = 0; i < *count; ++i) {
        const auto length = in.Number(4);
        if (!length || *length > kLongestPath) return std::nullopt;
        const auto path = in.Bytes(static_cast<size_t>(*length));
        const auto index = in.Number(4);
        const auto stamp = in.Number(8);
        // Checked before the pixels are copied, so a count that lies costs nothing.
        const auto raw = in.Bytes(pixels * 4);
        if (!path || !index || !stamp || !raw) return std::nullopt;
        CachedPicture picture;
        picture.iconFile = std::string(*path);
        picture.iconIndex = static_cast<int>(static_cast<int32_t>(static_cast<uint32_t>(*index)));
        picture.stamp = *stamp;
        picture.pixels.resize(pixels);
        Reader pixelReader(*raw);
        for (uint32_t& pixel : picture.pixels) pixel = static_cast<uint32_t>(*pixelReader.Number(4));
        cache.pictures.push_back(std::move(picture));
    }
    if (!in.AtEnd()) return std::nullopt;
    return cache;
}

}  // namespace tavi
