#pragma once
#include "dialogs/import_folder.h"
#include "menus/import_shortcuts.h"
#include "platform/file_chooser.h"

namespace tavi {

// The user's roaming application data folder; empty when the shell names none.
std::string RoamingAppDataFolder();

// The folder choice over `owner`, browsing through `chooser`.
class Win32ImportFolderPrompt final : public ImportFolderPrompt {
public:
    Win32ImportFolderPrompt(NativeWindow owner, FileChooser& chooser) : owner_(owner), chooser_(chooser) {}
    std::optional<std::string> Choose(const std::vector<std::string>& offered) override;

private:
    NativeWindow owner_;
    FileChooser& chooser_;
};

}  // namespace tavi
