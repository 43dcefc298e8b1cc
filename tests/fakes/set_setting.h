#pragma once
#include <string>

#include "app/menu_main.h"

namespace tavi::fakes {

// One value of the settings, as if the file had held it.
inline void SetSetting(MenuMain& state, std::string Settings::*key, std::string value) {
    Settings values = state.settings.Values();
    values.*key = std::move(value);
    state.settings = SettingsFile(std::move(values));
}

}  // namespace tavi::fakes
