#include "tools/fd_format.h"

#include "app/messages.h"

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

std::optional<uint32_t> FDFormatOk(const FDFormatView& view, int selected, DiskFormatter& formatter,
                                   NativeWindow owner) {
    if (selected < 0 || selected >= static_cast<int>(view.drives.size())) return std::nullopt;
    return formatter.FormatDrive(owner, view.drives[static_cast<size_t>(selected)].number);
}

}  // namespace tavi
