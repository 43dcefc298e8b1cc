// The bar's own controls: its button strip, its paging buttons and the
// picture list they draw from.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

#include "bar/button_strip_win.h"
#include "bar/command_button_win.h"
#include "platform/picture_list_win.h"
#include "platform/pixel_canvas_win.h"
#include "pump_win.h"

using namespace tavi;

namespace {

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

LPARAM At(POINT p) { return MAKELPARAM(p.x, p.y); }

// A top-level window that records the commands and owner-draw requests of
// its children and answers tooltip texts with "tip <id>".
class Parent {
public:
    struct Command {
        int id;
        int code;
        HWND from;
    };

    Parent() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"StripTestParent";
        RegisterClassW(&windowClass);
        hwnd = CreateWindowExW(0, L"StripTestParent", L"", WS_POPUP, 100, 100, 300, 300, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Parent() { DestroyWindow(hwnd); }

    HWND hwnd = nullptr;
    std::vector<Command> commands;
    std::vector<UINT> drawnStates;  // itemState of each WM_DRAWITEM
    std::wstring tip;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Parent*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == WM_COMMAND)
            self->commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
        if (self && message == WM_DRAWITEM)
            self->drawnStates.push_back(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemState);
        if (self && message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            self->tip = L"tip " + std::to_wstring(info->hdr.idFrom);
            info->lpszText = const_cast<wchar_t*>(self->tip.c_str());
            return 0;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

// The visible tip owned by `owner` on this thread, or null.
HWND TipShownBy(HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t name[64]{};
            GetClassNameW(window, name, 64);
            if (lstrcmpW(name, TipWindow::kClassName) == 0 && GetWindow(window, GW_OWNER) == s->owner &&
                IsWindowVisible(window))
                s->found = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring Caption(HWND window) {
    wchar_t text[64]{};
    GetWindowTextW(window, text, 64);
    return text;
}

}  // namespace

TEST(ButtonStrip, LaysButtonsOutInRowsAndAnswersTheToolbarQueriesAlike) {
    const struct {
        const char* name;
        int width, size, count;
        bool wrap;
        std::vector<POINT> topLefts;  // of the first buttons
    } rows[] = {
        {"a column: every button ends its row", 41, 41, 4, true, {{0, 0}, {0, 41}, {0, 82}, {0, 123}}},
        {"a row that fits", 200, 40, 4, false, {{0, 0}, {40, 0}, {80, 0}, {120, 0}}},
        {"a row too long wraps where the next would not fit", 100, 30, 5, false,
         {{0, 0}, {30, 0}, {60, 0}, {0, 30}, {30, 30}}},
        {"a strip narrower than one button still shows one per row", 20, 30, 2, false, {{0, 0}, {0, 30}}},
    };
    for (const auto& row : rows) {
        Parent parent;
        ButtonStrip strip;
        ASSERT_TRUE(strip.Create(parent.hwnd, true, nullptr)) << row.name;
        MoveWindow(strip.Handle(), 0, 0, row.width, 300, FALSE);
        std::vector<int> commands;
        for (int i = 0; i < row.count; ++i) commands.push_back(i + 1);
        strip.Append(commands, row.wrap);
        strip.SetButtonSize(row.size);
        strip.SetPicture(1, 7);
        ASSERT_EQ(SendMessageW(strip.Handle(), TB_BUTTONCOUNT, 0, 0), row.count) << row.name;
        for (int i = 0; i < row.count; ++i) {
            const std::optional<RECT> rect = strip.ButtonRect(i);
            ASSERT_TRUE(rect) << row.name << " " << i;
            EXPECT_EQ(rect->left, row.topLefts[i].x) << row.name << " " << i;
            EXPECT_EQ(rect->top, row.topLefts[i].y) << row.name << " " << i;
            EXPECT_EQ(rect->right - rect->left, row.size) << row.name << " " << i;
            EXPECT_EQ(strip.HitTest(Centre(*rect)), i) << row.name << " " << i;
            RECT asked{};
            ASSERT_TRUE(SendMessageW(strip.Handle(), TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&asked)));
            EXPECT_TRUE(EqualRect(&asked, &*rect)) << row.name << " " << i;
            POINT centre = Centre(*rect);
            EXPECT_EQ(SendMessageW(strip.Handle(), TB_HITTEST, 0, reinterpret_cast<LPARAM>(&centre)), i);
            TBBUTTON button{};
            ASSERT_TRUE(SendMessageW(strip.Handle(), TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
            EXPECT_EQ(button.idCommand, i + 1);
            EXPECT_EQ(button.iBitmap, i == 1 ? 7 : ButtonStrip::kNoPicture);
            EXPECT_EQ((button.fsState & TBSTATE_WRAP) != 0, row.wrap);
        }
        EXPECT_FALSE(strip.ButtonRect(row.count)) << row.name;
        EXPECT_FALSE(SendMessageW(strip.Handle(), TB_GETBUTTON, row.count, reinterpret_cast<LPARAM>(&parent)));
        EXPECT_EQ(strip.HitTest({row.width + 5, 299}), -1) << row.name;

        // Taking the first button out moves the others up by one place.
        ASSERT_TRUE(SendMessageW(strip.Handle(), TB_DELETEBUTTON, 0, 0));
        ASSERT_EQ(strip.Count(), row.count - 1);
        EXPECT_EQ(strip.ButtonRect(0)->left, row.topLefts[0].x) << row.name;
        EXPECT_EQ(strip.ButtonRect(0)->top, row.topLefts[0].y) << row.name;
        EXPECT_EQ(strip.PictureOf(0), 7) << row.name;
        EXPECT_FALSE(SendMessageW(strip.Handle(), TB_DELETEBUTTON, row.count, 0));
    }
}

TEST(ButtonStrip, AClickIsAPressAndAReleaseOnTheSameButton) {
    Parent parent;
    ButtonStrip strip;
    bool swallowPresses = false;
    ASSERT_TRUE(strip.Create(parent.hwnd, true, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (swallowPresses && message == WM_LBUTTONDOWN) return 0;
        return std::nullopt;
    }));
    MoveWindow(strip.Handle(), 0, 0, 40, 200, FALSE);
    strip.Append({11, 12, 13}, true);
    strip.SetButtonSize(40);
    const POINT first = Centre(*strip.ButtonRect(0)), second = Centre(*strip.ButtonRect(1));
    HWND h = strip.Handle();

    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(second));
    EXPECT_EQ(GetCapture(), h) << "the press holds the mouse until the release";
    SendMessageW(h, WM_LBUTTONUP, 0, At(second));
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0].id, 12);
    EXPECT_EQ(parent.commands[0].code, BN_CLICKED);
    EXPECT_EQ(parent.commands[0].from, h);
    EXPECT_NE(GetCapture(), h);

    const struct {
        const char* name;
        POINT press, release;
        bool loseCapture, swallow;
    } misses[] = {
        {"released on another button", first, second, false, false},
        {"released off every button", first, {20, 190}, false, false},
        {"pressed off every button", {20, 190}, first, false, false},
        {"the mouse taken away between", first, first, true, false},
        {"the press used up by the owner", first, first, false, true},
    };
    for (const auto& miss : misses) {
        parent.commands.clear();
        swallowPresses = miss.swallow;
        SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, At(miss.press));
        if (miss.loseCapture) ReleaseCapture();
        SendMessageW(h, WM_LBUTTONUP, 0, At(miss.release));
        EXPECT_TRUE(parent.commands.empty()) << miss.name;
    }
    swallowPresses = false;

    // The owner's hook sees messages first: a key goes to it, not lost.
    std::vector<UINT> seen;
    ButtonStrip hooked;
    ASSERT_TRUE(hooked.Create(parent.hwnd, false, [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        seen.push_back(message);
        return std::nullopt;
    }));
    SendMessageW(hooked.Handle(), WM_KEYDOWN, VK_F2, 0);
    EXPECT_NE(std::find(seen.begin(), seen.end(), static_cast<UINT>(WM_KEYDOWN)), seen.end());
}

TEST(ButtonStrip, ATipShowsAfterTheHoverDelayWithItsParentsTextAndGoesWithAPress) {
    Parent parent;
    ButtonStrip strip;
    ASSERT_TRUE(strip.Create(parent.hwnd, true, nullptr));
    MoveWindow(strip.Handle(), 0, 0, 40, 200, FALSE);
    strip.Append({1, 2, 3}, true);
    strip.SetButtonSize(40);
    const auto delay = std::chrono::milliseconds(GetDoubleClickTime());

    SendMessageW(strip.Handle(), WM_MOUSEMOVE, 0, At(Centre(*strip.ButtonRect(2))));
    EXPECT_EQ(strip.Hot(), 2) << "the button under the pointer is drawn raised";
    EXPECT_EQ(TipShownBy(parent.hwnd), nullptr) << "not before the hover delay";
    ASSERT_TRUE(PumpUntil([&] { return TipShownBy(parent.hwnd) != nullptr; }, 4 * delay));
    const HWND tip = TipShownBy(parent.hwnd);
    EXPECT_EQ(Caption(tip), L"tip 3") << "the parent's text for the button's command";
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(strip.Handle(), TB_GETTOOLTIPS, 0, 0)), tip);

    // Read as a tooltip is: the shown tool's text, or any other's asked of the parent.
    for (const auto& [id, expected] : {std::pair{3, L"tip 3"}, std::pair{1, L"tip 1"}}) {
        wchar_t text[64]{};
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = strip.Handle();
        tool.uId = static_cast<UINT_PTR>(id);
        tool.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, expected);
    }

    // A press takes it away until the pointer rests on another button.
    SendMessageW(strip.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(Centre(*strip.ButtonRect(2))));
    SendMessageW(strip.Handle(), WM_LBUTTONUP, 0, At(Centre(*strip.ButtonRect(2))));
    EXPECT_EQ(TipShownBy(parent.hwnd), nullptr);
    SendMessageW(strip.Handle(), WM_MOUSEMOVE, 0, At(Centre(*strip.ButtonRect(1))));
    ASSERT_TRUE(PumpUntil([&] { return TipShownBy(parent.hwnd) != nullptr; }, 4 * delay));
    EXPECT_EQ(Caption(TipShownBy(parent.hwnd)), L"tip 2");

    // Switched off while a menu is up: it goes, and none comes.
    SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    EXPECT_EQ(TipShownBy(parent.hwnd), nullptr);
    SendMessageW(strip.Handle(), WM_MOUSEMOVE, 0, At(Centre(*strip.ButtonRect(0))));
    EXPECT_FALSE(PumpUntil([&] { return TipShownBy(parent.hwnd) != nullptr; }, 2 * delay));
    SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
    strip.SetHot(-1);
    EXPECT_EQ(strip.Hot(), -1);
    strip.SetHot(5);
    EXPECT_EQ(strip.Hot(), -1) << "no button there";

    // With the bar's tooltips off the pointer makes none; a reader still gets them.
    Parent quiet;
    ButtonStrip off;
    ASSERT_TRUE(off.Create(quiet.hwnd, true, nullptr));
    off.SetTipsOnPointer(false);
    MoveWindow(off.Handle(), 0, 0, 40, 200, FALSE);
    off.Append({1}, true);
    off.SetButtonSize(40);
    SendMessageW(off.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(off.Hot(), 0) << "the button is raised all the same";
    EXPECT_FALSE(PumpUntil([&] { return TipShownBy(quiet.hwnd) != nullptr; }, 2 * delay));
    EXPECT_NE(SendMessageW(off.Handle(), TB_GETTOOLTIPS, 0, 0), 0);
}

TEST(CommandButton, ClicksWhenReleasedOnItselfAndIsDrawnByItsParent) {
    Parent parent;
    CommandButton button;
    ASSERT_TRUE(button.Create(parent.hwnd, 102, L"next", nullptr));
    MoveWindow(button.Handle(), 0, 0, 40, 20, FALSE);
    EXPECT_EQ(GetDlgCtrlID(button.Handle()), 102);
    HWND h = button.Handle();

    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(button.Pressed());
    parent.drawnStates.clear();
    ShowWindow(parent.hwnd, SW_SHOWNA);  // hidden windows are not painted
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_FALSE(parent.drawnStates.empty());
    EXPECT_TRUE(parent.drawnStates.back() & ODS_SELECTED) << "drawn pushed while pressed";
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 5));
    EXPECT_FALSE(button.Pressed()) << "drawn up again once the pointer leaves it";
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(6, 6));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
    ASSERT_EQ(parent.commands.size(), 1u);
    EXPECT_EQ(parent.commands[0].id, 102);
    EXPECT_EQ(parent.commands[0].code, BN_CLICKED);
    EXPECT_FALSE(button.Pressed());

    parent.commands.clear();
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(60, 5));
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ReleaseCapture();
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_TRUE(parent.commands.empty()) << "released elsewhere, or the mouse taken away";
}

TEST(PictureList, KeepsEveryPictureAsItGrowsAndBlendsItsAlpha) {
    constexpr int kSize = 4;
    PictureList list(kSize);
    // More pictures than the first bitmap holds; each a colour of its own,
    // the odd ones half transparent (premultiplied).
    for (uint32_t i = 0; i < 20; ++i) {
        const uint32_t colour = i % 2 ? 0x80000000u | (i << 16) : 0xFF000000u | (i << 8);
        const std::vector<uint32_t> pixels(kSize * kSize, colour);
        ASSERT_EQ(list.Add(pixels.data()), static_cast<int>(i));
    }
    for (uint32_t i = 0; i < 20; ++i) {
        const uint32_t colour = i % 2 ? 0x80000000u | (i << 16) : 0xFF000000u | (i << 8);
        ASSERT_NE(list.Pixels(static_cast<int>(i)), nullptr);
        EXPECT_EQ(list.Pixels(static_cast<int>(i))[kSize * kSize - 1], colour) << "picture " << i;
    }
    EXPECT_EQ(list.Pixels(20), nullptr);
    EXPECT_EQ(list.Pixels(-1), nullptr);

    const struct {
        int index;
        uint32_t expected;  // the middle pixel drawn over white
    } draws[] = {
        {2, 0x000200},   // opaque: its own colour
        {3, 0x837F7F},   // half: red 3 plus half the white
        {-1, 0xFFFFFF},  // none: nothing drawn
        {20, 0xFFFFFF},
    };
    for (const auto& draw : draws) {
        PixelCanvas canvas(kSize, kSize);
        canvas.Fill(0x00FFFFFF);
        list.Draw(canvas.Dc(), draw.index, 0, 0);
        canvas.Finish();
        const uint32_t got = canvas.Pixels()[kSize + 1] & 0x00FFFFFF;
        for (int shift : {0, 8, 16}) {
            const int want = static_cast<int>((draw.expected >> shift) & 0xFF);
            EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), want, 2) << "picture " << draw.index;
        }
    }

    PictureList empty;
    const uint32_t pixel = 0xFF000000;
    EXPECT_EQ(empty.Add(&pixel), -1) << "a list of no size takes nothing";
    EXPECT_EQ(list.Add(nullptr), -1);
}

TEST(ButtonStrip, TheFocusMarkStaysOnAButtonThatExists) {
    Parent parent;
    ButtonStrip strip;
    ASSERT_TRUE(strip.Create(parent.hwnd, true, nullptr));
    MoveWindow(strip.Handle(), 0, 0, 40, 200, FALSE);
    EXPECT_EQ(strip.Focused(), -1) << "none at first";
    strip.SetFocused(0);
    EXPECT_EQ(strip.Focused(), -1) << "no buttons yet";
    strip.Append({1, 2, 3}, true);
    strip.SetButtonSize(40);
    const struct {
        int asked, expected;
    } cases[] = {{2, 2}, {0, 0}, {3, -1}, {-5, -1}, {1, 1}};
    for (const auto& c : cases) {
        strip.SetFocused(c.asked);
        EXPECT_EQ(strip.Focused(), c.expected) << "asked " << c.asked;
    }
    SendMessageW(strip.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 100));
    EXPECT_EQ(strip.Focused(), 1) << "the pointer raises a button, the focus stays";
    strip.SetFocused(2);
    strip.Remove(0);
    EXPECT_EQ(strip.Focused(), -1) << "the focused place is gone";
}
