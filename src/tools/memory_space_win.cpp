#include "tools/memory_space_win.h"

#include <string>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "platform/colour_scheme_win.h"
#include "platform/dialog_templates_win.h"
#include "platform/program_version_win.h"
#include "platform/wide_win.h"
#include "tools/memory_space_ids.h"

namespace tavi {
namespace {

constexpr UINT_PTR kStatusTimer = 1;  // timStatus

}  // namespace

frmMemorySpace::frmMemorySpace(Platform& platform, MemoryStatus& memory, SystemResources& resources)
    : platform_(platform), memory_(memory), resources_(resources) {}

frmMemorySpace::~frmMemorySpace() { Close(); }

bool frmMemorySpace::Show(NativeWindow owner) {
    if (hwnd_) {
        ShowWindow(hwnd_, SW_SHOWNORMAL);
        SetForegroundWindow(hwnd_);
        return true;
    }
    const DialogTemplate found = LanguageDialog(IDD_MEMORY_SPACE);
    if (!found.data) return false;
    font_.UseCharset(found.charset);
    const HWND created = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), found.data, reinterpret_cast<HWND>(owner),
                                                    Procedure, reinterpret_cast<LPARAM>(this));
    if (!created) return false;
    ShowWindow(created, SW_SHOWNORMAL);
    return true;
}

void frmMemorySpace::Close() {
    if (!hwnd_) return;
    KillTimer(hwnd_, kStatusTimer);
    DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
}

INT_PTR CALLBACK frmMemorySpace::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = DialogOwner(hwnd, message, lParam, &frmMemorySpace::hwnd_);
    if (!self) return FALSE;
    try {
        if (self->font_.AnswerGetFont(hwnd, message)) return TRUE;
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE;  // a failing refresh leaves the window as it was
    }
}

INT_PTR frmMemorySpace::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            font_.Apply(hwnd_);
            PaintAsPage(hwnd_);
            ApplyTitleBarColours(hwnd_);
            ApplyControlColours(GetDlgItem(hwnd_, IDOK));
            OnInit();
            return TRUE;
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSTATIC:
            return DialogColours(reinterpret_cast<HDC>(wParam));
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            if (!ColourSettingChanged(message, wParam, lParam)) return FALSE;
            PaintAsPage(hwnd_);
            ApplyTitleBarColours(hwnd_);
            ApplyControlColours(GetDlgItem(hwnd_, IDOK));
            InvalidateRect(hwnd_, nullptr, TRUE);
            return FALSE;
        case WM_DPICHANGED:
            // Once the system has moved and sized the controls, their font follows.
            PostMessageW(hwnd_, kDialogRescale, 0, 0);
            return FALSE;
        case kDialogRescale:
            font_.Apply(hwnd_);
            return TRUE;
        case WM_TIMER:
            if (wParam == kStatusTimer) Refresh();
            return TRUE;
        case WM_COMMAND:
            // OK, and Escape, which the dialog manager turns into IDCANCEL.
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) Close();
            return TRUE;
        case WM_CLOSE:
            Close();
            return TRUE;
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID < IDC_MEMORY_BAR0 || item.CtlID > IDC_MEMORY_BAR0 + 3) return FALSE;
            DrawBar(item);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void frmMemorySpace::OnInit() {
    const std::string_view labels[] = {text::kMemoryLoadLabel, text::kSystemResourceLabel, text::kUserResourceLabel,
                                       text::kGdiResourceLabel};
    SetWindowTextW(hwnd_, Widen(text::kMemorySpaceCaption).c_str());
    for (int i = 0; i < 4; ++i) SetDlgItemTextW(hwnd_, IDC_MEMORY_LABEL0 + i, Widen(labels[i]).c_str());
    SetDlgItemTextW(hwnd_, IDC_MEMORY_TOTAL_LABEL, Widen(text::kTotalPhysLabel).c_str());
    SetDlgItemTextW(hwnd_, IDC_MEMORY_AVAIL_LABEL, Widen(text::kAvailPhysLabel).c_str());
    SetDlgItemTextW(hwnd_, IDOK, Widen(text::kEntryDialogOk).c_str());
    Refresh();
    SetTimer(hwnd_, kStatusTimer, kMemorySpaceRefreshMs, nullptr);
}

void frmMemorySpace::Refresh() {
    const MemorySpaceView view =
        MemorySpaceRefresh(memory_, resources_, platform_.system, platform_.files, ThousandsSeparator());
    if (view.totalPhys) SetDlgItemTextW(hwnd_, IDC_MEMORY_TOTAL, Widen(*view.totalPhys).c_str());
    if (view.availPhys) SetDlgItemTextW(hwnd_, IDC_MEMORY_AVAIL, Widen(*view.availPhys).c_str());
    if (view.load) bars_[0] = view.load;
    for (size_t i = 1; i < 4; ++i) {
        if (view.resources == MemorySpaceView::Resources::Unchanged) break;
        missing_[i] = view.resources == MemorySpaceView::Resources::Missing;
        if (!missing_[i]) bars_[i] = view.resourceBars[i - 1];
    }
    for (int i = 0; i < 4; ++i) InvalidateRect(GetDlgItem(hwnd_, IDC_MEMORY_BAR0 + i), nullptr, FALSE);
}

// The palette's box with its figure centred, and the filled part with the
// figure over it in the fill's own text colour (white on dark blue in the
// light look).
void frmMemorySpace::DrawBar(const DRAWITEMSTRUCT& item) const {
    const size_t index = item.CtlID - IDC_MEMORY_BAR0;
    const HDC dc = item.hDC;
    const RECT box = item.rcItem;
    const Palette& palette = CurrentPalette();
    FillWithColour(dc, box, palette.meterBack);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColourOf(palette.meterText));
    const HGDIOBJ previousFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    const int width = box.right - box.left, height = box.bottom - box.top;
    if (missing_[index]) {
        const std::wstring message = Widen(text::kResourceLibraryMissing);
        RECT line = box;
        DrawTextW(dc, message.c_str(), static_cast<int>(message.size()), &line,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    } else if (bars_[index]) {
        const PercentBar& bar = *bars_[index];
        const std::wstring caption = Widen(bar.Text());
        SIZE extent{};
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        const PercentBarLayout layout = LayOutPercentBar(bar, width, height, extent.cx, extent.cy);
        const int textX = box.left + layout.text.left, textY = box.top + layout.text.top;
        const RECT fill{box.left + layout.fill.left, box.top + layout.fill.top, box.left + layout.fill.right,
                        box.top + layout.fill.bottom};
        const RECT rest{fill.right, box.top, box.right, box.bottom};
        // The figure in two parts: clipped to the empty part, then over the fill.
        ExtTextOutW(dc, textX, textY, ETO_CLIPPED, &rest, caption.c_str(), static_cast<UINT>(caption.size()), nullptr);
        if (layout.fill.Width() > 0) {
            FillWithColour(dc, fill, palette.meterFill);
            SetTextColor(dc, ColourOf(palette.meterFillText));
            ExtTextOutW(dc, textX, textY, ETO_CLIPPED, &fill, caption.c_str(), static_cast<UINT>(caption.size()),
                        nullptr);
        }
    }
    if (previousFont) SelectObject(dc, previousFont);
}

}  // namespace tavi
