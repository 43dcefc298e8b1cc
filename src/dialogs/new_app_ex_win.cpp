#include "dialogs/new_app_ex_win.h"

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <utility>

#include "app/messages.h"
#include "dialogs/dialog_win.h"
#include "dialogs/icon_change_win.h"
#include "dialogs/new_app_ex.h"
#include "dialogs/new_app_ex_ids.h"
#include "platform/icon_files_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

// Posted after the system has scaled the dialog for a new monitor.
constexpr UINT kRescale = WM_APP + 1;
constexpr int kIconPixels96 = 32;

// The member dialog `NewAppEx`.
class NewAppEx final : public ModalDialog {
public:
    NewAppEx(const ExMenuEntry& member, Platform& platform, FileChooser& chooser, IconFiles& icons)
        : member_(member), platform_(platform), chooser_(chooser), icons_(icons) {}
    ~NewAppEx() override { SetPreview(nullptr); }

    const std::optional<ExMenuEntry>& Stored() const { return stored_; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInit();
    void OnCommand(int id, int code);
    void Read();
    void Write();
    void UpdatePreview();
    void SetPreview(HICON icon);
    void SizePreview();
    void DrawPreview(const DRAWITEMSTRUCT& item) const;
    void ShowIcons();

    const ExMenuEntry member_;
    Platform& platform_;
    FileChooser& chooser_;
    IconFiles& icons_;
    NewAppExView view_;
    HICON preview_ = nullptr;
    bool writing_ = false;
    std::optional<ExMenuEntry> stored_;
};

INT_PTR NewAppEx::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInit();
            return TRUE;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return TRUE;
        case WM_DRAWITEM:
            if (wParam != IDC_NEWAPPEX_ICON) return FALSE;
            DrawPreview(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DPICHANGED:
            PostMessageW(Handle(), kRescale, 0, 0);
            return FALSE;  // the dialog manager scales the template's controls
        case kRescale:
            SizePreview();
            UpdatePreview();
            return TRUE;
        default:
            return FALSE;
    }
}

void NewAppEx::OnInit() {
    const std::pair<int, std::string_view> captions[] = {
        {IDC_NEWAPPEX_TITLE_LABEL, text::kNewAppTitleLabel},
        {IDC_NEWAPPEX_PROGRAM_LABEL, text::kNewAppProgramFrame},
        {IDC_NEWAPPEX_BROWSE, text::kEntryDialogBrowse},
        {IDC_NEWAPPEX_COMMAND_LABEL, text::kNewAppCommandLabel},
        {IDC_NEWAPPEX_RUN_SIZE_LABEL, text::kNewAppRunSizeLabel},
        {IDOK, text::kEntryDialogOk},
        {IDCANCEL, text::kEntryDialogCancel},
    };
    SetWindowTextW(Handle(), Widen(text::kNewAppCaption).c_str());
    for (const auto& [id, caption] : captions) SetItemText(id, caption);

    EnableThemeDialogTexture(Handle(), ETDT_ENABLETAB);
    std::wstring tab = Widen(text::kNewAppTab);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = tab.data();
    SendDlgItemMessageW(Handle(), IDC_NEWAPPEX_TAB, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    SetWindowPos(Item(IDC_NEWAPPEX_TAB), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    for (std::string_view size : {text::kRunSizeNormal, text::kRunSizeMinimized, text::kRunSizeMaximized})
        SendDlgItemMessageW(Handle(), IDC_NEWAPPEX_RUN_SIZE, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Widen(size).c_str()));

    view_ = NewAppExLoad(member_);
    Write();
    SizePreview();
    UpdatePreview();
}

void NewAppEx::OnCommand(int id, int code) {
    if (writing_) return;
    switch (id) {
        case IDC_NEWAPPEX_TITLE:
        case IDC_NEWAPPEX_PROGRAM:
        case IDC_NEWAPPEX_COMMAND:
            if (code == EN_SETFOCUS) SelectAllOnFocus(Item(id));
            if (code == EN_CHANGE && id == IDC_NEWAPPEX_PROGRAM) {
                NewAppExProgramChanged(view_, ItemText(IDC_NEWAPPEX_PROGRAM));
                EnableItem(IDOK, view_.okEnabled);
            }
            return;
        case IDC_NEWAPPEX_BROWSE:
            Read();
            if (NewAppExBrowse(view_, platform_, chooser_, reinterpret_cast<NativeWindow>(Handle()))) Write();
            UpdatePreview();
            return;
        case IDC_NEWAPPEX_ICON:
            if (code == STN_CLICKED) ShowIcons();
            return;
        case IDOK:
            // Enter reaches here even while the OK button is disabled.
            if (!IsWindowEnabled(Item(IDOK))) return;
            Read();
            stored_ = NewAppExOk(view_);
            EndDialog(Handle(), IDOK);
            return;
        case IDCANCEL:
            EndDialog(Handle(), IDCANCEL);
            return;
        default:
            return;
    }
}

void NewAppEx::ShowIcons() {
    Read();
    const auto pick = [this](const IconChangeInput& input) {
        return ShowIconChange(reinterpret_cast<NativeWindow>(Handle()), input, platform_, chooser_, icons_);
    };
    if (NewAppExShowIcons(view_, pick)) UpdatePreview();
}

void NewAppEx::Read() {
    view_.title = ItemText(IDC_NEWAPPEX_TITLE);
    NewAppExProgramChanged(view_, ItemText(IDC_NEWAPPEX_PROGRAM));
    view_.command = ItemText(IDC_NEWAPPEX_COMMAND);
    view_.runSizeIndex = static_cast<int>(SendDlgItemMessageW(Handle(), IDC_NEWAPPEX_RUN_SIZE, CB_GETCURSEL, 0, 0));
}

void NewAppEx::Write() {
    writing_ = true;
    SetItemText(IDC_NEWAPPEX_TITLE, view_.title);
    SetItemText(IDC_NEWAPPEX_PROGRAM, view_.program);
    SetItemText(IDC_NEWAPPEX_COMMAND, view_.command);
    SendDlgItemMessageW(Handle(), IDC_NEWAPPEX_RUN_SIZE, CB_SETCURSEL, static_cast<WPARAM>(view_.runSizeIndex), 0);
    writing_ = false;
    EnableItem(IDOK, view_.okEnabled);
}

void NewAppEx::SizePreview() {
    const int size = Scale(kIconPixels96);
    SetClientSize(Item(IDC_NEWAPPEX_ICON), size, size);
}

void NewAppEx::UpdatePreview() {
    const IconPreview preview = NewAppExPreview(view_, icons_);
    SetPreview(preview.kind == IconPreview::Kind::Extract ? LoadFileIcon(preview.file, preview.index,
                                                                         Scale(kIconPixels96))
                                                          : nullptr);
    InvalidateRect(Item(IDC_NEWAPPEX_ICON), nullptr, TRUE);
}

void NewAppEx::SetPreview(HICON icon) {
    if (preview_) DestroyIcon(preview_);
    preview_ = icon;
}

void NewAppEx::DrawPreview(const DRAWITEMSTRUCT& item) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!preview_) return;
    const int size = Scale(kIconPixels96);
    const int left = item.rcItem.left + (item.rcItem.right - item.rcItem.left - size) / 2;
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - size) / 2;
    DrawIconEx(item.hDC, left, top, preview_, size, size, 0, nullptr, DI_NORMAL);
}

}  // namespace

std::optional<ExMenuEntry> ShowNewAppEx(NativeWindow owner, const ExMenuEntry& member, Platform& platform,
                                        FileChooser& chooser, IconFiles& icons) {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    NewAppEx dialog(member, platform, chooser, icons);
    if (dialog.Run(reinterpret_cast<HWND>(owner), IDD_NEW_APP_EX) != IDOK) return std::nullopt;
    return dialog.Stored();
}

}  // namespace tavi
