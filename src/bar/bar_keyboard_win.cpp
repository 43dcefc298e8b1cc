// The bar by the keyboard: the keys on its buttons and the global key that
// brings it up.
#include "bar/bar_window_win.h"

#include <commctrl.h>

#include <utility>

#include "platform/messages.h"
#include "bar/hot_key.h"

namespace tavi {

// Keys that reach the button strip; true when they were the bar's.
bool TaviMenu2::StripKey(UINT message, WPARAM wParam) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (message) {
        case WM_SYSKEYDOWN:
            // Shift+F10 comes as a system key; Alt with the arrows is not ours.
            if (wParam != VK_F10) return false;
            [[fallthrough]];
        case WM_KEYDOWN:
            if (const auto key = BarKeyOf(static_cast<int>(wParam), shift, state_.settings.Values().Horizontal == "1")) {
                OnBarKey(*key);
                return true;
            }
            return false;
        case WM_CHAR:
            // Control characters (Enter, Escape, Tab) have been keys already.
            if (!IsTypeAheadCharacter(static_cast<char32_t>(wParam))) return false;
            OnBarKey(BarKey::Character, static_cast<char32_t>(wParam));
            return true;
        case WM_CONTEXTMENU:
            return true;  // the menu key was handled as a key
        default:
            return false;
    }
}

void TaviMenu2::OnBarKey(BarKey key, char32_t typed) {
    if (menuOpen_ || inTrayMenu_ || state_.Closing) return;
    const KeyPage page{state_.page.VisibleCount(), state_.page.Offset(), strip_.Focused()};
    const KeyResult result = HandleBarKey(page, state_.entries.Store(), key, typed);
    int focus = result.focus;
    if (result.page) {
        const int before = state_.page.Offset();
        Page(*result.page);
        if (state_.Closing) return;
        // The limit refused the page: the focus stays where it was.
        if (*result.page == PageCommand::Next && state_.page.Offset() == before) focus = page.focused;
    } else if (result.offset && *result.offset != state_.page.Offset()) {
        ShowPageAt(state_, *result.offset);
        RefreshButtons(state_, *this);
    }
    FocusButton(focus);
    switch (result.action) {
        case KeyAction::None: break;
        case KeyAction::StartEntry:
        case KeyAction::OpenGroup:
        case KeyAction::OpenFolderMenu:
            OnButtonClick(focus + 1, true);
            // What was started takes the foreground; auto-hide looks after the bar again.
            if (keyboardHeld_) ReleaseKeyboard(false);
            break;
        case KeyAction::EntryMenu:
            if (const std::optional<RECT> rect = strip_.ButtonRect(focus)) {
                POINT at{(rect->left + rect->right) / 2, (rect->top + rect->bottom) / 2};
                ClientToScreen(strip_.Handle(), &at);
                ShowEntryMenu(focus, at);
            }
            break;
        case KeyAction::Release: ReleaseKeyboard(true); break;
    }
}

void TaviMenu2::FocusButton(int position) {
    strip_.SetFocused(position);
    ShowKeyTip(strip_.Focused());
}

// The pointer's tooltips follow the pointer only; this one, made the first
// time a key moves the focus, shows the focused button's tip beside it.
void TaviMenu2::ShowKeyTip(int position) {
    const std::wstring* tip = position >= 0 && static_cast<size_t>(position) < tips_.size() ? &tips_[position] : nullptr;
    const std::optional<RECT> rect = strip_.ButtonRect(position);
    if (!tip || tip->empty() || !rect) {
        keyTip_.Hide();
        return;
    }
    if (!keyTip_.Handle() && !keyTip_.Create(Handle(), Handle(), {})) return;
    // In front of the bar, which may be topmost itself.
    if (const std::optional<POINT> at = TipOrigin(position, keyTip_.Measure(*tip))) keyTip_.Show(1, *tip, *at);
}

// At start, and again when the options dialog changed a key: the bar's key
// first, then the entry search's (bar_search_win.cpp).
void TaviMenu2::RegisterHotKeyFromSettings() {
    RegisterGlobalKey(kHotKeyId, state_.settings.Values().HotKey, GlobalKey::Bar, hotKeyRegistered_);
    if (!searchKeyRegistered_ && SameKey(state_.settings.Values().SearchHotKey, state_.settings.Values().HotKey)) {
        platform_.messages.Show({HotKeyMessage(HotKeyProblem::SameAsBarKey, state_.settings.Values().SearchHotKey,
                                               GlobalKey::Search),
                                 std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::Ok});
        return;
    }
    RegisterGlobalKey(kSearchKeyId, state_.settings.Values().SearchHotKey, GlobalKey::Search, searchKeyRegistered_);
    if (searchKeyRegistered_) windows_->PrepareEntrySearch();
}

// A key that cannot be had is reported and kept in the settings, so that the
// next start tries again.
void TaviMenu2::RegisterGlobalKey(int id, const std::string& setting, GlobalKey key, bool& registered) {
    if (setting.empty() || registered) return;
    HotKeyProblem problem = HotKeyProblem::Invalid;
    if (const std::optional<HotKeyCombo> combo = ParseHotKey(setting)) {
        registered = RegisterHotKey(Handle(), id, RegisterModifiers(*combo), static_cast<UINT>(combo->virtualKey)) != FALSE;
        problem = registered                                          ? HotKeyProblem::None
                  : GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED ? HotKeyProblem::Held
                                                                      : HotKeyProblem::Refused;
    }
    if (problem == HotKeyProblem::None) return;
    platform_.messages.Show({HotKeyMessage(problem, setting, key), std::string(text::kMessageCaption),
                             MessageIcon::Warning, MessageButtons::Ok});
}

void TaviMenu2::UnregisterGlobalKeys() {
    if (hotKeyRegistered_) UnregisterHotKey(Handle(), kHotKeyId);
    if (searchKeyRegistered_) UnregisterHotKey(Handle(), kSearchKeyId);
    hotKeyRegistered_ = searchKeyRegistered_ = false;
}

// The key again gives the focus back, as Escape does.
void TaviMenu2::OnHotKey() {
    if (state_.Closing || menuOpen_ || inTrayMenu_) return;
    if (keyboardHeld_) {
        ReleaseKeyboard(true);
        return;
    }
    HWND front = GetForegroundWindow();
    DWORD process = 0;
    if (front) GetWindowThreadProcessId(front, &process);
    previousForeground_ = process != GetCurrentProcessId() ? front : nullptr;
    TakeKeyboard();
}

// As if the pointer had rested at the edge, then the foreground and the
// focus, which a full-screen program in front does not keep from a key
// pressed for the bar.
void TaviMenu2::TakeKeyboard() {
    keyboardHeld_ = true;
    SetVisible();
    autoHide_.ShownByUser();
    SetForegroundWindow(Handle());
    SetFocus(strip_.Handle());
    FocusButton(state_.page.VisibleCount() > 0 ? 0 : -1);
}

// Auto-hide takes over again from the next tick.
void TaviMenu2::ReleaseKeyboard(bool giveBack) {
    keyboardHeld_ = false;
    ArmTimer1();
    FocusButton(-1);
    HWND previous = std::exchange(previousForeground_, nullptr);
    if (giveBack && previous && IsWindow(previous)) SetForegroundWindow(previous);
}

}  // namespace tavi
