#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/set_setting.h"
#include "app/entry_store.h"
#include "app/menu_main.h"
#include "dialog_driver_win.h"
#include "dialogs/icon_change_ids.h"
#include "dialogs/new_app_ids.h"
#include "dialogs/new_app_win.h"
#include "dialogs/icon_change.h"
#include "held_icon_files_win.h"
#include "platform/icon_files_win.h"
#include "platform/text.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

const std::wstring kCaption = L"ｱﾌﾟﾘｹｰｼｮﾝの登録";

std::string TabText(HWND dialog) {
    wchar_t buffer[64] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 64;
    HWND tab = GetDlgItem(dialog, IDC_NEWAPP_TAB);
    if (SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0) != 1) return "<not one tab>";
    SendMessageW(tab, TCM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return Narrow(buffer);
}

std::vector<std::string> ComboItems(HWND dialog, int id) {
    std::vector<std::string> items;
    const auto count = SendDlgItemMessageW(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[64] = {};
        SendDlgItemMessageW(dialog, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        items.push_back(Narrow(buffer));
    }
    return items;
}

// The text of the tooltip the dialog gave its preview picture.
std::string PreviewTip(HWND dialog) {
    struct Search {
        HWND dialog;
        HWND tooltip;
    } search{dialog, nullptr};
    EnumThreadWindows(
        GetWindowThreadProcessId(dialog, nullptr),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t className[32] = {};
            GetClassNameW(window, className, 32);
            if (std::wstring(className) == TOOLTIPS_CLASSW && GetWindow(window, GW_OWNER) == s->dialog)
                s->tooltip = window;
            return s->tooltip == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.tooltip) return "<no tooltip>";
    wchar_t buffer[80] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, IDC_NEWAPP_ICON));
    tool.lpszText = buffer;
    SendMessageW(search.tooltip, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    return Narrow(buffer);
}

// Pixels of the preview that differ from the dialog's face colour.
int PreviewPixels(HWND dialog) {
    const auto canvas = Render(GetDlgItem(dialog, IDC_NEWAPP_ICON));
    int count = 0;
    for (int y = 0; y < canvas->Height(); ++y)
        for (int x = 0; x < canvas->Width(); ++x)
            if (Pixel(*canvas, x, y) != SystemColour(COLOR_BTNFACE)) ++count;
    return count;
}

std::string WindowsFile(const char* name) {
    wchar_t folder[MAX_PATH];
    GetWindowsDirectoryW(folder, MAX_PATH);
    return Narrow(folder) + "\\" + name;
}

class NewAppWin : public ::testing::Test {
protected:
    TempFolder folder;
    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    Win32Shell shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    Win32IconFiles icons;
    QueuedChooser chooser;
    RecordingBar bar;
    MenuMain state;
    BarListView view{state, bar};

    void SetUp() override {
        state.ApplicationPath = folder.PathOf("");
        fakes::SetSetting(state, &Settings::ToolTips, "1");
    }
    void Give(const std::vector<LaunchEntry>& slots) {
        ASSERT_TRUE(OpenListWith(state, platform, slots));
        state.entries.AttachView(&view);
    }
    std::string ListPath() { return folder.PathOf("Launch.ini"); }
    std::vector<LaunchEntry> StoredEntries() {
        return LoadEntries(platform.files, platform.codePage, state.ApplicationPath).store.slots;
    }
};

}  // namespace

TEST_F(NewAppWin, ANewEntryIsTypedInAndStoredInTheProgramsList) {
    const std::string program = folder.PathOf("ﾒﾓ帳ﾃｽﾄ.exe");
    ASSERT_TRUE(CopyFileW(Widen(WindowsFile("notepad.exe")).c_str(), Widen(program).c_str(), FALSE));
    Give({{"A", "C:\\a.exe", "", "0", "C:\\a.exe", "0"}, {"B", "C:\\b.exe", "", "0", "C:\\b.exe", "0"}});
    const int index = 3;  // one empty slot beyond the end

    struct Seen {
        std::vector<std::pair<int, std::string>> captions;
        std::string caption, tab, tip;
        std::vector<std::string> sizes;
        int sizeSelected = -2;
        bool fileChosen = false, okBefore = true, okAfter = false, browseAsGroup = true, browseAsFile = false;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.caption = Text(dialog);
        for (int id : {IDC_NEWAPP_PROGRAM_FRAME, IDC_NEWAPP_KIND_FILE, IDC_NEWAPP_KIND_FOLDER, IDC_NEWAPP_KIND_GROUP,
                       IDC_NEWAPP_TITLE_LABEL, IDC_NEWAPP_COMMAND_LABEL, IDC_NEWAPP_RUN_SIZE_LABEL,
                       IDC_NEWAPP_CHANGE_ICON, IDOK, IDCANCEL})
            seen.captions.push_back({id, ItemText(dialog, id)});
        seen.tab = TabText(dialog);
        seen.tip = PreviewTip(dialog);
        seen.sizes = ComboItems(dialog, IDC_NEWAPP_RUN_SIZE);
        seen.sizeSelected = static_cast<int>(SendDlgItemMessageW(dialog, IDC_NEWAPP_RUN_SIZE, CB_GETCURSEL, 0, 0));
        seen.fileChosen = IsDlgButtonChecked(dialog, IDC_NEWAPP_KIND_FILE) == BST_CHECKED;
        seen.okBefore = Enabled(dialog, IDOK);

        SetItemText(dialog, IDC_NEWAPP_PATH, program);
        seen.okAfter = Enabled(dialog, IDOK);
        CheckRadioButton(dialog, IDC_NEWAPP_KIND_FILE, IDC_NEWAPP_KIND_GROUP, IDC_NEWAPP_KIND_GROUP);
        Click(dialog, IDC_NEWAPP_KIND_GROUP);
        seen.browseAsGroup = Enabled(dialog, IDC_NEWAPP_BROWSE);
        CheckRadioButton(dialog, IDC_NEWAPP_KIND_FILE, IDC_NEWAPP_KIND_GROUP, IDC_NEWAPP_KIND_FILE);
        Click(dialog, IDC_NEWAPP_KIND_FILE);
        seen.browseAsFile = Enabled(dialog, IDC_NEWAPP_BROWSE);
        SetItemText(dialog, IDC_NEWAPP_TITLE, " ﾒﾓ帳 ");
        SendDlgItemMessageW(dialog, IDC_NEWAPP_RUN_SIZE, CB_SETCURSEL, 1, 0);
        Click(dialog, IDOK);
    });
    const bool stored = ShowNewApp(0, state, platform, chooser, icons, index);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";

    EXPECT_EQ(seen.caption, "ｱﾌﾟﾘｹｰｼｮﾝの登録");
    const std::vector<std::pair<int, std::string>> captions = {
        {IDC_NEWAPP_PROGRAM_FRAME, "ﾌﾟﾛｸﾞﾗﾑの指定"}, {IDC_NEWAPP_KIND_FILE, "ﾌｧｲﾙ(&F)"},
        {IDC_NEWAPP_KIND_FOLDER, "ﾌｫﾙﾀﾞ(&Z)"},       {IDC_NEWAPP_KIND_GROUP, "ｸﾞﾙｰﾌﾟ(&G)"},
        {IDC_NEWAPP_TITLE_LABEL, "ﾀｲﾄﾙ名(&T)"},      {IDC_NEWAPP_COMMAND_LABEL, "ｺﾏﾝﾄﾞﾗｲﾝ(&L)"},
        {IDC_NEWAPP_RUN_SIZE_LABEL, "実行時の大きさ(&B)"}, {IDC_NEWAPP_CHANGE_ICON, "ｱｲｺﾝの変更(&H)..."},
        {IDOK, "&OK"},                                {IDCANCEL, "ｷｬﾝｾﾙ(&C)"},
    };
    EXPECT_EQ(seen.captions, captions);
    EXPECT_EQ(seen.tab, "ｱﾌﾟﾘｹｰｼｮﾝ情報");
    EXPECT_EQ(seen.tip, "ｱｲｺﾝの変更");
    EXPECT_EQ(seen.sizes, (std::vector<std::string>{"通常のｳｨﾝﾄﾞｳ", "最小化", "最大化"}));
    EXPECT_EQ(seen.sizeSelected, 0);
    EXPECT_TRUE(seen.fileChosen);
    EXPECT_FALSE(seen.okBefore) << "no path yet";
    EXPECT_TRUE(seen.okAfter) << "a path typed in";
    EXPECT_FALSE(seen.browseAsGroup);
    EXPECT_TRUE(seen.browseAsFile);

    EXPECT_TRUE(stored);
    const std::vector<LaunchEntry> list = StoredEntries();
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[2], LaunchEntry{}) << "the slot in between stays empty";
    EXPECT_EQ(list[3], (LaunchEntry{"ﾒﾓ帳", program, "", "1", program, "0"}));
    EXPECT_EQ(bar.buttons.calls, (std::vector<std::string>{"tip 3 ﾒﾓ帳", "icon 3"}));
    EXPECT_TRUE(bar.calls.empty()) << "the program's own icon needs no rebuild";
}

TEST_F(NewAppWin, AGroupShowsItsNameTheFolderPictureAndCancelStoresNothing) {
    Give({{"ﾂｰﾙ", "[ﾂｰﾙ]", "", "0", "", "0"}});
    const int index = 0;
    const std::vector<LaunchEntry> before = state.entries.Slots();
    const std::string listBefore = *files.ReadAll(ListPath());

    struct Seen {
        std::string path, title, pickerFile;
        bool groupChosen = false, browse = true, ok = false, pickerShown = false, pickerClosed = false;
        int preview = 0;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.path = ItemText(dialog, IDC_NEWAPP_PATH);
        seen.title = ItemText(dialog, IDC_NEWAPP_TITLE);
        seen.groupChosen = IsDlgButtonChecked(dialog, IDC_NEWAPP_KIND_GROUP) == BST_CHECKED;
        seen.browse = Enabled(dialog, IDC_NEWAPP_BROWSE);
        seen.ok = Enabled(dialog, IDOK);
        seen.preview = PreviewPixels(dialog);

        // The picker runs its own modal loop inside the click: post it.
        Click(dialog, IDC_NEWAPP_CHANGE_ICON, true);
        const HWND picker = WaitForDialog(GetWindowThreadProcessId(dialog, nullptr), L"ｱｲｺﾝの変更");
        seen.pickerShown = picker != nullptr;
        if (picker) {
            seen.pickerFile = ItemText(picker, IDC_ICONCHANGE_FILE);
            Click(picker, IDCANCEL);
            seen.pickerClosed = WaitUntil([&] { return !IsWindow(picker); });
        }
        Click(dialog, IDCANCEL);
    });
    const bool stored = ShowNewApp(0, state, platform, chooser, icons, index);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";

    EXPECT_EQ(seen.path, "ﾂｰﾙ") << "the name without brackets";
    EXPECT_EQ(seen.title, "ﾂｰﾙ");
    EXPECT_TRUE(seen.groupChosen);
    EXPECT_FALSE(seen.browse);
    EXPECT_TRUE(seen.ok);
    EXPECT_GT(seen.preview, 20) << "a group shows the folder picture";
    ASSERT_TRUE(seen.pickerShown);
    EXPECT_EQ(seen.pickerFile, SystemIconLibrary(system));
    EXPECT_TRUE(seen.pickerClosed);

    EXPECT_FALSE(stored);
    EXPECT_EQ(state.entries.Slots(), before) << "the library shown by the picker is not kept";
    EXPECT_EQ(files.ReadAll(ListPath()), listBefore) << "nothing was saved";
    EXPECT_TRUE(bar.buttons.calls.empty());
}

TEST_F(NewAppWin, AnEntryBeingEditedShowsItsIconAndKeepsAChosenOne) {
    const std::string notepad = WindowsFile("notepad.exe");
    ASSERT_GT(icons.IconCount(notepad), 0);
    Give({{"ﾒﾓ", notepad, "/x", "2", notepad, "0"}});
    const int index = 0;

    struct Seen {
        int before = 0, after = -1, size = -1;
        bool runMaximized = false;
    } seen;
    const std::string library = SystemIconLibrary(system);
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.before = PreviewPixels(dialog);
        RECT client{};
        GetClientRect(GetDlgItem(dialog, IDC_NEWAPP_ICON), &client);
        seen.size = client.right;
        seen.runMaximized = SendDlgItemMessageW(dialog, IDC_NEWAPP_RUN_SIZE, CB_GETCURSEL, 0, 0) == 2;
        Click(dialog, IDC_NEWAPP_CHANGE_ICON, true);
        const HWND picker = WaitForDialog(GetWindowThreadProcessId(dialog, nullptr), L"ｱｲｺﾝの変更");
        if (!picker) return;
        SetItemText(picker, IDC_ICONCHANGE_FILE, library);
        Click(picker, IDC_ICONCHANGE_BROWSE);  // nothing chosen: the typed name is loaded
        HWND strip = GetDlgItem(picker, IDC_ICONCHANGE_STRIP);
        RECT strip_client{};
        GetClientRect(strip, &strip_client);
        const int cell = strip_client.right / kVisibleIconCells;
        SendMessageW(strip, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(cell + cell / 2, cell / 2));
        Click(picker, IDOK);
        if (!WaitUntil([&] { return !IsWindow(picker); })) return;
        seen.after = PreviewPixels(dialog);
        Click(dialog, IDOK);
    });
    const bool stored = ShowNewApp(0, state, platform, chooser, icons, index);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";

    EXPECT_GT(seen.before, 50) << "the program's icon";
    EXPECT_EQ(seen.size, MulDiv(32, static_cast<int>(GetDpiForSystem()), 96)) << "a 32 x 32 picture at this dpi";
    EXPECT_TRUE(seen.runMaximized);
    EXPECT_GT(seen.after, 50) << "the chosen icon";
    EXPECT_TRUE(stored);
    EXPECT_EQ(StoredEntries().at(0), (LaunchEntry{"ﾒﾓ", notepad, "/x", "2", library, "1"}));
    EXPECT_EQ(bar.calls, std::vector<std::string>{"full-rebuild"}) << "an icon of another file";
}

TEST_F(NewAppWin, OnlyTheFolderKindOffersToShowAsAMenu) {
    const std::string docs = folder.PathOf("Docs") + "\\";
    Give({{"Docs", docs, "", "3", docs, "0"}});
    struct Seen {
        std::vector<std::string> asFolder, asFile, folderAgain;
        int selectedAsFolder = -2, selectedAsFile = -2;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        seen.asFolder = ComboItems(dialog, IDC_NEWAPP_RUN_SIZE);
        seen.selectedAsFolder = static_cast<int>(SendDlgItemMessageW(dialog, IDC_NEWAPP_RUN_SIZE, CB_GETCURSEL, 0, 0));
        CheckRadioButton(dialog, IDC_NEWAPP_KIND_FILE, IDC_NEWAPP_KIND_GROUP, IDC_NEWAPP_KIND_FILE);
        Click(dialog, IDC_NEWAPP_KIND_FILE);
        seen.asFile = ComboItems(dialog, IDC_NEWAPP_RUN_SIZE);
        seen.selectedAsFile = static_cast<int>(SendDlgItemMessageW(dialog, IDC_NEWAPP_RUN_SIZE, CB_GETCURSEL, 0, 0));
        CheckRadioButton(dialog, IDC_NEWAPP_KIND_FILE, IDC_NEWAPP_KIND_GROUP, IDC_NEWAPP_KIND_FOLDER);
        Click(dialog, IDC_NEWAPP_KIND_FOLDER);
        seen.folderAgain = ComboItems(dialog, IDC_NEWAPP_RUN_SIZE);
        SendDlgItemMessageW(dialog, IDC_NEWAPP_RUN_SIZE, CB_SETCURSEL, 3, 0);
        AwaitScreenshot(dialog, "new_app_folder_menu");
        Click(dialog, IDOK);
    });
    const bool stored = ShowNewApp(0, state, platform, chooser, icons, 0);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";

    const std::vector<std::string> three{"通常のｳｨﾝﾄﾞｳ", "最小化", "最大化"};
    const std::vector<std::string> four{"通常のｳｨﾝﾄﾞｳ", "最小化", "最大化", "ﾒﾆｭｰで表示"};
    EXPECT_EQ(seen.asFolder, four);
    EXPECT_EQ(seen.selectedAsFolder, 3) << "the stored run type 3";
    EXPECT_EQ(seen.asFile, three);
    EXPECT_EQ(seen.selectedAsFile, 0) << "a file cannot show as a menu: a normal window";
    EXPECT_EQ(seen.folderAgain, four);
    EXPECT_TRUE(stored);
    EXPECT_EQ(StoredEntries().at(0), (LaunchEntry{"Docs", docs, "", "3", docs, "0"}));
}

TEST_F(NewAppWin, AProgramWhoseDriveDoesNotAnswerShowsTheGenericPreviewAndTheDialogAnswers) {
    const std::string notepad = WindowsFile("notepad.exe");
    Give({{"ﾒﾓ", notepad, "", "0", notepad, "0"}});
    HeldIconFiles held;
    struct Seen {
        bool answered = false, programIcon = false;
        int waiting = 0;
    } seen;
    WhileShown shown(kCaption, [&](HWND dialog) {
        DWORD_PTR result = 0;
        seen.answered = SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result) != 0;
        seen.waiting = PreviewPixels(dialog);
        // The drive answers: the program's icon takes the generic picture's place.
        held.Release();
        seen.programIcon = WaitUntil([&] { return PreviewPixels(dialog) != seen.waiting; });
        Click(dialog, IDCANCEL);
    });
    const bool stored = ShowNewApp(0, state, platform, chooser, held, 0);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";
    EXPECT_TRUE(seen.answered) << "the dialog answers within 200 ms";
    EXPECT_GT(seen.waiting, 50) << "the generic picture";
    EXPECT_TRUE(seen.programIcon);
    EXPECT_EQ(held.CountedHere(), 0) << "counted on the dialog's thread";
    EXPECT_FALSE(stored);
}

// A chosen document becomes the program that opens it, whether the shell
// answers within the dialog's short wait or after it.
TEST_F(NewAppWin, AChosenDocumentBecomesTheProgramThatOpensIt) {
    // A document type of the test's own, opened by notepad.
    const std::string program = WindowsFile("notepad.exe");
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, L".tavimemo", nullptr, REG_SZ, L"TaviMemo", 18), ERROR_SUCCESS);
    const std::wstring open = L"\"" + Widen(program) + L"\" \"%1\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, L"TaviMemo\\shell\\open\\command", nullptr, REG_SZ, open.c_str(),
                              static_cast<DWORD>((open.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    struct Forget {
        ~Forget() {
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L".tavimemo");
            RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TaviMemo");
        }
    } forget;
    const std::string document = folder.PathOf("メモ.tavimemo");
    ASSERT_TRUE(files.ReplaceAll(document, "x"));
    Give({{"A", "C:\\a.exe", "", "0", "C:\\a.exe", "0"}});
    chooser.answers = {document};
    std::string path, command;
    WhileShown shown(kCaption, [&](HWND dialog) {
        Click(dialog, IDC_NEWAPP_BROWSE);
        WaitUntil([&] { return ItemText(dialog, IDC_NEWAPP_PATH) != document; });
        path = ItemText(dialog, IDC_NEWAPP_PATH);
        command = ItemText(dialog, IDC_NEWAPP_COMMAND);
        Click(dialog, IDCANCEL);
    });
    (void)ShowNewApp(0, state, platform, chooser, icons, 1);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";
    EXPECT_EQ(ToUpperAscii(path), ToUpperAscii(program));
    EXPECT_EQ(command, document);
}
