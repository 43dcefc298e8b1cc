#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/registry.h"

// The colours of what the program draws itself (the bar's strip, its paging
// and close buttons, the focus mark, the group box, the memory meter and the
// dialogs where the system would draw them light) in
// the system's colour mode. Light is the classic look the system's own frame
// functions draw; dark follows the user's dark app mode; high contrast uses
// the system's colours and nothing else.
namespace tavi {

enum class ColourMode { Light, Dark, HighContrast };

// The system colours a palette may name; the views map them to COLOR_*.
enum class SystemColour { ButtonFace, ButtonText, ButtonShadow, ButtonHighlight, Window, WindowText, Highlight,
                          HighlightText, HotLight, GrayText };

// One colour of a palette: a system colour, or a fixed one as 0x00BBGGRR.
struct PaletteColour {
    std::optional<SystemColour> system;
    uint32_t fixed = 0;
    bool operator==(const PaletteColour&) const = default;
};
constexpr PaletteColour OfSystem(SystemColour colour) { return {colour, 0}; }
constexpr PaletteColour Fixed(uint8_t red, uint8_t green, uint8_t blue) {
    return {std::nullopt, static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 |
                              static_cast<uint32_t>(blue) << 16};
}

struct Palette {
    ColourMode mode = ColourMode::Light;
    // Frames, arrows, the close cross and the focus mark drawn by the
    // system's own functions, in its colours; otherwise drawn in those below.
    bool systemFrames = true;
    // Title bars and popup menus in the dark app mode, where the system offers them.
    bool darkChrome = false;
    PaletteColour face;        // the strip, the paging buttons, the group box, the meter's window
    PaletteColour glyph;       // arrows, the close cross and text on the face
    PaletteColour edgeLight;   // the lit sides of a raised button
    PaletteColour edgeShadow;  // its shaded sides
    PaletteColour focus;       // the keyboard's focus mark
    PaletteColour meterBack;   // a meter bar's empty part
    PaletteColour meterText;   // its figure there
    PaletteColour meterFill;   // its filled part
    PaletteColour meterFillText;  // its figure over the filled part
    // The dialogs: text boxes and lists, push buttons and check boxes,
    // grey text, and the links of the version page.
    PaletteColour field;
    PaletteColour fieldText;
    PaletteColour control;
    PaletteColour disabledText;
    PaletteColour link;
    PaletteColour linkHover;
};

inline constexpr std::string_view kPersonalizeKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";
inline constexpr std::string_view kAppsUseLightTheme = "AppsUseLightTheme";

// High contrast over all; dark when the user's app mode (AppsUseLightTheme,
// a number) is 0; light otherwise, as on systems that have no app mode.
ColourMode ChooseColourMode(Registry& registry, bool highContrast);
Palette PaletteFor(ColourMode mode);

}  // namespace tavi
