#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/settings.h"

// The global key that brings up the bar, as the settings hold it: the word
// of the system's hot-key control in decimal, the virtual key in the low
// byte and its HOTKEYF_ flags in the high byte (Ctrl+Alt+T is 1620).
namespace tavi {

struct HotKeyCombo {
    int virtualKey = 0;
    bool shift = false;
    bool control = false;
    bool alt = false;

    bool operator==(const HotKeyCombo&) const = default;
};

// Nothing for text that is not such a word or no key combination: a bare
// modifier or mouse button, flags outside the hot-key control's, a number
// with anything after it.
std::optional<HotKeyCombo> ParseHotKey(std::string_view text);
// The MOD_ flags RegisterHotKey takes.
uint32_t RegisterModifiers(const HotKeyCombo& combo);
// As users read it: "Ctrl+Alt+T".
std::string HotKeyName(const HotKeyCombo& combo);

// The bar's two global keys: HotKey brings up the bar, SearchHotKey opens
// the entry search.
enum class GlobalKey { Bar, Search };

// SameAsBarKey: the search key is the bar's key, which is registered first.
enum class HotKeyProblem { None, Invalid, Held, Refused, SameAsBarKey };

// What to tell the user when the key from the settings could not be made a
// global key (empty when it was, or when none is set).
std::string HotKeyMessage(HotKeyProblem problem, const std::string& setting, GlobalKey key = GlobalKey::Bar);
// Whether the search key's setting names the same key as the bar's.
bool SameKey(const std::string& setting, const std::string& other);

}  // namespace tavi
