#pragma once
#include <windows.h>

#include <string>

#include "platform/wide_win.h"

namespace tavi {

// Puts the process's current folder back at the end of a scope, whatever
// happened to it meanwhile (a file dialog may move it; a start may enter a
// program's folder on purpose).
class CurrentFolderKeeper {
public:
    CurrentFolderKeeper()
        : saved_(GrowingWideString([](wchar_t* buffer, DWORD size) { return GetCurrentDirectoryW(size, buffer); })) {}
    ~CurrentFolderKeeper() {
        if (!saved_.empty()) SetCurrentDirectoryW(saved_.c_str());
    }
    CurrentFolderKeeper(const CurrentFolderKeeper&) = delete;
    CurrentFolderKeeper& operator=(const CurrentFolderKeeper&) = delete;

    // Makes `folder` current for the scope; false when it cannot be entered,
    // or when the folder to return to is not known.
    bool Enter(const std::wstring& folder) { return !saved_.empty() && SetCurrentDirectoryW(folder.c_str()) != FALSE; }

private:
    std::wstring saved_;
};

}  // namespace tavi
