#include "dialogs/import_folder_win.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "dialogs/import_folder_ids.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

class ImportFolderDialog final : public Dialog {
public:
    ImportFolderDialog(ImportFolderView view, FileChooser& chooser) : view_(std::move(view)), chooser_(chooser) {}
    const ImportFolderView& View() const { return view_; }

protected:
    bool OnInit() override {
        SetTexts(text::kImportCaption, {{IDC_IMPORT_PROMPT, text::kImportChooseFolder},
                                        {IDC_IMPORT_BROWSE, text::kImportBrowse},
                                        {IDOK, text::kEntryDialogOk},
                                        {IDCANCEL, text::kEntryDialogCancel}});
        Fill();
        return true;
    }

    void OnCommand(int id, int code) override {
        switch (id) {
            case IDC_IMPORT_FOLDERS:
                if (code != LBN_DBLCLK) return;
                [[fallthrough]];
            case IDOK:
                ReadSelection();
                if (!ImportFolderOk(view_)) return;  // nothing chosen yet: the dialog stays
                EndDialog(Handle(), IDOK);
                return;
            case IDC_IMPORT_BROWSE: {
                ReadSelection();
                const std::string folder = chooser_.ChooseFolder(reinterpret_cast<NativeWindow>(Handle()),
                                                                 std::string(text::kImportBrowsePrompt));
                if (folder.empty()) return;
                ImportFolderBrowsed(view_, folder);
                Fill();
                return;
            }
            case IDCANCEL: EndDialog(Handle(), IDCANCEL); return;
            default: return;
        }
    }

private:
    void Fill() {
        const HWND list = Item(IDC_IMPORT_FOLDERS);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        for (const std::string& folder : view_.folders)
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(folder).c_str()));
        SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(view_.selected), 0);
        // Long paths scroll sideways rather than being cut off.
        SendMessageW(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(Scale(1200)), 0);
    }

    void ReadSelection() {
        view_.selected = static_cast<int>(SendMessageW(Item(IDC_IMPORT_FOLDERS), LB_GETCURSEL, 0, 0));
    }

    ImportFolderView view_;
    FileChooser& chooser_;
};

}  // namespace

std::string RoamingAppDataFolder() {
    PWSTR path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &path);
    std::string folder = SUCCEEDED(result) && path ? Narrow(path) : std::string();
    CoTaskMemFree(path);
    return folder;
}

std::optional<std::string> Win32ImportFolderPrompt::Choose(const std::vector<std::string>& offered) {
    ImportFolderDialog dialog(ImportFolderLoad(offered), chooser_);
    if (dialog.Run(reinterpret_cast<HWND>(owner_), IDD_IMPORT_FOLDER) != IDOK) return std::nullopt;
    return ImportFolderOk(dialog.View());
}

}  // namespace tavi
