#include "dialogs/new_app_win.h"

#include <windows.h>

#include <commctrl.h>

#include <array>
#include <utility>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "dialogs/document_programs_win.h"
#include "dialogs/icon_change_win.h"
#include "dialogs/new_app.h"
#include "dialogs/new_app_ids.h"
#include "dialogs/preview_icon_win.h"
#include "platform/icon_files_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

constexpr std::array<std::pair<int, EntryKind>, 3> kKindOptions{{
    {IDC_NEWAPP_KIND_FILE, EntryKind::File},
    {IDC_NEWAPP_KIND_FOLDER, EntryKind::Folder},
    {IDC_NEWAPP_KIND_GROUP, EntryKind::Group},
}};

constexpr int kIconPixels96 = 32;

// The registration dialog `NewApp`.
class NewApp final : public Dialog {
public:
    NewApp(MenuMain& state, Platform& platform, FileChooser& chooser, IconFiles& icons, int index)
        : state_(state), platform_(platform), chooser_(chooser), icons_(icons), index_(index) {
        preview_.WhenCounted([this] { ShowPreview(); });
    }

    bool Stored() const { return stored_; }

protected:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRescale() override { UpdatePreview(); }

private:
    void AddTooltip();
    void Read();
    void Write();
    void WriteEnabled();
    void WriteRunSizes();
    void UpdatePreview();
    void ShowPreview();
    void ChangeIcon();

    MenuMain& state_;
    Platform& platform_;
    DocumentPrograms programs_{platform_.shell};
    // The platform for Browse: a document's program is not waited for.
    Platform browsing_ = WithShell(platform_, programs_);
    FileChooser& chooser_;
    IconFiles& icons_;
    int index_;
    NewAppView view_;
    NewAppView previewed_;  // what the preview was last made from
    PreviewIcon preview_{icons_};
    bool writing_ = false;
    bool stored_ = false;
};

INT_PTR NewApp::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDocumentProgramCame) {
        Read();
        if (programs_.ApplyLate(view_.path, view_.command)) {
            Write();
            UpdatePreview();
        }
        return TRUE;
    }
    if (message != WM_DRAWITEM || wParam != IDC_NEWAPP_ICON) return FALSE;
    preview_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), Scale(kIconPixels96));
    return TRUE;
}

bool NewApp::OnInit() {
    programs_.Attach(Handle());
    SetTexts(text::kNewAppCaption,
             {
                 {IDC_NEWAPP_PROGRAM_FRAME, text::kNewAppProgramFrame},
                 {IDC_NEWAPP_KIND_FILE, text::kNewAppKindFile},
                 {IDC_NEWAPP_KIND_FOLDER, text::kNewAppKindFolder},
                 {IDC_NEWAPP_KIND_GROUP, text::kNewAppKindGroup},
                 {IDC_NEWAPP_BROWSE, text::kEntryDialogBrowse},
                 {IDC_NEWAPP_TITLE_LABEL, text::kNewAppTitleLabel},
                 {IDC_NEWAPP_COMMAND_LABEL, text::kNewAppCommandLabel},
                 {IDC_NEWAPP_RUN_SIZE_LABEL, text::kNewAppRunSizeLabel},
                 {IDC_NEWAPP_CHANGE_ICON, text::kNewAppChangeIcon},
                 {IDOK, text::kEntryDialogOk},
                 {IDCANCEL, text::kEntryDialogCancel},
             });
    AddTabs(IDC_NEWAPP_TAB, {text::kNewAppTab});
    AddTooltip();

    view_ = NewAppLoad(state_, index_);
    Write();
    UpdatePreview();
    // An entry being edited starts with its title selected.
    if (!view_.path.empty()) SendDlgItemMessageW(Handle(), IDC_NEWAPP_TITLE, EM_SETSEL, 0, -1);
    return true;
}

void NewApp::AddTooltip() {
    HWND tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!tooltip) return;  // destroyed with the dialog, its owner
    std::wstring tip = Widen(text::kNewAppIconTip);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = Handle();
    tool.uId = reinterpret_cast<UINT_PTR>(Item(IDC_NEWAPP_ICON));
    tool.lpszText = tip.data();
    SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void NewApp::OnCommand(int id, int code) {
    if (writing_) return;
    switch (id) {
        case IDC_NEWAPP_KIND_FILE:
        case IDC_NEWAPP_KIND_FOLDER:
        case IDC_NEWAPP_KIND_GROUP:
            if (code != BN_CLICKED) return;
            Read();
            NewAppKindChanged(view_, view_.kind);
            WriteRunSizes();
            WriteEnabled();
            return;
        case IDC_NEWAPP_PATH:
        case IDC_NEWAPP_TITLE:
        case IDC_NEWAPP_COMMAND:
            if (code == EN_SETFOCUS) SelectAllOnFocus(Item(id));
            if (code == EN_CHANGE && id == IDC_NEWAPP_PATH) {
                NewAppPathChanged(view_, ItemText(IDC_NEWAPP_PATH));
                WriteEnabled();
            }
            return;
        case IDC_NEWAPP_BROWSE:
            Read();
            if (NewAppBrowse(view_, browsing_, chooser_, reinterpret_cast<NativeWindow>(Handle()),
                             state_.ApplicationPath)) {
                Write();
                UpdatePreview();
            }
            return;
        case IDC_NEWAPP_ICON:
            if (code == STN_CLICKED) ChangeIcon();
            return;
        case IDC_NEWAPP_CHANGE_ICON:
            ChangeIcon();
            return;
        case IDOK:
            // Enter reaches here even while the OK button is disabled.
            if (!IsWindowEnabled(Item(IDOK))) return;
            Read();
            stored_ = NewAppOk(view_, state_, index_);
            EndDialog(Handle(), IDOK);
            return;
        case IDCANCEL:
            EndDialog(Handle(), IDCANCEL);
            return;
        default:
            return;
    }
}

void NewApp::ChangeIcon() {
    Read();
    const auto pick = [this](const IconChangeInput& input) {
        return ShowIconChange(reinterpret_cast<NativeWindow>(Handle()), input, platform_, chooser_, icons_);
    };
    if (NewAppChangeIcon(view_, pick)) UpdatePreview();
}

void NewApp::Read() {
    for (const auto& [id, kind] : kKindOptions)
        if (IsDlgButtonChecked(Handle(), id) == BST_CHECKED) view_.kind = kind;
    view_.path = ItemText(IDC_NEWAPP_PATH);
    view_.title = ItemText(IDC_NEWAPP_TITLE);
    view_.command = ItemText(IDC_NEWAPP_COMMAND);
    view_.runSizeIndex = static_cast<int>(SendDlgItemMessageW(Handle(), IDC_NEWAPP_RUN_SIZE, CB_GETCURSEL, 0, 0));
}

void NewApp::Write() {
    writing_ = true;
    for (const auto& [id, kind] : kKindOptions) CheckDlgButton(Handle(), id, view_.kind == kind ? BST_CHECKED : BST_UNCHECKED);
    SetItemText(IDC_NEWAPP_PATH, view_.path);
    SetItemText(IDC_NEWAPP_TITLE, view_.title);
    SetItemText(IDC_NEWAPP_COMMAND, view_.command);
    writing_ = false;
    WriteRunSizes();
    WriteEnabled();
}

// A folder's list has one item more; the kind decides which list shows.
void NewApp::WriteRunSizes() {
    SetListItems(IDC_NEWAPP_RUN_SIZE, RunSizeItems(view_.kind == EntryKind::Folder), view_.runSizeIndex);
}

void NewApp::WriteEnabled() {
    EnableItem(IDC_NEWAPP_BROWSE, view_.browseEnabled);
    EnableItem(IDOK, view_.okEnabled);
}

void NewApp::UpdatePreview() {
    previewed_ = view_;
    ShowPreview();
}

// Again when a count the preview waited for comes.
void NewApp::ShowPreview() {
    if (!Handle()) return;
    preview_.Show(Item(IDC_NEWAPP_ICON), NewAppPreview(previewed_, preview_.Counts()), Scale(kIconPixels96));
}

}  // namespace

bool ShowNewApp(NativeWindow owner, MenuMain& state, Platform& platform, FileChooser& chooser, IconFiles& icons,
                int index) {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    NewApp dialog(state, platform, chooser, icons, index);
    return dialog.Run(reinterpret_cast<HWND>(owner), IDD_NEW_APP) == IDOK && dialog.Stored();
}

}  // namespace tavi
