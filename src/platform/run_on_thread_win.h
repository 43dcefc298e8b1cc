#pragma once
#include <windows.h>

namespace tavi {

// Runs `routine(context)` on a thread of its own that ends with it; false
// when no thread could be made (the caller still owns `context`). A worker
// needs little stack: the default megabyte would only be reserved space.
// Under Wine a thread costs about 1 MiB resident while it lives, and the
// system's pool keeps its threads: the bar's workers end with their work.
inline bool RunOnThread(LPTHREAD_START_ROUTINE routine, void* context, SIZE_T stack = 256 * 1024) {
    const HANDLE thread = CreateThread(nullptr, stack, routine, context, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) return false;
    CloseHandle(thread);
    return true;
}

}  // namespace tavi
