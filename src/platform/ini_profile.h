#pragma once
#include <string>

#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/profile.h"

namespace tavi {

// INI files with the semantics of the system's profile functions as Wine
// implements them: every call loads the whole file, and a change rewrites it
// whole from its parsed form (CR LF line ends, blank lines dropped). Files
// without a byte order mark are in `codePage`. Paths go to `files` as given,
// so pass full paths (the system would look for a bare name in the Windows
// folder).
class IniProfile final : public Profile {
public:
    IniProfile(FileSystem& files, CodePage& codePage) : files_(files), codePage_(codePage) {}

    std::string GetString(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& value) override;
    [[nodiscard]] bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool DeleteSection(const std::string& file, const std::string& section) override;

private:
    FileSystem& files_;
    CodePage& codePage_;
};

}  // namespace tavi
