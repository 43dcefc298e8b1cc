#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"

namespace tavi {

std::string Win32CodePage::ToUtf8(std::string_view ansi) {
    if (ansi.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), length);
    return Narrow(wide);
}

std::string Win32CodePage::FromUtf8(std::string_view utf8) {
    const std::wstring wide = Widen(utf8);
    if (wide.empty()) return {};
    const int length =
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), length, nullptr, nullptr);
    return ansi;
}

}  // namespace tavi
