// The bar's controls, its layout along the docking edge and its shell
// registration.
#include "bar/bar_window_win.h"

#include <algorithm>

#include "platform/messages.h"
#include "app/save_notice.h"
#include "bar/accessible_names.h"
#include "bar/monitor_choice.h"
#include "bar/stock_icons_win.h"
#include "bar/tip_place.h"
#include "platform/colour_scheme_win.h"
#include "platform/monitors_win.h"
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

DockEdge TaviMenu2::Edge() const { return DockEdgeFrom(state_.settings.Values().Horizontal, state_.settings.Values().EdgeCode); }

int TaviMenu2::IconSizeIndex() const { return IconSizeIndexFrom(state_.settings.Values().IconSizeIndex); }

// The chosen monitor as the system has it now; the primary while it is away.
ScreenInfo TaviMenu2::CurrentScreen() const {
    if (screen_) return *screen_;
    MonitorInfo whole;  // a system that lists no monitor has one screen
    whole.monitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    whole.dpi = WindowDpi(Handle());
    whole.primary = true;
    const MonitorInfo chosen = ChooseMonitor(state_.settings.Values().Monitor, Win32Monitors().List(), whole);
    screen_ = MakeMonitorScreen(chosen.monitor, chosen.dpi, AppBar::TaskbarPosition());
    return *screen_;
}

bool TaviMenu2::CreateControls() {
    const ChildHook hook = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        return ChildMessage(hwnd, message, wParam, lParam);
    };
    if (!strip_.Create(Handle(), toolbarFlat_, hook)) return false;
    strip_.SetDescriber([this](int position, int focused) {
        ButtonDescription button = DescribeButton(state_, position, focused);
        button.running = !button.unavailable && EntryRuns(state_.page.IndexAt(position));
        return button;
    });
    running_ = std::make_unique<RunningWatch>(Handle(), kRunningChanged);
    // The captions are what screen readers name the buttons by.
    for (int i = 0; i < 3; ++i)
        if (!cmdMainEnd_[i].Create(Handle(), kCmdFirstId + i, Widen(PageButtonName(static_cast<PageCommand>(i))),
                                   hook))
            return false;
    return true;
}

int TaviMenu2::ButtonCount() const { return strip_.Count(); }

void TaviMenu2::AddButtons(const std::vector<int>& numbers) {
    if (numbers.empty()) return;
    // A vertical bar puts every button on a row of its own.
    strip_.Append(numbers, !IsHorizontal(Edge()));
    const auto highest = static_cast<size_t>(*std::max_element(numbers.begin(), numbers.end()));
    if (tips_.size() < highest) tips_.resize(highest);
}

void TaviMenu2::RemoveExtraButtons() {
    for (int number : ButtonsToRemove(ButtonCount())) strip_.Remove(number - 1);
    // The first button stays; its row break must follow the new orientation.
    strip_.SetWrap(0, !IsHorizontal(Edge()));
}

void TaviMenu2::Layout(bool keepButtons) {
    LayoutInput input;
    input.edge = Edge();
    input.iconSizeIndex = IconSizeIndex();
    input.toolbarFlat = toolbarFlat_;
    input.autoHide = AutoHides(state_);
    input.screen = CurrentScreen();
    input.systemIcons = SystemIconsFor(input.screen.dpi);
    const BarLayout unstacked = LayoutBar(input);
    // Other appbars on the edge (our bars from other folders among them) come
    // first: the bar stands where the shell's answer puts its strip.
    appBar_.SetEdge(unstacked.shellEdge);
    askedStrip_ = unstacked.appBarPixels;
    stackOffset_ = StackOffsetFor(input.edge, askedStrip_, appBar_.Query(askedStrip_));
    layout_ = Stacked(unstacked, stackOffset_, input.screen.twipsPerPixelX, input.screen.twipsPerPixelY);
    const BarLayout& layout = layout_;
    state_.page.SetVisibleCount(layout.visibleCount);

    const std::vector<ButtonSlot> slots =
        PlanButtonSlots(layout.visibleCount, ButtonCount(), keepButtons, state_.page.Offset(),
                        state_.entries.UpperBound(), state_.settings.Values().ToolTips == "1");
    std::vector<int> added;
    for (const ButtonSlot& slot : slots)
        if (slot.addButton) added.push_back(slot.buttonNumber);
    AddButtons(added);
    for (const ButtonSlot& slot : slots)
        SetButtonTip(slot.buttonNumber - 1,
                     slot.tooltipEntry >= 0 ? state_.entries.At(slot.tooltipEntry).Title : std::string());
    ApplyButtonSize();
    strip_.SetTipsOnPointer(state_.settings.Values().ToolTips == "1");

    const int tx = input.screen.twipsPerPixelX;
    const int ty = input.screen.twipsPerPixelY;
    const Rect& window = layout.windowPixels;
    SetWindowPos(Handle(), nullptr, window.left, window.top, std::max(0, window.Width()),
                 std::max(0, window.Height()), SWP_NOZORDER | SWP_NOACTIVATE);
    for (int i = 0; i < 3; ++i) MoveTo(cmdMainEnd_[i].Handle(), TwipsToPixels(layout.cmdMainEnd[i], tx, ty));
    MoveTo(strip_.Handle(), TwipsToPixels(layout.toolbar, tx, ty));

    state_.settings.SetPosition(layout.saveX, layout.saveY);
    appBar_.Set(layout.appBarPixels);
    if (layout.placeEdgeTrigger) trigger_.Place(layout.edgeTriggerPixels);
    laidOut_ = true;
}

void TaviMenu2::PlaceEdgeTrigger() { trigger_.Place(EdgeTriggerPixels(Edge(), CurrentScreen())); }

// Windows 11 sends no WM_DPICHANGED to tool windows, so the scale is looked
// at again whenever the display or its settings change.
bool TaviMenu2::DpiChanged() const { return CurrentScreen().dpi != layout_.dpi; }

void TaviMenu2::ReDock(bool force) {
    // A forced re-dock may follow another monitor chosen in the options.
    if (force) ForgetScreen();
    // Only a taskbar on the bar's own monitor moves the bar.
    const ScreenInfo screen = CurrentScreen();
    const bool otherMonitor = MonitorOf(screen) != layout_.monitorPixels;
    force = force || otherMonitor;
    const ReDockDecision decision =
        DecideReDock(screen.taskbarPixels, layout_.taskbarPixels, force, state_.settings.Values().AutoHide == "1", Edge());
    if (!decision.reregister) {
        // Another appbar came, went or moved: the bar moves only when the
        // place the shell gives it has changed, so bars never push each
        // other back and forth.
        if (StackOffsetFor(Edge(), askedStrip_, appBar_.Query(askedStrip_)) != stackOffset_) Layout(true);
        PlaceEdgeTrigger();
        return;
    }
    // A bar on a new edge or monitor registers afresh, which frees the strip it
    // held and puts it after the bars already there. Otherwise it keeps its
    // registration, and so its place among the bars on its edge.
    if (registrationLost_ || otherMonitor || decision.shellEdge != layout_.shellEdge) {
        appBar_.RemoveAutoHideClaim();
        appBar_.Unregister();
        appBar_.SetEdge(decision.shellEdge);
        (void)appBar_.New();
        registrationLost_ = false;
    } else {
        // Registered again only where the shell has lost the bar; otherwise
        // the shell refuses, and the bar keeps its place.
        (void)appBar_.New();
    }
    const bool wasRefused = state_.AutoHideRefused;
    ClaimAutoHide();
    if (state_.AutoHideRefused && !wasRefused) TellAutoHideRefused();
    if (AutoHides(state_))
        trigger_.Create(nullptr);
    else
        trigger_.Hide();

    ShowWindow(Handle(), SW_HIDE);
    RemoveExtraButtons();
    Layout(false);
    ResetImageLists();
    ReloadButtonIcons(state_, *this);
    (void)SaveSettingsIfRead(state_, platform_);
    ShowWindow(Handle(), SW_SHOWNA);
    InvalidateRect(strip_.Handle(), nullptr, TRUE);
}

void TaviMenu2::ClaimAutoHide() {
    if (state_.settings.Values().AutoHide != "1") {
        appBar_.RemoveAutoHideClaim();
        state_.AutoHideRefused = false;
        return;
    }
    // Only while it really is one: programs leave a gap for an auto-hidden bar.
    state_.AutoHideRefused = !appBar_.ClaimAutoHide();
}

void TaviMenu2::TellAutoHideRefused() {
    (void)platform_.messages.Show({std::string(text::kAutoHideTaken), std::string(text::kMessageCaption),
                                   MessageIcon::Information, MessageButtons::Ok});
}

void TaviMenu2::ApplyButtonSize() { strip_.SetButtonSize(layout_.metrics.buttonPixels); }

void TaviMenu2::ResetImageLists() {
    strip_.SetPictures(nullptr);
    strip_.SetPictures(&icons_.Reset(IconSizeIndex(), layout_.metrics.iconPixels, layout_.smallIconPixels));
    ApplyButtonSize();
}

// The redraw command: fresh pictures for the page as it is.
void TaviMenu2::Redraw() {
    icons_.ForgetCache();
    ResetImageLists();
    ReloadButtonIcons(state_, *this);
}

void TaviMenu2::SetButtonTip(int position, const std::string& tip) {
    if (position < 0 || position >= ButtonCount()) return;
    if (tips_.size() <= static_cast<size_t>(position)) tips_.resize(static_cast<size_t>(position) + 1);
    tips_[static_cast<size_t>(position)] = Widen(tip);
    strip_.DescriptionChanged(position);
}

void TaviMenu2::ShowEntryIcon(int position, bool useCache) {
    if (position < 0 || position >= ButtonCount() || position >= state_.page.VisibleCount()) return;
    const int index = state_.page.IndexAt(position);
    if (!state_.entries.Has(index)) return;
    const int image = icons_.ImageFor(state_.entries.At(index), index, useCache, platform_.shell);
    strip_.SetPicture(position, image);
}

void TaviMenu2::ShowArrivedPictures(bool redrawn) {
    // A picture shown from the last run was drawn anew in its place.
    if (redrawn && strip_.Handle()) InvalidateRect(strip_.Handle(), nullptr, FALSE);
    // Only buttons of entries still showing the generic picture ask again;
    // an emptied slot keeps none. SetPicture redraws a button only when its picture changed.
    const int shown = std::min(ButtonCount(), state_.page.VisibleCount());
    for (int position = 0; position < shown; ++position) {
        const int index = state_.page.IndexAt(position);
        if (strip_.PictureOf(position) == static_cast<int>(StockImage::Nothing) - 1 && state_.entries.Has(index) &&
            !state_.entries.At(index).PathName.empty())
            ShowEntryIcon(position, true);
    }
    if (iconCacheDue_ && icons_.Coming() == 0) KeepIconCache();
}

void TaviMenu2::ClearButtonImage(int position) {
    if (position < 0 || position >= ButtonCount()) return;
    strip_.SetPicture(position, ButtonStrip::kNoPicture);
    strip_.DescriptionChanged(position);
}

// Where the tip of the button at `position`, `size` big, stands: beside the
// bar on the side away from its edge, so that the bar hides none of it.
std::optional<POINT> TaviMenu2::TipOrigin(int position, SIZE size) const {
    const std::optional<RECT> button = strip_.ButtonRect(position);
    RECT bar{};
    if (!button || !GetWindowRect(Handle(), &bar)) return std::nullopt;
    POINT corners[2] = {{button->left, button->top}, {button->right, button->bottom}};
    MapWindowPoints(strip_.Handle(), nullptr, corners, 2);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor)) return std::nullopt;
    const RECT& m = monitor.rcMonitor;
    const Rect tip = TipBesideBar(Edge(), {bar.left, bar.top, bar.right, bar.bottom},
                                  {corners[0].x, corners[0].y, corners[1].x, corners[1].y}, size.cx, size.cy,
                                  {m.left, m.top, m.right, m.bottom}, MulDiv(2, WindowDpi(Handle()), 96));
    return POINT{tip.left, tip.top};
}

// TTN_SHOW of the pointer's tooltips: the tip moves beside the bar, in front of it.
bool TaviMenu2::PlaceTip(HWND tip, int position) const {
    RECT shown{};
    if (!tip || !GetWindowRect(tip, &shown)) return false;
    const std::optional<POINT> at = TipOrigin(position, {shown.right - shown.left, shown.bottom - shown.top});
    if (!at) return false;
    SetWindowPos(tip, HWND_TOPMOST, at->x, at->y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

void TaviMenu2::DrawCommandButton(const DRAWITEMSTRUCT& item) {
    const int index = static_cast<int>(item.CtlID) - kCmdFirstId;
    if (index < 0 || index > 2) return;
    static constexpr Glyph kGlyphs[3] = {Glyph::Close, Glyph::Right, Glyph::Left};
    DrawGlyphButton(item.hDC, item.rcItem, kGlyphs[index], (item.itemState & ODS_SELECTED) != 0);
}

// What the buttons leave of the bar, in the palette's face.
void TaviMenu2::EraseBackground(HDC dc) const {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillWithColour(dc, client, CurrentPalette().face);
}

// The system's colours or app mode changed: everything the bar draws itself
// is drawn again in the new palette.
void TaviMenu2::OnColourSetting(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!ColourSettingChanged(message, wParam, lParam)) return;
    InvalidateRect(strip_.Handle(), nullptr, FALSE);
    for (const CommandButton& button : cmdMainEnd_) InvalidateRect(button.Handle(), nullptr, FALSE);
    InvalidateRect(Handle(), nullptr, TRUE);
}

}  // namespace tavi
