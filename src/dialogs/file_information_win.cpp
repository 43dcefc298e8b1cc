#include "dialogs/file_information_win.h"

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "dialogs/file_information.h"
#include "dialogs/file_information_ids.h"
#include "platform/handles_win.h"
#include "dialogs/preview_icon_win.h"
#include "platform/program_version_win.h"
#include "platform/run_on_thread_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

constexpr int kIconPixels96 = 32;
// How long the dialog waits for the file's details before it shows without
// them; they fill in when they come.
constexpr DWORD kDetailsWaitMs = 50;
constexpr UINT kDetailsCame = WM_APP + 1;

// The file's details, read on a thread of its own and shared with it: a file
// on a drive that does not answer holds only that thread.
struct DetailsReading {
    LaunchEntry entry;
    FileDetails* details;
    Registry* registry;
    std::string separator;
    FileInformationView frame;

    std::mutex mutex;
    HWND dialog = nullptr;  // told when they come, while it is open
    std::optional<FileInformationView> read;

    std::optional<FileInformationView> Take() {
        const std::lock_guard<std::mutex> lock(mutex);
        return std::exchange(read, std::nullopt);
    }
    void Tell(HWND window) {
        const std::lock_guard<std::mutex> lock(mutex);
        dialog = window;
        if (dialog && read) PostMessageW(dialog, kDetailsCame, 0, 0);
    }
};

DWORD WINAPI ReadDetails(void* parameter) {
    const std::unique_ptr<std::shared_ptr<DetailsReading>> held(static_cast<std::shared_ptr<DetailsReading>*>(parameter));
    DetailsReading& reading = **held;
    FileInformationView view = reading.frame;
    try {
        FileInformationRead(view, reading.entry, *reading.details, *reading.registry, reading.separator);
    } catch (...) {
        return 0;  // out of memory: unknown, as shown
    }
    const std::lock_guard<std::mutex> lock(reading.mutex);
    reading.read = std::move(view);
    if (reading.dialog) PostMessageW(reading.dialog, kDetailsCame, 0, 0);
    return 0;
}

// The file properties `FileInformation`.
class FileInformation final : public Dialog {
public:
    FileInformation(FileInformationView view, std::shared_ptr<DetailsReading> reading, IconFiles& icons)
        : view_(std::move(view)), reading_(std::move(reading)), preview_(icons) {
        preview_.WhenCounted([this] { PrepareIcon(); });
    }
    ~FileInformation() override { reading_->Tell(nullptr); }

protected:
    bool OnInit() override;
    void OnCommand(int id, int) override {
        if (id == IDOK || id == IDCANCEL) EndDialog(Handle(), IDOK);
    }
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRescale() override { PrepareIcon(); }

private:
    void Fill();
    void PrepareIcon();
    void DrawEntryIcon(const DRAWITEMSTRUCT& item) const;

    FileInformationView view_;
    std::shared_ptr<DetailsReading> reading_;
    PreviewIcon preview_;
};

INT_PTR FileInformation::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kDetailsCame) {
        if (std::optional<FileInformationView> read = reading_->Take()) {
            view_ = std::move(*read);
            Fill();
        }
        return TRUE;
    }
    if (message != WM_DRAWITEM || wParam != IDC_FILEINFO_ICON) return FALSE;
    DrawEntryIcon(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    return TRUE;
}

bool FileInformation::OnInit() {
    AddTabs(IDC_FILEINFO_TAB, {text::kFileInfoTab});
    Fill();
    SetItemText(IDOK, text::kEntryDialogOk);
    PrepareIcon();
    reading_->Tell(Handle());
    return true;
}

void FileInformation::Fill() {
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
    const LaunchEntry& entry = state.entries.At(index);
    auto reading = std::make_shared<DetailsReading>();
    reading->entry = entry;
    reading->details = &details;
    reading->registry = &registry;
    reading->separator = ThousandsSeparator();
    reading->frame = FileInformationFrame(entry);
    auto* forWorker = new std::shared_ptr<DetailsReading>(reading);
    // Most files answer at once: shown whole, with nothing to fill in.
    if (!RunOnThreadAwhile(ReadDetails, forWorker, kDetailsWaitMs)) {
        delete forWorker;
        reading->read = FileInformationLoad(entry, details, registry, reading->separator);
    }
    std::optional<FileInformationView> read = reading->Take();
    FileInformation dialog(read ? std::move(*read) : reading->frame, reading, icons);
    (void)dialog.Run(reinterpret_cast<HWND>(owner), IDD_FILE_INFOMATION);
}

}  // namespace tavi
