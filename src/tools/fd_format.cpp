#include "tools/fd_format.h"

#include "platform/messages.h"

namespace tavi {

FDFormatView FDFormatLoad(SystemInfo& system) {
    FDFormatView view;
    for (const std::string& root : system.LogicalDriveRoots()) {
        if (root.empty()) continue;
        char letter = root[0];
        if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
        if (letter < 'A' || letter > 'Z') continue;
        if (system.DriveTypeOf(root) != DriveType::Removable) continue;
        const int number = letter - 'A';
        view.drives.push_back({"(" + std::to_string(number) + ")" + root + std::string(text::kFDFormatDriveSuffix),
                               number});
    }
    const bool any = !view.drives.empty();
    view.selected = any ? 0 : -1;
    view.listEnabled = any;
    view.okEnabled = any;
    return view;
}

FDFormatView FDFormatReload(SystemInfo& system, const FDFormatView& shown, int selected) {
    FDFormatView view = FDFormatLoad(system);
    if (selected < 0 || selected >= static_cast<int>(shown.drives.size())) return view;
    const int number = shown.drives[static_cast<size_t>(selected)].number;
    for (size_t i = 0; i < view.drives.size(); ++i)
        if (view.drives[i].number == number) view.selected = static_cast<int>(i);
    return view;
}

bool FDFormatDrivePresent(SystemInfo& system, const FDFormatView& view, int selected) {
    if (selected < 0 || selected >= static_cast<int>(view.drives.size())) return false;
    const int number = view.drives[static_cast<size_t>(selected)].number;
    for (const FormatDrive& drive : FDFormatLoad(system).drives)
        if (drive.number == number) return true;
    return false;
}

std::optional<uint32_t> FDFormatOk(const FDFormatView& view, int selected, DiskFormatter& formatter,
                                   NativeWindow owner) {
    if (selected < 0 || selected >= static_cast<int>(view.drives.size())) return std::nullopt;
    return formatter.FormatDrive(owner, view.drives[static_cast<size_t>(selected)].number);
}

}  // namespace tavi
