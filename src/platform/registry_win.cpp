#include "platform/registry_win.h"

#include <vector>

#include "platform/wide_win.h"

namespace tavi {
namespace {

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER; }

// An open key, closed when it goes.
class OpenKey {
public:
    OpenKey(RegistryRoot root, const std::string& key, REGSAM access) {
        if (RegOpenKeyExW(RootKey(root), Widen(key).c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

// The default value is asked for by a null name.
const wchar_t* ValueName(const std::wstring& name) { return name.empty() ? nullptr : name.c_str(); }

bool Written(LSTATUS status) { return status == ERROR_SUCCESS; }

}  // namespace

bool Win32Registry::KeyExists(RegistryRoot root, const std::string& key) {
    return OpenKey(root, key, KEY_READ).get() != nullptr;
}

bool Win32Registry::CreateKey(RegistryRoot root, const std::string& key) {
    HKEY created = nullptr;
    if (RegCreateKeyExW(RootKey(root), Widen(key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                        &created, nullptr) != ERROR_SUCCESS)
        return false;
    return RegCloseKey(created) == ERROR_SUCCESS;
}

std::optional<std::string> Win32Registry::ReadText(RegistryRoot root, const std::string& key,
                                                   const std::string& value) {
    const std::wstring wideKey = Widen(key), name = Widen(value);
    // The value may grow between asking its size and reading it: ask again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = 0;
        LSTATUS status = RegGetValueW(RootKey(root), wideKey.c_str(), ValueName(name), RRF_RT_REG_SZ, nullptr,
                                      nullptr, &bytes);
        if (status != ERROR_SUCCESS) return std::nullopt;
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegGetValueW(RootKey(root), wideKey.c_str(), ValueName(name), RRF_RT_REG_SZ, nullptr, buffer.data(),
                              &bytes);
        if (status == ERROR_MORE_DATA) continue;
        if (status != ERROR_SUCCESS) return std::nullopt;
        return Narrow(buffer.data());  // RegGetValue ends the text with a NUL
    }
    return std::nullopt;
}

std::optional<uint32_t> Win32Registry::ReadNumber(RegistryRoot root, const std::string& key,
                                                  const std::string& value) {
    DWORD number = 0;
    DWORD bytes = sizeof number;
    const std::wstring name = Widen(value);
    // RRF_RT_DWORD also takes a 4-byte binary value, as a plain query would.
    if (RegGetValueW(RootKey(root), Widen(key).c_str(), ValueName(name), RRF_RT_DWORD, nullptr, &number, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return static_cast<uint32_t>(number);
}

bool Win32Registry::WriteText(RegistryRoot root, const std::string& key, const std::string& value,
                              const std::string& text) {
    OpenKey open(root, key, KEY_SET_VALUE);
    if (!open.get()) return false;
    const std::wstring wide = Widen(text), name = Widen(value);
    const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return Written(RegSetValueExW(open.get(), ValueName(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                  bytes));
}

bool Win32Registry::WriteNumber(RegistryRoot root, const std::string& key, const std::string& value,
                                uint32_t number) {
    OpenKey open(root, key, KEY_SET_VALUE);
    if (!open.get()) return false;
    const DWORD data = number;
    const std::wstring name = Widen(value);
    return Written(
        RegSetValueExW(open.get(), ValueName(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data));
}

std::vector<std::string> Win32Registry::ValueNames(RegistryRoot root, const std::string& key) {
    std::vector<std::string> names;
    OpenKey open(root, key, KEY_QUERY_VALUE);
    if (!open.get()) return names;
    DWORD longest = 0;
    if (RegQueryInfoKeyW(open.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return names;
    std::vector<wchar_t> name(longest + 1);
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        const LSTATUS status = RegEnumValueW(open.get(), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) {  // a longer name came meanwhile
            name.resize(name.size() * 2 + 256);
            --index;
            continue;
        }
        if (status != ERROR_SUCCESS) break;
        names.push_back(Narrow(std::wstring_view(name.data(), length)));
    }
    return names;
}

bool Win32Registry::DeleteValue(RegistryRoot root, const std::string& key, const std::string& value) {
    OpenKey open(root, key, KEY_SET_VALUE);
    if (!open.get()) return !KeyExists(root, key);
    const std::wstring name = Widen(value);
    const LSTATUS status = RegDeleteValueW(open.get(), ValueName(name));
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace tavi
