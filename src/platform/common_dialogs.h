#pragma once
#include <cstdint>
#include <string>

#include "platform/native_window.h"

namespace tavi {

// How a system dialog ended: confirmed, or not with the dialogs' extended
// error code (0 when the user cancelled).
struct DialogOutcome {
    bool confirmed = false;
    uint32_t extendedError = 0;
};

struct FileDialogRequest {
    NativeWindow owner = 0;
    bool save = false;
    std::string filter;       // pairs separated by NULs, ending in a NUL
    int32_t filterIndex = 0;
    std::string initialFile;  // already short enough for the buffer, with room for its NUL
    uint32_t bufferSize = 0;  // characters of the file buffer
    // The file-title buffer starts with this text; its length in characters
    // is the buffer's size (a NUL follows it).
    std::string fileTitle;
    std::string initialFolder;  // empty: the system's choice
    std::string title;          // empty: the system's own caption
    uint32_t flags = 0;
    std::string defaultExtension;  // given to the dialog even when empty
};

struct FileDialogResult : DialogOutcome {
    // The whole file buffer as the dialog left it, NULs included.
    std::string fileBuffer;
    // The buffer holds a folder and several names (its name part follows a NUL).
    bool severalFiles = false;
    std::string fileTitleBuffer;  // the whole file-title buffer, NULs included
};

struct FolderBrowseRequest {
    NativeWindow owner = 0;
    int32_t rootFolder = 0;  // a special-folder number; 0 is the desktop
    std::string prompt;
    uint32_t flags = 0;
};

struct FolderBrowseResult {
    bool chosen = false;
    std::string displayName;
    std::string path;  // empty for an item outside the file system
};

// The system's file dialogs and the folder browser. Each
// call is modal and leaves the program's current folder as it was.
class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;
    virtual FileDialogResult PickFile(const FileDialogRequest& request) = 0;
    virtual FolderBrowseResult BrowseForFolder(const FolderBrowseRequest& request) = 0;
};

}  // namespace tavi
