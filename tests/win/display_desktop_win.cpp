// The display, desktop and restart adapters against the real system, and the
// wallpaper and screen-saver choices on a temporary Windows folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <iterator>

#include "fakes/set_setting.h"
#include "app/menu_main.h"
#include "platform/text.h"
#include "menus/desktop_items.h"
#include "menus/display_menu.h"
#include "menus/wallpapers.h"
#include "platform/desktop_parameters_win.h"
#include "platform/display_modes_win.h"
#include "platform/folder_listing_win.h"
#include "platform/system_restart_win.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"

using namespace tavi;

namespace {

std::vector<DisplayMode> AllModes(DisplayModes& display) {
    std::vector<DisplayMode> modes;
    for (int number = 0; number < 10000; ++number) {
        const std::optional<DisplayMode> mode = display.Mode(number);
        if (!mode) break;
        modes.push_back(*mode);
    }
    return modes;
}

std::filesystem::path FilePath(const std::string& utf8) { return std::filesystem::path(Widen(utf8)); }

bool SameSizeAndDepth(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.bitsPerPel == b.bitsPerPel;
}

// The real system with another folder as the Windows folder, so that the
// files the menus write there are temporary ones.
class SystemWithWindowsFolder final : public SystemInfo {
public:
    explicit SystemWithWindowsFolder(std::string windows) : windows_(std::move(windows)) {}
    std::string WindowsDirectory() override { return windows_; }
    std::string SystemDirectory() override { return windows_ + "\\system32"; }
    bool IsWindowsNT() override { return real_.IsWindowsNT(); }
    std::vector<std::string> LogicalDriveRoots() override { return real_.LogicalDriveRoots(); }
    DriveType DriveTypeOf(const std::string& root) override { return real_.DriveTypeOf(root); }
    std::vector<std::string> DriveDisplayNames(const std::vector<std::string>& roots) override {
        return real_.DriveDisplayNames(roots);
    }
    std::string ComputerName() override { return real_.ComputerName(); }

private:
    std::string windows_;
    Win32SystemInfo real_;
};

// A 1x1 bitmap file.
void WriteBitmap(const std::string& path) {
    const unsigned char bytes[] = {
        'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file header
        40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0,
        0x13, 0x0B, 0, 0, 0x13, 0x0B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // info header
        0x40, 0x80, 0xC0, 0,  // one pixel and its padding
    };
    std::ofstream(FilePath(path), std::ios::binary).write(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

std::string ReadAnsiFile(const std::string& path) {
    std::ifstream file(FilePath(path), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Win32CodePage codePage;
    return codePage.ToUtf8(bytes);
}

// Puts the user's wallpaper and screen-saver switch back as they were.
class DesktopRestorer {
public:
    DesktopRestorer() {
        wallpaper_ = desktop_.Wallpaper().value_or("");
        SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &screenSaverActive_, 0);
    }
    ~DesktopRestorer() {
        (void)desktop_.SetWallpaper(wallpaper_);
        (void)desktop_.SetScreenSaverActive(screenSaverActive_ != FALSE);
    }
    DesktopRestorer(const DesktopRestorer&) = delete;
    DesktopRestorer& operator=(const DesktopRestorer&) = delete;

private:
    Win32DesktopParameters desktop_;
    std::string wallpaper_;
    BOOL screenSaverActive_ = FALSE;
};

}  // namespace

TEST(Win32DisplayModes, ListsTheDriversModesWithTheCurrentOneChecked) {
    Win32DisplayModes display;
    const std::vector<DisplayMode> modes = AllModes(display);
    ASSERT_FALSE(modes.empty());
    const DisplayMode current = display.Current();
    EXPECT_EQ(current.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(current.height, GetSystemMetrics(SM_CYSCREEN));
    for (const DisplayMode& mode : modes) {
        EXPECT_GT(mode.width, 0);
        EXPECT_GT(mode.bitsPerPel, 0);
        EXPECT_NE(mode.frequency, 1) << "the default rate is shown as none";
    }

    RunTimeList list;
    SetChgDisplay(display, list);
    ASSERT_GE(list.items.size(), 3u);
    EXPECT_EQ(list.items[0].caption, "ﾃﾞｨｽﾌﾟﾚｲﾌﾟﾛﾊﾟﾃｨの設定...");
    EXPECT_EQ(list.items[1].caption, "-");
    std::vector<std::string> checked;
    for (const ListItem& item : list.items) {
        if (item.caption == "-" || item.caption == list.items[0].caption) continue;
        const std::optional<DisplayMode> named = ParseDisplayModeCaption(item.caption);
        ASSERT_TRUE(named) << item.caption;
        EXPECT_NE(std::find(modes.begin(), modes.end(), *named), modes.end()) << item.caption;
        if (item.checked) checked.push_back(item.caption);
    }
    ASSERT_EQ(checked.size(), 1u) << "the current mode, once";
    EXPECT_TRUE(SameSizeAndDepth(*ParseDisplayModeCaption(checked[0]), current)) << checked[0];
}

TEST(Win32DisplayModes, TestsAModeWithoutChangingTheScreen) {
    Win32DisplayModes display;
    const DisplayMode current = display.Current();
    const DisplayMode same{current.width, current.height, current.bitsPerPel, 0};
    EXPECT_EQ(display.Change(same, DisplayChangeKind::Test), DisplayChange::Successful);
    EXPECT_NE(display.Change({12345, 777, current.bitsPerPel, 0}, DisplayChangeKind::Test), DisplayChange::Successful);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), current.width);
    EXPECT_EQ(display.Current(), current);
}

namespace {

// The restart question must not come up for a mode that needs no restart.
class NoRestart final : public RebootPrompt, public SystemRestart {
public:
    RebootChoice Ask(NativeWindow) override {
        ADD_FAILURE() << "frmReboot was asked";
        return RebootChoice::Cancel;
    }
    bool Restart() override {
        ADD_FAILURE() << "a restart was asked for";
        return false;
    }
};

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

// Names the file where the test inside the virtual desktop reports.
constexpr const wchar_t* kVirtualDesktopMark = L"TAVI_VIRTUAL_DESKTOP_MARK";

std::optional<std::wstring> Environment(const wchar_t* name) {
    std::wstring value(32768, L'\0');
    const DWORD length = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size()) return std::nullopt;
    value.resize(length);
    return value;
}

}  // namespace

// Runs only inside the virtual desktop that the next test starts.
TEST(Win32DisplayModesInVirtualDesktop, AChosenModeChangesTheScreenAndIsPutBack) {
    const std::optional<std::wstring> mark = Environment(kVirtualDesktopMark);
    if (!mark) GTEST_SKIP() << "started by ChoosingAModeInAVirtualDesktopChangesTheScreen";
    struct Report {
        std::filesystem::path path;
        ~Report() { std::ofstream(path) << (::testing::Test::HasFailure() ? "failed" : "passed"); }
    } report{*mark};

    Win32DisplayModes display;
    const DisplayMode before = display.Current();
    const std::vector<DisplayMode> modes = AllModes(display);
    // Another size at the same depth: a depth change would stay in the prefix.
    const auto target = std::find_if(modes.begin(), modes.end(), [&](const DisplayMode& m) {
        return m.bitsPerPel == before.bitsPerPel && m.width != before.width && m.width >= 640;
    });
    ASSERT_NE(target, modes.end()) << modes.size() << " modes";
    struct PutBack {
        Win32DisplayModes& display;
        DisplayMode mode;
        ~PutBack() { EXPECT_EQ(display.Change(mode, DisplayChangeKind::Apply), DisplayChange::Successful); }
    } putBack{display, {before.width, before.height, before.bitsPerPel, 0}};

    NoRestart noRestart;
    const std::string caption = DisplayModeCaption(*target);
    const DisplayModeResult result = ChgDisplaySet(caption, {display, noRestart, noRestart, 0});
    EXPECT_EQ(result.outcome, DisplayModeOutcome::Applied) << caption;
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), target->width);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), target->height);
    RunTimeList list;
    SetChgDisplay(display, list);
    std::vector<std::string> checked;
    for (const ListItem& item : list.items)
        if (item.checked) checked.push_back(item.caption);
    EXPECT_EQ(checked, std::vector<std::string>{caption});
}

TEST(Win32DisplayModes, ChoosingAModeInAVirtualDesktopChangesTheScreen) {
    if (Environment(kVirtualDesktopMark)) GTEST_SKIP() << "inside the virtual desktop already";
    if (!UnderWine()) GTEST_SKIP() << "only Wine's virtual desktop makes a real mode change harmless";
    TempFolder folder;
    const std::string mark = folder.PathOf("mark.txt");
    std::wstring self(32768, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    std::wstring command = L"explorer.exe /desktop=TaviModes,1024x768 \"" + self +
                           L"\" --gtest_filter=Win32DisplayModesInVirtualDesktop.*";
    ASSERT_TRUE(SetEnvironmentVariableW(kVirtualDesktopMark, Widen(mark).c_str()));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
    SetEnvironmentVariableW(kVirtualDesktopMark, nullptr);
    ASSERT_TRUE(started) << GetLastError();
    CloseHandle(process.hThread);

    // The desktop goes when its last program has ended; it is ended here if it stays.
    const bool ended = WaitForSingleObject(process.hProcess, 120 * 1000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    std::string outcome;
    std::ifstream(FilePath(mark)) >> outcome;
    EXPECT_EQ(outcome, "passed");
    EXPECT_TRUE(ended) << "the virtual desktop closed after its program";
}

TEST(Win32DesktopParameters, TheWallpaperIsReadBackAndRemoved) {
    DesktopRestorer restore;
    TempFolder folder;
    const std::string path = folder.PathOf("壁紙 ﾃｽﾄ.bmp");
    WriteBitmap(path);
    Win32DesktopParameters desktop;
    ASSERT_TRUE(desktop.SetWallpaper(path));
    EXPECT_EQ(desktop.Wallpaper(), path);
    wchar_t profile[1024] = {};
    GetProfileStringW(L"Desktop", L"Wallpaper", L"", profile, static_cast<DWORD>(std::size(profile)));
    EXPECT_EQ(Narrow(profile), path) << "win.ini's [Desktop] tells the same";
    ASSERT_TRUE(desktop.SetWallpaper(""));
    EXPECT_EQ(desktop.Wallpaper(), "");
}

TEST(WallpaperMenu, AChosenBitmapBecomesTheWallpaperAndTheNextListChecksIt) {
    DesktopRestorer restore;
    TempFolder folder;
    const std::string windows = folder.PathOf("Windows");
    ASSERT_TRUE(CreateDirectoryW(Widen(windows).c_str(), nullptr));
    WriteBitmap(windows + "\\雲.bmp");
    WriteBitmap(windows + "\\Long Name Tile.BMP");
    std::ofstream(FilePath(windows + "\\note.txt")) << "not a bitmap";
    SystemWithWindowsFolder system(windows);
    Win32Profile profile;
    Win32FolderListing folders;
    Win32DesktopParameters desktop;
    const WallpaperPorts ports{system, profile, folders, desktop};
    MenuMain state;
    RunTimeList list;

    ASSERT_TRUE(desktop.SetWallpaper(""));
    BuildWallpaperMenu(state, list, ports);
    ASSERT_EQ(list.items.size(), 3u);
    EXPECT_TRUE(list.items[0].checked);
    const size_t tile = list.items[1].caption == "Long Name Tile" ? 1 : 2;
    EXPECT_EQ(list.items[tile].caption, "Long Name Tile");
    EXPECT_EQ(list.items[3 - tile].caption, "雲");
    EXPECT_EQ(list.items[tile].path, folders.ShortPathName(windows + "\\Long Name Tile.BMP"));

    SelectWallPaper(state, list, static_cast<int>(tile), desktop);
    EXPECT_EQ(ToUpperAscii(desktop.Wallpaper().value_or("")), ToUpperAscii(list.items[tile].path));
    BuildWallpaperMenu(state, list, ports);
    EXPECT_FALSE(list.items[0].checked);
    EXPECT_TRUE(list.items[tile].checked) << desktop.Wallpaper().value_or("?");
    EXPECT_FALSE(list.items[3 - tile].checked);
    EXPECT_EQ(state.wallpaper.Position(), static_cast<int>(tile));

    fakes::SetSetting(state, &Settings::WallPaperChengeTimer, "1");
    TimWallPaperTick(state, desktop);
    EXPECT_EQ(desktop.Wallpaper(), list.items[3 - tile == 2 ? 2 : 1].path) << "the timer moved on";

    SelectWallPaper(state, list, 0, desktop);
    EXPECT_EQ(desktop.Wallpaper(), "");
    BuildWallpaperMenu(state, list, ports);
    EXPECT_TRUE(list.items[0].checked);
    EXPECT_EQ(state.wallpaper.Position(), 0);
}

TEST(ScreenSaverMenu, TheChoiceLandsInSystemIniAndSwitchesTheSaverOn) {
    DesktopRestorer restore;
    TempFolder folder;
    const std::string windows = folder.PathOf("Windows");
    ASSERT_TRUE(CreateDirectoryW(Widen(windows).c_str(), nullptr));
    SystemWithWindowsFolder system(windows);
    Win32Profile profile;
    Win32DesktopParameters desktop;
    ASSERT_TRUE(desktop.SetScreenSaverActive(false));
    const std::string saver = windows + "\\ﾐｽﾃｨﾌｧｲ.SCR";
    RunTimeList list;
    list.items = {{"(なし)", "(なし)", true, true}, {"ﾐｽﾃｨﾌｧｲ", saver}};

    SelectScreenSaver(list, 1, system, profile, desktop);
    const std::string ini = windows + "\\system.ini";
    EXPECT_TRUE(Contains(ReadAnsiFile(ini), "[boot]\r\nSCRNSAVE.EXE=" + saver + "\r\n")) << ReadAnsiFile(ini);
    BOOL active = FALSE;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
    EXPECT_TRUE(active);
    EXPECT_TRUE(list.items[1].checked);

    ASSERT_TRUE(desktop.SetScreenSaverActive(false));
    SelectScreenSaver(list, 0, system, profile, desktop);
    EXPECT_FALSE(Contains(ReadAnsiFile(ini), "SCRNSAVE.EXE")) << ReadAnsiFile(ini);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &active, 0));
    EXPECT_TRUE(active) << "switched on with (なし) too";
}

TEST(Win32SystemRestart, TakesTheShutdownPrivilege) {
    ASSERT_TRUE(EnableShutdownPrivilege());
    LUID shutdown{};
    ASSERT_TRUE(LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &shutdown));
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    DWORD size = 0;
    GetTokenInformation(token, TokenPrivileges, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    const bool read = GetTokenInformation(token, TokenPrivileges, buffer.data(), size, &size) != FALSE;
    CloseHandle(token);
    ASSERT_TRUE(read);
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    bool enabled = false;
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
        if (p.Luid.LowPart == shutdown.LowPart && p.Luid.HighPart == shutdown.HighPart)
            enabled = (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    EXPECT_TRUE(enabled);
}
