#pragma once
#include <windows.h>

#include <functional>

namespace tavi {

// What the UI thread's message loops wait on besides its messages: kernel
// objects (the processes whose ends the bar follows), each with what to do
// once it is signalled. Waiting here costs no thread, where a registered
// wait holds two threads of the system's pool under Wine (about 2 MiB).
// Only the UI thread uses these.
namespace loop_waits {

// One wait: `signalled` runs from WaitForInput once `object` is signalled,
// and the wait is gone then. False when the loop waits on as many objects
// as it can: the caller waits another way.
bool Add(HANDLE object, std::function<void()> signalled);
// Before the object is closed, if it was not signalled yet.
void Remove(HANDLE object);
size_t Count();

}  // namespace loop_waits

// Blocks until input comes to the calling thread's queue, an I/O completion
// routine has run, or an object of loop_waits was signalled and its action
// has run. The program's message loops call it when their queue is empty.
void WaitForInput();

}  // namespace tavi
