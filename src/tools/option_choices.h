#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/menu_main.h"
#include "platform/monitors.h"

// The options dialog's monitor list and global key: what they show when the
// dialog opens and what OK keeps of them.
namespace tavi {

// "1: 1280×1024 (プライマリ)": the 0-based place in the system's order, shown from 1.
std::string MonitorItemText(size_t index, const MonitorInfo& monitor);

struct MonitorChoice {
    std::vector<MonitorInfo> monitors;  // as listed when the dialog opened
    std::vector<std::string> items;
    int selected = -1;                  // the monitor the bar docks on; -1 with none listed
};
MonitorChoice MonitorChoiceLoad(std::string_view setting, const std::vector<MonitorInfo>& monitors);

// The `Monitor` setting OK stores. Unless the user picked an item (`picked`)
// or the selection differs from the one shown at first, the setting is kept
// as it was, so that a monitor which is away now is not forgotten by an OK
// that touched no list. A picked primary is stored as empty text.
std::string MonitorSettingOnOk(const std::string& setting, const MonitorChoice& choice, int selected, bool picked);

// The hot-key control's word for the `HotKey` setting; 0 (none) for a value
// that is no key combination.
uint32_t HotKeyWordOf(std::string_view setting);
// The setting for the control's word: empty for none or no key combination.
std::string HotKeySettingOf(uint32_t word);

// The language list: 自動 (Windows' language), then each language in its own name.
std::vector<std::string> LanguageItems();
// The item the `Language` setting shows: its language's, else 自動 (an
// unknown value follows Windows, as the start does).
int LanguageItemOf(std::string_view setting);
// The setting OK stores: as it was while the item shown at first stays
// chosen, so an unknown value is kept; 自動 is no value.
std::string LanguageSettingOnOk(const std::string& setting, int selected);

struct OptionChoices {
    std::string monitor;
    std::string hotKey;
    std::string searchHotKey;  // the entry search's key, held as hotKey is
    std::string language;
};
// OK, while the dialog is still open: the settings take them. True when a
// global key changed and the keys must be registered afresh once the dialog
// has closed; unchanged keys are not, so a key another program holds is not
// reported again at every OK.
bool OptionChoicesOk(const OptionChoices& choices, SettingsFile& settings);

}  // namespace tavi
