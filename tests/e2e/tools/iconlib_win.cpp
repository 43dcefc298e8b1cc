// iconlib: writes a copy of itself holding `count` solid 32 x 32 icons of
// known colours, so a test can tell which icon a window drew where.
//   iconlib.exe <target path> <count>
// Icon i has the colour 0xRRGGBB given by ColourOf(i) below (the tests
// compute the same).
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

uint32_t ColourOf(int i) {
  return (static_cast<uint32_t>(40 + 17 * i) % 256 << 16) | (static_cast<uint32_t>(250 - 21 * i) % 256 << 8) |
         (static_cast<uint32_t>(90 + 53 * i) % 256);
}

bool Write(const wchar_t* target, int count) {
  wchar_t self[MAX_PATH] = {};
  if (!GetModuleFileNameW(nullptr, self, MAX_PATH) || !CopyFileW(self, target, FALSE)) return false;
  HANDLE update = BeginUpdateResourceW(target, TRUE);
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
    image.insert(image.end(), kSize * kSize / 8, 0);
    const WORD id = static_cast<WORD>(i + 1);
    const BYTE group[] = {0, 0, 1, 0, 1, 0, kSize, kSize, 0, 0, 1, 0, 32, 0,
                          static_cast<BYTE>(image.size()), static_cast<BYTE>(image.size() >> 8),
                          static_cast<BYTE>(image.size() >> 16), static_cast<BYTE>(image.size() >> 24),
                          static_cast<BYTE>(id), static_cast<BYTE>(id >> 8)};
    const WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    ok = UpdateResourceW(update, RT_ICON, MAKEINTRESOURCEW(id), language, image.data(), static_cast<DWORD>(image.size())) &&
         UpdateResourceW(update, RT_GROUP_ICON, MAKEINTRESOURCEW(id), language, const_cast<BYTE*>(group), sizeof group);
  }
  return EndUpdateResourceW(update, ok ? FALSE : TRUE) && ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return 2;
  return Write(argv[1], _wtoi(argv[2])) ? 0 : 1;
}
