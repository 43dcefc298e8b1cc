#include <gtest/gtest.h>

#include <functional>

#include "fakes/fakes.h"
#include "fakes/info_fakes.h"
#include "platform/up_check.h"

using namespace tavi;
using fakes::FakeRegistry;

namespace {

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
const std::string kDeveloper = "Software\\Upcheck\\dev@example.jp";
const std::string kProgram = kDeveloper + "\\TaviMenu2";
const ProgramVersion kVersion{"TaviMenu2", 2, 1, 3};  // build 20103

// A configured object on a registry where the checker is installed.
struct Configured {
    FakeRegistry registry;
    UpCheck check;
    explicit Configured(const ProgramVersion& version = kVersion)
        : check(registry, version, "C:\\Program Files\\TaviMenu2", "TaviMenu2") {
        registry.AddKey(kUser, "Software\\Upcheck");
        check.MailAddress = "dev@example.jp";
        check.Author = "開発者";
        check.InfoURL("https://example.jp/info.txt", 0);
    }
};

// The code of the error `action` raises, 0 when it raises none.
int ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const UpCheckError& error) {
        return error.code();
    }
    return 0;
}

}  // namespace

TEST(UpCheck, WriteDataChecksItsPropertiesInOrderBeforeWritingAnything) {
    const struct {
        const char* name;
        std::function<void(Configured&)> change;
        int code;
        ProgramVersion version = kVersion;
    } cases[] = {
        {"checker missing", [](Configured& c) { c.registry = FakeRegistry(); c.check.MailAddress = ""; }, 1},
        {"no mail address", [](Configured& c) { c.check.MailAddress = ""; c.check.Author = ""; }, 2},
        {"no author", [](Configured& c) { c.check.Author = ""; c.check.InfoURL("", 1); }, 3},
        {"no address", [](Configured& c) { c.check.InfoURL("", 1); c.check.IconIndex = -1; }, 4},
        {"no name", [](Configured& c) { c.check.IconIndex = -1; }, 5, ProgramVersion{"", 2, 1, 3}},
        {"negative icon", [](Configured& c) { c.check.IconIndex = -1; }, 6},
        {"registry refuses", [](Configured& c) { c.registry.failing = {kProgram + "|Build"}; }, 10},
    };
    for (const auto& c : cases) {
        Configured configured(c.version);
        c.change(configured);
        const int code = ErrorOf([&] { configured.check.WriteData(); });
        EXPECT_EQ(code, c.code) << c.name;
        if (c.code < 10) EXPECT_TRUE(configured.registry.changes.empty()) << c.name;
    }
}

TEST(UpCheck, WriteDataWritesTheDeveloperAndTheProgram) {
    Configured c;
    c.check.DisplayHost = "example.jp";
    c.check.DisplayName = "たびめにゅ～２";
    c.check.IconIndex = 3;
    c.check.SetFilePath(-1);
    c.check.WriteData();
    EXPECT_EQ(c.registry.changes, (std::vector<std::string>{
                                      "create " + kDeveloper,
                                      "text " + kDeveloper + "|Author=開発者",
                                      "text " + kDeveloper + "|InfoURL=https://example.jp/info.txt",
                                      "text " + kDeveloper + "|DisplayHost=example.jp",
                                      "create " + kProgram,
                                      "text " + kProgram + "|DistinctName=TaviMenu2",
                                      "number " + kProgram + "|Build=20103",
                                      "number " + kProgram + "|IconIndex=3",
                                      "text " + kProgram + "|FilePath=C:\\Program Files\\TaviMenu2\\TaviMenu2.EXE",
                                      "text " + kProgram + "|DisplayName=たびめにゅ～２",
                                  }));
    EXPECT_EQ(c.check.DistinctName, "TaviMenu2");
    EXPECT_EQ(c.check.Build, 20103);
}

TEST(UpCheck, OptionalValuesAreLeftOutWhenEmptyOrZero) {
    Configured c;
    c.check.DistinctName = "Other";
    c.check.Build = 7;
    c.check.WriteData();
    EXPECT_EQ(c.registry.changes, (std::vector<std::string>{
                                      "create " + kDeveloper,
                                      "text " + kDeveloper + "|Author=開発者",
                                      "text " + kDeveloper + "|InfoURL=https://example.jp/info.txt",
                                      "create " + kDeveloper + "\\Other",
                                      "text " + kDeveloper + "\\Other|DistinctName=Other",
                                      "number " + kDeveloper + "\\Other|Build=7",
                                  }));
}

TEST(UpCheck, FilePathFlag) {
    FakeRegistry registry;
    const struct {
        const char* folder;
        std::vector<int> flags;
        const char* path;
    } cases[] = {
        {"C:\\Tavi", {-1}, "C:\\Tavi\\Tavi.EXE"},
        {"C:\\", {-1}, "C:\\Tavi.EXE"},  // a drive root is joined without another "\"
        {"C:", {-1}, "C:\\Tavi.EXE"},
        {"C:\\Tavi", {-1, 0}, ""},
        {"C:\\Tavi", {-1, 1}, "C:\\Tavi\\Tavi.EXE"},  // other values change nothing
        {"C:\\Tavi", {5}, ""},
    };
    for (const auto& c : cases) {
        UpCheck check(registry, kVersion, c.folder, "Tavi");
        for (const int flag : c.flags) check.SetFilePath(flag);
        EXPECT_EQ(check.FilePath(), c.path) << c.folder << " " << c.flags.size();
    }
}

TEST(UpCheck, FurtherInfoAddressesAreWrittenAtOnce) {
    Configured c;
    c.check.InfoURL("https://example.jp/mirror.txt", 2);
    c.check.InfoURL("https://example.jp/last.txt", 255);
    EXPECT_EQ(c.registry.changes, (std::vector<std::string>{
                                      "create " + kDeveloper,
                                      "text " + kDeveloper + "|2InfoURL=https://example.jp/mirror.txt",
                                      "text " + kDeveloper + "|255InfoURL=https://example.jp/last.txt",
                                  }));
    EXPECT_EQ(ErrorOf([&] { c.check.InfoURL("", 3); }), 4);
    c.check.MailAddress = "";
    EXPECT_EQ(ErrorOf([&] { c.check.InfoURL("u", 3); }), 2);
    FakeRegistry empty;
    UpCheck notInstalled(empty, kVersion, "C:\\", "T");
    EXPECT_EQ(ErrorOf([&] { notInstalled.InfoURL("u", 2); }), 1);
    EXPECT_TRUE(empty.changes.empty());
}

TEST(UpCheck, CheckNewVerComparesWithTheCheckersBuilds) {
    const struct {
        std::optional<uint32_t> latest, next;
        int32_t build;
        bool newer;
    } cases[] = {
        {20104, 0, 0, true},             // default build 20103
        {20103, 0, 0, false},            // the same build
        {20104, 20103, 0, false},        // the next build is ours already
        {20105, 20104, 0, true},
        {20200, 20150, 20150, false},
        {std::nullopt, std::nullopt, 0, false},
        {20104, std::nullopt, 0, true},
        {5, 0, 4, true},                 // a build set by hand
    };
    for (const auto& c : cases) {
        Configured configured;
        configured.registry.AddKey(kUser, kProgram);
        if (c.latest) configured.registry.SetNumber(kUser, kProgram, "LatestBuild", *c.latest);
        if (c.next) configured.registry.SetNumber(kUser, kProgram, "NextBuild", *c.next);
        configured.check.Build = c.build;
        EXPECT_EQ(configured.check.CheckNewVer(), c.newer)
            << c.latest.value_or(0) << " " << c.next.value_or(0) << " " << c.build;
    }
}

TEST(UpCheck, CheckNewVerErrors) {
    Configured c;
    try {
        c.check.CheckNewVer();
        ADD_FAILURE() << "no program key yet";
    } catch (const UpCheckError& error) {
        EXPECT_EQ(error.Number(), 0x8004000Au);
        EXPECT_STREQ(error.what(), "レジストリに原因不明のエラーが発生しアクセスできません");
    }
    EXPECT_EQ(ErrorOf([&] { c.check.CheckNewVer(); }), 10) << "no program key";
    c.check.MailAddress = "";
    EXPECT_EQ(ErrorOf([&] { c.check.CheckNewVer(); }), 2);
    FakeRegistry registry;
    UpCheck nameless(registry, ProgramVersion{}, "C:\\", "T");
    nameless.MailAddress = "m";
    EXPECT_EQ(ErrorOf([&] { nameless.CheckNewVer(); }), 5);
}

TEST(UpCheck, DefaultBuildDoesNotOverflowPastVersionThree) {
    EXPECT_EQ(UpCheck::DefaultBuild({"", 2, 0, 0}), 20000);
    EXPECT_EQ(UpCheck::DefaultBuild({"", 3, 27, 67}), 32767);
    EXPECT_EQ(UpCheck::DefaultBuild({"", 3, 27, 68}), 32768);
    EXPECT_EQ(UpCheck::DefaultBuild({"", 12, 34, 56}), 123456);
}

const UpdateContact kContact{"tavi@example.jp", "example.jp", "https://example.jp/tavi/update.txt"};

TEST(UpdateContact, TheHostShownIsTheWebPagesHost) {
    const struct {
        const char *home, *host;
    } cases[] = {{"https://example.jp/tavi/", "example.jp"}, {"http://example.jp", "example.jp"},
                 {"example.jp/tavi", "example.jp"}, {"", ""}};
    for (const auto& c : cases) EXPECT_EQ(UpdateContactFor(c.home, "m", "u").host, c.host) << c.home;
}

// Without the checker, or without both addresses it needs from the build,
// nothing is written and nothing is announced, newer build known or not.
TEST(RegisterUpCheck, WithoutTheCheckerOrTheAddressesNothingIsWrittenOrShown) {
    const struct {
        bool installed;
        UpdateContact contact;
    } cases[] = {{false, kContact},
                 {true, {"", "example.jp", kContact.infoUrl}},
                 {true, {kContact.mail, "example.jp", ""}},
                 {true, {}}};
    for (const auto& c : cases) {
        FakeRegistry registry;
        if (c.installed) registry.AddKey(kUser, "Software\\Upcheck");
        registry.SetNumber(kUser, "Software\\Upcheck\\" + c.contact.mail + "\\TaviMenu2", "LatestBuild", 99999);
        registry.changes.clear();
        fakes::FakeMessageBoxes messages;
        RegisterUpCheck(registry, messages, kVersion, "C:\\Tavi", "TaviMenu2", c.contact);
        EXPECT_TRUE(registry.changes.empty()) << c.installed << " " << c.contact.mail << " " << c.contact.infoUrl;
        EXPECT_TRUE(messages.shown.empty()) << c.installed << " " << c.contact.mail << " " << c.contact.infoUrl;
    }
}

TEST(RegisterUpCheck, RegistersAndAnnouncesOnlyANewerBuild) {
    const std::string program = "Software\\Upcheck\\tavi@example.jp\\TaviMenu2";
    const struct {
        uint32_t latest, next;
        bool announced;
    } cases[] = {{20104, 0, true}, {20104, 20103, false}, {20103, 0, false}};
    for (const auto& c : cases) {
        FakeRegistry registry;
        registry.AddKey(kUser, "Software\\Upcheck");
        registry.SetNumber(kUser, program, "LatestBuild", c.latest);
        registry.SetNumber(kUser, program, "NextBuild", c.next);
        fakes::FakeMessageBoxes messages;
        RegisterUpCheck(registry, messages, kVersion, "C:\\Tavi", "TaviMenu2", kContact);
        const auto* build = registry.Find(kUser, program, "Build");
        ASSERT_TRUE(build) << c.latest;
        EXPECT_EQ(build->number, 20103u);
        EXPECT_EQ(registry.Find(kUser, program, "FilePath")->text, "C:\\Tavi\\TaviMenu2.EXE");
        EXPECT_EQ(registry.Find(kUser, program, "DisplayName")->text, "たびめにゅ～２－【多機能ランチャー】");
        EXPECT_EQ(registry.Find(kUser, "Software\\Upcheck\\tavi@example.jp", "Author")->text, "TaviMenu2 developers");
        EXPECT_EQ(registry.Find(kUser, "Software\\Upcheck\\tavi@example.jp", "InfoURL")->text,
                  "https://example.jp/tavi/update.txt");
        ASSERT_EQ(messages.shown.size(), c.announced ? 1u : 0u) << c.latest << " " << c.next;
        if (c.announced) {
            EXPECT_EQ(messages.shown[0].text, "最新バージョンが存在します");
            EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
            EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
        }
    }
}

TEST(RegisterUpCheck, AFailedRegistrationStillAnnouncesAKnownNewerBuild) {
    const std::string program = "Software\\Upcheck\\tavi@example.jp\\TaviMenu2";
    FakeRegistry registry;
    registry.AddKey(kUser, "Software\\Upcheck");
    registry.SetNumber(kUser, program, "LatestBuild", 99999);
    registry.failing = {program + "|DistinctName"};
    fakes::FakeMessageBoxes messages;
    RegisterUpCheck(registry, messages, kVersion, "C:\\Tavi", "TaviMenu2", kContact);
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(registry.Find(kUser, program, "Build"), nullptr);
}
