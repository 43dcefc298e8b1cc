#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace tavi {

// A shell window and the file-system folder it shows.
struct FolderWindow {
    HWND window = nullptr;
    std::string folder;  // empty: a virtual folder (the desktop, the printers, ...)
};

// Whether `window` is one of the shell's folder windows.
bool IsFolderWindow(HWND window);

// The folder windows open now, asked of the shell's window list: nothing
// where the shell keeps none. A cross-process call that waits on the shell,
// so it runs on a worker with COM initialised, never on the UI thread.
std::vector<FolderWindow> ReadFolderWindows();

}  // namespace tavi
