// The bar's controls, its layout along the docking edge and its shell
// registration.
#include "bar/bar_window_win.h"

#include <commctrl.h>

#include <algorithm>

#include "app/messages.h"
#include "app/save_notice.h"
#include "bar/stock_icons_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

// The system's icon sizes at `dpi`; zero (scale the 96-dpi sizes) where the
// system is too old to say.
SystemIconSizes SystemIconsFor(int dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = reinterpret_cast<GetSystemMetricsForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    if (!forDpi) return {};
    return {forDpi(SM_CXICON, static_cast<UINT>(dpi)), forDpi(SM_CXSMICON, static_cast<UINT>(dpi))};
}

void MoveTo(HWND control, const Rect& pixels) {
    // A layout with no room gives empty or negative sizes; such moves are skipped.
    if (!control || pixels.Width() < 0 || pixels.Height() < 0) return;
    MoveWindow(control, pixels.left, pixels.top, pixels.Width(), pixels.Height(), TRUE);
}

}  // namespace

DockEdge TaviMenu2::Edge() const { return DockEdgeFrom(state_.settings.Horizontal, state_.settings.EdgeCode); }

int TaviMenu2::IconSizeIndex() const { return IconSizeIndexFrom(state_.settings.IconSizeIndex); }

ScreenInfo TaviMenu2::CurrentScreen() const {
    const int dpi = WindowDpi(Handle());
    return MakeScreenInfo(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), dpi, dpi,
                          AppBar::TaskbarPosition());
}

bool TaviMenu2::CreateControls() {
    const DWORD flat = toolbarFlat_ ? TBSTYLE_FLAT : 0;
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"tbrIcon",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_TOOLTIPS | TBSTYLE_WRAPABLE | flat |
                                   CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER,
                               0, 0, 0, 0, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!toolbar_) return false;
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SetWindowSubclass(toolbar_, ChildProcedure, 1, reinterpret_cast<DWORD_PTR>(this));

    const std::string_view captions[] = {text::kCloseButton, text::kNextButton, text::kPreviousButton};
    for (int i = 0; i < 3; ++i) {
        cmdMainEnd_[i] = CreateWindowExW(0, L"BUTTON", Widen(captions[i]).c_str(),
                                         WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 0, 0, 0, 0, Handle(),
                                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCmdFirstId + i)),
                                         GetModuleHandleW(nullptr), nullptr);
        if (!cmdMainEnd_[i]) return false;
        SetWindowSubclass(cmdMainEnd_[i], ChildProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    return true;
}

int TaviMenu2::ButtonCount() const {
    return toolbar_ ? static_cast<int>(SendMessageW(toolbar_, TB_BUTTONCOUNT, 0, 0)) : 0;
}

// In one message: the toolbar lays itself out again after each.
void TaviMenu2::AddButtons(const std::vector<int>& numbers) {
    if (numbers.empty()) return;
    std::vector<TBBUTTON> buttons(numbers.size());
    for (size_t i = 0; i < numbers.size(); ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = numbers[i];
        // A vertical bar puts every button on a row of its own.
        buttons[i].fsState = static_cast<BYTE>(TBSTATE_ENABLED | (IsHorizontal(Edge()) ? 0 : TBSTATE_WRAP));
        buttons[i].fsStyle = BTNS_BUTTON;
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    const auto highest = static_cast<size_t>(*std::max_element(numbers.begin(), numbers.end()));
    if (tips_.size() < highest) tips_.resize(highest);
}

void TaviMenu2::RemoveExtraButtons() {
    for (int number : ButtonsToRemove(ButtonCount())) SendMessageW(toolbar_, TB_DELETEBUTTON, number - 1, 0);
    // The first button stays; its row break must follow the new orientation.
    if (ButtonCount() > 0)
        SendMessageW(toolbar_, TB_SETSTATE, 1,
                     MAKELPARAM(TBSTATE_ENABLED | (IsHorizontal(Edge()) ? 0 : TBSTATE_WRAP), 0));
}

void TaviMenu2::Layout(bool keepButtons) {
    LayoutInput input;
    input.edge = Edge();
    input.iconSizeIndex = IconSizeIndex();
    input.toolbarFlat = toolbarFlat_;
    input.autoHide = state_.settings.AutoHide == "1";
    input.screen = CurrentScreen();
    input.systemIcons = SystemIconsFor(input.screen.dpi);
    layout_ = LayoutBar(input);
    const BarLayout& layout = layout_;
    state_.VisibleCount = layout.visibleCount;

    const std::vector<ButtonSlot> slots =
        PlanButtonSlots(layout.visibleCount, ButtonCount(), keepButtons, state_.EntryOffset,
                        state_.entries.UpperBound(), state_.settings.ToolTips == "1");
    std::vector<int> added;
    for (const ButtonSlot& slot : slots)
        if (slot.addButton) added.push_back(slot.buttonNumber);
    AddButtons(added);
    for (const ButtonSlot& slot : slots)
        SetButtonTip(slot.buttonNumber - 1,
                     slot.tooltipEntry >= 0 ? state_.entries.slots[slot.tooltipEntry].Title : std::string());
    ApplyButtonSize();

    const int tx = input.screen.twipsPerPixelX;
    const int ty = input.screen.twipsPerPixelY;
    const Rect& window = layout.windowPixels;
    SetWindowPos(Handle(), nullptr, window.left, window.top, std::max(0, window.Width()),
                 std::max(0, window.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < 3; ++i) MoveTo(cmdMainEnd_[i], TwipsToPixels(layout.cmdMainEnd[i], tx, ty));
    MoveTo(toolbar_, TwipsToPixels(layout.toolbar, tx, ty));

    state_.settings.SaveX = layout.saveX;
    state_.settings.SaveY = layout.saveY;
    appBar_.SetEdge(layout.shellEdge);
    appBar_.Reserve(layout.appBarPixels);
    if (layout.placeEdgeTrigger) trigger_.Place(layout.edgeTriggerPixels);
    state_.BarReady = true;
}

void TaviMenu2::PlaceEdgeTrigger() { trigger_.Place(EdgeTriggerPixels(Edge(), CurrentScreen())); }

// Windows 11 sends no WM_DPICHANGED to tool windows, so the scale is looked
// at again whenever the display or its settings change.
bool TaviMenu2::DpiChanged() const { return CurrentScreen().dpi != layout_.dpi; }

void TaviMenu2::ReDock(bool force) {
    const bool autoHide = state_.settings.AutoHide == "1";
    const ReDockDecision decision =
        DecideReDock(AppBar::TaskbarPosition(), layout_.taskbarPixels, force, autoHide, Edge());
    if (!decision.reregister) {
        PlaceEdgeTrigger();
        return;
    }
    appBar_.RemoveAutoHideClaim();
    appBar_.Unregister();
    if (decision.hideEdgeTrigger) trigger_.Hide();
    if (autoHide) trigger_.Create(nullptr);
    appBar_.SetEdge(decision.shellEdge);
    appBar_.New();

    ShowWindow(Handle(), SW_HIDE);
    RemoveExtraButtons();
    Layout(false);
    ResetImageLists();
    ReloadButtonIcons(state_, *this);
    (void)NoteSave(state_, platform_.messages,
                   SaveSettings(state_.settings, platform_.profile, SettingsFilePath(state_.ApplicationPath)));
    ShowWindow(Handle(), SW_SHOWNA);
    InvalidateRect(toolbar_, nullptr, TRUE);
}

// A new image list makes the toolbar size its buttons from the pictures and
// their padding, one pixel short of the bar's button size; set it again.
void TaviMenu2::ApplyButtonSize() {
    const int image = IconSizeIndex() == 1 ? layout_.smallIconPixels : layout_.metrics.iconPixels;
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(image, image));
    SendMessageW(toolbar_, TB_SETBUTTONSIZE, 0, MAKELPARAM(layout_.metrics.buttonPixels, layout_.metrics.buttonPixels));
}

void TaviMenu2::ResetImageLists() {
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, 0);
    HIMAGELIST active = icons_.Reset(IconSizeIndex(), layout_.metrics.iconPixels, layout_.smallIconPixels);
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(active));
    ApplyButtonSize();
}

// The redraw command: fresh pictures for the page as it is.
void TaviMenu2::Redraw() {
    ResetImageLists();
    ReloadButtonIcons(state_, *this);
}

void TaviMenu2::SetButtonTip(int position, const std::string& tip) {
    if (position < 0 || position >= ButtonCount()) return;
    if (tips_.size() <= static_cast<size_t>(position)) tips_.resize(static_cast<size_t>(position) + 1);
    tips_[static_cast<size_t>(position)] = Widen(tip);
}

void TaviMenu2::ShowEntryIcon(int position, bool useCache) {
    if (position < 0 || position >= ButtonCount() || position >= state_.VisibleCount) return;
    const int index = position + state_.EntryOffset;
    if (!state_.entries.Has(index)) return;
    const int image = icons_.ImageFor(state_.entries.slots[index], index, useCache, platform_.shell);
    SendMessageW(toolbar_, TB_CHANGEBITMAP, position + 1, image);
}

void TaviMenu2::ClearButtonImage(int position) {
    if (position < 0 || position >= ButtonCount()) return;
    SendMessageW(toolbar_, TB_CHANGEBITMAP, position + 1, I_IMAGENONE);
}

void TaviMenu2::DrawCommandButton(const DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.CtlID) - kCmdFirstId;
    if (index < 0 || index > 2) return;
    RECT area = item.rcItem;
    FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
    const UINT pushed = (item.itemState & ODS_SELECTED) ? DFCS_PUSHED : 0;
    static constexpr UINT kTypes[3] = {DFC_CAPTION, DFC_SCROLL, DFC_SCROLL};
    static constexpr UINT kStates[3] = {DFCS_CAPTIONCLOSE, DFCS_SCROLLRIGHT, DFCS_SCROLLLEFT};
    DrawFrameControl(item.hDC, &area, kTypes[index], kStates[index] | pushed);
}

}  // namespace tavi
