// The group box window from its layout beside a bar that only exists as
// numbers (a recording BarServices), driven from a second thread while
// OpenGroup runs the box's own loop on the test's thread.
#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <atomic>

#include "fakes/set_setting.h"
#include "app/menu_main.h"
#include "platform/messages.h"
#include "bar/bar_geometry.h"
#include "bar/stock_icons_win.h"
#include "dialog_driver_win.h"
#include "dialogs/group_box.h"
#include "dialogs/group_box_win.h"
#include "dialogs/new_app_ex_ids.h"
#include "menus/folder_menu_win.h"
#include "platform/picture_workers_win.h"
#include "platform/pixel_canvas_win.h"
#include "platform/folder_contents_win.h"
#include "app/ex_menu_store.h"
#include "platform/icon_files_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"
#include "pump_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

// The shell's associations, but starts are only recorded. `beforeAnswer`
// runs first, as a drive that does not answer would hold the call.
class RecordingShell final : public Shell {
public:
    Win32Shell real;
    std::vector<ShellOpenRequest> opened;
    std::function<void()> beforeAnswer;
    int Open(const ShellOpenRequest& request) override {
        opened.push_back(request);
        return 42;
    }
    Association AssociatedProgram(const std::string& document) override {
        if (beforeAnswer) beforeAnswer();
        return real.AssociatedProgram(document);
    }
};

HWND FindBox(DWORD thread) {
    HWND found = nullptr;
    WaitUntil([&] {
        EnumThreadWindows(
            thread,
            [](HWND window, LPARAM data) -> BOOL {
                wchar_t name[32] = {};
                GetClassNameW(window, name, 32);
                if (std::wstring(name) != kGroupBoxClass || !IsWindowVisible(window)) return TRUE;
                *reinterpret_cast<HWND*>(data) = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found != nullptr;
    });
    return found;
}

struct Buttons {
    std::vector<HWND> members;
    HWND exit = nullptr;
};

Buttons ButtonsOf(HWND box) {
    Buttons buttons;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == 1)
            buttons.exit = child;
        else
            buttons.members.push_back(child);
    }
    return buttons;
}

// Pixels of a member's picture: inside its frame and unlike the face.
int PicturePixels(HWND member) {
    const auto canvas = Render(member);
    int count = 0;
    for (int y = 3; y < canvas->Height() - 3; ++y)
        for (int x = 3; x < canvas->Width() - 3; ++x)
            if (Pixel(*canvas, x, y) != SystemColour(COLOR_BTNFACE)) ++count;
    return count;
}

// The same count for the generic picture a member shows while its program's
// picture is on its way, drawn alone at `size`.
int GenericPicturePixels(int size) {
    tavi::PixelCanvas canvas(size, size);
    canvas.Fill(0xFF000000 | SystemColour(COLOR_BTNFACE));
    const OwnedIcon generic(CreateStockIcon(StockIcon::Nothing, size));
    DrawIconEx(canvas.Dc(), 0, 0, generic.Get(), size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    int count = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (Pixel(canvas, x, y) != SystemColour(COLOR_BTNFACE)) ++count;
    return count;
}

// An empty slot is drawn as the face alone: no frame, no mark.
bool Blank(HWND member) {
    const auto canvas = Render(member);
    for (int y = 0; y < canvas->Height(); ++y)
        for (int x = 0; x < canvas->Width(); ++x)
            if (Pixel(*canvas, x, y) != SystemColour(COLOR_BTNFACE)) return false;
    return true;
}

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

// What a screen reader in this process is told a control is called.
std::string AccessibleNameOf(HWND control) {
    const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    std::string name = "?";
    IAccessible* object = nullptr;
    if (SUCCEEDED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                             reinterpret_cast<void**>(&object)))) {
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        if (SUCCEEDED(object->get_accName(self, &text)))
            name = text ? Narrow(std::wstring(text, SysStringLen(text))) : std::string();
        SysFreeString(text);
        object->Release();
    }
    if (apartment) CoUninitialize();
    return name;
}

// The popup menu this process shows, once it is up.
HWND FindMenu() {
    HWND found = nullptr;
    WaitUntil([&] {
        found = FindWindowW(L"#32768", nullptr);
        DWORD process = 0;
        if (found) GetWindowThreadProcessId(found, &process);
        return found && IsWindowVisible(found) && process == GetCurrentProcessId();
    });
    return found;
}

// Each item's text, with the item count of its submenu ("Sub/0"), if it has one.
std::vector<std::string> LinesOf(HMENU menu) {
    std::vector<std::string> lines;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        HMENU sub = GetSubMenu(menu, i);
        lines.push_back(Narrow(text) + (sub ? "/" + std::to_string(GetMenuItemCount(sub)) : ""));
    }
    return lines;
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

class GroupBoxWin : public ::testing::Test {
protected:
    TempFolder folder;
    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    RecordingShell shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    Win32IconFiles icons;
    QueuedChooser chooser;
    RecordingBar bar;
    MenuMain state;
    std::string notepad;
    const DWORD thread = GetCurrentThreadId();

    void SetUp() override {
        wchar_t windows[MAX_PATH];
        GetWindowsDirectoryW(windows, MAX_PATH);
        notepad = Narrow(windows) + "\\notepad.exe";
        state.ApplicationPath = folder.PathOf("");
        state.entries.SetExMenuMax(3);
        fakes::SetSetting(state, &Settings::Horizontal, "0");
        fakes::SetSetting(state, &Settings::EdgeCode, "2");  // a right-edge bar
        ExMenuSlots members = EmptyExMenu(3);
        members[0] = {"ﾒﾓ帳", notepad, "/p \"a b.txt\"", "1"};
        EXPECT_TRUE(SaveExMenu(profile, state.ApplicationPath, 2, members, 3));
        EXPECT_TRUE(OpenListWith(state, platform, {{}, {}, {"ﾂｰﾙ", "[ﾂｰﾙ]", "", "0", "", "0"}}));
        state.entries.Reserve(4);

        // The bar's sizes at the display's scale, as its layout gives them.
        const int dpi = static_cast<int>(GetDpiForSystem());
        w = MulDiv(39, dpi, 96);
        exit = 495 / TwipsPerPixelFromDpi(dpi);
        bar.windowRect = {1000, 0, 1000 + w + 2, 900};
        bar.layout.metrics.buttonPixels = w;
        bar.layout.metrics.iconPixels = MulDiv(32, dpi, 96);
        bar.layout.buttonTwips = w * TwipsPerPixelFromDpi(dpi);
        for (int i = 0; i < 5; ++i) bar.buttonRects.push_back(MakeRect(1001, 100 + i * w, w, w));
        shell.beforeAnswer = [this] { HoldIfAsked(); };
        workersBefore = Win32Pictures::WorkersAlive();
    }
    void TearDown() override {
        SetEvent(release.Get());
        EXPECT_TRUE(PumpUntil([this] { return Win32Pictures::WorkersAlive() <= workersBefore; }))
            << "a worker never returned";
    }
    int w = 39;
    int exit = 33;
    Win32FolderContents folderContents;
    // While set, the shell's answers for documents wait until `release`, in
    // the workers as in the shell.
    std::atomic<bool> holdAnswers{false};
    int workersBefore = 0;
    const OwnedHandle release{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    void HoldIfAsked() const {
        if (holdAnswers) WaitForSingleObject(release.Get(), 20000);
    }
    Win32Pictures pictures{{}, [this](const PictureRequest& request) {
                               if (request.source == PictureRequest::Source::Association) HoldIfAsked();
                           }};
    Win32FolderMenu folderMenus{platform, folderContents, bar, pictures.Fetches()};
    void Open() { OpenGroup(bar, state, platform, chooser, icons, pictures.Fetches(), folderMenus, 2); }
};

}  // namespace

TEST_F(GroupBoxWin, TheBoxLiesBesideTheGroupButtonAndAClickedMemberStarts) {
    struct Seen {
        RECT box{};
        size_t members = 0;
        std::string exitCaption, exitName, usedName, emptyName = "?";
        bool usedHasIcon = false, emptyBlank = false, barDisabled = false;
    } seen;
    std::thread driver([&] {
        HWND box = FindBox(thread);
        if (!box) return;
        seen.box = WindowRectOf(box);
        // On the box, so the mouse-leave timer leaves it open for the picture.
        SetCursorPos((seen.box.left + seen.box.right) / 2, (seen.box.top + seen.box.bottom) / 2);
        const Buttons buttons = ButtonsOf(box);
        seen.members = buttons.members.size();
        seen.exitCaption = Text(buttons.exit);
        seen.exitName = AccessibleNameOf(buttons.exit);
        if (buttons.members.size() == 4) {
            // Its picture comes from a worker, and the member is drawn again then.
            const int generic = GenericPicturePixels(bar.layout.metrics.iconPixels);
            seen.usedHasIcon = WaitUntil([&] {
                const int pixels = PicturePixels(buttons.members[0]);
                return pixels > 100 && pixels != generic;
            });
            seen.emptyBlank = Blank(buttons.members[1]);
            seen.usedName = Text(buttons.members[0]);
            seen.emptyName = Text(buttons.members[1]);
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(buttons.members[0]), BN_CLICKED),
                         reinterpret_cast<LPARAM>(buttons.members[0]));
        }
        if (!WaitUntil([&] { return !IsWindow(box); })) PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    Open();
    driver.join();

    // Four button-sized slots and the 495-twip close button, ending at the bar's left edge
    // (39 and 33 pixels at 96 dpi).
    EXPECT_EQ(seen.box.left, 1000 - (4 * w + exit));
    EXPECT_EQ(seen.box.right, 1000);
    EXPECT_EQ(seen.box.top, 100 + 2 * w);
    EXPECT_EQ(seen.box.bottom, 100 + 3 * w);
    EXPECT_EQ(seen.members, 4u);
    EXPECT_EQ(seen.exitCaption, text::kCloseButton) << "drawn as an arrow, named for what it does";
    EXPECT_EQ(seen.exitName, text::kCloseButton) << "not the glyph that draws the arrow";
    EXPECT_TRUE(seen.usedHasIcon);
    EXPECT_TRUE(seen.emptyBlank) << "an empty slot is drawn as empty";
    EXPECT_EQ(seen.usedName, "ﾒﾓ帳") << "a screen reader names the member by its title";
    EXPECT_EQ(seen.emptyName, "");
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].file, notepad);
    EXPECT_EQ(shell.opened[0].parameters, "/p \"a b.txt\"");
    EXPECT_EQ(shell.opened[0].show, ShowCommand::Minimized);
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"pause", "resume"}));
}

TEST_F(GroupBoxWin, AMemberWaitsForItsProgramWithTheGenericPictureWhileTheBoxAnswers) {
    holdAnswers = true;
    struct Seen {
        bool shown = false, generic = false, answered = false, programPicture = false, closed = false;
        std::string name;
    } seen;
    std::thread driver([&] {
        HWND box = FindBox(thread);
        seen.shown = box != nullptr;
        if (!box) {
            // The box waited for the shell itself: let it go so the test ends.
            SetEvent(release.Get());
            if (!(box = FindBox(thread))) return;
        }
        const RECT r = WindowRectOf(box);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        const Buttons buttons = ButtonsOf(box);
        if (buttons.members.size() == 4) {
            int generic = 0;
            seen.generic = WaitUntil([&] { return (generic = PicturePixels(buttons.members[0])) > 100; });
            seen.name = Text(buttons.members[0]);
            DWORD_PTR result = 0;
            seen.answered = SendMessageTimeoutW(box, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result) != 0;
            // The answer comes late: the program's picture takes the generic one's place.
            SetEvent(release.Get());
            seen.programPicture = WaitUntil([&] { return PicturePixels(buttons.members[0]) != generic; });
        }
        PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        seen.closed = WaitUntil([&] { return !IsWindow(box); });
    });
    Open();
    driver.join();
    EXPECT_TRUE(seen.shown) << "the box showed without waiting for the member's drive";
    EXPECT_TRUE(seen.generic);
    EXPECT_EQ(seen.name, "ﾒﾓ帳");
    EXPECT_TRUE(seen.answered) << "the box answers within 200 ms while the shell is asked";
    EXPECT_TRUE(seen.programPicture);
    EXPECT_TRUE(seen.closed);
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(GroupBoxWin, EscapeClosesWithoutAChoiceAndTheOwnerIsEnabledAgain) {
    HWND owner = CreateWindowExW(0, L"STATIC", L"bar", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    bar.handle = reinterpret_cast<NativeWindow>(owner);
    std::atomic<bool> ownerDisabled{false};
    std::thread driver([&] {
        HWND box = FindBox(thread);
        if (!box) return;
        ownerDisabled = !IsWindowEnabled(owner);
        // The key goes to whichever of the box's windows has the focus.
        PostMessageW(ButtonsOf(box).members[2], WM_KEYDOWN, VK_ESCAPE, 0);
        WaitUntil([&] { return !IsWindow(box); });
    });
    Open();
    driver.join();
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(bar.calls, (std::vector<std::string>{"pause", "resume"}));
    DestroyWindow(owner);
}

TEST_F(GroupBoxWin, ThePointerLeavingClosesTheBox) {
    bool closedByItself = false;
    std::thread driver([&] {
        HWND box = FindBox(thread);
        if (!box) return;
        SetCursorPos(5, 5);
        closedByItself = WaitUntil([&] { return !IsWindow(box); }, std::chrono::seconds(10));
        if (!closedByItself) PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    Open();
    driver.join();
    EXPECT_TRUE(closedByItself);
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(GroupBoxWin, AClickOnAnEmptySlotRegistersAMemberThroughNewAppEx) {
    struct Seen {
        bool dialog = false, iconAfter = false, boxStayed = false;
    } seen;
    std::thread driver([&] {
        HWND box = FindBox(thread);
        if (!box) return;
        // Keep the pointer on the box so the mouse-leave timer has no say.
        const RECT r = WindowRectOf(box);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        HWND slot = ButtonsOf(box).members[3];
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(slot), BN_CLICKED), reinterpret_cast<LPARAM>(slot));
        HWND dialog = WaitForDialog(thread, L"ｱﾌﾟﾘｹｰｼｮﾝの登録");
        seen.dialog = dialog != nullptr;
        if (dialog) {
            SetItemText(dialog, IDC_NEWAPPEX_PROGRAM, notepad);
            SetItemText(dialog, IDC_NEWAPPEX_COMMAND, "\"C:\\My Docs\\x.txt\"");
            Click(dialog, IDOK, true);
            seen.iconAfter =
                WaitUntil([&] { return PicturePixels(slot) > 100; });
        }
        seen.boxStayed = IsWindow(box) != FALSE;
        PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitUntil([&] { return !IsWindow(box); });
    });
    Open();
    driver.join();
    EXPECT_TRUE(seen.dialog);
    EXPECT_TRUE(seen.iconAfter);
    EXPECT_TRUE(seen.boxStayed);
    const std::string file = ExMenuFilePath(state.ApplicationPath);
    EXPECT_EQ(profile.GetString(file, "ExMenu02", "03ExTitle"), "notepad.exe");
    EXPECT_EQ(profile.GetString(file, "ExMenu02", "03ExPathName"), notepad);
    EXPECT_EQ(profile.GetString(file, "ExMenu02", "03ExCommand"), "\"C:\\My Docs\\x.txt\"")
        << "a quoted command reads back with its quotes";
    EXPECT_EQ(profile.GetString(file, "ExMenu02", "03ExRunType"), "0");
    EXPECT_EQ(profile.GetString(file, "ExMenu02", "00ExPathName"), notepad) << "the other members stay";
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(GroupBoxWin, ARightClickOnAMemberOffersEditAndDeleteOnly) {
    std::vector<UINT> states;
    std::thread driver([&] {
        HWND box = FindBox(thread);
        if (!box) return;
        const RECT r = WindowRectOf(box);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        HWND used = ButtonsOf(box).members[0];
        PostMessageW(used, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
        PostMessageW(used, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
        HWND popup = nullptr;
        WaitUntil([&] { return (popup = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(popup); });
        if (popup) {
            const auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
            for (int i = 0; i < GetMenuItemCount(menu); ++i) states.push_back(GetMenuState(menu, i, MF_BYPOSITION));
            PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
            WaitUntil([&] { return !IsWindowVisible(popup); });
        }
        PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitUntil([&] { return !IsWindow(box); });
    });
    Open();
    driver.join();
    ASSERT_EQ(states.size(), 3u) << "新規登録, 編集, 削除";
    EXPECT_TRUE(states[0] & MF_GRAYED);
    EXPECT_FALSE(states[1] & MF_GRAYED);
    EXPECT_FALSE(states[2] & MF_GRAYED);
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(GroupBoxWin, ATypedKanaMovesTheFocusAndTheMenuKeyOpensTheMenuAtTheMember) {
    ExMenuSlots members = EmptyExMenu(3);
    members[0] = {"ﾒﾓ帳", notepad, "", "1"};
    members[2] = {"", notepad, "", "0"};  // "notepad.exe" to the keys
    members[3] = {"ﾉｰﾄ", notepad, "", "0"};
    ASSERT_TRUE(SaveExMenu(profile, state.ApplicationPath, 2, members, 3));
    struct Seen {
        bool first = false, byFileName = false, byKana = false;
        RECT member{}, menu{};
    } seen;
    std::thread driver([&] {
        HWND box = FindBox(thread);
        if (!box) return;
        // The pointer rests on slot 2, so a menu opened at the pointer would show.
        const RECT r = WindowRectOf(box);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        const Buttons buttons = ButtonsOf(box);
        if (buttons.members.size() == 4) {
            seen.first = WaitUntil([&] { return FocusOf(thread) == buttons.members[0]; });
            PostMessageW(buttons.members[0], WM_CHAR, L'N', 0);
            seen.byFileName = WaitUntil([&] { return FocusOf(thread) == buttons.members[2]; });
            PostMessageW(buttons.members[2], WM_CHAR, L'の', 0);
            seen.byKana = WaitUntil([&] { return FocusOf(thread) == buttons.members[3]; });
            seen.member = WindowRectOf(buttons.members[3]);
            PostMessageW(buttons.members[3], WM_KEYDOWN, VK_APPS, 0);
            HWND popup = nullptr;
            WaitUntil([&] { return (popup = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(popup); });
            if (popup) {
                seen.menu = WindowRectOf(popup);
                PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
                WaitUntil([&] { return !IsWindowVisible(popup); });
            }
        }
        PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitUntil([&] { return !IsWindow(box); });
    });
    Open();
    driver.join();
    EXPECT_TRUE(seen.first);
    EXPECT_TRUE(seen.byFileName) << "N finds the untitled member by its file name";
    EXPECT_TRUE(seen.byKana) << "hiragana finds the half-width katakana title";
    const POINT corner{seen.menu.left, seen.menu.top};
    EXPECT_TRUE(PtInRect(&seen.member, corner)) << "the menu at " << corner.x << "," << corner.y
                                                << " opens on the focused member";
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(GroupBoxWin, AMemberFolderOpensItsMenuBelowTheBoxItsSubmenusListedAsTheyOpen) {
    const std::string docs = folder.PathOf("Docs");
    ASSERT_TRUE(CreateDirectoryW(Widen(docs).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Widen(docs + "\\Sub").c_str(), nullptr));
    const HANDLE file = CreateFileW(Widen(docs + "\\R&D.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    ExMenuSlots members = LoadExMenu(profile, state.ApplicationPath, 2, 3);
    members[1] = {"Docs", docs + "\\", "", "3"};
    ASSERT_TRUE(SaveExMenu(profile, state.ApplicationPath, 2, members, 3));

    struct Seen {
        RECT box{}, member{}, menu{};
        std::vector<std::string> before;
        int listedSubmenu = -1;
        bool boxClosed = false;
    } seen;
    std::thread driver([&] {
        HWND box = FindBox(thread);
        if (!box) return;
        seen.box = WindowRectOf(box);
        const Buttons buttons = ButtonsOf(box);
        if (buttons.members.size() != 4) return;
        seen.member = WindowRectOf(buttons.members[1]);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(buttons.members[1]), BN_CLICKED),
                     reinterpret_cast<LPARAM>(buttons.members[1]));
        HWND menu = FindMenu();
        if (!menu) return;
        seen.menu = WindowRectOf(menu);
        const auto root = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
        seen.before = LinesOf(root);
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);   // "Sub"
        PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);  // its submenu opens
        HMENU sub = GetSubMenu(root, 0);
        WaitUntil([&] { return sub && GetMenuItemCount(sub) > 0; });
        seen.listedSubmenu = sub ? GetMenuItemCount(sub) : -1;
        PostMessageW(menu, WM_KEYDOWN, VK_LEFT, 0);
        PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);  // "R&D.txt"
        PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
        seen.boxClosed = WaitUntil([&] { return !IsWindow(box); });
        if (!seen.boxClosed) PostMessageW(box, WM_KEYDOWN, VK_ESCAPE, 0);
    });
    Open();
    driver.join();

    // Beside a right-edge bar the box is a row: the menu hangs below it, under the member.
    EXPECT_EQ(seen.menu.left, seen.member.left);
    EXPECT_EQ(seen.menu.top, seen.box.bottom);
    EXPECT_EQ(seen.before, (std::vector<std::string>{"Sub/0", "R&&D.txt"})) << "a submenu not listed before it opens";
    EXPECT_EQ(seen.listedSubmenu, 1) << "the empty subfolder's (空), once it opened";
    EXPECT_TRUE(seen.boxClosed) << "an item chosen from the menu closes the box";
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0].file, docs + "\\R&D.txt");
    EXPECT_EQ(shell.opened[0].directory, docs);
    // Pictures still coming when the menu closed are kept when they come.
    EXPECT_TRUE(PumpUntil([&] { return folderMenus.PicturesKept() == 2u; }))
        << "the folder's and the text file's, kept for the next showing: " << folderMenus.PicturesKept();
}
