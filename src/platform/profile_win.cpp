#include <vector>

#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"

namespace tavi {

std::string Win32Profile::GetString(const std::string& file, const std::string& section, const std::string& key) {
    const std::wstring wideFile = Widen(file), wideSection = Widen(section), wideKey = Widen(key);
    // The call reports a cut value by filling the buffer to size - 1, so grow
    // until the value fits: a long path must survive a load and a save. Wine
    // also cuts a quoted value that is one character too long for the buffer
    // to size - 2 (it drops the closing quote, then the last character), so
    // only a value shorter than that is known to be whole.
    for (DWORD size = 256; size <= (1u << 24); size *= 4) {
        std::vector<wchar_t> buffer(size);
        const DWORD copied = GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), L"", buffer.data(), size,
                                                      wideFile.c_str());
        if (copied < size - 2) return Narrow(std::wstring_view(buffer.data(), copied));
    }
    return {};
}

bool Win32Profile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& value) {
    return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), Widen(value).c_str(),
                                      Widen(file).c_str()) != FALSE;
}

bool Win32Profile::DeleteKey(const std::string& file, const std::string& section, const std::string& key) {
    return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), nullptr, Widen(file).c_str()) !=
           FALSE;
}

bool Win32Profile::DeleteSection(const std::string& file, const std::string& section) {
    return WritePrivateProfileStringW(Widen(section).c_str(), nullptr, nullptr, Widen(file).c_str()) != FALSE;
}

}  // namespace tavi
