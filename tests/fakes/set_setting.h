#pragma once
#include <string>

#include "app/menu_main.h"
#include "tools/option_choices.h"

namespace tavi::fakes {

// One value of the settings, as if the file had held it.
inline void SetSetting(MenuMain& state, std::string Settings::*key, std::string value) {
    Settings values = state.settings.Values();
    values.*key = std::move(value);
    state.settings = SettingsFile(std::move(values));
}

// The options' choices page as the settings left it.
inline OptionChoices KeptChoices(const MenuMain& state) {
    const Settings& s = state.settings.Values();
    return {s.Monitor, s.HotKey, s.SearchHotKey, s.Language};
}

}  // namespace tavi::fakes
