#include "platform/colour_scheme.h"

namespace tavi {

ColourMode ChooseColourMode(Registry& registry, bool highContrast) {
    if (highContrast) return ColourMode::HighContrast;
    const std::optional<uint32_t> light =
        registry.ReadNumber(RegistryRoot::CurrentUser, std::string(kPersonalizeKey), std::string(kAppsUseLightTheme));
    return light && *light == 0 ? ColourMode::Dark : ColourMode::Light;
}

Palette PaletteFor(ColourMode mode) {
    Palette p;
    p.mode = mode;
    if (mode == ColourMode::Dark) {
        // The grey of the system's own dark surfaces, and its accent blue
        // under white figures (at least 4.5:1).
        p.systemFrames = false;
        p.darkChrome = true;
        p.face = Fixed(32, 32, 32);
        p.glyph = Fixed(240, 240, 240);
        p.edgeLight = Fixed(96, 96, 96);
        p.edgeShadow = Fixed(8, 8, 8);
        p.focus = Fixed(200, 200, 200);
        p.meterBack = Fixed(45, 45, 45);
        p.meterText = Fixed(240, 240, 240);
        p.meterFill = Fixed(0, 103, 192);
        p.meterFillText = Fixed(255, 255, 255);
        p.field = Fixed(45, 45, 45);
        p.fieldText = Fixed(240, 240, 240);
        p.control = Fixed(56, 56, 56);
        p.disabledText = Fixed(140, 140, 140);
        p.link = Fixed(120, 180, 255);
        p.linkHover = Fixed(255, 140, 140);
        return p;
    }
    p.field = OfSystem(SystemColour::Window);
    p.fieldText = OfSystem(SystemColour::WindowText);
    p.control = OfSystem(SystemColour::ButtonFace);
    p.disabledText = OfSystem(SystemColour::GrayText);
    p.face = OfSystem(SystemColour::ButtonFace);
    p.glyph = OfSystem(SystemColour::ButtonText);
    p.edgeLight = OfSystem(SystemColour::ButtonHighlight);
    p.edgeShadow = OfSystem(SystemColour::ButtonShadow);
    p.focus = OfSystem(SystemColour::ButtonText);
    if (mode == ColourMode::HighContrast) {
        p.meterBack = OfSystem(SystemColour::Window);
        p.meterText = OfSystem(SystemColour::WindowText);
        p.meterFill = OfSystem(SystemColour::Highlight);
        p.meterFillText = OfSystem(SystemColour::HighlightText);
        p.link = OfSystem(SystemColour::HotLight);
        p.linkHover = OfSystem(SystemColour::Highlight);
    } else {
        // Dark blue bars on white, whatever the system's colours.
        p.meterBack = Fixed(255, 255, 255);
        p.meterText = Fixed(0, 0, 128);
        p.meterFill = Fixed(0, 0, 128);
        p.meterFillText = Fixed(255, 255, 255);
        // Blue links, red under the pointer.
        p.link = Fixed(0, 0, 255);
        p.linkHover = Fixed(255, 0, 0);
    }
    return p;
}

}  // namespace tavi
