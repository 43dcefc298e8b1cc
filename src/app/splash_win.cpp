#include "app/splash_win.h"

#include "platform/handles_win.h"
#include "platform/messages.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 200;

void FillGradient(HDC dc, const RECT& area, COLORREF top, COLORREF bottom) {
    TRIVERTEX vertices[2] = {
        {area.left, area.top, static_cast<COLOR16>(GetRValue(top) << 8), static_cast<COLOR16>(GetGValue(top) << 8),
         static_cast<COLOR16>(GetBValue(top) << 8), 0},
        {area.right, area.bottom, static_cast<COLOR16>(GetRValue(bottom) << 8),
         static_cast<COLOR16>(GetGValue(bottom) << 8), static_cast<COLOR16>(GetBValue(bottom) << 8), 0},
    };
    GRADIENT_RECT rect{0, 1};
    // Straight from gdi32, which msimg32's GradientFill only passes on to:
    // the splash shows before anything else and need not load a library.
    GdiGradientFill(dc, vertices, 2, &rect, 1, GRADIENT_FILL_RECT_V);
}

HFONT MakeFont(int height, int weight) {
    return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS UI Gothic");
}

}  // namespace

bool SplashWindow::Show() {
    if (!RegisterClassOnce(L"Openning", static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)))) return false;
    // Centred: the remainder of the division is dropped.
    const int left = (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2;
    if (!CreateWindowOf(L"Openning", Widen(text::kAppTitle).c_str(), WS_POPUP | WS_BORDER,
                        WS_EX_TOOLWINDOW | WS_EX_TOPMOST, left, top, kWidth, kHeight))
        return false;
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateWindow(Handle());
    return true;
}

void SplashWindow::Close() {
    if (!Handle()) return;
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(Handle());
}

LRESULT SplashWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT area;
        GetClientRect(Handle(), &area);
        Paint(dc, area);
        EndPaint(Handle(), &ps);
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

// Our own picture: a sky-blue band, a row of launcher buttons and the title.
void SplashWindow::Paint(HDC dc, const RECT& area) {
    FillGradient(dc, area, RGB(36, 92, 168), RGB(150, 200, 245));
    const COLORREF buttonColours[] = {RGB(250, 200, 60), RGB(240, 110, 90), RGB(120, 200, 120), RGB(250, 250, 250),
                                      RGB(170, 140, 230)};
    for (int i = 0; i < 5; ++i) {
        const RECT button{24 + i * 44, 130, 24 + i * 44 + 34, 164};
        const OwnedBrush brush(CreateSolidBrush(buttonColours[i]));
        FillRect(dc, &button, brush.Get());
        DrawEdge(dc, const_cast<RECT*>(&button), EDGE_RAISED, BF_RECT);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const OwnedFont title(MakeFont(34, FW_BOLD));
    const OwnedFont subtitle(MakeFont(18, FW_NORMAL));
    {
        const Selected font(dc, title.Get());
        const std::wstring name = Widen(text::kShortTitle);
        TextOutW(dc, 24, 28, name.c_str(), static_cast<int>(name.size()));
    }
    const Selected font(dc, subtitle.Get());
    const std::wstring sub = Widen(text::kSubtitle);
    TextOutW(dc, 28, 80, sub.c_str(), static_cast<int>(sub.size()));
}

}  // namespace tavi
