#include "bar/bar_window_win.h"

#include "app/messages.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimWallPaper = 2;

}  // namespace

TaviMenu2::TaviMenu2(MenuMain& state, Platform& platform) : state_(state), platform_(platform) {}

TaviMenu2::~TaviMenu2() = default;

bool TaviMenu2::Load() {
    if (!RegisterClassOnce(L"TaviMenu2")) return false;
    LoadEntries(state_.entries, platform_, state_.ApplicationPath);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = (39 * 15 + 32) / 15;
    if (!CreateWindowOf(L"TaviMenu2", Widen(text::kAppTitle).c_str(), WS_POPUP | WS_BORDER,
                        WS_EX_TOOLWINDOW | WS_EX_TOPMOST, work.left, work.top, width, work.bottom - work.top))
        return false;
    state_.BarReady = true;
    ShowWindow(Handle(), SW_SHOWNORMAL);
    UpdateWindow(Handle());
    return true;
}

void TaviMenu2::StartTimers(bool wallpaperTimer) {
    SetTimer(Handle(), kTimer1, 500, nullptr);
    if (wallpaperTimer) SetTimer(Handle(), kTimWallPaper, 60 * 1000, nullptr);
}

void TaviMenu2::SetButtonTip(int, const std::string&) {}
void TaviMenu2::ShowEntryIcon(int, bool) {}
void TaviMenu2::ClearButtonImage(int) {}

void TaviMenu2::StopTimers() {
    KillTimer(Handle(), kTimWallPaper);
    KillTimer(Handle(), kTimer1);
}

void TaviMenu2::EjectMedia() {}

std::pair<int, int> TaviMenu2::BarPositionTwips() {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    const int twips = TwipsPerPixel(Handle());
    return {rect.left * twips, rect.top * twips};
}

void TaviMenu2::RemoveTrayIcon() {}
void TaviMenu2::RemoveAppBar(bool) {}

void TaviMenu2::OnTimer(UINT_PTR id) {
    if (id == kTimer1) started_ = true;
}

LRESULT TaviMenu2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_CLOSE:
            RunShutdown(state_, platform_, *this);
            DestroyWindow(Handle());
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tavi
