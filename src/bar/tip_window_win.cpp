#include "bar/tip_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "platform/described_window_win.h"

namespace tavi {
namespace {

// Between the text and the border, at 96 dpi.
constexpr int kMarginX96 = 4;
constexpr int kMarginY96 = 2;

}  // namespace

bool TipWindow::Create(HWND owner, HWND toolWindow, TextOf textOf) {
    toolWindow_ = toolWindow;
    textOf_ = std::move(textOf);
    if (!RegisterClassOnce(kClassName, GetSysColorBrush(COLOR_INFOBK))) return false;
    return CreateWindowOf(kClassName, L"", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, 0, 0, 0, 0,
                          owner);
}

// The status bar's font, as the system's own tooltips take it, at the scale
// of the monitor the owner is on.
void TipWindow::UpdateFont() {
    const int dpi = WindowDpi(GetWindow(Handle(), GW_OWNER));
    if (font_ && dpi == fontDpi_) return;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
    LOGFONTW face = metrics.lfStatusFont;
    face.lfHeight = MulDiv(face.lfHeight, dpi, WindowDpi(nullptr));
    font_.Reset(CreateFontIndirectW(&face));
    fontDpi_ = dpi;
}

SIZE TipWindow::Measure(const std::wstring& text) {
    UpdateFont();
    const WindowDc dc(Handle());
    RECT area{};
    if (dc) {
        const Selected selected(dc.Get(), font_.Get());
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &area,
                  DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    }
    const int dpi = fontDpi_ ? fontDpi_ : 96;
    return {area.right + 2 * (MulDiv(kMarginX96, dpi, 96) + 1), area.bottom + 2 * (MulDiv(kMarginY96, dpi, 96) + 1)};
}

void TipWindow::Place(UINT_PTR tool, const std::wstring& text, POINT at) {
    if (!Handle()) return;
    const SIZE size = Measure(text);
    tool_ = tool;
    text_ = text;
    // The caption is the text: what a screen reader names the tip by.
    SetWindowTextW(Handle(), text.c_str());
    SetWindowPos(Handle(), HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void TipWindow::Reveal() {
    if (!Handle() || !active_) return;
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    shown_ = true;
}

void TipWindow::Hide() {
    if (!shown_) return;
    shown_ = false;
    ShowWindow(Handle(), SW_HIDE);
}

void TipWindow::Paint(HDC dc) const {
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    const Selected selected(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &client,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// TTM_GETTEXTW: the tool's text into the asker's buffer, cut to its size.
LRESULT TipWindow::CopyText(WPARAM chars, LPARAM info) const {
    auto* tool = reinterpret_cast<TTTOOLINFOW*>(info);
    if (!tool || !tool->lpszText || chars == 0) return 0;
    const std::wstring text = shown_ && tool->uId == tool_ ? text_ : textOf_ ? textOf_(tool->uId) : std::wstring();
    const size_t count = std::min<size_t>(text.size(), chars - 1);
    std::wmemcpy(tool->lpszText, text.c_str(), count);
    tool->lpszText[count] = L'\0';
    return 0;
}

LRESULT TipWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintOffScreen(Handle(), [this](HDC dc, const RECT&) { Paint(dc); });
            return 0;
        case WM_ERASEBKGND: return 1;
        // The pointer passes through to whatever lies under the tip.
        case WM_NCHITTEST: return HTTRANSPARENT;
        case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
        case WM_GETOBJECT:
            if (static_cast<LONG>(lParam) == static_cast<LONG>(OBJID_CLIENT))
                if (const LRESULT answer = AnswerAsTooltip(Handle(), wParam)) return answer;
            break;
        case TTM_ACTIVATE:
            active_ = wParam != FALSE;
            if (!active_) Hide();
            return 0;
        case TTM_GETTEXTW: return CopyText(wParam, lParam);
        case TTM_GETTOOLINFOW: {
            auto* tool = reinterpret_cast<TTTOOLINFOW*>(lParam);
            return tool && tool->cbSize >= TTTOOLINFOW_V1_SIZE && tool->hwnd == toolWindow_ ? TRUE : FALSE;
        }
        default: break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavi
