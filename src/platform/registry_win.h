#pragma once
#include <windows.h>

#include "platform/registry.h"

namespace tavi {

// The registry through the wide functions; text values are REG_SZ with their
// terminating NUL counted in the stored size.
class Win32Registry final : public Registry {
public:
    bool KeyExists(RegistryRoot root, const std::string& key) override;
    bool CreateKey(RegistryRoot root, const std::string& key) override;
    std::optional<std::string> ReadText(RegistryRoot root, const std::string& key, const std::string& value) override;
    std::optional<uint32_t> ReadNumber(RegistryRoot root, const std::string& key, const std::string& value) override;
    bool WriteText(RegistryRoot root, const std::string& key, const std::string& value,
                   const std::string& text) override;
    bool WriteNumber(RegistryRoot root, const std::string& key, const std::string& value, uint32_t number) override;
    std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) override;
    bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& value) override;
};

}  // namespace tavi
