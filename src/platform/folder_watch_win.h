#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "platform/handles_win.h"

namespace tavi {

// Watches one folder with the system's change notices, on a thread of its
// own that sleeps in the system until a notice comes: nothing runs while
// nothing changes. When one of `names` (files directly in the folder) is
// written, created, deleted or renamed, or the system dropped notices, it
// posts `message` to `window` once; the next post waits until the window
// has called Taken(), so a burst of notices is one message.
class FolderWatch {
public:
    FolderWatch() = default;
    ~FolderWatch() { Stop(); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // False when the folder cannot be watched (gone, or a file system
    // without notices): the bar then follows its files at 再表示 only.
    // Once watching, it posts once at once: a change made before then
    // sent no notice.
    bool Start(const std::string& folder, std::vector<std::string> names, HWND window, UINT message);
    void Stop();
    // The window has handled the message: the next notice posts again.
    void Taken() { posted_ = false; }

private:
    static DWORD WINAPI Run(void* self);
    void Watch();
    bool Watched(const FILE_NOTIFY_INFORMATION& notice) const;
    void Post();

    OwnedHandle folder_;
    OwnedHandle stop_;
    OwnedHandle thread_;
    std::vector<std::wstring> names_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    std::atomic<bool> posted_{false};
};

}  // namespace tavi
