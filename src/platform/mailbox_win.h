#pragma once
#include <windows.h>

#include <functional>

namespace tavi {

// What a worker posts to a mailbox window once it has left something there.
inline constexpr UINT kMailboxPosted = WM_APP + 0x50;

// A message-only window of the calling thread: how what workers made reaches
// the UI thread. A worker posts it kMailboxPosted, and `arrived` runs on the
// window's thread; `arrived` must outlive the window. Null when none could
// be made.
HWND CreateMailboxWindow(const std::function<void()>* arrived);

}  // namespace tavi
