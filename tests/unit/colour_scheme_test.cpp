#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fakes/info_fakes.h"
#include "platform/colour_scheme.h"

using namespace tavi;

namespace {

const std::string kPersonalize(kPersonalizeKey);

// WCAG's contrast ratio of two fixed colours (0x00BBGGRR).
double Contrast(const PaletteColour& a, const PaletteColour& b) {
    const auto luminance = [](uint32_t bgr) {
        double sum = 0;
        const double weights[] = {0.2126, 0.7152, 0.0722};  // red, green, blue
        for (int channel = 0; channel < 3; ++channel) {
            const double c = ((bgr >> (8 * channel)) & 0xFF) / 255.0;
            sum += weights[channel] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
        }
        return sum;
    };
    const double x = luminance(a.fixed), y = luminance(b.fixed);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

std::vector<PaletteColour> Colours(const Palette& p) {
    return {p.face,      p.glyph,     p.edgeLight, p.edgeShadow, p.focus,        p.meterBack, p.meterText,
            p.meterFill, p.meterFillText, p.field, p.fieldText, p.control, p.disabledText, p.link, p.linkHover};
}

}  // namespace

TEST(ColourScheme, HighContrastWinsAndOnlyAZeroAppModeIsDark) {
    enum Stored { None, Number, Text };
    const struct {
        const char* name;
        Stored stored;
        uint32_t number;
        bool highContrast;
        ColourMode mode;
    } cases[] = {
        {"no app mode (an older system)", None, 0, false, ColourMode::Light},
        {"light app mode", Number, 1, false, ColourMode::Light},
        {"dark app mode", Number, 0, false, ColourMode::Dark},
        {"a number that is not 0", Number, 2, false, ColourMode::Light},
        {"text, not a number", Text, 0, false, ColourMode::Light},
        {"high contrast over the dark mode", Number, 0, true, ColourMode::HighContrast},
        {"high contrast alone", None, 0, true, ColourMode::HighContrast},
    };
    for (const auto& c : cases) {
        fakes::FakeRegistry registry;
        if (c.stored == Number) registry.SetNumber(RegistryRoot::CurrentUser, kPersonalize, "AppsUseLightTheme", c.number);
        if (c.stored == Text) registry.SetText(RegistryRoot::CurrentUser, kPersonalize, "AppsUseLightTheme", "0");
        EXPECT_EQ(ChooseColourMode(registry, c.highContrast), c.mode) << c.name;
        EXPECT_TRUE(registry.changes.empty()) << c.name << ": reading writes nothing";
    }
}

TEST(ColourScheme, LightIsTheClassicLookAndHighContrastUsesOnlySystemColours) {
    const Palette light = PaletteFor(ColourMode::Light);
    EXPECT_TRUE(light.systemFrames);
    EXPECT_FALSE(light.darkChrome);
    EXPECT_EQ(light.face, OfSystem(SystemColour::ButtonFace)) << "the strip as before";
    EXPECT_EQ((std::vector<PaletteColour>{light.meterBack, light.meterText, light.meterFill, light.meterFillText}),
              (std::vector<PaletteColour>{Fixed(255, 255, 255), Fixed(0, 0, 128), Fixed(0, 0, 128),
                                          Fixed(255, 255, 255)}))
        << "the meter's dark blue on white, as before";
    EXPECT_EQ((std::vector<PaletteColour>{light.link, light.linkHover}),
              (std::vector<PaletteColour>{Fixed(0, 0, 255), Fixed(255, 0, 0)}))
        << "blue links, red under the pointer";

    const Palette contrast = PaletteFor(ColourMode::HighContrast);
    EXPECT_TRUE(contrast.systemFrames);
    EXPECT_FALSE(contrast.darkChrome);
    for (const PaletteColour& colour : Colours(contrast)) EXPECT_TRUE(colour.system.has_value());
    EXPECT_NE(contrast.meterFill, contrast.meterBack);
    EXPECT_NE(contrast.meterFillText, contrast.meterText) << "the figure stays readable over the fill";
}

TEST(ColourScheme, DarkIsDrawnByTheProgramWithReadableContrast) {
    const Palette dark = PaletteFor(ColourMode::Dark);
    EXPECT_FALSE(dark.systemFrames);
    EXPECT_TRUE(dark.darkChrome);
    for (const PaletteColour& colour : Colours(dark)) EXPECT_FALSE(colour.system.has_value());
    EXPECT_LT(Contrast(dark.face, Fixed(0, 0, 0)), 1.5) << "a dark face";
    const struct {
        const char* name;
        PaletteColour front, back;
        double least;
    } pairs[] = {
        {"glyphs on the face", dark.glyph, dark.face, 7.0},
        {"the focus mark on the face", dark.focus, dark.face, 3.0},
        {"the lit edge on the face", dark.edgeLight, dark.face, 1.5},
        {"a meter's figure", dark.meterText, dark.meterBack, 7.0},
        {"a meter's figure over its fill", dark.meterFillText, dark.meterFill, 4.5},
        {"the fill against the empty part", dark.meterFill, dark.meterBack, 2.0},
        {"text in a box", dark.fieldText, dark.field, 7.0},
        {"a button's caption", dark.glyph, dark.control, 7.0},
        {"grey text on the page", dark.disabledText, dark.face, 3.0},
        {"a link on the page", dark.link, dark.face, 4.5},
        {"a link under the pointer", dark.linkHover, dark.face, 4.5},
        {"a box against the page", dark.field, dark.face, 1.1},
    };
    for (const auto& pair : pairs) EXPECT_GE(Contrast(pair.front, pair.back), pair.least) << pair.name;
}
