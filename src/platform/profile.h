#pragma once
#include <string>

namespace tavi {

// Key-by-key access to INI files, with the semantics of the system's profile
// functions. Files are in the ANSI code page; values here are UTF-8.
class Profile {
public:
    virtual ~Profile() = default;
    // The value, or empty text when the key or file is missing. Like the
    // system call, an empty value cannot be told from a missing key.
    virtual std::string GetString(const std::string& file, const std::string& section,
                                  const std::string& key) = 0;
    [[nodiscard]] virtual bool WriteString(const std::string& file, const std::string& section,
                                           const std::string& key, const std::string& value) = 0;
    [[nodiscard]] virtual bool DeleteKey(const std::string& file, const std::string& section,
                                         const std::string& key) = 0;
    [[nodiscard]] virtual bool DeleteSection(const std::string& file, const std::string& section) = 0;
};

}  // namespace tavi
