#pragma once
#include <string>

#include "platform/profile.h"

namespace tavi {

// Sends the program's own files (those in its folder) to `own`, and every
// other file (the system's "win.ini" and "system.ini") to `system`, which
// must stay the system's functions so that their mappings apply.
class OwnFilesProfile final : public Profile {
public:
    OwnFilesProfile(Profile& own, Profile& system, const std::string& folder);

    std::string GetString(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& value) override;
    [[nodiscard]] bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool DeleteSection(const std::string& file, const std::string& section) override;
    ReadOutcome FileOutcome(const std::string& file) override { return For(file).FileOutcome(file); }
    void BeginBatch() override;
    [[nodiscard]] bool EndBatch() override;

private:
    Profile& For(const std::string& file);

    Profile& own_;
    Profile& system_;
    std::string folder_;  // ends in a separator
};

}  // namespace tavi
