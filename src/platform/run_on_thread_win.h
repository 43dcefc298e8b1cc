#pragma once
#include <windows.h>

namespace tavi {

// Runs `routine(context)` on a thread of its own that ends with it, waiting
// up to `waitMs` for it to end: most short work is done by then, and what is
// not goes on alone. False when no thread could be made (the caller still
// owns `context`).
inline bool RunOnThreadAwhile(LPTHREAD_START_ROUTINE routine, void* context, DWORD waitMs, SIZE_T stack = 0) {
    const HANDLE thread = CreateThread(nullptr, stack, routine, context, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) return false;
    if (waitMs) WaitForSingleObject(thread, waitMs);
    CloseHandle(thread);
    return true;
}

// The same without waiting. A worker needs little stack: the default
// megabyte would only be reserved space. Under Wine a thread costs about
// 1 MiB resident while it lives, and the system's pool keeps its threads:
// the bar's workers end with their work.
inline bool RunOnThread(LPTHREAD_START_ROUTINE routine, void* context, SIZE_T stack = 256 * 1024) {
    return RunOnThreadAwhile(routine, context, 0, stack);
}

}  // namespace tavi
