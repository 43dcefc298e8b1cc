#pragma once
// Drives a modal dialog of the program from a second thread while the test's
// own thread sits in the dialog's modal loop, and the doubles the dialogs need.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "bar/bar_geometry.h"
#include "platform/file_chooser.h"
#include "platform/pixel_canvas_win.h"
#include "platform/wide_win.h"

namespace dialog_driver {

// Polls `condition` until it holds or `limit` has passed.
inline bool WaitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        Sleep(5);
    }
    return true;
}

// The visible dialog of `thread` with this caption, or null.
inline HWND FindDialog(DWORD thread, const std::wstring& caption) {
    struct Search {
        const std::wstring* caption;
        HWND found;
    } search{&caption, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (std::wstring(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
            const int length = GetWindowTextLengthW(window);
            std::wstring text(static_cast<size_t>(length) + 1, L'\0');
            GetWindowTextW(window, text.data(), length + 1);
            text.resize(static_cast<size_t>(length));
            if (text != *s->caption) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND WaitForDialog(DWORD thread, const std::wstring& caption) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialog(thread, caption)) != nullptr; });
    return dialog;
}

// Runs `body` on a second thread once the dialog with `caption` is shown by
// the constructing thread. Whatever `body` leaves open is cancelled, so a
// failing test never hangs in the modal loop.
class WhileShown {
public:
    WhileShown(std::wstring caption, std::function<void(HWND)> body) : owner_(GetCurrentThreadId()) {
        worker_ = std::thread([this, caption = std::move(caption), body = std::move(body)] {
            HWND dialog = WaitForDialog(owner_, caption);
            if (!dialog) return;
            found_ = true;
            body(dialog);
            if (IsWindow(dialog)) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        });
    }
    ~WhileShown() { Join(); }
    WhileShown(const WhileShown&) = delete;
    WhileShown& operator=(const WhileShown&) = delete;

    // True when the dialog appeared.
    bool Join() {
        if (worker_.joinable()) worker_.join();
        return found_;
    }

private:
    DWORD owner_;
    bool found_ = false;
    std::thread worker_;
};

inline std::string Text(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return tavi::Narrow(text);
}

inline std::string ItemText(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

inline void SetItemText(HWND dialog, int id, const std::string& text) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(tavi::Widen(text).c_str()));
}

// What a click on a button tells its dialog; Post when the handler opens a
// nested modal dialog that this thread must drive.
inline void Click(HWND dialog, int id, bool post = false) {
    const WPARAM command = MAKEWPARAM(id, BN_CLICKED);
    const LPARAM control = reinterpret_cast<LPARAM>(GetDlgItem(dialog, id));
    if (post)
        PostMessageW(dialog, WM_COMMAND, command, control);
    else
        SendMessageW(dialog, WM_COMMAND, command, control);
}

inline bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

// A control's client area as drawn by its own painting.
inline std::unique_ptr<tavi::PixelCanvas> Render(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    auto canvas = std::make_unique<tavi::PixelCanvas>(client.right, client.bottom);
    canvas->Fill(0xFF00FF00);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    return canvas;
}

inline uint32_t Pixel(const tavi::PixelCanvas& canvas, int x, int y) {
    return canvas.Pixels()[y * canvas.Width() + x] & 0x00FFFFFF;
}

inline uint32_t SystemColour(int index) {
    const COLORREF c = GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// With TAVI_DIALOG_SHOTS set to a folder, tells whoever takes screenshots
// that the dialog is up (<folder>\<name>-<dpi>.shown holds its rectangle)
// and waits for <name>-<dpi>.taken.
void AwaitScreenshot(HWND dialog, const char* name);

// Records what the dialogs ask of the bar.
class RecordingButtons final : public tavi::EntryButtons {
public:
    std::vector<std::string> calls;
    void SetButtonTip(int position, const std::string& tip) override {
        calls.push_back("tip " + std::to_string(position) + " " + tip);
    }
    void ShowEntryIcon(int position, bool) override { calls.push_back("icon " + std::to_string(position)); }
    void ClearButtonImage(int position) override { calls.push_back("clear " + std::to_string(position)); }
};

class RecordingBar final : public tavi::BarServices {
public:
    RecordingButtons buttons;
    std::vector<std::string> calls;
    tavi::NativeWindow handle = 0;
    tavi::Rect windowRect;
    tavi::BarLayout layout;
    std::vector<tavi::Rect> buttonRects;  // by page position
    bool visible = true;
    tavi::NativeWindow Handle() const override { return handle; }
    tavi::EntryButtons& Buttons() override { return buttons; }
    void RefreshButtons() override { calls.push_back("refresh"); }
    void Redraw() override { calls.push_back("redraw"); }
    void FullRebuild() override { calls.push_back("full-rebuild"); }
    void ReDock(bool) override { calls.push_back("redock"); }
    void BringToFront() override { calls.push_back("front"); }
    void PauseTimer() override { calls.push_back("pause"); }
    void ResumeTimer() override { calls.push_back("resume"); }
    tavi::Rect ButtonRect(int position) override {
        return position >= 0 && static_cast<size_t>(position) < buttonRects.size() ? buttonRects[position]
                                                                                   : tavi::Rect{};
    }
    tavi::Rect WindowRect() const override { return windowRect; }
    tavi::BarButtonSizes ButtonSizes() const override { return ButtonSizesOf(layout); }
    bool Visible() const override { return visible; }
    void Show() override {
        visible = true;
        calls.push_back("show");
    }
    void ApplyTopMost(bool topMost) override { calls.push_back(topMost ? "topmost" : "not-topmost"); }
    void SetWallpaperTimer(bool running) override { calls.push_back(running ? "wallpaper-on" : "wallpaper-off"); }
    void ReRegisterHotKey() override { calls.push_back("hotkey"); }
    void ScheduleAlarm() override { calls.push_back("alarm"); }
    void RepaintCommandButtons() override {}
    void BeginEntryMove(int) override {}
    void Close() override {}
    bool ProgramRuns(const std::string&) const override { return false; }
    void BringProgramForward(const std::string&) override {}
    void CloseProgramWindows(const std::string&) override {}
    void FollowRunning(std::function<void()>) override {}
};
// The list of `state` as if "Launch.ini" had held these entries: written
// through `platform` and opened there.
inline bool OpenListWith(tavi::MenuMain& state, tavi::Platform& platform, const std::vector<tavi::LaunchEntry>& slots) {
    tavi::EntryStore store;
    store.slots = slots;
    if (!tavi::SaveEntries(store, platform, state.ApplicationPath)) return false;
    state.entries.Open(state.ApplicationPath, state.notices, platform);
    return true;
}

// Answers with queued paths; empty text (a cancel) once they run out.
class QueuedChooser final : public tavi::FileChooser {
public:
    std::deque<std::string> answers;
    std::vector<tavi::FileChoice> asked;
    std::string ChooseFile(const tavi::FileChoice& choice) override {
        asked.push_back(choice);
        return Next();
    }
    std::string ChooseFolder(tavi::NativeWindow, const std::string&) override { return Next(); }

private:
    std::string Next() {
        if (answers.empty()) return {};
        std::string answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace dialog_driver
