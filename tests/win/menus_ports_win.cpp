#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>

#include "platform/folder_listing_win.h"
#include "platform/system_commands_win.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"

using namespace tavi;

namespace {

// Polls `condition` while handling this thread's messages, for at most `limit`.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

struct FoundWindow {
    const wchar_t* title;
    DWORD process;
    HWND window = nullptr;
};

HWND FindOwnWindow(const wchar_t* title) {
    FoundWindow found{title, GetCurrentProcessId()};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<FoundWindow*>(data);
            wchar_t text[64] = {};
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != f->process || !IsWindowVisible(window)) return TRUE;
            GetWindowTextW(window, text, static_cast<int>(std::size(text)));
            if (std::wstring_view(text) != f->title) return TRUE;
            f->window = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

bool HasCdRomDrive() {
    Win32SystemInfo system;
    const auto roots = system.LogicalDriveRoots();
    return std::any_of(roots.begin(), roots.end(),
                       [&](const std::string& root) { return system.DriveTypeOf(root) == DriveType::CdRom; });
}

std::atomic<int> progmanCloses{0};

LRESULT CALLBACK ProgmanProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        ++progmanCloses;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

TEST(Win32SystemCommands, NetworkDialogsAndTheCdDoorGiveTheSystemsCodes) {
    Win32SystemCommands commands;
    EXPECT_EQ(commands.ConnectNetworkDrive(0), 1222u) << "no network under Wine";
    EXPECT_EQ(commands.DisconnectNetworkDrive(0), 1222u);
    const uint32_t expected = HasCdRomDrive() ? 0u : 266u;  // 266: no CD audio device
    EXPECT_EQ(commands.SendMediaCommand("set cdaudio door open"), expected);
    EXPECT_EQ(commands.SendMediaCommand("set cdaudio door closed"), expected);
}

TEST(Win32SystemCommands, ShutDownAsksTheProgramManagerWindowToClose) {
    Win32SystemCommands commands;
    ASSERT_EQ(FindWindowW(L"Progman", nullptr), nullptr) << "Wine has no program manager of its own";
    EXPECT_FALSE(commands.CloseProgramManager());

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ProgmanProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"Progman";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND programManager = CreateWindowExW(0, L"Progman", L"Program Manager", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                          windowClass.hInstance, nullptr);
    ASSERT_NE(programManager, nullptr);
    progmanCloses = 0;
    EXPECT_TRUE(commands.CloseProgramManager());
    EXPECT_TRUE(WaitFor([] { return progmanCloses > 0; }, std::chrono::seconds(5))) << "WM_CLOSE arrived";
    DestroyWindow(programManager);
    UnregisterClassW(L"Progman", windowClass.hInstance);
}

TEST(Win32SystemCommands, RunsAProgramFromItsCommandLine) {
    Win32SystemCommands commands;
    EXPECT_FALSE(commands.RunProgram("C:\\no\\such\\ﾌﾟﾛｸﾞﾗﾑ.exe /x"));
    ASSERT_TRUE(commands.RunProgram("RUNDLL32.EXE shell32.dll,Control_RunDLL"));
    HWND panel = nullptr;
    EXPECT_TRUE(WaitFor([&] { return (panel = FindWindowW(nullptr, L"Wine コントロール パネル")) != nullptr; },
                        std::chrono::seconds(30)))
        << "the control panel opened";
    if (panel) {
        PostMessageW(panel, WM_CLOSE, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(panel); }, std::chrono::seconds(10)));
    }
}

TEST(Win32SystemCommands, PrinterSetupReportsWhatTheDialogGaveBack) {
    // Without a printer Wine says so in a box titled "印刷"; with one, the
    // setup dialog opens. Either is dismissed from another thread.
    std::atomic<bool> done{false};
    std::atomic<int> dismissed{0};
    std::thread dismisser([&] {
        WaitFor(
            [&] {
                if (HWND box = FindOwnWindow(L"印刷")) {
                    PostMessageW(box, WM_COMMAND, IDOK, 0);
                    ++dismissed;
                } else if (HWND dialog = FindOwnWindow(L"印刷設定")) {
                    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                    ++dismissed;
                }
                return done.load();
            },
            std::chrono::seconds(30));
    });
    Win32SystemCommands commands;
    const PrinterSetupResult result = commands.PrinterSetup(0);
    done = true;
    dismisser.join();
    EXPECT_GT(dismissed, 0) << "a window was shown";
    EXPECT_FALSE(result.accepted);
    std::printf("printer setup: accepted %d, error 0x%x\n", result.accepted, static_cast<unsigned>(result.error));
}

TEST(Win32FolderListing, DesktopFolderExists) {
    Win32FolderListing folders;
    const std::string desktop = folders.DesktopDirectory();
    ASSERT_FALSE(desktop.empty());
    const DWORD attributes = GetFileAttributesW(Widen(desktop).c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << desktop;
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY) << desktop;
}

TEST(Win32FolderListing, ListsAFolderWithJapaneseNames) {
    TempFolder folder;
    const std::string root = folder.PathOf("");
    for (const char* name : {"メモ.lnk", "画面.scr", "desktop.ini"})
        CloseHandle(CreateFileW(Widen(folder.PathOf(name)).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    ASSERT_TRUE(CreateDirectoryW(Widen(folder.PathOf("サブ")).c_str(), nullptr));
    SetFileAttributesW(Widen(folder.PathOf("desktop.ini")).c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);

    Win32FolderListing folders;
    std::vector<std::string> all = folders.FindFiles(root, "*.*");
    std::sort(all.begin(), all.end());
    EXPECT_EQ(all, (std::vector<std::string>{".", "..", "desktop.ini", "サブ", "メモ.lnk", "画面.scr"}));
    EXPECT_EQ(folders.FindFiles(root, "*.scr"), std::vector<std::string>{"画面.scr"});
    EXPECT_TRUE(folders.FindFiles(folder.PathOf("ない"), "*.*").empty());
}

TEST(Win32FolderListing, ShortPathNamesNameTheSameFile) {
    TempFolder folder;
    const std::string path = folder.PathOf("とても長い名前のスクリーンセーバー.scr");
    CloseHandle(CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    Win32FolderListing folders;
    const std::string shortPath = folders.ShortPathName(path);
    ASSERT_FALSE(shortPath.empty());
    wchar_t longPath[MAX_PATH * 2] = {};
    ASSERT_NE(GetLongPathNameW(Widen(shortPath).c_str(), longPath, static_cast<DWORD>(std::size(longPath))), 0u)
        << shortPath;
    EXPECT_EQ(lstrcmpiW(longPath, Widen(path).c_str()), 0) << Narrow(longPath);
    const std::string missing = folder.PathOf("ない.scr");
    EXPECT_EQ(folders.ShortPathName(missing), missing) << "no short form: the path itself";
}

// A folder's stamp moves when its names change, and a stamp too fresh to
// trust is no stamp: a press must then read the folder.
TEST(Win32FolderListing, AFoldersStampFollowsItsNamesAndIsWithheldWhileFresh) {
    TempFolder folder;
    const std::string root = folder.PathOf("");
    Win32FolderListing folders;
    EXPECT_FALSE(folders.LastWriteStamp(root)) << "just made";
    EXPECT_FALSE(folders.LastWriteStamp(folder.PathOf("ない")));

    // Each backdating goes further back, so that two within one tick of the
    // clock still give two times.
    const auto backdate = [&](const std::string& path, uint64_t hours) {
        const HANDLE handle = CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE) << path;
        SYSTEMTIME hourAgo{};
        GetSystemTime(&hourAgo);
        FILETIME time{};
        SystemTimeToFileTime(&hourAgo, &time);
        ULARGE_INTEGER value{{time.dwLowDateTime, time.dwHighDateTime}};
        value.QuadPart -= hours * 3600ULL * 10'000'000;
        time = {value.LowPart, value.HighPart};
        EXPECT_TRUE(SetFileTime(handle, nullptr, nullptr, &time));
        CloseHandle(handle);
    };
    backdate(root, 1);
    const std::optional<uint64_t> before = folders.LastWriteStamp(root);
    ASSERT_TRUE(before);
    EXPECT_EQ(folders.LastWriteStamp(root), before) << "nothing changed";

    CloseHandle(CreateFileW(Widen(folder.PathOf("新しい.lnk")).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    EXPECT_FALSE(folders.LastWriteStamp(root)) << "a name just came";
    backdate(root, 2);
    const std::optional<uint64_t> after = folders.LastWriteStamp(root);
    ASSERT_TRUE(after);
    EXPECT_NE(after, before);
}
