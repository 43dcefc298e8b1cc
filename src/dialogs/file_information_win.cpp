#include "dialogs/file_information_win.h"

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <string>
#include <utility>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "dialogs/file_information.h"
#include "dialogs/file_information_ids.h"
#include "platform/handles_win.h"
#include "dialogs/preview_icon_win.h"
#include "platform/program_version_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

constexpr int kIconPixels96 = 32;

// The file properties `FileInformation`.
class FileInformation final : public Dialog {
public:
    FileInformation(FileInformationView view, IconFiles& icons) : view_(std::move(view)), preview_(icons) {
        preview_.WhenCounted([this] { PrepareIcon(); });
    }

protected:
    bool OnInit() override;
    void OnCommand(int id, int) override {
        if (id == IDOK || id == IDCANCEL) EndDialog(Handle(), IDOK);
    }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRescale() override { PrepareIcon(); }

private:
    void PrepareIcon();
    void DrawEntryIcon(const DRAWITEMSTRUCT& item) const;

    FileInformationView view_;
    PreviewIcon preview_;
};

INT_PTR FileInformation::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_DRAWITEM || wParam != IDC_FILEINFO_ICON) return FALSE;
    DrawEntryIcon(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

bool FileInformation::OnInit() {
    AddTabs(IDC_FILEINFO_TAB, {text::kFileInfoTab});

    SetWindowTextW(Handle(), Widen(view_.caption).c_str());
    SetItemText(IDC_FILEINFO_NAME, view_.fileName);
    for (int i = 0; i < 3; ++i) {
        SetItemText(IDC_FILEINFO_ETC0 + i, text::kFileInfoPlaceCaptions[i]);
        SetItemText(IDC_FILEINFO_PLACE0 + i, view_.place[static_cast<size_t>(i)]);
    }
    for (int i = 0; i < 4; ++i) {
        SetItemText(IDC_FILEINFO_DATE0 + i, text::kFileInfoDateCaptions[i]);
        SetItemText(IDC_FILEINFO_ACSESS0 + i, view_.access[static_cast<size_t>(i)]);
    }
    SetItemText(IDC_FILEINFO_ARCHIVE, text::kFileInfoAttributeCaption);
    for (int i = 0; i < 5; ++i) {
        SetItemText(IDC_FILEINFO_ATTRIBUTE0 + i, text::kFileInfoAttributes[i]);
        EnableItem(IDC_FILEINFO_ATTRIBUTE0 + i, view_.attributes[static_cast<size_t>(i)]);
    }
    SetItemText(IDOK, text::kEntryDialogOk);
    PrepareIcon();
    return true;
}

// Again when the count it waited for comes.
void FileInformation::PrepareIcon() {
    if (!Handle()) return;
    IconPreview preview;
    if (!view_.iconPath.empty()) {
        // Only the count is trusted: some systems hand back a picture for a file that holds none.
        const std::optional<int> count = preview_.Counts()(view_.iconPath);
        if (!count)
            preview = {IconPreview::Kind::Coming, view_.iconPath, view_.iconIndex};
        else if (view_.iconIndex < *count)
            preview = {IconPreview::Kind::Extract, view_.iconPath, view_.iconIndex};
    }
    preview_.Show(Item(IDC_FILEINFO_ICON), preview, Scale(kIconPixels96));
}

void FileInformation::DrawEntryIcon(const DRAWITEMSTRUCT& item) const {
    RECT area = item.rcItem;
    DrawThemeParentBackground(item.hwndItem, item.hDC, &area);
    if (!preview_.Icon()) return;
    const int size = Scale(kIconPixels96);
    DrawIconEx(item.hDC, item.rcItem.left, item.rcItem.top, preview_.Icon(), size, size, 0, nullptr, DI_NORMAL);
}

}  // namespace

void ShowFileInformation(NativeWindow owner, const MenuMain& state, FileDetails& details, Registry& registry,
                        IconFiles& icons, int index) {
    if (!state.entries.Has(index)) return;
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&classes);
    FileInformation dialog(FileInformationLoad(state.entries.At(index),
                                             details, registry, ThousandsSeparator()),
                           icons);
    (void)dialog.Run(reinterpret_cast<HWND>(owner), IDD_FILE_INFOMATION);
}

}  // namespace tavi
