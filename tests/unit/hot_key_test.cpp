#include <gtest/gtest.h>

#include "app/settings.h"
#include "bar/hot_key.h"
#include "fakes/fakes.h"

using namespace tavi;
using fakes::RecordingProfile;

namespace {

const std::string kFile = "C:\\Tavi\\TaviLaunch.ini";

}  // namespace

TEST(HotKey, WordsOfTheHotKeyControl) {
    const struct {
        const char* text;
        std::optional<HotKeyCombo> expected;
    } cases[] = {
        {"1620", HotKeyCombo{'T', false, true, true}},   // Ctrl+Alt+T
        {" 1620 ", HotKeyCombo{'T', false, true, true}},
        {"368", HotKeyCombo{0x70, true, false, false}},  // Shift+F1
        {"123", HotKeyCombo{0x7B, false, false, false}}, // F12 alone
        {"2597", HotKeyCombo{0x25, false, true, false}}, // Ctrl+Left, an extended key
        {"", std::nullopt},
        {"0", std::nullopt},
        {"-1620", std::nullopt},
        {"1620x", std::nullopt},
        {"ctrl+alt+t", std::nullopt},
        {"65536", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"4180", std::nullopt},  // 0x1054: a flag the control never sets
        {"1536", std::nullopt},  // Ctrl+Alt and no key
        {"529", std::nullopt},   // Ctrl with Ctrl
        {"513", std::nullopt},   // Ctrl and the left mouse button
        {"603", std::nullopt},   // Ctrl and a Windows key
    };
    for (const auto& c : cases) EXPECT_EQ(ParseHotKey(c.text), c.expected) << "\"" << c.text << "\"";
}

TEST(HotKey, RegisteredWithoutRepeatsAndNamedAsUsersReadIt) {
    const HotKeyCombo ctrlAltT{'T', false, true, true};
    EXPECT_EQ(RegisterModifiers(ctrlAltT), 0x4000u | 0x2u | 0x1u);
    EXPECT_EQ(RegisterModifiers({0x70, true, false, false}), 0x4000u | 0x4u);
    EXPECT_EQ(HotKeyName(ctrlAltT), "Ctrl+Alt+T");
    EXPECT_EQ(HotKeyName({0x70, true, false, false}), "Shift+F1");
    EXPECT_EQ(HotKeyName({0x20, true, true, true}), "Ctrl+Alt+Shift+Space");
    EXPECT_EQ(HotKeyName({0xBA, false, true, false}), "Ctrl+0xBA");
}

TEST(HotKey, MessagesNameTheKeyOrTheValueRead) {
    EXPECT_EQ(HotKeyMessage(HotKeyProblem::None, "1620"), "");
    const std::string held = HotKeyMessage(HotKeyProblem::Held, "1620");
    EXPECT_NE(held.find("「Ctrl+Alt+T」"), std::string::npos) << held;
    EXPECT_NE(held.find("ほかのプログラム"), std::string::npos) << held;
    const std::string refused = HotKeyMessage(HotKeyProblem::Refused, "123");
    EXPECT_NE(refused.find("「F12」"), std::string::npos) << refused;
    EXPECT_EQ(refused.find("ほかのプログラム"), std::string::npos) << refused;
    const std::string invalid = HotKeyMessage(HotKeyProblem::Invalid, "abc");
    EXPECT_NE(invalid.find("「abc」"), std::string::npos) << invalid;
    // The search key's messages name it as such, with the same rules.
    const std::string searchHeld = HotKeyMessage(HotKeyProblem::Held, "1606", GlobalKey::Search);
    EXPECT_EQ(searchHeld.rfind("検索キー「Ctrl+Alt+F」", 0), 0u) << searchHeld;
    EXPECT_NE(searchHeld.find("ほかのプログラム"), std::string::npos) << searchHeld;
    const std::string searchInvalid = HotKeyMessage(HotKeyProblem::Invalid, "abc", GlobalKey::Search);
    EXPECT_NE(searchInvalid.find("検索キーの値「abc」"), std::string::npos) << searchInvalid;
    const std::string same = HotKeyMessage(HotKeyProblem::SameAsBarKey, "1620", GlobalKey::Search);
    EXPECT_NE(same.find("ホットキーと同じ"), std::string::npos) << same;
    EXPECT_TRUE(SameKey("1620", " 1620")) << "the same key however written";
    EXPECT_TRUE(SameKey("1620", "3668")) << "the extended flag names the same key";
    EXPECT_FALSE(SameKey("1620", "1606"));
    EXPECT_FALSE(SameKey("", "")) << "no key is nobody's";
}

TEST(HotKey, SettingIsReadAndWrittenOnlyWhenThere) {
    RecordingProfile profile;
    Settings s;
    LoadSettings(s, profile, kFile);
    EXPECT_EQ(s.HotKey, "") << "a missing key is no hotkey";
    (void)SaveSettings(s, profile, kFile);
    for (const auto& call : profile.Writes()) EXPECT_NE(call.key, "HotKey") << "none is never written";

    RecordingProfile set;
    set.Set(kFile, "Option", "HotKey", "1620");
    LoadSettings(s, set, kFile);
    EXPECT_EQ(s.HotKey, "1620");
    (void)SaveSettings(s, set, kFile);
    EXPECT_EQ(set.GetString(kFile, "Option", "HotKey"), "1620");

    RecordingProfile bad;
    bad.Set(kFile, "Option", "HotKey", "nonsense");
    LoadSettings(s, bad, kFile);
    (void)SaveSettings(s, bad, kFile);
    EXPECT_EQ(bad.GetString(kFile, "Option", "HotKey"), "nonsense") << "a value that cannot be used is kept";
}

TEST(HotKey, SearchKeyIsReadAndWrittenAsTheBarsKeyIs) {
    RecordingProfile profile;
    Settings s;
    LoadSettings(s, profile, kFile);
    EXPECT_EQ(s.SearchHotKey, "");
    (void)SaveSettings(s, profile, kFile);
    for (const auto& call : profile.Writes()) EXPECT_NE(call.key, "SearchHotKey") << "none is never written";

    RecordingProfile set;
    set.Set(kFile, "Option", "SearchHotKey", " 1606");
    LoadSettings(s, set, kFile);
    EXPECT_EQ(s.SearchHotKey, "1606");
    EXPECT_EQ(s.HotKey, "");
    s.SearchHotKey.clear();
    (void)SaveSettings(s, set, kFile);
    EXPECT_EQ(set.GetString(kFile, "Option", "SearchHotKey"), "") << "cleared in the options, it leaves the file";
}
