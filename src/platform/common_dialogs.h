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

struct ColorDialogRequest {
    NativeWindow owner = 0;
    uint32_t color = 0;  // 0x00BBGGRR
    uint32_t flags = 0;
};

struct ColorDialogResult : DialogOutcome {
    uint32_t color = 0;
};

struct FontDescription {
    std::string name;
    int32_t pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
};

struct FontDialogRequest {
    NativeWindow owner = 0;
    FontDescription initial;  // the dialog starts from this font
    uint32_t flags = 0;
    uint32_t color = 0;
    int32_t minSize = 0;
    int32_t maxSize = 0;
};

struct FontDialogResult : DialogOutcome {
    std::string faceName;
    int32_t height = 0;  // logical units, as the dialog fills a logical font
    int32_t weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
    uint32_t color = 0;
    int32_t pixelsPerInchY = 0;  // of the owner's display, 0 when unknown
};

struct PrintDialogRequest {
    NativeWindow owner = 0;
    std::uintptr_t deviceContext = 0;
    uint32_t flags = 0;
    uint16_t fromPage = 0;
    uint16_t toPage = 0;
    uint16_t minPage = 0;
    uint16_t maxPage = 0;
    uint16_t copies = 0;
};

struct PrintDialogResult : DialogOutcome {
    uint16_t fromPage = 0;
    uint16_t toPage = 0;
    uint16_t minPage = 0;
    uint16_t maxPage = 0;
    uint16_t copies = 0;
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

// The system's common dialogs, the help engine and the folder browser. Each
// call is modal and leaves the program's current folder as it was.
class CommonDialogs {
public:
    virtual ~CommonDialogs() = default;
    virtual FileDialogResult PickFile(const FileDialogRequest& request) = 0;
    virtual ColorDialogResult PickColor(const ColorDialogRequest& request) = 0;
    virtual FontDialogResult PickFont(const FontDialogRequest& request) = 0;
    virtual PrintDialogResult Print(const PrintDialogRequest& request) = 0;
    virtual DialogOutcome PageSetup(NativeWindow owner, uint32_t flags) = 0;
    virtual void Help(NativeWindow owner, const std::string& file, uint32_t command) = 0;
    virtual FolderBrowseResult BrowseForFolder(const FolderBrowseRequest& request) = 0;
};

}  // namespace tavi
