#include "dialogs/icon_change_win.h"

#include <windows.h>

#include <windowsx.h>

#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "dialogs/icon_change_ids.h"
#include "platform/colour_scheme_win.h"
#include "platform/handles_win.h"
#include "platform/icon_files_win.h"
#include "platform/picture_workers_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

constexpr const wchar_t* kStripClass = L"" ICONCHANGE_STRIP_CLASS;
constexpr int kIconPixels96 = 32;

// The icon picker `IconChange`. The strip is one window that draws the
// visible cells from icons extracted once per file; scrolling only changes
// which cells it draws. With workers, the file is counted and its icons
// drawn by them, so a file on a drive that does not answer leaves the
// dialog answering: its cells stay empty until the workers are done.
class IconChange final : public Dialog, public PictureListener {
public:
    IconChange(const IconChangeInput& input, Platform& platform, FileChooser& chooser, IconFiles& icons)
        : input_(input), platform_(platform), chooser_(chooser), icons_(icons), workers_(icons.Workers()) {}
    ~IconChange() override {
        if (workers_) workers_->Forget(*this);
    }
    IconChange(const IconChange&) = delete;
    IconChange& operator=(const IconChange&) = delete;

    void PictureArrived(const std::string& fetch, const PictureAnswer& answer) override;

    const std::optional<IconChoice>& Result() const { return result_; }
    static bool RegisterStripClass();

protected:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRescale() override {
        LayoutStrip();
        LoadCells();
    }

private:
    static LRESULT CALLBACK StripProcedure(HWND strip, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT StripMessage(HWND strip, UINT message, WPARAM wParam, LPARAM lParam);
    void OnScroll(int request, int position);
    void LayoutStrip();
    void LoadCells();
    void WriteScroll();
    void PaintStrip(HDC dc) const;
    int CellPixels() const { return Scale(kIconCellPixels96); }
    IconCounts Counts();

    IconChangeInput input_;
    Platform& platform_;
    FileChooser& chooser_;
    IconFiles& icons_;
    IconChangeView view_;
    std::vector<OwnedIcon> cells_;  // cell i's icon, empty when it could not be drawn
    PictureFetches* workers_;
    std::map<std::string, int> counts_;  // icons per file, as the workers counted them
    int cellsAsked_ = 0;                  // which loading of the cells an answer is for
    std::optional<IconChoice> result_;
};

bool IconChange::RegisterStripClass() {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kStripClass, &existing)) return true;
    WNDCLASSEXW strip{};
    strip.cbSize = sizeof strip;
    strip.lpfnWndProc = StripProcedure;
    strip.hInstance = GetModuleHandleW(nullptr);
    strip.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    strip.lpszClassName = kStripClass;
    return RegisterClassExW(&strip) != 0;
}

INT_PTR IconChange::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_HSCROLL || reinterpret_cast<HWND>(lParam) != Item(IDC_ICONCHANGE_SCROLL)) return FALSE;
    OnScroll(LOWORD(wParam), HIWORD(wParam));
    return TRUE;
}

bool IconChange::OnInit() {
    SetTexts(text::kIconChangeCaption,
             {
                 {IDC_ICONCHANGE_FILE_LABEL, text::kIconChangeFileLabel},
                 {IDC_ICONCHANGE_BROWSE, text::kEntryDialogBrowse},
                 {IDOK, text::kEntryDialogOk},
                 {IDCANCEL, text::kEntryDialogCancel},
             });
    SetWindowLongPtrW(Item(IDC_ICONCHANGE_STRIP), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    view_ = IconChangeLoad(input_, platform_, Counts());
    SetItemText(IDC_ICONCHANGE_FILE, view_.fileText);
    LayoutStrip();
    LoadCells();
    return true;
}

void IconChange::OnCommand(int id, int code) {
    switch (id) {
        case IDC_ICONCHANGE_FILE:
            if (code == EN_SETFOCUS) SelectAllOnFocus(Item(id));
            return;
        case IDC_ICONCHANGE_BROWSE:
            view_.fileText = ItemText(IDC_ICONCHANGE_FILE);
            IconChangeBrowse(view_, platform_, Counts(), chooser_, reinterpret_cast<NativeWindow>(Handle()));
            SetItemText(IDC_ICONCHANGE_FILE, view_.fileText);
            LoadCells();
            return;
        case IDOK:
            view_.fileText = ItemText(IDC_ICONCHANGE_FILE);
            result_ = IconChangeOk(view_);
            EndDialog(Handle(), IDOK);
            return;
        case IDCANCEL:
            EndDialog(Handle(), IDCANCEL);
            return;
        default:
            return;
    }
}

void IconChange::OnScroll(int request, int position) {
    int value = view_.scrollValue;
    switch (request) {
        case SB_LINELEFT: --value; break;
        case SB_LINERIGHT: ++value; break;
        case SB_PAGELEFT: value -= kVisibleIconCells; break;
        case SB_PAGERIGHT: value += kVisibleIconCells; break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: value = position; break;
        case SB_LEFT: value = 0; break;
        case SB_RIGHT: value = view_.scrollMax; break;
        default: return;
    }
    IconChangeScroll(view_, value);
    SetScrollPos(Item(IDC_ICONCHANGE_SCROLL), SB_CTL, view_.scrollValue, TRUE);
    InvalidateRect(Item(IDC_ICONCHANGE_STRIP), nullptr, FALSE);
}

// Eight cells at this dpi, centred in the area the template gives the strip
// and its scroll bar.
void IconChange::LayoutStrip() {
    HWND strip = Item(IDC_ICONCHANGE_STRIP);
    HWND scroll = Item(IDC_ICONCHANGE_SCROLL);
    RECT stripRect{}, scrollRect{}, area{};
    GetWindowRect(strip, &stripRect);
    GetWindowRect(scroll, &scrollRect);
    UnionRect(&area, &stripRect, &scrollRect);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);

    const int cell = CellPixels();
    SetClientSize(strip, kVisibleIconCells * cell, cell);
    GetWindowRect(strip, &stripRect);
    const int width = stripRect.right - stripRect.left;
    const int height = stripRect.bottom - stripRect.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    SetWindowPos(strip, nullptr, left, area.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(scroll, nullptr, left, area.top + height + Scale(2), width, scrollRect.bottom - scrollRect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

IconCounts IconChange::Counts() {
    if (!workers_) return CountNow(icons_);
    return CountThrough(*workers_, *this, counts_);
}

void IconChange::LoadCells() {
    cells_.clear();
    const int size = Scale(kIconPixels96);
    cells_.resize(static_cast<size_t>(view_.cellCount));
    ++cellsAsked_;
    for (int i = 0; i < view_.cellCount; ++i) {
        if (!workers_) {
            cells_[static_cast<size_t>(i)].Reset(LoadFileIcon(view_.stripFile, i, size));
            continue;
        }
        PictureRequest request;
        request.path = view_.stripFile;
        request.index = i;
        request.size = size;
        (void)workers_->Ask(*this, "c|" + std::to_string(cellsAsked_) + "|" + std::to_string(i), request,
                            PictureFetches::Clock::now());
    }
    WriteScroll();
    InvalidateRect(Item(IDC_ICONCHANGE_STRIP), nullptr, FALSE);
}

void IconChange::PictureArrived(const std::string& fetch, const PictureAnswer& answer) {
    if (!Handle()) return;
    if (fetch.starts_with("n|")) {
        const std::string file = fetch.substr(2);
        counts_[file] = answer.iconCount;
        if (file != view_.stripFile) return;  // another file was chosen meanwhile
        const std::string shown = view_.fileText;
        if (!IconChangeCountCame(view_, platform_, Counts())) return;
        // The library stands in for a file without icons.
        if (view_.fileText != shown) SetItemText(IDC_ICONCHANGE_FILE, view_.fileText);
        LoadCells();
        return;
    }
    const std::string loading = "c|" + std::to_string(cellsAsked_) + "|";
    if (!fetch.starts_with(loading)) return;  // for cells loaded before
    const size_t cell = std::strtoul(fetch.c_str() + loading.size(), nullptr, 10);
    if (cell >= cells_.size()) return;
    cells_[cell].Reset(ButtonIconOf(answer, Scale(kIconPixels96)));
    InvalidateRect(Item(IDC_ICONCHANGE_STRIP), nullptr, FALSE);
}

void IconChange::WriteScroll() {
    HWND scroll = Item(IDC_ICONCHANGE_SCROLL);
    // A page of eight cells: the thumb shows how much of the strip is in view
    // and the last position is cells − 8.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = view_.scrollEnabled ? view_.cellCount - 1 : 0;
    info.nPage = view_.scrollEnabled ? kVisibleIconCells : 0;
    info.nPos = view_.scrollValue;
    SetScrollInfo(scroll, SB_CTL, &info, TRUE);
    EnableWindow(scroll, view_.scrollEnabled ? TRUE : FALSE);
}

LRESULT CALLBACK IconChange::StripProcedure(HWND strip, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* dialog = reinterpret_cast<IconChange*>(GetWindowLongPtrW(strip, GWLP_USERDATA));
    if (!dialog) return DefWindowProcW(strip, message, wParam, lParam);
    try {
        return dialog->StripMessage(strip, message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(strip, message, wParam, lParam);
    }
}

LRESULT IconChange::StripMessage(HWND strip, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the painting covers every pixel
        case WM_PAINT: {
            PAINTSTRUCT paint;
            if (HDC dc = BeginPaint(strip, &paint)) {
                PaintStrip(dc);
                EndPaint(strip, &paint);
            }
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintStrip(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_LBUTTONDOWN: {
            const int x = GET_X_LPARAM(lParam);
            const int cell = CellPixels();
            if (x < 0 || x >= kVisibleIconCells * cell) return 0;
            IconChangeCellClicked(view_, view_.scrollValue + x / cell);
            InvalidateRect(strip, nullptr, FALSE);
            return 0;
        }
        default:
            return DefWindowProcW(strip, message, wParam, lParam);
    }
}

void IconChange::PaintStrip(HDC dc) const {
    RECT client{};
    GetClientRect(Item(IDC_ICONCHANGE_STRIP), &client);
    FillWithColour(dc, client, CurrentPalette().field);
    const int cell = CellPixels();
    const int size = Scale(kIconPixels96);
    const int marked = view_.MarkedCell();
    for (int k = 0; k < kVisibleIconCells; ++k) {
        const int i = view_.scrollValue + k;
        if (i >= view_.cellCount) break;
        RECT box{k * cell, 0, (k + 1) * cell, cell};
        if (i == marked) {
            FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
            FrameRect(dc, &box, GetSysColorBrush(COLOR_WINDOWTEXT));
        }
        if (i < static_cast<int>(cells_.size()) && cells_[i])
            DrawIconEx(dc, box.left + (cell - size) / 2, box.top + (cell - size) / 2, cells_[i].Get(), size, size, 0,
                       nullptr, DI_NORMAL);
    }
}

}  // namespace

std::optional<IconChoice> ShowIconChange(NativeWindow owner, const IconChangeInput& input, Platform& platform,
                                         FileChooser& chooser, IconFiles& icons) {
    if (!IconChange::RegisterStripClass()) return std::nullopt;
    IconChange dialog(input, platform, chooser, icons);
    if (dialog.Run(reinterpret_cast<HWND>(owner), IDD_ICON_CHANGE) != IDOK) return std::nullopt;
    return dialog.Result();
}

}  // namespace tavi
