#include "dialogs/import_folder.h"

#include "platform/text.h"

namespace tavi {

ImportFolderView ImportFolderLoad(const std::vector<std::string>& offered) {
    ImportFolderView view;
    view.folders = offered;
    view.selected = offered.empty() ? -1 : 0;
    return view;
}

void ImportFolderBrowsed(ImportFolderView& view, const std::string& folder) {
    if (IsBlank(folder)) return;
    for (size_t i = 0; i < view.folders.size(); ++i) {
        if (SamePathText(view.folders[i], folder)) {
            view.selected = static_cast<int>(i);
            return;
        }
    }
    view.folders.push_back(folder);
    view.selected = static_cast<int>(view.folders.size()) - 1;
}

std::optional<std::string> ImportFolderOk(const ImportFolderView& view) {
    if (view.selected < 0 || view.selected >= static_cast<int>(view.folders.size())) return std::nullopt;
    return view.folders[static_cast<size_t>(view.selected)];
}

}  // namespace tavi
