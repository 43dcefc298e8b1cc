#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/program_version_win.h"
#include "platform/registry_win.h"
#include "platform/up_check.h"
#include "platform/wide_win.h"

using namespace tavi;

namespace {

const wchar_t* const kRoot = L"Software\\Upcheck";
const std::wstring kProgramKey = L"Software\\Upcheck\\tavi@example.jp\\TaviMenu2";
const UpdateContact kContact = UpdateContactFor("https://example.jp/tavi/", "tavi@example.jp", "https://example.jp/tavi/update.txt");

class RecordingMessages final : public MessageBoxes {
public:
    std::vector<MessageRequest> shown;
    MessageAnswer Show(const MessageRequest& request) override {
        shown.push_back(request);
        return MessageAnswer::Ok;
    }
};

bool KeyExists(const std::wstring& key) {
    HKEY open = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS) return false;
    RegCloseKey(open);
    return true;
}

std::string TextValue(const std::wstring& key, const wchar_t* name) {
    wchar_t buffer[512] = {};
    DWORD bytes = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &bytes) != ERROR_SUCCESS)
        return "<missing>";
    return Narrow(buffer);
}

std::optional<DWORD> NumberValue(const std::wstring& key, const wchar_t* name) {
    DWORD value = 0, bytes = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void SetNumber(const std::wstring& key, const wchar_t* name, DWORD value) {
    HKEY open = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &open, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(open, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(open);
}

// The checker's tree, made for a test in the test prefix and removed afterwards.
// A tree that was there before the test is left alone and the test skipped.
class UpCheckTree : public ::testing::Test {
protected:
    void SetUp() override {
        if (KeyExists(kRoot)) GTEST_SKIP() << "an update checker's tree exists already";
    }
    void TearDown() override {
        if (!IsSkipped()) RegDeleteTreeW(HKEY_CURRENT_USER, kRoot);
    }
    Win32Registry registry;
    RecordingMessages messages;
    const ProgramVersion version{"TaviMenu2", 2, 0, 0};
};

}  // namespace

TEST_F(UpCheckTree, WithoutTheCheckerNothingIsWritten) {
    RegisterUpCheck(registry, messages, version, "C:\\ﾀﾋﾞ", "TaviMenu2", kContact);
    EXPECT_FALSE(KeyExists(kRoot));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UpCheckTree, TheRegistrationRoundTripsThroughTheRegistry) {
    ASSERT_TRUE(registry.CreateKey(RegistryRoot::CurrentUser, "Software\\Upcheck"));
    RegisterUpCheck(registry, messages, version, "C:\\ﾀﾋﾞ", "TaviMenu2", kContact);
    const std::wstring developer = L"Software\\Upcheck\\tavi@example.jp";
    EXPECT_EQ(TextValue(developer, L"Author"), "TaviMenu2 developers");
    EXPECT_EQ(TextValue(developer, L"InfoURL"), "https://example.jp/tavi/update.txt");
    EXPECT_EQ(TextValue(developer, L"DisplayHost"), "example.jp");
    EXPECT_EQ(TextValue(kProgramKey, L"DistinctName"), "TaviMenu2");
    EXPECT_EQ(NumberValue(kProgramKey, L"Build"), 20000u);
    EXPECT_FALSE(NumberValue(kProgramKey, L"IconIndex"));
    EXPECT_EQ(TextValue(kProgramKey, L"FilePath"), "C:\\ﾀﾋﾞ\\TaviMenu2.EXE");
    EXPECT_EQ(TextValue(kProgramKey, L"DisplayName"), "たびめにゅ～２－【多機能ランチャー】");
    EXPECT_TRUE(messages.shown.empty()) << "the checker knows no build yet";

    const struct {
        DWORD latest, next;
        bool announced;
    } cases[] = {{20001, 0, true}, {20001, 20000, false}, {20000, 0, false}};
    for (const auto& c : cases) {
        SetNumber(kProgramKey, L"LatestBuild", c.latest);
        SetNumber(kProgramKey, L"NextBuild", c.next);
        messages.shown.clear();
        RegisterUpCheck(registry, messages, version, "C:\\ﾀﾋﾞ", "TaviMenu2", kContact);
        ASSERT_EQ(messages.shown.size(), c.announced ? 1u : 0u) << c.latest << " " << c.next;
        if (c.announced) EXPECT_EQ(messages.shown[0].text, "最新バージョンが存在します");
    }
}

// The registry adapter's deletion, in the tree the fixture removes afterwards.
TEST_F(UpCheckTree, ADeletedValueIsGoneAndOneThatNeverWasCountsAsGone) {
    ASSERT_TRUE(registry.CreateKey(RegistryRoot::CurrentUser, "Software\\Upcheck"));
    ASSERT_TRUE(registry.WriteText(RegistryRoot::CurrentUser, "Software\\Upcheck", "ﾀﾋﾞ", "\"C:\\ﾀﾋﾞ\\TaviMenu2.exe\""));
    EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, "Software\\Upcheck", "ﾀﾋﾞ"));
    EXPECT_FALSE(registry.ReadText(RegistryRoot::CurrentUser, "Software\\Upcheck", "ﾀﾋﾞ"));
    EXPECT_TRUE(KeyExists(kRoot)) << "the key stays";
    EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, "Software\\Upcheck", "ﾀﾋﾞ")) << "gone already";
    EXPECT_TRUE(registry.DeleteValue(RegistryRoot::CurrentUser, "Software\\Upcheck\\None", "ﾀﾋﾞ")) << "no key";
}

TEST(ProgramVersionWin, TheProgramsVersionResourceGivesItsNameAndBuild) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::filesystem::path program = std::filesystem::path(self).parent_path() / L"TaviMenu2.exe";
    if (!std::filesystem::exists(program)) GTEST_SKIP() << "TaviMenu2.exe is not beside the tests";
    const ProgramVersion version = ReadProgramVersionOf(program.wstring());
    EXPECT_EQ(version.productName, "TaviMenu2");
    EXPECT_EQ(UpCheck::DefaultBuild(version), 20000);
    EXPECT_TRUE(ReadProgramVersion().productName.empty()) << "the tests carry no version resource";
}
