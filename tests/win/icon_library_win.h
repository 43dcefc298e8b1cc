#pragma once
// A program file whose only resources are icons of known colours, so a test
// can tell which icon a dialog drew where.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace icon_library {

// The colour (0xRRGGBB) of icon number i.
inline uint32_t ColourOf(int i) {
    return (static_cast<uint32_t>(40 + 17 * i) % 256 << 16) | (static_cast<uint32_t>(250 - 21 * i) % 256 << 8) |
           (static_cast<uint32_t>(90 + 53 * i) % 256);
}

// Writes `count` solid 32 x 32 icons into a copy of this program at `target`.
inline bool Write(const std::wstring& target, int count) {
    wchar_t self[MAX_PATH] = {};
    if (!GetModuleFileNameW(nullptr, self, MAX_PATH)) return false;
    if (!CopyFileW(self, target.c_str(), FALSE)) return false;
    HANDLE update = BeginUpdateResourceW(target.c_str(), TRUE);
    if (!update) return false;

    constexpr int kSize = 32;
    bool ok = true;
    for (int i = 0; i < count && ok; ++i) {
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = kSize;
        header.biHeight = kSize * 2;  // colour and mask rows
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        std::vector<BYTE> image(sizeof header);
        memcpy(image.data(), &header, sizeof header);
        const uint32_t pixel = 0xFF000000 | ColourOf(i);
        for (int p = 0; p < kSize * kSize; ++p)
            image.insert(image.end(), reinterpret_cast<const BYTE*>(&pixel), reinterpret_cast<const BYTE*>(&pixel) + 4);
        image.insert(image.end(), kSize * kSize / 8, 0);  // an all-opaque mask

        const WORD id = static_cast<WORD>(i + 1);
        const BYTE group[] = {0, 0, 1, 0, 1, 0,  // reserved, type icon, one image
                              kSize, kSize, 0, 0, 1, 0, 32, 0,  // size, colours, planes, bits
                              static_cast<BYTE>(image.size()), static_cast<BYTE>(image.size() >> 8),
                              static_cast<BYTE>(image.size() >> 16), static_cast<BYTE>(image.size() >> 24),
                              static_cast<BYTE>(id), static_cast<BYTE>(id >> 8)};
        const WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
        ok = UpdateResourceW(update, RT_ICON, MAKEINTRESOURCEW(id), language, image.data(),
                             static_cast<DWORD>(image.size())) &&
             UpdateResourceW(update, RT_GROUP_ICON, MAKEINTRESOURCEW(id), language, const_cast<BYTE*>(group),
                             sizeof group);
    }
    return EndUpdateResourceW(update, ok ? FALSE : TRUE) && ok;
}

}  // namespace icon_library
