#pragma once
#include <string>

#include "platform/file_system.h"

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
    // How `file` reads. Unreadable: its values read as empty and nothing is
    // written to it. Inside a batch the answer holds for the batch's reads.
    virtual ReadOutcome FileOutcome(const std::string& /*file*/) { return ReadOutcome::Whole; }

    // Between these, a profile may keep the files it touches in memory and
    // write each changed one once, whole, at the end: a save of many keys
    // then replaces its file in one step. Batches nest; the outermost end
    // writes and tells whether every change reached its file (writes inside a
    // batch may report success before that).
    virtual void BeginBatch() {}
    [[nodiscard]] virtual bool EndBatch() { return true; }
};

// A batch for one scope: End() tells whether its changes were written; a
// batch left without End() is still ended.
class ProfileBatch {
public:
    explicit ProfileBatch(Profile& profile) : profile_(profile) { profile_.BeginBatch(); }
    ~ProfileBatch() {
        if (open_) (void)profile_.EndBatch();
    }
    ProfileBatch(const ProfileBatch&) = delete;
    ProfileBatch& operator=(const ProfileBatch&) = delete;
    [[nodiscard]] bool End() {
        open_ = false;
        return profile_.EndBatch();
    }

private:
    Profile& profile_;
    bool open_ = true;
};

}  // namespace tavi
