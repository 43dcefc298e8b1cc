#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace tavi {

// UTF-8 inside the program, UTF-16 at every Win32 call.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

// The text of a call that fills (buffer, size) and returns the length it
// wrote, or the size it needs (NUL included) when the buffer is too small,
// as GetCurrentDirectoryW, GetShortPathNameW and SearchPathW do. Empty when
// the call fails.
template <typename Call>
std::wstring GrowingWideString(Call call) {
    std::wstring buffer(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD length = call(buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.assign(length, L'\0');
    }
    return {};
}

}  // namespace tavi
