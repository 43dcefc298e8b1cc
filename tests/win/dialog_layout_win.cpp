// Every window the program opens, laid out at the display's scale: one row
// each, opened on the test's thread with believable content, checked from a
// second thread (layout_check) and photographed when TAVI_DIALOG_SHOTS asks
// (tests/e2e/dialog_shots.py, tests/e2e/test_layout.py, which run this at
// several dpi). Adding a window is adding a row to kWindows.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "fakes/set_setting.h"
#include "app/ex_menu_store.h"
#include "app/menu_main.h"
#include "app/settings.h"
#include "app/splash_win.h"
#include "dialog_driver_win.h"
#include "dialogs/entry_search_box_ids.h"
#include "dialogs/entry_search_box_win.h"
#include "dialogs/file_information_win.h"
#include "dialogs/reboot_dialog_win.h"
#include "dialogs/group_box_win.h"
#include "dialogs/icon_change.h"
#include "dialogs/icon_change_win.h"
#include "dialogs/import_folder_win.h"
#include "dialogs/new_app_ex_win.h"
#include "dialogs/new_app_win.h"
#include "icon_library_win.h"
#include "layout_check_win.h"
#include "menus/folder_menu_win.h"
#include "platform/picture_workers_win.h"
#include "platform/folder_contents_win.h"
#include "platform/file_details_win.h"
#include "platform/icon_files_win.h"
#include "platform/memory_status_win.h"
#include "platform/phonetic_readings_win.h"
#include "platform/registry_win.h"
#include "platform/win32_adapters_win.h"
#include "platform/clock_win.h"
#include "search/use_counts.h"
#include "temp_folder_win.h"
#include "tool_doubles_win.h"
#include "tools/fd_format_win.h"
#include "tools/memory_space_win.h"
#include "tools/option_set_ids.h"
#include "tools/option_set_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

constexpr int kTemplatePoints = 9;  // FONT 9 of every dialog template

std::string WindowsFile(const char* name) {
    wchar_t folder[MAX_PATH];
    GetWindowsDirectoryW(folder, MAX_PATH);
    return Narrow(folder) + "\\" + name;
}

// Removable drives whatever the prefix holds.
class TwoFloppies final : public SystemInfo {
public:
    std::string WindowsDirectory() override { return "C:\\windows"; }
    std::string SystemDirectory() override { return "C:\\windows\\system32"; }
    bool IsWindowsNT() override { return true; }
    std::vector<std::string> LogicalDriveRoots() override { return {"A:\\", "B:\\", "C:\\"}; }
    DriveType DriveTypeOf(const std::string& root) override {
        return root == "C:\\" ? DriveType::Fixed : DriveType::Removable;
    }
    std::vector<std::string> DriveDisplayNames(const std::vector<std::string>& roots) override {
        return std::vector<std::string>(roots.size());
    }
    std::string ComputerName() override { return {}; }
};

// The system's associations; nothing is started.
class AssociationsOnly final : public Shell {
public:
    Win32Shell real;
    int Open(const ShellOpenRequest&) override { return 42; }
    Association AssociatedProgram(const std::string& document) override { return real.AssociatedProgram(document); }
};

class NoFormat final : public DiskFormatter {
public:
    uint32_t FormatDrive(NativeWindow, int) override { return 0; }
};

// What every window's row may need: the ports, a list of entries, a group.
struct Program {
    TempFolder folder;
    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    AssociationsOnly shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    Win32IconFiles icons;
    QueuedChooser chooser;
    RecordingBar bar;
    MenuMain state;
    BarListView view{state, bar};
    std::string library;

    Program() {
        state.ApplicationPath = folder.PathOf("");
        fakes::SetSetting(state, &Settings::ToolTips, "1");
        fakes::SetSetting(state, &Settings::Horizontal, "0");
        fakes::SetSetting(state, &Settings::EdgeCode, "2");  // a right-edge bar
        state.entries.SetExMenuMax(3);
        library = folder.PathOf("ｱｲｺﾝ集.dll");
        icon_library::Write(Widen(library), 11);
        const std::string document = folder.PathOf("日本語のﾃｽﾄ.txt");
        HANDLE file = CreateFileW(Widen(document).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
        const std::string notepad = WindowsFile("notepad.exe");
        ExMenuSlots members = EmptyExMenu(3);
        members[0] = {"ﾒﾓ帳", notepad, "", "0"};
        (void)SaveExMenu(profile, state.ApplicationPath, 2, members, 3);
        OpenListWith(state, platform,
                     {{"ﾂｰﾙ", notepad, "/p", "0", notepad, "0"},
                      {"日本語のﾃｽﾄ", document, "", "0", notepad, "0"},
                      {"ｸﾞﾙｰﾌﾟ", "[ｸﾞﾙｰﾌﾟ]", "", "0", "", "0"}});
        state.entries.AttachView(&view);
        state.entries.Reserve(4);
        // The bar's sizes at the display's scale, as its layout gives them.
        const int dpi = static_cast<int>(GetDpiForSystem());
        const int w = MulDiv(39, dpi, 96);
        bar.windowRect = {1000, 0, 1000 + w + 2, 900};
        bar.layout.metrics.buttonPixels = w;
        bar.layout.metrics.iconPixels = MulDiv(32, dpi, 96);
        bar.layout.buttonTwips = w * TwipsPerPixelFromDpi(dpi);
        for (int i = 0; i < 5; ++i) bar.buttonRects.push_back(MakeRect(1001, 100 + i * w, w, w));
    }
};

// Runs the thread's messages until `done`, as the program's loop does for a modeless window.
void PumpUntil(const std::function<bool()>& done) {
    WaitUntil(
        [&] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            return done();
        },
        std::chrono::seconds(120));
}

void SelectOptionPage(HWND dialog, int page) {
    HWND tab = GetDlgItem(dialog, IDC_OPTION_TAB);
    SendMessageW(tab, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    NMHDR header{tab, IDC_OPTION_TAB, TCN_SELCHANGE};
    SendMessageW(dialog, WM_NOTIFY, IDC_OPTION_TAB, reinterpret_cast<LPARAM>(&header));
}

void OpenOptions(Program& p) {
    tool_doubles::RecordingSound sound;
    tool_doubles::TableDrives drives;
    drives.spaces["C:\\"] = {0, 3ull * 1073741824 + 5 * 1048576};
    Win32Registry registry;
    fakes::SetSetting(p.state, &Settings::WaveFile, "C:\\ｻｳﾝﾄﾞ\\ding.wav");
    ShowOptionSet(0, p.state, p.platform, p.bar, p.chooser, sound, drives, registry);
}

// One window the program opens.
struct WindowRow {
    const char* name;  // the test's and the screenshot's name
    std::function<void(Program&)> open;  // on the test's thread, until the window is closed
    std::wstring windowClass = L"#32770";
    std::function<void(HWND)> prepare = nullptr;  // brings the window to what is checked
    int points = kTemplatePoints;  // the font of its template; 0 for a window without one
};

const WindowRow kWindows[] = {
    {"new_app", [](Program& p) { ShowNewApp(0, p.state, p.platform, p.chooser, p.icons, 0); }},
    {"new_app_group", [](Program& p) { ShowNewApp(0, p.state, p.platform, p.chooser, p.icons, 2); }},
    {"icon_change",
     [](Program& p) {
         ShowIconChange(0, {{WindowsFile("notepad.exe"), "0"}, "", false}, p.platform, p.chooser, p.icons);
     }},
    {"icon_change_library",
     [](Program& p) { ShowIconChange(0, {{p.library, "2"}, "", false}, p.platform, p.chooser, p.icons); }},
    {"new_app_ex",
     [](Program& p) {
         ShowNewAppEx(0, {"ﾒﾓ帳", WindowsFile("notepad.exe"), "", "0"}, p.platform, p.chooser, p.icons);
     }},
    {"import_folder",
     [](Program& p) {
         Win32ImportFolderPrompt prompt(0, p.chooser);
         prompt.Choose({"C:\\users\\Public\\Desktop", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"});
     }},
    {"file_information",
     [](Program& p) {
         Win32FileDetails details;
         Win32Registry registry;
         ShowFileInformation(0, p.state, details, registry, p.icons, 1);
     }},
    {"reboot_dialog", [](Program&) { ShowRebootDialog(0); }},
    {"fd_format",
     [](Program&) {
         TwoFloppies system;
         NoFormat formatter;
         ShowFDFormat(0, system, formatter);
     }},
    {"option_set_display", OpenOptions},
    {"option_set_behaviour", OpenOptions, L"#32770", [](HWND dialog) { SelectOptionPage(dialog, 1); }},
    {"option_set_timer", OpenOptions, L"#32770", [](HWND dialog) { SelectOptionPage(dialog, 2); }},
    {"option_set_version", OpenOptions, L"#32770", [](HWND dialog) { SelectOptionPage(dialog, 3); }},
    {"memory_space",
     [](Program& p) {
         Win32MemoryStatus memory;
         Win32SystemResources resources;
         MemorySpaceDialog meter(p.platform, memory, resources);
         if (meter.Show(0)) PumpUntil([&] { return meter.Handle() == nullptr; });
     }},
    {"group_box",
     [](Program& p) {
         Win32FolderContents contents;
         Win32Pictures pictures;
         Win32FolderMenu folderMenus(p.platform, contents, p.bar, pictures.Fetches());
         OpenGroup(p.bar, p.state, p.platform, p.chooser, p.icons, pictures.Fetches(), folderMenus, 2);
     },
     kGroupBoxClass,
     // On the box, so that the pointer leaving does not close it.
     [](HWND box) {
         RECT r{};
         GetWindowRect(box, &r);
         SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
     },
     0},
    {"entry_search",
     [](Program& p) {
         Win32PhoneticReadings readings;
         Win32Clock clock;
         UseCounts uses(p.platform.files, clock);  // never loaded: no uses, nothing written
         Win32Pictures pictures;
         EntrySearchDialog box(p.state, p.platform, p.bar, pictures.Fetches(), readings, uses, nullptr);
         if (box.Show()) PumpUntil([&] { return !IsWindowVisible(box.Handle()); });
     },
     L"#32770",
     // Rows found, as the user sees them while typing.
     [](HWND box) { SetDlgItemTextW(box, IDC_SEARCH_TEXT, L"\xFF92"); }},
    {"splash",
     [](Program&) {
         SplashWindow splash;
         if (splash.Show()) PumpUntil([&] { return splash.Handle() == nullptr; });
     },
     L"Openning", nullptr, 0},
};

HWND FindWindowOf(DWORD thread, const std::wstring& windowClass) {
    struct Search {
        const std::wstring* windowClass;
        HWND found;
    } search{&windowClass, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (*s->windowClass != name || !IsWindowVisible(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class DialogLayout : public ::testing::TestWithParam<WindowRow> {};

}  // namespace

TEST_P(DialogLayout, FitsItsTextsAndFontsAtThisScale) {
    const WindowRow& row = GetParam();
    Program program;
    const DWORD thread = GetCurrentThreadId();
    struct Seen {
        bool found = false;
        int dpi = 0;
        std::vector<std::string> problems;
    } seen;
    std::thread checker([&] {
        HWND window = nullptr;
        if (!WaitUntil([&] { return (window = FindWindowOf(thread, row.windowClass)) != nullptr; })) return;
        seen.found = true;
        if (row.prepare) row.prepare(window);
        seen.dpi = static_cast<int>(GetDpiForWindow(window));
        seen.problems = layout_check::Problems(window, row.points);
        AwaitScreenshot(window, row.name);
        // A dialog ends with Cancel; the others close.
        if (row.windowClass == L"#32770")
            PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        else
            PostMessageW(window, WM_CLOSE, 0, 0);
    });
    row.open(program);
    checker.join();
    ASSERT_TRUE(seen.found) << row.name << " did not open";
    std::string all;
    for (const std::string& problem : seen.problems) all += "\n  " + problem;
    EXPECT_TRUE(seen.problems.empty()) << row.name << " at " << seen.dpi << " dpi:" << all;
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, DialogLayout, ::testing::ValuesIn(kWindows),
                         [](const ::testing::TestParamInfo<WindowRow>& info) { return std::string(info.param.name); });
