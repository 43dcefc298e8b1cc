// Drag and drop on a real toolbar wired the way the bar wires its own: the
// toolbar's subclass hands its mouse messages to BarDragDrop first. Files
// come from dragsource.exe in another process, through OLE, as from the shell.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "fakes/set_setting.h"
#include "app/menu_main.h"
#include "bar/bar_drag_drop_win.h"
#include "bar/shortcut_win.h"
#include "dialog_driver_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"
#include "pump_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

constexpr int kButton = 40;
constexpr int kButtons = 4;

// Answers every question with OK and keeps the texts.
class RecordingMessages final : public MessageBoxes {
public:
    std::vector<MessageRequest> shown;
    MessageAnswer Show(const MessageRequest& request) override {
        shown.push_back(request);
        return request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Ok;
    }
};

std::wstring DragSourcePath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.find_last_of(L'\\')) + L"\\e2e\\dragsource.exe";
}

struct OleApartment {
    OleApartment() { OleInitialize(nullptr); }
    ~OleApartment() { OleUninitialize(); }
};

class DragDropWin : public ::testing::Test {
protected:
    OleApartment ole;
    TempFolder folder;
    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    Win32Shell shell;
    RecordingMessages messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    Win32Shortcuts shortcuts;
    RecordingBar bar;
    AutoHideState autoHide;
    MenuMain state;
    BarListView view{state, bar};
    HWND frame = nullptr;
    HWND toolbar = nullptr;
    std::unique_ptr<BarDragDrop> dragDrop;

    ButtonStrip strip;

    void SetUp() override {
        frame = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 200, 200,
                                kButton * kButtons + 40, kButton, nullptr, nullptr, nullptr, nullptr);
        ASSERT_TRUE(strip.Create(frame, true, [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
            return dragDrop && dragDrop->ToolbarMessage(message, wParam, lParam) ? std::optional<LRESULT>(0)
                                                                                 : std::nullopt;
        }));
        toolbar = strip.Handle();
        MoveWindow(toolbar, 0, 0, kButton * kButtons + 40, kButton, FALSE);
        std::vector<int> commands;
        for (int i = 0; i < kButtons; ++i) commands.push_back(i + 1);
        strip.Append(commands, false);
        strip.SetButtonSize(kButton);
        UpdateWindow(frame);

        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        state.ApplicationPath = folder.PathOf("");
        state.page.SetVisibleCount(kButtons);
        fakes::SetSetting(state, &Settings::TargetDrop, "0");
        ASSERT_TRUE(OpenListWith(state, platform, {{"Memo", Narrow(windows) + "\\notepad.exe", "", "0", "", "0"}}));
        state.entries.Reserve(4);
        state.entries.AttachView(&view);
        dragDrop = std::make_unique<BarDragDrop>(strip, state, platform, bar, autoHide, shortcuts);
    }
    void TearDown() override {
        dragDrop.reset();
        DestroyWindow(frame);
    }

    // The middle of button `position`, in the toolbar's client area.
    POINT Centre(int position) const {
        RECT r{};
        SendMessageW(toolbar, TB_GETITEMRECT, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&r));
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    POINT OnScreen(POINT client) const {
        ClientToScreen(toolbar, &client);
        return client;
    }
    std::string MakeFile(const char* name) {
        const std::string path = folder.PathOf(name);
        std::ofstream(std::filesystem::path(Widen(path))) << "x";
        return path;
    }

    // Runs dragsource.exe onto a screen point while this thread handles the
    // drop; its exit code, or -1 when it did not end in time.
    int DragFrom(const std::vector<std::string>& files, POINT screen, const std::function<bool()>& handled,
                 const std::wstring& options = L"") {
        std::wstring command = L"\"" + DragSourcePath() + L"\" " + options + L" " + std::to_wstring(screen.x) + L" " +
                               std::to_wstring(screen.y);
        for (const std::string& f : files) command += L" \"" + Widen(f) + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            ADD_FAILURE() << "dragsource.exe could not be started: " << GetLastError();
            return -1;
        }
        CloseHandle(process.hThread);
        const bool ended = PumpUntil(
            [&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0 && handled(); },
            std::chrono::seconds(20));
        DWORD code = static_cast<DWORD>(-1);
        if (!ended) TerminateProcess(process.hProcess, 9);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
        return ended ? static_cast<int>(code) : -1;
    }
};

}  // namespace

TEST_F(DragDropWin, FilesDroppedFromAnotherProgramAreRegisteredOnTheButtonsInTurn) {
    ASSERT_TRUE(dragDrop->RegisterDrops());
    const std::string first = MakeFile("a b.txt");
    const std::string second = MakeFile("c&d ﾃｽﾄ.txt");
    const int code = DragFrom({first, second}, OnScreen(Centre(1)),
                              [&] { return state.entries.At(2).PathName == second; });
    EXPECT_EQ(code, 0) << "the copy effect";
    EXPECT_EQ(state.entries.At(1), (LaunchEntry{"a b.txt", first, "", "", first, "0"}));
    EXPECT_EQ(state.entries.At(2).Title, "c&d ﾃｽﾄ.txt");
    EXPECT_EQ(bar.calls, std::vector<std::string>{"full-rebuild"});
    const EntryStore saved = LoadEntries(platform.files, platform.codePage, state.ApplicationPath).store;
    ASSERT_GE(saved.slots.size(), 3u);
    EXPECT_EQ(saved.slots[2].PathName, second);
}

TEST_F(DragDropWin, ADroppedShortcutIsRegisteredAsItsTarget) {
    ASSERT_TRUE(dragDrop->RegisterDrops());
    const std::string link = folder.PathOf("ﾒﾓ帳.lnk");
    const std::string target = state.entries.At(0).PathName;
    std::wstring command = L"\"" + DragSourcePath() + L"\" --make-shortcut \"" + Widen(link) + L"\" \"" +
                           Widen(target) + L"\" \"/p x.txt\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    CloseHandle(process.hThread);
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 20000), WAIT_OBJECT_0);
    CloseHandle(process.hProcess);

    EXPECT_EQ(DragFrom({link}, OnScreen(Centre(3)), [&] { return !state.entries.At(3).PathName.empty(); }), 0);
    EXPECT_EQ(state.entries.At(3), (LaunchEntry{"notepad.exe", target, "/p x.txt", "0", target, "0"}));
}

TEST_F(DragDropWin, WhatIsNotAFileListOrNotOnAButtonIsRefused) {
    ASSERT_TRUE(dragDrop->RegisterDrops());
    const std::string file = MakeFile("a.txt");
    const auto nothingHandled = [] { return true; };
    EXPECT_EQ(DragFrom({file}, OnScreen(Centre(1)), nothingHandled, L"--text"), 1) << "text is refused";
    POINT pastTheButtons = Centre(kButtons - 1);
    pastTheButtons.x += kButton;  // the toolbar's empty end
    EXPECT_EQ(DragFrom({file}, OnScreen(pastTheButtons), nothingHandled), 1) << "no button there";
    // A drop that would do something is refused while a modal window has the bar disabled.
    EnableWindow(frame, FALSE);
    EXPECT_EQ(DragFrom({file}, OnScreen(Centre(1)), nothingHandled, L"--at-once"), 1);
    EnableWindow(frame, TRUE);
    // Drops are handled in the order they came: once an accepted one is
    // handled, a refused one that had slipped through would show before it.
    const std::string accepted = MakeFile("b.txt");
    EXPECT_EQ(DragFrom({accepted}, OnScreen(Centre(1)),
                       [&] { return state.entries.At(1).PathName == accepted; }),
              0);
    EXPECT_EQ(state.entries.At(2), LaunchEntry{});
    EXPECT_EQ(bar.calls, std::vector<std::string>{"full-rebuild"}) << "one drop was handled";
}

TEST_F(DragDropWin, PressDragAndReleaseOnAnotherButtonAsksAndMoves) {
    const POINT from = Centre(0), to = Centre(2);
    SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    SendMessageW(toolbar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    EXPECT_TRUE(PumpUntil([&] { return GetCursor() != arrow && GetCursor() != nullptr; }, std::chrono::seconds(5)))
        << "the drag cursor after the delay";
    SendMessageW(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "\"Memo\" を \"未定義2\" へ移動します");
    EXPECT_EQ(state.entries.At(2).Title, "Memo");
    EXPECT_EQ(state.entries.At(0), LaunchEntry{});
    EXPECT_FALSE(dragDrop->ClickArmed());
    EXPECT_EQ(GetCursor(), arrow);
    EXPECT_NE(GetCapture(), toolbar);
}

TEST_F(DragDropWin, TheMoveFromTheMenuTakesTheNextClickOnTheToolbar) {
    state.page.ActOn(0);
    dragDrop->BeginMenuMove(state.page.CurrentEntry());
    EXPECT_EQ(GetCapture(), toolbar) << "the next click comes to the toolbar wherever it is";
    const POINT to = Centre(3);
    SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    SendMessageW(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_TRUE(messages.shown.empty()) << "no question on this path";
    EXPECT_EQ(state.entries.At(3).Title, "Memo");
    EXPECT_NE(GetCapture(), toolbar);

    state.page.ActOn(3);
    dragDrop->BeginMenuMove(state.page.CurrentEntry());
    SendMessageW(toolbar, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_NE(GetCapture(), toolbar) << "Escape ends it";
    SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Centre(1).x, Centre(1).y));
    SendMessageW(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(Centre(1).x, Centre(1).y));
    EXPECT_EQ(state.entries.At(3).Title, "Memo");
    EXPECT_TRUE(messages.shown.empty());
}
