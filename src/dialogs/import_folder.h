#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/native_window.h"

// The folder an import of shortcuts reads: the user's Quick Launch folder and
// the taskbar's pinned items are offered first, any other folder is browsed for.
namespace tavi {

struct ImportFolderView {
    std::vector<std::string> folders;  // the list, offered folders first
    int selected = -1;                 // -1: none
};

// The list as the dialog opens: the offered folders, the first one selected.
ImportFolderView ImportFolderLoad(const std::vector<std::string>& offered);
// A folder the user browsed for: selected, added at the end unless the list
// has it already (compared without case, as the file system does).
void ImportFolderBrowsed(ImportFolderView& view, const std::string& folder);
// OK: the selected folder; nothing when none is selected.
std::optional<std::string> ImportFolderOk(const ImportFolderView& view);

}  // namespace tavi
