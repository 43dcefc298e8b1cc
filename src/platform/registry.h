#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavi {

enum class RegistryRoot { ClassesRoot, CurrentUser };

// The registry as the program uses it: the shell's file classes, the
// update checker's tree, the programs started with Windows and the app mode. Key paths use "\"; an empty value name is the key's
// default value. Text is UTF-8 here.
class Registry {
public:
    virtual ~Registry() = default;
    virtual bool KeyExists(RegistryRoot root, const std::string& key) = 0;
    // Creates the key and any missing parents; true when it exists afterwards.
    [[nodiscard]] virtual bool CreateKey(RegistryRoot root, const std::string& key) = 0;
    // Nothing when the key or value is missing or is not of that kind.
    virtual std::optional<std::string> ReadText(RegistryRoot root, const std::string& key,
                                                const std::string& value) = 0;
    virtual std::optional<uint32_t> ReadNumber(RegistryRoot root, const std::string& key,
                                               const std::string& value) = 0;
    // Writes into an existing key; false when it is missing or the write failed.
    [[nodiscard]] virtual bool WriteText(RegistryRoot root, const std::string& key, const std::string& value,
                                         const std::string& text) = 0;
    [[nodiscard]] virtual bool WriteNumber(RegistryRoot root, const std::string& key, const std::string& value,
                                           uint32_t number) = 0;
    // The names of a key's values, in the registry's order; none when the key is missing.
    virtual std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) = 0;
    // True when the value is gone afterwards, including when it was never there.
    [[nodiscard]] virtual bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& value) = 0;
};

}  // namespace tavi
