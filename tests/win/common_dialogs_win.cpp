#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <thread>

#include "platform/common_dialogs_win.h"
#include "platform/common_dlg.h"
#include "platform/file_dialogs.h"
#include "platform/wide_win.h"
#include "temp_folder_win.h"

using namespace tavi;

namespace {

constexpr auto kDialogTimeout = std::chrono::seconds(20);

// Polls `ready` until it holds or the time is up.
bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!ready()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        // Wakes early for nothing in particular; the condition is what counts.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

// The visible dialog box of this process, if one is up.
HWND FindOwnDialog() {
    struct Search {
        DWORD process;
        HWND found;
    } search{GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(context);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            wchar_t name[16] = {};
            if (process != s.process || !IsWindowVisible(window) || !GetClassNameW(window, name, 16) ||
                wcscmp(name, L"#32770") != 0)
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The file name box: an edit on the classic layout, a combo box on newer ones.
HWND FileNameBox(HWND dialog) {
    if (HWND edit = GetDlgItem(dialog, 0x480)) return edit;
    return GetDlgItem(dialog, 0x47C);
}

// From a second thread: waits for this process's dialog, acts on it, and
// makes sure it goes away so the test thread never stays stuck in it.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND)> act)
        : thread_([this, act = std::move(act)] {
              HWND dialog = nullptr;
              WaitFor([&] { return stop_ || (dialog = FindOwnDialog()) != nullptr; }, kDialogTimeout);
              if (!dialog) return;
              found_ = true;
              act(dialog);
              if (WaitFor([&] { return !IsWindow(dialog); }, kDialogTimeout)) return;
              stuck_ = true;
              PressButton(dialog, IDCANCEL);
          }) {}
    ~DialogDriver() { Done(); }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // Call when the dialog call has returned. True when the driver found the
    // dialog and it closed by itself after the action.
    bool Done() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        return found_ && !stuck_;
    }

private:
    std::atomic<bool> stop_ = false;
    std::atomic<bool> found_ = false;
    std::atomic<bool> stuck_ = false;
    std::thread thread_;
};

class RecordingMessageBoxes final : public MessageBoxes {
public:
    std::vector<MessageRequest> shown;
    MessageAnswer Show(const MessageRequest& request) override {
        shown.push_back(request);
        return MessageAnswer::Ok;
    }
};

std::wstring CurrentFolder() {
    wchar_t buffer[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(MAX_PATH * 2, buffer);
    return buffer;
}

}  // namespace

TEST(Win32CommonDialogs, CancellingTheOpenDialogIsNoError) {
    Win32CommonDialogs dialogs;
    FileDialogRequest request;
    request.filter = ConvertFilter("All Files (*.*)|*.*");
    request.bufferSize = 260;
    request.initialFile = "ﾃｽﾄ.txt";
    request.flags = 0x201804;
    request.title = "取消しの試験";
    std::wstring caption;
    DialogDriver driver([&](HWND dialog) {
        wchar_t text[64] = {};
        GetWindowTextW(dialog, text, 64);
        caption = text;
        PressButton(dialog, IDCANCEL);
    });
    const FileDialogResult result = dialogs.PickFile(request);
    ASSERT_TRUE(driver.Done()) << "the dialog came up and closed on Cancel";
    EXPECT_EQ(caption, L"取消しの試験");
    EXPECT_FALSE(result.confirmed);
    EXPECT_EQ(result.extendedError, 0u);
}

TEST(Win32CommonDialogs, ATypedPathComesBackWholeAndTheCurrentFolderStays) {
    TempFolder start;
    TempFolder documents;
    const std::string path = documents.PathOf("旅の記録ﾒﾓ.txt");
    std::ofstream(Widen(path).c_str()) << "x";
    const std::wstring before = CurrentFolder();
    ASSERT_TRUE(SetCurrentDirectoryW(Widen(start.PathOf("")).c_str()));
    const std::wstring startFolder = CurrentFolder();

    Win32CommonDialogs dialogs;
    RecordingMessageBoxes messages;
    const FileChoice choice{0, "登録ｱﾌﾟﾘｹｰｼｮﾝの指定", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*", "", 1,
                            documents.PathOf("")};
    DialogDriver driver([&](HWND dialog) {
        SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(path).c_str()));
        PressButton(dialog, IDOK);
    });
    const std::string chosen = ShowFileDialog(dialogs, messages, choice, false);
    const bool driven = driver.Done();
    const std::wstring after = CurrentFolder();
    SetCurrentDirectoryW(before.c_str());

    ASSERT_TRUE(driven) << "the dialog came up and closed on OK";
    EXPECT_EQ(chosen, path);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(after, startFolder) << "the dialog left the current folder alone";
}

TEST(Win32CommonDialogs, AnUnusableRecordIsAnError) {
    TempFolder folder;
    const std::string path = folder.PathOf("長い名前のファイル.txt");
    std::ofstream(Widen(path).c_str()) << "x";
    Win32CommonDialogs dialogs;
    const struct {
        int32_t maxFileSize;
        uint32_t flags;
        bool shown;          // the system shows the dialog; a path that does not fit is typed
        int32_t errNumber;   // 0: any error
        const char* what;
    } cases[] = {
        {12, 0x201804, true, 20476, "a path longer than the buffer"},
        {0, 0x201804, true, 0, "a buffer of no characters"},
        {260, 0x201804 | 0x40, false, 0, "a template asked for and none given"},
    };
    for (const auto& c : cases) {
        CommonDlg dlg(dialogs);
        dlg.SetMaxFileSize(c.maxFileSize);
        dlg.SetFlags(c.flags);
        dlg.SetFileName("a.txt");
        DialogDriver driver([&](HWND dialog) {
            SendMessageW(FileNameBox(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(path).c_str()));
            PressButton(dialog, IDOK);
        });
        dlg.ShowOpen();
        EXPECT_EQ(driver.Done(), c.shown) << c.what;
        if (c.errNumber != 0)
            EXPECT_EQ(dlg.ErrNumber(), c.errNumber) << c.what;
        else
            EXPECT_NE(dlg.ErrNumber(), 0) << c.what;
        EXPECT_FALSE(dlg.ErrDescription().empty()) << c.what;
        EXPECT_FALSE(dlg.Confirmed()) << c.what;
        EXPECT_EQ(dlg.FileName(), "a.txt") << c.what;
    }
}

TEST(Win32CommonDialogs, CancellingTheFolderBrowserChoosesNothing) {
    Win32CommonDialogs dialogs;
    RecordingMessageBoxes messages;
    DialogFileChooser chooser(dialogs, messages);
    DialogDriver driver([](HWND dialog) { PressButton(dialog, IDCANCEL); });
    EXPECT_EQ(chooser.ChooseFolder(0, "ﾌｫﾙﾀﾞを選択して下さい"), "");
    EXPECT_TRUE(driver.Done());
    EXPECT_TRUE(messages.shown.empty());
}
