#pragma once
#include <optional>
#include <string>

#include "app/settings.h"
#include "platform/file_system.h"
#include "platform/profile.h"

namespace tavi {

// "TaviLaunch.ini" and its values, with their one owner: only this object
// reads and writes the file, and it alone knows whether the file was read.
// A file that could not be read is never written over: its values stay as
// they were (the defaults at start) and every save is skipped until a read
// succeeds. The values change only through the named calls below.
class SettingsFile {
public:
    SettingsFile() { RebuildAlarmTimes(values_); }
    // Values as if read from a file.
    explicit SettingsFile(Settings values) : values_(std::move(values)) { RebuildAlarmTimes(values_); }

    const Settings& Values() const { return values_; }
    bool Unread() const { return unread_; }

    // Reads `file`. False when it could not be read: the values stay and the
    // file is marked unread; an absent file is a first run (the defaults).
    bool Read(Profile& profile, const std::string& file);
    // Writes every key in one replacement. Over a file that could not be
    // read nothing is written (true: nothing was lost). False when the write
    // failed; the file is then as it was.
    [[nodiscard]] bool Save(Profile& profile, const std::string& file) const;

    // The options' OK: the dialog's controls as the user left them.
    void StoreOptions(const OptionSetState& controls);
    // The options' choices page; true when a global key changed.
    bool StoreChoices(const std::string& monitor, const std::string& language, const std::string& hotKey,
                      const std::string& searchHotKey);
    // The bar's place in twips, as the layout or the exit found it.
    void SetPosition(std::string x, std::string y);
    // The tool box count goes back to its default with every options' OK.
    void ResetToolBox() { values_.ToolBox = "10"; }

    // The file as last read or written here: another program's change shows
    // as a difference (one that cannot be read yet is waited for; values
    // never read from the file have nothing to differ from).
    void Remember(FileContents file) { seen_ = std::move(file); }
    bool ChangedOutside(const FileContents& now) const {
        return seen_ && now.outcome == ReadOutcome::Whole && now != *seen_;
    }

private:
    Settings values_;
    bool unread_ = false;
    std::optional<FileContents> seen_;
};

}  // namespace tavi
