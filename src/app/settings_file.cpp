#include "app/settings_file.h"

namespace tavi {

bool SettingsFile::Read(Profile& profile, const std::string& file) {
    Settings read = values_;
    if (LoadSettings(read, profile, file) == ReadOutcome::Unreadable) {
        unread_ = true;
        return false;
    }
    values_ = std::move(read);
    unread_ = false;
    return true;
}

bool SettingsFile::Save(Profile& profile, const std::string& file) const {
    if (unread_) return true;
    return SaveSettings(values_, profile, file);
}

void SettingsFile::StoreOptions(const OptionSetState& controls) { StoreOptionSettings(values_, controls); }

bool SettingsFile::StoreChoices(const std::string& monitor, const std::string& language, const std::string& hotKey,
                                const std::string& searchHotKey) {
    values_.Monitor = monitor;
    values_.Language = language;
    const bool keyChanged = values_.HotKey != hotKey || values_.SearchHotKey != searchHotKey;
    values_.HotKey = hotKey;
    values_.SearchHotKey = searchHotKey;
    return keyChanged;
}

void SettingsFile::SetPosition(std::string x, std::string y) {
    values_.SaveX = std::move(x);
    values_.SaveY = std::move(y);
}

}  // namespace tavi
