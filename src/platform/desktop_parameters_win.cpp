#include "platform/desktop_parameters_win.h"

#include <string>

#include "platform/wide_win.h"

namespace tavi {
namespace {

constexpr UINT kStoreAndAnnounce = SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE;
// The longest path the system can name, so no wallpaper path is cut short.
constexpr UINT kLongestPath = 32768;

}  // namespace

std::optional<std::string> Win32DesktopParameters::Wallpaper() {
    std::wstring path(kLongestPath, L'\0');
    if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, kLongestPath, path.data(), 0)) return std::nullopt;
    path.resize(wcsnlen(path.c_str(), path.size()));
    return Narrow(path);
}

bool Win32DesktopParameters::SetWallpaper(const std::string& path) {
    std::wstring wide = Widen(path);
    return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, wide.data(), kStoreAndAnnounce) != FALSE;
}

bool Win32DesktopParameters::SetScreenSaverActive(bool active) {
    return SystemParametersInfoW(SPI_SETSCREENSAVEACTIVE, active ? TRUE : FALSE, nullptr, kStoreAndAnnounce) != FALSE;
}

}  // namespace tavi
