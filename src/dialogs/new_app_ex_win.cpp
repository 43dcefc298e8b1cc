#include "dialogs/new_app_ex_win.h"

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <utility>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "dialogs/document_programs_win.h"
#include "dialogs/icon_change_win.h"
#include "dialogs/new_app_ex.h"
#include "dialogs/new_app_ex_ids.h"
#include "dialogs/preview_icon_win.h"
#include "platform/icon_files_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

constexpr int kIconPixels96 = 32;

// The member dialog `NewAppEx`.
class NewAppEx final : public Dialog {
public:
    NewAppEx(const ExMenuEntry& member, Platform& platform, FileChooser& chooser, IconFiles& icons)
        : member_(member), platform_(platform), chooser_(chooser), icons_(icons) {
        preview_.WhenCounted([this] { ShowPreview(); });
    }

    const std::optional<ExMenuEntry>& Stored() const { return stored_; }

protected:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRescale() override { UpdatePreview(); }

private:
    void Read();
    void Write();
    void WriteRunSizes();
    void UpdatePreview();
    void ShowPreview();
    void ShowIcons();

    const ExMenuEntry member_;
    Platform& platform_;
    DocumentPrograms programs_{platform_.shell};
    // The platform for Browse: a document's program is not waited for.
    Platform browsing_ = WithShell(platform_, programs_);
    FileChooser& chooser_;
    IconFiles& icons_;
    NewAppExView view_;
    NewAppExView previewed_;  // what the preview was last made from
    PreviewIcon preview_{icons_};
    bool writing_ = false;
    std::optional<ExMenuEntry> stored_;
};

INT_PTR NewAppEx::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDocumentProgramCame) {
        Read();
        if (programs_.ApplyLate(view_.program, view_.command)) {
            Write();
            UpdatePreview();
        }
        return TRUE;
    }
    if (message != WM_DRAWITEM || wParam != IDC_NEWAPPEX_ICON) return FALSE;
    preview_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), Scale(kIconPixels96));
    return TRUE;
}

bool NewAppEx::OnInit() {
    programs_.Attach(Handle());
    SetTexts(text::kNewAppCaption,
             {
                 {IDC_NEWAPPEX_TITLE_LABEL, text::kNewAppTitleLabel},
                 {IDC_NEWAPPEX_PROGRAM_LABEL, text::kNewAppProgramFrame},
                 {IDC_NEWAPPEX_BROWSE, text::kEntryDialogBrowse},
                 {IDC_NEWAPPEX_COMMAND_LABEL, text::kNewAppCommandLabel},
                 {IDC_NEWAPPEX_RUN_SIZE_LABEL, text::kNewAppRunSizeLabel},
                 {IDOK, text::kEntryDialogOk},
                 {IDCANCEL, text::kEntryDialogCancel},
             });
    AddTabs(IDC_NEWAPPEX_TAB, {text::kNewAppTab});

    view_ = NewAppExLoad(member_);
    Write();
    UpdatePreview();
    return true;
}

void NewAppEx::OnCommand(int id, int code) {
    if (writing_) return;
    switch (id) {
        case IDC_NEWAPPEX_TITLE:
        case IDC_NEWAPPEX_PROGRAM:
        case IDC_NEWAPPEX_COMMAND:
            if (code == EN_SETFOCUS) SelectAllOnFocus(Item(id));
            if (code == EN_CHANGE && id == IDC_NEWAPPEX_PROGRAM) {
                const bool offeredBefore = NewAppExOffersMenu(view_);
                view_.runSizeIndex =
                    static_cast<int>(SendDlgItemMessageW(Handle(), IDC_NEWAPPEX_RUN_SIZE, CB_GETCURSEL, 0, 0));
                NewAppExProgramChanged(view_, ItemText(IDC_NEWAPPEX_PROGRAM));
                // A folder's list has "ﾒﾆｭｰで表示" as well.
                if (NewAppExOffersMenu(view_) != offeredBefore) WriteRunSizes();
                EnableItem(IDOK, view_.okEnabled);
            }
            return;
        case IDC_NEWAPPEX_BROWSE:
            Read();
            if (NewAppExBrowse(view_, browsing_, chooser_, reinterpret_cast<NativeWindow>(Handle()))) Write();
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
    writing_ = false;
    WriteRunSizes();
    EnableItem(IDOK, view_.okEnabled);
}

void NewAppEx::WriteRunSizes() {
    SetListItems(IDC_NEWAPPEX_RUN_SIZE, RunSizeItems(NewAppExOffersMenu(view_)), view_.runSizeIndex);
}

void NewAppEx::UpdatePreview() {
    previewed_ = view_;
    ShowPreview();
}

// Again when a count the preview waited for comes.
void NewAppEx::ShowPreview() {
    if (!Handle()) return;
    // A member shows no folder picture: only a file's own icons.
    IconPreview preview = NewAppExPreview(previewed_, preview_.Counts());
    if (preview.kind == IconPreview::Kind::Folder) preview = {};
    preview_.Show(Item(IDC_NEWAPPEX_ICON), preview, Scale(kIconPixels96));
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
