#include "bar/bar_drag_drop_win.h"

#include "bar/file_drop.h"
#include "bar/stock_icons_win.h"

namespace tavi {
namespace {

// Timers of the button strip with a procedure of their own, so the strip
// itself never sees them.
constexpr UINT_PTR kDragTimerId = 0x7A01;  // timDrag
constexpr UINT_PTR kDropTimerId = 0x7A02;  // a drop handled once the source's drag loop has ended
constexpr wchar_t kOwnerProperty[] = L"TaviBarDragDrop";

// The "DRAG" picture as a cursor with its hot spot in the middle.
HCURSOR CreateDragCursor() {
    const int size = GetSystemMetrics(SM_CXCURSOR) > 0 ? GetSystemMetrics(SM_CXCURSOR) : 32;
    const OwnedIcon icon(CreateStockIcon(StockIcon::Drag, size));
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon.Get(), &info)) return nullptr;
    // The icon's bitmaps are copies of ours to free.
    const OwnedBitmap mask(info.hbmMask), colour(info.hbmColor);
    info.fIcon = FALSE;
    info.xHotspot = static_cast<DWORD>(size / 2);
    info.yHotspot = static_cast<DWORD>(size / 2);
    return CreateIconIndirect(&info);
}

PixelPoint ClientPoint(LPARAM lParam) {
    // Signed: with the mouse captured, points left of or above the strip are negative.
    return {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

MouseButton ButtonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP: return MouseButton::Left;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP: return MouseButton::Right;
        default: return MouseButton::Other;
    }
}

}  // namespace

BarDragDrop::BarDragDrop(ButtonStrip& strip, MenuMain& state, Platform& platform, BarServices& bar,
                         AutoHideState& autoHide, Shortcuts& shortcuts)
    : strip_(strip),
      state_(state),
      platform_(platform),
      bar_(bar),
      shortcuts_(shortcuts),
      drag_({state, platform, bar, autoHide, *this}),
      dragCursor_(CreateDragCursor()) {
    SetPropW(Strip(), kOwnerProperty, this);
}

BarDragDrop::~BarDragDrop() {
    registration_.Revoke();
    if (target_) {
        target_->Disconnect();
        target_->Release();
    }
    KillTimer(Strip(), kDragTimerId);
    KillTimer(Strip(), kDropTimerId);
    RemovePropW(Strip(), kOwnerProperty);
    if (drag_.MenuMoveActive() && GetCapture() == Strip()) ReleaseCapture();
    if (dragCursor_ && GetCursor() == dragCursor_.Get()) SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool BarDragDrop::RegisterDrops() {
    if (registration_.Registered()) return true;
    if (!target_) {
        FileDropTarget::Handlers handlers;
        handlers.accepts = [this](POINT screen) {
            // Not while a modal window of ours has the bar disabled.
            return IsWindowEnabled(GetAncestor(Strip(), GA_ROOT)) && ButtonAtScreen(screen).has_value();
        };
        handlers.hover = [this](POINT screen) {
            const std::optional<int> position = ButtonAtScreen(screen);
            strip_.SetHot(position.value_or(-1));
        };
        handlers.leave = [this] { strip_.SetHot(-1); };
        handlers.drop = [this](std::vector<std::string> files, POINT screen) { OnDrop(std::move(files), screen); };
        target_ = FileDropTarget::Create(std::move(handlers));
    }
    return registration_.Register(Strip(), target_);
}

std::optional<int> BarDragDrop::ButtonAt(int x, int y) const {
    const auto rectOf = [this](int i) -> std::optional<Rect> {
        const std::optional<RECT> r = strip_.ButtonRect(i);
        if (!r) return std::nullopt;
        return Rect{r->left, r->top, r->right, r->bottom};
    };
    return ButtonAtPoint(strip_.Count(), state_.page.VisibleCount(), {x, y}, rectOf, strip_.HitTest({x, y}));
}

std::optional<int> BarDragDrop::ButtonAtScreen(POINT screen) const {
    POINT client = screen;
    if (!ScreenToClient(Strip(), &client)) return std::nullopt;
    return ButtonAt(client.x, client.y);
}

bool BarDragDrop::ToolbarMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            const PixelPoint at = ClientPoint(lParam);
            if (drag_.MenuMoveActive()) {
                // The click that ends a move from the menu is the move's, not the toolbar's.
                if (message == WM_LBUTTONDOWN)
                    drag_.DropMenuMove(ButtonAt(at.x, at.y));
                else
                    drag_.CancelMenuMove();
                if (GetCapture() == Strip()) ReleaseCapture();
                return true;
            }
            pressedAt_ = at;
            drag_.Press(ButtonOf(message), ButtonAt(at.x, at.y));
            return false;
        }
        case WM_MOUSEMOVE: {
            // The system may report a move right after the press without one.
            const PixelPoint at = ClientPoint(lParam);
            if (at.x != pressedAt_.x || at.y != pressedAt_.y) drag_.Move();
            return false;
        }
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP: {
            const PixelPoint at = ClientPoint(lParam);
            drag_.Release(ButtonOf(message), ButtonAt(at.x, at.y));
            return false;
        }
        case WM_CAPTURECHANGED:
            // Another window took the mouse (a menu, another program): no
            // release will come, so whatever was under way ends here.
            if (drag_.MenuMoveActive()) drag_.CancelMenuMove();
            if (drag_.DragArmed() && reinterpret_cast<HWND>(lParam) != Strip())
                drag_.Release(MouseButton::Other, std::nullopt);
            return false;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE && drag_.MenuMoveActive()) {
                drag_.CancelMenuMove();
                if (GetCapture() == Strip()) ReleaseCapture();
                return true;
            }
            return false;
        default:
            return false;
    }
}

void BarDragDrop::BeginMenuMove(int index) {
    // The pointer may be anywhere when the menu closes: the next click,
    // wherever it is, comes to the toolbar.
    if (drag_.BeginMenuMove(index)) SetCapture(Strip());
}

void BarDragDrop::StartDelayTimer() { SetTimer(Strip(), kDragTimerId, kDragDelayMs, TimerProc); }

void BarDragDrop::StopDelayTimer() { KillTimer(Strip(), kDragTimerId); }

void BarDragDrop::ShowDragCursor() {
    if (dragCursor_) SetCursor(dragCursor_.Get());
}

void BarDragDrop::RestoreCursor() { SetCursor(LoadCursorW(nullptr, IDC_ARROW)); }

void BarDragDrop::OnDrop(std::vector<std::string> files, POINT screen) {
    // The dropping program waits inside its drag loop until Drop returns:
    // the drop is handled a moment later, so a message box of ours never
    // holds it (or the shell) up.
    pending_.push_back({std::move(files), ButtonAtScreen(screen)});
    SetTimer(Strip(), kDropTimerId, USER_TIMER_MINIMUM, TimerProc);
}

void BarDragDrop::HandlePendingDrops() {
    // A message box of one drop lets the next one arrive meanwhile: it waits
    // its turn in the loop that is already running.
    if (handlingDrops_) return;
    handlingDrops_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{handlingDrops_};
    while (!pending_.empty()) {
        const PendingDrop drop = std::move(pending_.front());
        pending_.erase(pending_.begin());
        (void)DropFiles({state_, platform_, shortcuts_}, drop.position, drop.files);
    }
}

void CALLBACK BarDragDrop::TimerProc(HWND window, UINT, UINT_PTR id, DWORD) {
    auto* self = static_cast<BarDragDrop*>(GetPropW(window, kOwnerProperty));
    if (!self) {
        KillTimer(window, id);
        return;
    }
    try {
        if (id == kDragTimerId) {
            self->drag_.DelayElapsed();
        } else if (id == kDropTimerId) {
            KillTimer(window, id);
            self->HandlePendingDrops();
        }
    } catch (...) {
        // A failing step is skipped like any failing handler; the bar goes on.
    }
}

}  // namespace tavi
