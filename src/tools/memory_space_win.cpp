#include "tools/memory_space_win.h"

#include <string>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "platform/colour_scheme_win.h"
#include "platform/program_version_win.h"
#include "platform/wide_win.h"
#include "tools/memory_space_ids.h"

namespace tavi {
namespace {

constexpr UINT_PTR kStatusTimer = 1;  // timStatus

}  // namespace

MemorySpaceDialog::MemorySpaceDialog(Platform& platform, MemoryStatus& memory, SystemResources& resources)
    : platform_(platform), memory_(memory), resources_(resources) {}

MemorySpaceDialog::~MemorySpaceDialog() { Close(); }

bool MemorySpaceDialog::Show(NativeWindow owner) {
    if (!Handle() && !Create(reinterpret_cast<HWND>(owner), IDD_MEMORY_SPACE)) return false;
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetForegroundWindow(Handle());
    return true;
}

void MemorySpaceDialog::Close() {
    if (!Handle()) return;
    KillTimer(Handle(), kStatusTimer);
    DestroyWindow(Handle());  // WM_NCDESTROY clears the handle
}

INT_PTR MemorySpaceDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kStatusTimer) Refresh();
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

// OK, and Escape, which the dialog manager turns into IDCANCEL.
void MemorySpaceDialog::OnCommand(int id, int) {
    if (id == IDOK || id == IDCANCEL) Close();
}

bool MemorySpaceDialog::OnInit() {
    const std::string_view labels[] = {text::kMemoryLoadLabel, text::kSystemResourceLabel, text::kUserResourceLabel,
                                       text::kGdiResourceLabel};
    SetWindowTextW(Handle(), Widen(text::kMemorySpaceCaption).c_str());
    for (int i = 0; i < 4; ++i) SetItemText(IDC_MEMORY_LABEL0 + i, labels[i]);
    SetItemText(IDC_MEMORY_TOTAL_LABEL, text::kTotalPhysLabel);
    SetItemText(IDC_MEMORY_AVAIL_LABEL, text::kAvailPhysLabel);
    SetItemText(IDOK, text::kEntryDialogOk);
    Refresh();
    SetTimer(Handle(), kStatusTimer, kMemorySpaceRefreshMs, nullptr);
    return true;
}

void MemorySpaceDialog::Refresh() {
    const MemorySpaceView view =
        MemorySpaceRefresh(memory_, resources_, platform_.system, platform_.files, ThousandsSeparator());
    if (view.totalPhys) SetDlgItemTextW(Handle(), IDC_MEMORY_TOTAL, Widen(*view.totalPhys).c_str());
    if (view.availPhys) SetDlgItemTextW(Handle(), IDC_MEMORY_AVAIL, Widen(*view.availPhys).c_str());
    if (view.load) bars_[0] = view.load;
    for (size_t i = 1; i < 4; ++i) {
        if (view.resources == MemorySpaceView::Resources::Unchanged) break;
        missing_[i] = view.resources == MemorySpaceView::Resources::Missing;
        if (!missing_[i]) bars_[i] = view.resourceBars[i - 1];
    }
    for (int i = 0; i < 4; ++i) InvalidateRect(GetDlgItem(Handle(), IDC_MEMORY_BAR0 + i), nullptr, FALSE);
}

// The palette's box with its figure centred, and the filled part with the
// figure over it in the fill's own text colour (white on dark blue in the
// light look).
void MemorySpaceDialog::DrawBar(const DRAWITEMSTRUCT& item) const {
    const size_t index = item.CtlID - IDC_MEMORY_BAR0;
    const HDC dc = item.hDC;
    const RECT box = item.rcItem;
    const Palette& palette = CurrentPalette();
    FillWithColour(dc, box, palette.meterBack);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColourOf(palette.meterText));
    const HGDIOBJ previousFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
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
