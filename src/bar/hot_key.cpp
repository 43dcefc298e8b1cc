#include "bar/hot_key.h"

#include <charconv>
#include <cstdio>

#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {
namespace {

constexpr int kShiftFlag = 0x01, kControlFlag = 0x02, kAltFlag = 0x04, kExtendedFlag = 0x08;
constexpr uint32_t kModAlt = 0x1, kModControl = 0x2, kModShift = 0x4, kModNoRepeat = 0x4000;

// Keys that make no combination of their own: mouse buttons and modifiers.
bool CanBeHotKey(int virtualKey) {
    switch (virtualKey) {
        case 0x00: case 0x01: case 0x02: case 0x04: case 0x05: case 0x06:  // none, mouse buttons
        case 0x10: case 0x11: case 0x12:                                    // Shift, Ctrl, Alt
        case 0x5B: case 0x5C:                                               // the Windows keys
        case 0xA0: case 0xA1: case 0xA2: case 0xA3: case 0xA4: case 0xA5:  // left and right modifiers
            return false;
        default: return true;
    }
}

std::string KeyName(int vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
    if (vk >= 0x70 && vk <= 0x87) return "F" + std::to_string(vk - 0x70 + 1);
    if (vk >= 0x60 && vk <= 0x69) return "Num " + std::to_string(vk - 0x60);
    switch (vk) {
        case 0x08: return "Backspace";
        case 0x09: return "Tab";
        case 0x0D: return "Enter";
        case 0x13: return "Pause";
        case 0x1B: return "Esc";
        case 0x20: return "Space";
        case 0x21: return "Page Up";
        case 0x22: return "Page Down";
        case 0x23: return "End";
        case 0x24: return "Home";
        case 0x25: return "←";
        case 0x26: return "↑";
        case 0x27: return "→";
        case 0x28: return "↓";
        case 0x2C: return "PrintScreen";
        case 0x2D: return "Insert";
        case 0x2E: return "Delete";
        case 0x6A: return "Num *";
        case 0x6B: return "Num +";
        case 0x6D: return "Num -";
        case 0x6E: return "Num .";
        case 0x6F: return "Num /";
        default: break;
    }
    char code[16];
    std::snprintf(code, sizeof code, "0x%02X", vk);
    return code;
}

}  // namespace

std::optional<HotKeyCombo> ParseHotKey(std::string_view text) {
    const std::string trimmed = TrimSpaces(text);
    int word = 0;
    const char* end = trimmed.data() + trimmed.size();
    const auto [at, error] = std::from_chars(trimmed.data(), end, word);
    if (trimmed.empty() || error != std::errc{} || at != end || word <= 0 || word > 0xFFFF) return std::nullopt;
    const int virtualKey = word & 0xFF;
    const int flags = word >> 8;
    if ((flags & ~(kShiftFlag | kControlFlag | kAltFlag | kExtendedFlag)) != 0 || !CanBeHotKey(virtualKey))
        return std::nullopt;
    return HotKeyCombo{virtualKey, (flags & kShiftFlag) != 0, (flags & kControlFlag) != 0, (flags & kAltFlag) != 0};
}

uint32_t RegisterModifiers(const HotKeyCombo& combo) {
    // Held down, the key would otherwise show and release the bar in turn.
    return (combo.shift ? kModShift : 0) | (combo.control ? kModControl : 0) | (combo.alt ? kModAlt : 0) |
           kModNoRepeat;
}

std::string HotKeyName(const HotKeyCombo& combo) {
    std::string name;
    if (combo.control) name += "Ctrl+";
    if (combo.alt) name += "Alt+";
    if (combo.shift) name += "Shift+";
    return name + KeyName(combo.virtualKey);
}

std::string HotKeyMessage(HotKeyProblem problem, const std::string& setting, GlobalKey key) {
    const std::optional<HotKeyCombo> combo = ParseHotKey(setting);
    const std::string name = combo ? HotKeyName(*combo) : setting;
    const bool search = key == GlobalKey::Search;
    const std::string before(search ? text::kSearchKeyBefore : text::kHotKeyBefore);
    switch (problem) {
        case HotKeyProblem::None: return {};
        case HotKeyProblem::Invalid:
            return search ? std::string(text::kSearchKeyInvalidBefore) + setting + std::string(text::kSearchKeyInvalidAfter)
                          : std::string(text::kHotKeyInvalidBefore) + setting + std::string(text::kHotKeyInvalidAfter);
        case HotKeyProblem::Held: return before + name + std::string(text::kHotKeyHeldAfter);
        case HotKeyProblem::Refused: return before + name + std::string(text::kHotKeyRefusedAfter);
        case HotKeyProblem::SameAsBarKey: return before + name + std::string(text::kSearchKeySameAfter);
    }
    return {};
}

bool SameKey(const std::string& setting, const std::string& other) {
    const std::optional<HotKeyCombo> a = ParseHotKey(setting), b = ParseHotKey(other);
    return a && b && *a == *b;
}

}  // namespace tavi
