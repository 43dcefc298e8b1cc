#include "dialogs/entry_search_box_win.h"

#include <algorithm>

#include "app/phase_trace.h"
#include "bar/button_icons.h"
#include "bar/stock_icons_win.h"
#include "dialogs/dialog_win.h"
#include "dialogs/entry_search_box_ids.h"
#include "dialogs/group_box.h"
#include "platform/picture_workers_win.h"
#include "platform/messages.h"
#include "platform/wide_win.h"
#include "platform/window_win.h"

namespace tavi {
namespace {

// Posted to the box: a key that closes it, acted on from the box's own
// procedure rather than from inside its edit box; and the next titles whose
// readings the input method is asked for, a few at a time.
constexpr UINT kKeyChosen = WM_APP + 1;
constexpr UINT kAskReadings = WM_APP + 2;
constexpr size_t kReadingsPerTurn = 16;

std::optional<SearchKey> SearchKeyOf(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_UP: return SearchKey::Up;
        case VK_DOWN: return SearchKey::Down;
        case VK_PRIOR: return SearchKey::PageUp;
        case VK_NEXT: return SearchKey::PageDown;
        case VK_RETURN: return SearchKey::Enter;
        case VK_ESCAPE: return SearchKey::Escape;
        default: return std::nullopt;
    }
}

bool ShiftHeld() { return GetKeyState(VK_SHIFT) < 0; }

}  // namespace

EntrySearchDialog::EntrySearchDialog(MenuMain& state, Platform& platform, BarServices& bar, PictureFetches& pictures,
                                     PhoneticReadings& readings, UseCounts& uses,
                                     std::function<void(int)> openAtButton)
    : state_(state),
      platform_(platform),
      bar_(bar),
      fetches_(pictures),
      readings_(readings),
      uses_(uses),
      openAtButton_(std::move(openAtButton)) {}

EntrySearchDialog::~EntrySearchDialog() {
    fetches_.Forget(*this);
    // Destroyed while this dialog still answers: the readings are saved on the way.
    if (Handle()) DestroyWindow(Handle());
    if (images_) ImageList_Destroy(images_);
}

bool EntrySearchDialog::Show() {
    if (acting_ || state_.Closing) return false;
    const bool shown = Handle() && IsWindowVisible(Handle());
    if (!shown) {
        // Whoever had the keyboard gets it back when the box closes without a choice.
        HWND front = GetForegroundWindow();
        DWORD process = 0;
        if (front) GetWindowThreadProcessId(front, &process);
        const bool ours = process == GetCurrentProcessId();
        previousForeground_ = ours ? nullptr : front;
        previousFocus_ = ours ? GetFocus() : nullptr;
    }
    if (!Handle()) {
        if (!Prepare()) return false;
    } else if (!shown) {
        // Opened again: the box was only hidden, its lists are looked at afresh
        // and its pictures drawn again from the files.
        if (images_) ImageList_Remove(images_, -1);
        ForgetPictures();
        (void)box_->Refresh();
        ShowRows();
        PostMessageW(Handle(), kAskReadings, 0, 0);
    }
    if (!shown) Place();
    ShowWindow(Handle(), SW_SHOWNORMAL);
    BringWindowToTop(Handle());
    SetForegroundWindow(Handle());
    SetFocus(GetDlgItem(Handle(), IDC_SEARCH_TEXT));
    SendDlgItemMessageW(Handle(), IDC_SEARCH_TEXT, EM_SETSEL, 0, -1);
    UpdateWindow(Handle());
    TracePhase("search box shown");
    return true;
}

bool EntrySearchDialog::Prepare() {
    if (Handle()) return true;
    if (state_.Closing) return false;
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    if (!cacheLoaded_) {
        cache_.Load(platform_.files, ReadingCachePath(state_.ApplicationPath));
        cacheLoaded_ = true;
    }
    box_.emplace(state_, platform_, cache_, &uses_);
    if (!Create(reinterpret_cast<HWND>(bar_.Handle()), IDD_ENTRY_SEARCH)) {
        box_.reset();
        return false;
    }
    return true;
}

void EntrySearchDialog::OnCommand(int id, int code) {
    switch (id) {
        case IDC_SEARCH_TEXT:
            if (code == EN_CHANGE && box_) {
                box_->SetQuery(ItemText(IDC_SEARCH_TEXT));
                ShowRows();
            }
            return;
        case IDOK: OnKey(SearchKey::Enter, ShiftHeld()); return;
        case IDCANCEL: Close(true); return;
        default: return;
    }
}

INT_PTR EntrySearchDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            // Coming back to the box after the lists were changed on the bar.
            if (LOWORD(wParam) != WA_INACTIVE && box_ && box_->Refresh()) ShowRows();
            return FALSE;
        case WM_NOTIFY:
            OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
            return TRUE;
        case kKeyChosen:
            OnKey(static_cast<SearchKey>(wParam), lParam != 0);
            return TRUE;
        case kAskReadings:
            if (box_ && !acting_ && IsWindowVisible(Handle())) {
                const bool more = box_->AskReadings(readings_, kReadingsPerTurn);
                ShowRows();
                if (more) PostMessageW(Handle(), kAskReadings, 0, 0);
            }
            return TRUE;
        case WM_CLOSE:
            Close(true);
            return TRUE;
        case WM_DESTROY:
            if (box_) box_->SaveReadings();
            return FALSE;
        default:
            return FALSE;
    }
}

bool EntrySearchDialog::OnInit() {
    SetWindowTextW(Handle(), Widen(text::kEntrySearchCaption).c_str());
    HWND edit = GetDlgItem(Handle(), IDC_SEARCH_TEXT);
    SetWindowSubclass(edit, EditKeys, 0, reinterpret_cast<DWORD_PTR>(this));

    HWND list = GetDlgItem(Handle(), IDC_SEARCH_RESULTS);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const int iconPixels = MulDiv(16, WindowDpi(Handle()), 96);
    if (images_) ImageList_Destroy(images_);
    images_ = ImageList_Create(iconPixels, iconPixels, ILC_COLOR32 | ILC_MASK, 16, 16);
    ForgetPictures();
    ListView_SetImageList(list, images_, LVSIL_SMALL);
    RECT client{};
    GetClientRect(list, &client);
    const int width = client.right - GetSystemMetrics(SM_CXVSCROLL);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = width * 3 / 5;
    ListView_InsertColumn(list, 0, &column);
    column.cx = width - width * 3 / 5;
    ListView_InsertColumn(list, 1, &column);

    (void)box_->Refresh();
    ShowRows();
    PostMessageW(Handle(), kAskReadings, 0, 0);
    return false;  // the focus is set by Show
}

// Centred on the work area of the bar's monitor, whichever monitor the
// system would have put the box on.
void EntrySearchDialog::Place() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HMONITOR on = MonitorFromWindow(reinterpret_cast<HWND>(bar_.Handle()), MONITOR_DEFAULTTOPRIMARY);
    RECT window{};
    if (!GetMonitorInfoW(on, &monitor) || !GetWindowRect(Handle(), &window)) return;
    const RECT& work = monitor.rcWork;
    const Rect at = CentredIn({work.left, work.top, work.right, work.bottom}, window.right - window.left,
                              window.bottom - window.top);
    SetWindowPos(Handle(), HWND_TOP, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void EntrySearchDialog::ShowRows() {
    if (!box_) return;
    HWND list = GetDlgItem(Handle(), IDC_SEARCH_RESULTS);
    ListView_SetItemCountEx(list, static_cast<int>(box_->Count()), 0);
    const int selected = box_->Selected();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (selected >= 0) {
        ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, selected, FALSE);
    } else if (box_->Count() > 0) {
        ListView_EnsureVisible(list, 0, FALSE);
    }
    // Erased too: rows past a shorter list would otherwise stay painted.
    InvalidateRect(list, nullptr, TRUE);
}

int EntrySearchDialog::PageRows() const {
    return std::max(1, static_cast<int>(ListView_GetCountPerPage(GetDlgItem(Handle(), IDC_SEARCH_RESULTS))));
}

void EntrySearchDialog::OnKey(SearchKey key, bool shift) {
    if (!box_ || acting_) return;
    // While a modal window of ours is open (the bar is disabled under it) nothing starts.
    if (key == SearchKey::Enter && !IsWindowEnabled(reinterpret_cast<HWND>(bar_.Handle()))) {
        MessageBeep(MB_OK);
        return;
    }
    const SearchChoice choice = box_->Key(key, shift, PageRows());
    if (choice.action == SearchChoice::Action::None) {
        ShowRows();
        return;
    }
    Act(choice);
}

void EntrySearchDialog::Act(const SearchChoice& choice) {
    acting_ = true;
    struct Done {
        bool& acting;
        ~Done() { acting = false; }
    } done{acting_};
    Close(choice.action == SearchChoice::Action::Close);
    CarryOutSearchChoice(choice, {state_, platform_, bar_, openAtButton_});
}

// Hidden, not destroyed: the next opening only shows it again.
void EntrySearchDialog::Close(bool giveFocusBack) {
    if (!Handle() || !IsWindowVisible(Handle())) return;
    ShowWindow(Handle(), SW_HIDE);
    if (box_) box_->SaveReadings();
    SetDlgItemTextW(Handle(), IDC_SEARCH_TEXT, L"");  // the next opening starts empty
    HWND foreground = std::exchange(previousForeground_, nullptr);
    HWND focus = std::exchange(previousFocus_, nullptr);
    if (!giveFocusBack) return;
    if (focus && IsWindow(focus)) {
        SetForegroundWindow(GetAncestor(focus, GA_ROOT));
        SetFocus(focus);
    } else if (foreground && IsWindow(foreground)) {
        SetForegroundWindow(foreground);
    }
}

void EntrySearchDialog::OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_SEARCH_RESULTS || !box_) return;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& info = *reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header));
            if (info.item.iItem < 0 || static_cast<size_t>(info.item.iItem) >= box_->Count()) return;
            const SearchRow& row = box_->Row(static_cast<size_t>(info.item.iItem));
            if (info.item.mask & LVIF_TEXT) {
                cellText_ = Widen(info.item.iSubItem == 0 ? row.title : row.where);
                info.item.pszText = cellText_.data();
            }
            if (info.item.mask & LVIF_IMAGE) info.item.iImage = IconOf(row);
            return;
        }
        case NM_CLICK:
        case NM_DBLCLK: {
            const auto& item = *reinterpret_cast<const NMITEMACTIVATE*>(&header);
            box_->Select(item.iItem);
            ShowRows();
            // The keys stay with the edit box, so the next one goes on from here.
            SetFocus(GetDlgItem(Handle(), IDC_SEARCH_TEXT));
            if (header.code == NM_DBLCLK && box_->Selected() >= 0) OnKey(SearchKey::Enter, ShiftHeld());
            return;
        }
        default: return;
    }
}

void EntrySearchDialog::ForgetPictures() {
    imageOf_.clear();
    coming_.clear();
    associations_.clear();
    generic_ = -1;
    ++generation_;
}

int EntrySearchDialog::GenericImage() {
    if (generic_ >= 0 || !images_) return generic_;
    int size = 0, height = 0;
    ImageList_GetIconSize(images_, &size, &height);
    if (HICON icon = CreateStockIcon(StockIcon::Nothing, size)) {
        generic_ = ImageList_AddIcon(images_, icon);
        DestroyIcon(icon);
    }
    return generic_;
}

// The program of a document as the shell finds it (on the document's
// drive), fetched by a worker; none while it has not come.
Shell::Association EntrySearchDialog::AssociationOf(const std::string& document) {
    if (const auto known = associations_.find(document); known != associations_.end()) return known->second;
    PictureRequest request;
    request.source = PictureRequest::Source::Association;
    request.path = document;
    const std::string fetch = std::to_string(generation_) + "a:" + document;
    if (fetches_.Ask(*this, fetch, request, PictureFetches::Clock::now()) != PictureFetches::Asked::NoAnswer)
        coming_.emplace(fetch, document);
    return {};
}

// The picture a button of the row would show, small: fetched once per file
// and number while the box is open, the generic one until it comes.
int EntrySearchDialog::IconOf(const SearchRow& row) {
    if (!images_) return -1;
    // The plan asks for documents' programs without waiting for them.
    class WaitlessShell final : public Shell {
    public:
        WaitlessShell(EntrySearchDialog& box, Shell& shell) : box_(box), shell_(shell) {}
        int Open(const ShellOpenRequest& request) override { return shell_.Open(request); }
        Association AssociatedProgram(const std::string& document) override { return box_.AssociationOf(document); }

    private:
        EntrySearchDialog& box_;
        Shell& shell_;
    } shell(*this, platform_.shell);
    std::string file;
    int number = 0;
    std::optional<StockIcon> stock;
    if (row.place.kind == SearchPlace::Kind::Member) {
        file = GroupButtonFor(row.member, shell).iconFile;
        if (file.empty()) stock = StockIcon::Nothing;
    } else {
        const IconPlan plan =
            PlanButtonIcon(row.entry, row.place.entryIndex, false, [](const std::string&) { return false; }, shell);
        if (plan.kind == IconPlan::Kind::Extract) {
            file = plan.iconFile;
            number = plan.iconIndex;
        } else {
            stock = plan.stock == StockImage::Dos      ? StockIcon::Dos
                    : plan.stock == StockImage::Folder ? StockIcon::Folder
                                                       : StockIcon::Nothing;
        }
    }
    if (!stock && number < 0) stock = StockIcon::Nothing;
    const std::string key = stock ? "*" + std::to_string(static_cast<int>(*stock)) : file + "|" + std::to_string(number);
    if (const auto found = imageOf_.find(key); found != imageOf_.end()) return found->second;
    int size = 0, height = 0;
    ImageList_GetIconSize(images_, &size, &height);
    if (stock) {
        HICON icon = CreateStockIcon(*stock, size);
        const int image = icon ? ImageList_AddIcon(images_, icon) : -1;
        if (icon) DestroyIcon(icon);
        return imageOf_[key] = image;
    }
    PictureRequest request;
    request.path = file;
    request.index = number;
    request.size = size;
    request.small = size <= 16;
    const std::string fetch = std::to_string(generation_) + "i:" + key;
    if (fetches_.Ask(*this, fetch, request, PictureFetches::Clock::now()) != PictureFetches::Asked::NoAnswer)
        coming_.emplace(fetch, key);
    // Asked once while the box is open; a drive that did not answer is asked at its next opening.
    return imageOf_[key] = GenericImage();
}

void EntrySearchDialog::PictureArrived(const std::string& fetch, const PictureAnswer& answer) {
    const auto coming = coming_.find(fetch);
    if (coming == coming_.end() || !images_) return;  // asked before the pictures were let go
    const std::string what = std::move(coming->second);
    coming_.erase(coming);
    if (fetch.compare(std::to_string(generation_).size(), 2, "a:") == 0) {
        associations_[what] = {answer.shellResult, answer.program};
    } else {
        int size = 0, height = 0;
        ImageList_GetIconSize(images_, &size, &height);
        HICON icon = ButtonIconOf(answer, size);
        if (!icon) return;  // no picture in the file: the generic one stays
        const int image = ImageList_AddIcon(images_, icon);
        DestroyIcon(icon);
        if (image < 0) return;
        imageOf_[what] = image;
    }
    // The rows ask for their pictures again as they are drawn.
    if (Handle()) InvalidateRect(GetDlgItem(Handle(), IDC_SEARCH_RESULTS), nullptr, FALSE);
}

LRESULT CALLBACK EntrySearchDialog::EditKeys(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR data) {
    auto* self = reinterpret_cast<EntrySearchDialog*>(data);
    try {
        switch (message) {
            case WM_GETDLGCODE:
                // Enter and Escape belong to the box's choice, not to the dialog manager.
                if (lParam) {
                    const auto* pending = reinterpret_cast<const MSG*>(lParam);
                    if (pending->message == WM_KEYDOWN && SearchKeyOf(pending->wParam))
                        return DefSubclassProc(edit, message, wParam, lParam) | DLGC_WANTMESSAGE;
                }
                break;
            case WM_KEYDOWN:
                if (const std::optional<SearchKey> key = SearchKeyOf(wParam)) {
                    if (*key == SearchKey::Enter || *key == SearchKey::Escape)
                        PostMessageW(self->Handle(), kKeyChosen, static_cast<WPARAM>(*key), ShiftHeld() ? 1 : 0);
                    else
                        self->OnKey(*key, false);
                    return 0;
                }
                break;
            case WM_CHAR:
                // The edit box would beep at them.
                if (wParam == L'\r' || wParam == L'\n' || wParam == 0x1B) return 0;
                break;
            case WM_NCDESTROY:
                RemoveWindowSubclass(edit, EditKeys, 0);
                break;
            default:
                break;
        }
    } catch (...) {
        return 0;  // the key is dropped, the box goes on
    }
    return DefSubclassProc(edit, message, wParam, lParam);
}

}  // namespace tavi
