#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>

#include "bar/shortcut_win.h"
#include "dialog_driver_win.h"
#include "dialogs/import_folder_ids.h"
#include "dialogs/import_folder_win.h"
#include "menus/import_shortcuts.h"
#include "platform/folder_listing_win.h"
#include "platform/ini_profile.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"
#include "tool_doubles_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

const std::wstring kCaption = L"ｼｮｰﾄｶｯﾄの取り込み";

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

void MakeShortcut(const std::string& path, const std::string& target, const std::string& icon = "", int index = 0) {
    IShellLinkW* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))));
    link->SetPath(Widen(target).c_str());
    if (!icon.empty()) link->SetIconLocation(Widen(icon).c_str(), index);
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    EXPECT_TRUE(SUCCEEDED(file->Save(Widen(path).c_str(), TRUE)));
    file->Release();
    link->Release();
}

std::string WindowsFile(const char* name) {
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    return Narrow(windows) + "\\" + name;
}

int ListCount(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_IMPORT_FOLDERS, LB_GETCOUNT, 0, 0));
}
int ListSelection(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_IMPORT_FOLDERS, LB_GETCURSEL, 0, 0));
}

class RecordingMessages final : public MessageBoxes {
public:
    std::vector<MessageRequest> shown;
    MessageAnswer answer = MessageAnswer::Yes;
    MessageAnswer Show(const MessageRequest& request) override {
        shown.push_back(request);
        return request.buttons == MessageButtons::YesNo ? answer : MessageAnswer::Ok;
    }
};

class FixedPrompt final : public ImportFolderPrompt {
public:
    explicit FixedPrompt(std::string folder) : folder_(std::move(folder)) {}
    std::optional<std::string> Choose(const std::vector<std::string>&) override { return folder_; }

private:
    std::string folder_;
};

}  // namespace

TEST(ImportFolderWin, OffersTheFoldersFirstSelectedAndTakesABrowsedOne) {
    QueuedChooser chooser;
    chooser.answers = {"D:\\Links"};
    Win32ImportFolderPrompt prompt(0, chooser);
    struct Seen {
        std::string prompt, browse, ok, cancel;
        int count = 0, selected = -1, countAfter = 0, selectedAfter = -1;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.prompt = ItemText(dialog, IDC_IMPORT_PROMPT);
        seen.browse = ItemText(dialog, IDC_IMPORT_BROWSE);
        seen.ok = ItemText(dialog, IDOK);
        seen.cancel = ItemText(dialog, IDCANCEL);
        seen.count = ListCount(dialog);
        seen.selected = ListSelection(dialog);
        Click(dialog, IDC_IMPORT_BROWSE);
        seen.countAfter = ListCount(dialog);
        seen.selectedAfter = ListSelection(dialog);
        Click(dialog, IDOK);
    });
    const std::optional<std::string> chosen = prompt.Choose({"C:\\A", "C:\\A\\B"});
    ASSERT_TRUE(shown.Join());
    EXPECT_EQ(seen.prompt, "取り込むショートカットのあるフォルダーを選んでください。");
    EXPECT_EQ(seen.browse, "参照(&B)...");
    EXPECT_EQ(seen.ok, "&OK");
    EXPECT_EQ(seen.cancel, "ｷｬﾝｾﾙ(&C)");
    EXPECT_EQ(seen.count, 2);
    EXPECT_EQ(seen.selected, 0);
    EXPECT_EQ(seen.countAfter, 3);
    EXPECT_EQ(seen.selectedAfter, 2);
    EXPECT_EQ(chosen, "D:\\Links");
}

TEST(ImportFolderWin, ASelectionIsTakenAndCancelTakesNothing) {
    QueuedChooser chooser;
    Win32ImportFolderPrompt prompt(0, chooser);
    {
        WhileShown shown(kCaption, [&](HWND dialog) {
            SendDlgItemMessageW(dialog, IDC_IMPORT_FOLDERS, LB_SETCURSEL, 1, 0);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(prompt.Choose({"C:\\A", "C:\\A\\B"}), "C:\\A\\B");
        EXPECT_TRUE(shown.Join());
    }
    {
        WhileShown shown(kCaption, [&](HWND dialog) { Click(dialog, IDCANCEL); });
        EXPECT_EQ(prompt.Choose({"C:\\A"}), std::nullopt);
        EXPECT_TRUE(shown.Join());
    }
    {
        // Nothing offered and nothing browsed: OK keeps the dialog open, the driver cancels it.
        WhileShown shown(kCaption, [&](HWND dialog) { Click(dialog, IDOK); });
        EXPECT_EQ(prompt.Choose({}), std::nullopt);
        EXPECT_TRUE(shown.Join());
    }
}

TEST(ImportShortcutsWin, AShortcutsOwnIconIsReadAndAFolderOfThousandsIsImportedOnce) {
    ComApartment com;
    TempFolder temp;
    const std::string notepad = WindowsFile("notepad.exe");
    const std::string withIcon = temp.PathOf("icon.lnk");
    MakeShortcut(withIcon, notepad, WindowsFile("explorer.exe"), 2);
    ShortcutTarget target;
    ASSERT_TRUE(ReadShortcut(withIcon, target));
    EXPECT_EQ(target.iconPath, WindowsFile("explorer.exe"));
    EXPECT_EQ(target.iconIndex, 2);
    ShortcutTarget plain;
    MakeShortcut(temp.PathOf("plain.lnk"), notepad);
    ASSERT_TRUE(ReadShortcut(temp.PathOf("plain.lnk"), plain));
    EXPECT_EQ(plain.iconPath, "") << "no icon of its own: the target's is taken";

    // 1200 shortcuts and as many other files in one folder, through the real
    // adapters. Writing a link takes Wine tens of milliseconds, so one is
    // copied: the first is imported, every copy is its duplicate.
    CreateDirectoryW(Widen(temp.PathOf("links")).c_str(), nullptr);
    const std::string links = temp.PathOf("links");
    constexpr int kLinks = 1200;
    const std::string original = links + "\\p10000.lnk";
    MakeShortcut(original, "C:\\tools\\0.exe");
    for (int i = 1; i < kLinks; ++i)
        ASSERT_TRUE(CopyFileW(Widen(original).c_str(),
                              Widen(links + "\\p" + std::to_string(10000 + i) + ".lnk").c_str(), TRUE));
    for (int i = 0; i < kLinks; ++i) {
        HANDLE other = CreateFileW(Widen(links + "\\f" + std::to_string(i) + ".txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        CloseHandle(other);
    }
    Win32FileSystem files;
    Win32CodePage codePage;
    IniProfile profile(files, codePage, true);
    Win32SystemInfo system;
    tool_doubles::RecordingShell shell;
    RecordingMessages messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    RecordingBar bar;
    Win32FolderListing folders;
    Win32Shortcuts shortcuts;
    FixedPrompt prompt(links);
    MenuMain state;
    state.ApplicationPath = temp.PathOf("");
    ASSERT_TRUE(OpenListWith(state, platform, {{"Memo", notepad, "", "0", notepad, "0"}}));

    const auto began = std::chrono::steady_clock::now();
    const ShortcutImportOutcome outcome = ImportShortcuts({state, platform, folders, shortcuts, prompt, ""});
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
    std::cout << "[ figure ] " << kLinks << " shortcuts read and placed in " << ms.count() << " ms\n";
    EXPECT_EQ(outcome.imported, 1);
    EXPECT_EQ(outcome.duplicates, kLinks - 1);
    EXPECT_EQ(outcome.unusable, 0) << "no text file was taken for a shortcut";
    const EntryStore reread = LoadEntries(platform.files, platform.codePage, state.ApplicationPath).store;
    ASSERT_EQ(reread.slots.size(), 2u);
    EXPECT_EQ(reread.slots[1], (LaunchEntry{"p10000", "C:\\tools\\0.exe", "", "0", "C:\\tools\\0.exe", "0"}));
}
