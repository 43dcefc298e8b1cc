#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/handles_win.h"

namespace tavi {

// Watches one folder with the system's change notices, without a thread of
// its own: the system completes the read on the thread that started the
// watch, in its alertable waits (the program's message loop waits so), and
// nothing runs while nothing changes. When one of `names` (files directly in
// the folder) is written, created, deleted or renamed, or the system dropped
// notices, it posts `message` to `window` once; the next post waits until
// the window has called Taken(), so a burst of notices is one message.
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
    struct Read;
    static void CALLBACK Completed(DWORD error, DWORD bytes, OVERLAPPED* overlapped);
    bool Issue(Read& read);
    bool Watched(const FILE_NOTIFY_INFORMATION& notice) const;
    void Post();

    OwnedHandle folder_;
    Read* read_ = nullptr;  // held by the system until its completion runs
    std::vector<std::wstring> names_;
    HWND window_ = nullptr;
    UINT message_ = 0;
    bool posted_ = false;
};

}  // namespace tavi
