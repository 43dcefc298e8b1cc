#include "tools/option_choices.h"

#include <charconv>

#include "platform/messages.h"
#include "platform/text.h"
#include "bar/hot_key.h"
#include "bar/monitor_choice.h"

namespace tavi {

std::string MonitorItemText(size_t index, const MonitorInfo& monitor) {
    std::string item = std::to_string(index + 1) + std::string(text::kOptionMonitorNumberAfter) +
                       std::to_string(monitor.monitor.Width()) + std::string(text::kOptionMonitorTimes) +
                       std::to_string(monitor.monitor.Height());
    if (monitor.primary) item += text::kOptionMonitorPrimary;
    return item;
}

MonitorChoice MonitorChoiceLoad(std::string_view setting, const std::vector<MonitorInfo>& monitors) {
    MonitorChoice choice;
    choice.monitors = monitors;
    for (size_t i = 0; i < monitors.size(); ++i) choice.items.push_back(MonitorItemText(i, monitors[i]));
    if (monitors.empty()) return choice;
    // The same pick the bar makes; the fallback is never used with monitors listed.
    const MonitorInfo chosen = ChooseMonitor(setting, monitors, MonitorInfo{});
    for (size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i] == chosen) {
            choice.selected = static_cast<int>(i);
            break;
        }
    return choice;
}

std::string MonitorSettingOnOk(const std::string& setting, const MonitorChoice& choice, int selected, bool picked) {
    if (selected < 0 || static_cast<size_t>(selected) >= choice.monitors.size()) return setting;
    if (!picked && selected == choice.selected) return setting;
    const MonitorInfo& monitor = choice.monitors[static_cast<size_t>(selected)];
    return monitor.primary ? std::string() : monitor.deviceName;
}

uint32_t HotKeyWordOf(std::string_view setting) {
    if (!ParseHotKey(setting)) return 0;
    const std::string trimmed = TrimSpaces(setting);
    uint32_t word = 0;
    (void)std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), word);
    return word;
}

std::string HotKeySettingOf(uint32_t word) {
    if (word == 0 || word > 0xFFFF) return {};
    const std::string decimal = std::to_string(word);
    return ParseHotKey(decimal) ? decimal : std::string();
}

std::vector<std::string> LanguageItems() {
    std::vector<std::string> items{std::string(text::kOptionLanguageAuto)};
    for (const LanguageTable& language : LanguageTables()) items.emplace_back(language.name);
    return items;
}

int LanguageItemOf(std::string_view setting) {
    const std::optional<size_t> language = LanguageNamed(setting);
    return language ? static_cast<int>(*language) + 1 : 0;
}

std::string LanguageSettingOnOk(const std::string& setting, int selected) {
    const auto languages = LanguageTables();
    if (selected < 0 || static_cast<size_t>(selected) > languages.size() || selected == LanguageItemOf(setting))
        return setting;
    return selected == 0 ? std::string() : std::string(languages[static_cast<size_t>(selected) - 1].code);
}

bool OptionChoicesOk(const OptionChoices& choices, SettingsFile& settings) {
    return settings.StoreChoices(choices.monitor, choices.language, choices.hotKey, choices.searchHotKey);
}

}  // namespace tavi
