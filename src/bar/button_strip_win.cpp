#include "bar/button_strip_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

#include "bar/strip_accessible_win.h"
#include "platform/colour_scheme_win.h"

namespace tavi {
namespace {

constexpr wchar_t kClassName[] = L"TaviButtonStrip";
// Private to the strip: wParam is the position to click.
constexpr UINT kPostedClick = WM_APP + 0x100;
constexpr UINT_PTR kTipTimer = 1;

}  // namespace

bool ButtonStrip::Create(HWND parent, bool flat, ChildHook hook) {
    flat_ = flat;
    hook_ = std::move(hook);
    if (!RegisterClassOnce(kClassName)) return false;
    return CreateWindowOf(kClassName, L"tbrIcon", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0, parent);
}

void ButtonStrip::Append(const std::vector<int>& commands, bool wrap) {
    for (int command : commands) buttons_.push_back({command, kNoPicture, wrap});
    Relayout();
}

void ButtonStrip::Remove(int position) {
    if (position < 0 || position >= Count()) return;
    buttons_.erase(buttons_.begin() + position);
    if (hot_ >= Count()) hot_ = -1;
    if (pressed_ >= Count()) pressed_ = -1;
    if (focused_ >= Count()) SetFocused(-1);
    Relayout();
}

void ButtonStrip::SetWrap(int position, bool wrap) {
    if (position < 0 || position >= Count() || buttons_[position].wrap == wrap) return;
    buttons_[position].wrap = wrap;
    Relayout();
}

void ButtonStrip::SetPicture(int position, int picture) {
    if (position < 0 || position >= Count() || buttons_[position].picture == picture) return;
    buttons_[position].picture = picture;
    InvalidateButton(position);
}

int ButtonStrip::PictureOf(int position) const {
    return position >= 0 && position < Count() ? buttons_[position].picture : kNoPicture;
}

void ButtonStrip::SetPictures(const PictureList* pictures) {
    pictures_ = pictures;
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
}

void ButtonStrip::SetButtonSize(int pixels) {
    if (pixels == buttonPixels_) return;
    buttonPixels_ = std::max(0, pixels);
    Relayout();
}

std::optional<RECT> ButtonStrip::ButtonRect(int position) const {
    if (position < 0 || position >= static_cast<int>(rects_.size())) return std::nullopt;
    return rects_[position];
}

int ButtonStrip::HitTest(POINT client) const {
    for (size_t i = 0; i < rects_.size(); ++i)
        if (PtInRect(&rects_[i], client)) return static_cast<int>(i);
    return -1;
}

void ButtonStrip::SetHot(int position) {
    if (position >= Count()) position = -1;
    if (position == hot_) return;
    InvalidateButton(hot_);
    hot_ = position;
    InvalidateButton(hot_);
}

void ButtonStrip::SetFocused(int position) {
    if (position < 0 || position >= Count()) position = -1;
    if (position == focused_) return;
    InvalidateButton(focused_);
    focused_ = position;
    InvalidateButton(focused_);
    if (Handle() && focused_ >= 0) NotifyWinEvent(EVENT_OBJECT_FOCUS, Handle(), OBJID_CLIENT, focused_ + 1);
}

int ButtonStrip::Focused() const { return focused_; }

ButtonDescription ButtonStrip::Describe(int position) const {
    if (position < 0 || position >= Count()) return {};
    if (describer_) return describer_(position, focused_);
    ButtonDescription unnamed;
    unnamed.focused = position == focused_;
    return unnamed;
}

void ButtonStrip::DescriptionChanged(int position) {
    if (!Handle() || position < 0 || position >= Count()) return;
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, Handle(), OBJID_CLIENT, position + 1);
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, Handle(), OBJID_CLIENT, position + 1);
}

void ButtonStrip::PostClick(int position) {
    if (Handle() && position >= 0 && position < Count())
        PostMessageW(Handle(), kPostedClick, static_cast<WPARAM>(position), 0);
}

void ButtonStrip::SendClick(int position) {
    if (position < 0 || position >= Count()) return;
    SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(buttons_[position].command, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Handle()));
}

void ButtonStrip::DropAccessible() {
    if (!accessible_) return;
    Disconnect(*accessible_);
    Release(*accessible_);
    accessible_ = nullptr;
}

// Rows from the top left: a row ends after a wrapping button or where the
// next one would leave the strip.
void ButtonStrip::Relayout() {
    RECT client{};
    if (Handle()) GetClientRect(Handle(), &client);
    const int size = buttonPixels_;
    rects_.assign(buttons_.size(), RECT{});
    int x = 0, y = 0;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (x > 0 && x + size > client.right) {
            x = 0;
            y += size;
        }
        rects_[i] = {x, y, x + size, y + size};
        x += size;
        if (buttons_[i].wrap) {
            x = 0;
            y += size;
        }
    }
    if (Handle()) InvalidateRect(Handle(), nullptr, FALSE);
    // A tip shown stands for a button that may have moved.
    HideTip();
}

void ButtonStrip::InvalidateButton(int position) {
    if (const auto rect = ButtonRect(position); rect && Handle()) InvalidateRect(Handle(), &*rect, FALSE);
}

HWND ButtonStrip::ToolTips() {
    if (tips_.Handle() || !Handle()) return tips_.Handle();
    tips_.Create(Handle(), Handle(), [this](UINT_PTR command) { return TipText(static_cast<int>(command)); });
    return tips_.Handle();
}

// Asked of the parent, as a tooltip asks its tool's window.
std::wstring ButtonStrip::TipText(int command) const {
    NMTTDISPINFOW info{};
    info.hdr.hwndFrom = tips_.Handle();
    info.hdr.idFrom = static_cast<UINT_PTR>(command);
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(GetParent(Handle()), WM_NOTIFY, info.hdr.idFrom, reinterpret_cast<LPARAM>(&info));
    if (info.lpszText && !IS_INTRESOURCE(info.lpszText)) return info.lpszText;
    return info.szText;
}

// The pointer is on button `hit` (-1: none). A tip shows after the system's
// hover delay, at once when one was shown for another button, and goes
// after ten delays or a press; it comes again only on another button.
void ButtonStrip::PointerOn(int hit) {
    if (hit == tipFor_) return;
    const bool wasShown = tips_.Shown();
    tipFor_ = hit;
    tipSpent_ = false;
    KillTimer(Handle(), kTipTimer);
    if (hit < 0 || !tipsOnPointer_) {
        HideTip();
        return;
    }
    if (wasShown) {
        ShowTip();
        return;
    }
    SetTimer(Handle(), kTipTimer, GetDoubleClickTime(), nullptr);
}

void ButtonStrip::ShowTip() {
    KillTimer(Handle(), kTipTimer);
    if (tipFor_ < 0 || tipFor_ >= Count() || tipSpent_ || !ToolTips()) return;
    const int command = buttons_[static_cast<size_t>(tipFor_)].command;
    const std::wstring text = TipText(command);
    if (text.empty() || !tips_.Active()) {
        HideTip();
        return;
    }
    // Below the pointer, unless the parent places it (TTN_SHOW) before it shows.
    POINT at{};
    GetCursorPos(&at);
    at.y += GetSystemMetrics(SM_CYCURSOR) / 2;
    tips_.Place(static_cast<UINT_PTR>(command), text, at);
    NMHDR shown{tips_.Handle(), static_cast<UINT_PTR>(command), TTN_SHOW};
    SendMessageW(GetParent(Handle()), WM_NOTIFY, shown.idFrom, reinterpret_cast<LPARAM>(&shown));
    tips_.Reveal();
    SetTimer(Handle(), kTipTimer, GetDoubleClickTime() * 10, nullptr);
}

void ButtonStrip::HideTip() {
    KillTimer(Handle(), kTipTimer);
    tips_.Hide();
}

void ButtonStrip::Paint(HDC dc, const RECT& area) const {
    FillWithColour(dc, area, CurrentPalette().face);
    for (size_t i = 0; i < buttons_.size(); ++i) {
        RECT rect = rects_[i];
        RECT overlap{};
        if (!IntersectRect(&overlap, &rect, &area)) continue;
        const int position = static_cast<int>(i);
        const bool pressed = position == pressed_ && pressedInside_;
        if (!flat_)
            DrawButtonFrame(dc, rect, pressed ? ButtonFrame::Sunken : ButtonFrame::Raised);
        else if (pressed)
            DrawButtonFrame(dc, rect, ButtonFrame::Pressed);
        else if (position == hot_)
            DrawButtonFrame(dc, rect, ButtonFrame::Hot);
        if (position == focused_) {
            RECT mark = rect;
            InflateRect(&mark, -2, -2);
            DrawFocusMark(dc, mark);
        }
        if (!pictures_) continue;
        const int size = pictures_->Size();
        const int shift = pressed ? 1 : 0;
        pictures_->Draw(dc, buttons_[i].picture, rect.left + (rect.right - rect.left - size) / 2 + shift,
                        rect.top + (rect.bottom - rect.top - size) / 2 + shift);
        if (describer_ && describer_(position, focused_).running) DrawRunningMark(dc, rect, size);
    }
}

void ButtonStrip::OnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const int hit = HitTest(at);
    switch (message) {
        case WM_MOUSEMOVE:
            if (!tracking_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
                tracking_ = TrackMouseEvent(&track) != FALSE;
            }
            if (pressed_ >= 0 && pressedInside_ != (hit == pressed_)) {
                pressedInside_ = hit == pressed_;
                InvalidateButton(pressed_);
            }
            SetHot(hit);
            break;
        case WM_LBUTTONDOWN:
            if (hit < 0) break;
            pressed_ = hit;
            pressedInside_ = true;
            SetCapture(Handle());
            InvalidateButton(hit);
            break;
        case WM_LBUTTONUP: {
            const int pressed = pressed_;
            pressed_ = -1;
            if (GetCapture() == Handle()) ReleaseCapture();
            if (pressed < 0) break;
            InvalidateButton(pressed);
            clickShifted_ = (wParam & MK_SHIFT) != 0;
            if (hit == pressed) SendClick(pressed);
            clickShifted_ = false;
            break;
        }
        default:
            break;
    }
}

LRESULT ButtonStrip::ToolbarQuery(UINT message, WPARAM wParam, LPARAM lParam) {
    const int position = static_cast<int>(wParam);
    switch (message) {
        case TB_BUTTONCOUNT: return Count();
        case TB_GETBUTTON: {
            if (position < 0 || position >= Count() || !lParam) return FALSE;
            TBBUTTON button{};
            button.iBitmap = buttons_[position].picture;
            button.idCommand = buttons_[position].command;
            button.fsState = static_cast<BYTE>(TBSTATE_ENABLED | (buttons_[position].wrap ? TBSTATE_WRAP : 0));
            button.fsStyle = BTNS_BUTTON;
            *reinterpret_cast<TBBUTTON*>(lParam) = button;
            return TRUE;
        }
        case TB_GETITEMRECT: {
            const auto rect = ButtonRect(position);
            if (!rect || !lParam) return FALSE;
            *reinterpret_cast<RECT*>(lParam) = *rect;
            return TRUE;
        }
        case TB_HITTEST: return lParam ? HitTest(*reinterpret_cast<const POINT*>(lParam)) : -1;
        case TB_GETTOOLTIPS: return reinterpret_cast<LRESULT>(ToolTips());
        case TB_DELETEBUTTON:
            if (position < 0 || position >= Count()) return FALSE;
            Remove(position);
            return TRUE;
        default: return 0;
    }
}

LRESULT ButtonStrip::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<LRESULT> answer = RunChildHook(hook_, Handle(), message, wParam, lParam)) return *answer;
    switch (message) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            if (message == WM_MOUSEMOVE) {
                PointerOn(HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
            } else {
                // A press ends the tip until the pointer moves to another button.
                HideTip();
                tipSpent_ = true;
            }
            OnMouse(message, wParam, lParam);
            return 0;
        case WM_MOUSELEAVE:
            tracking_ = false;
            PointerOn(-1);
            if (pressed_ < 0) SetHot(-1);
            return 0;
        case WM_CAPTURECHANGED:
            if (pressed_ >= 0) {
                InvalidateButton(pressed_);
                pressed_ = -1;
            }
            return 0;
        case WM_SIZE:
            Relayout();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintOffScreen(Handle(), [this](HDC dc, const RECT& area) { Paint(dc, area); });
            return 0;
        case WM_NOTIFY:
            // The tooltips ask their tool's window; the text is the parent's.
            return SendMessageW(GetParent(Handle()), WM_NOTIFY, wParam, lParam);
        case WM_GETOBJECT:
            if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT)) break;
            if (!accessible_) accessible_ = NewStripAccessible(*this);
            if (const LRESULT answer = AnswerGetObject(*accessible_, wParam)) return answer;
            break;
        case kPostedClick:
            SendClick(static_cast<int>(wParam));
            return 0;
        case WM_DESTROY:
            DropAccessible();
            KillTimer(Handle(), kTipTimer);
            break;
        case WM_TIMER:
            if (wParam != kTipTimer) break;
            // The delay before the tip, or the time it stays.
            if (tips_.Shown()) {
                HideTip();
                tipSpent_ = true;
            } else {
                ShowTip();
            }
            return 0;
        case TB_BUTTONCOUNT:
        case TB_GETBUTTON:
        case TB_GETITEMRECT:
        case TB_HITTEST:
        case TB_GETTOOLTIPS:
        case TB_DELETEBUTTON:
            return ToolbarQuery(message, wParam, lParam);
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavi
