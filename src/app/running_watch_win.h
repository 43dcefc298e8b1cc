#pragma once
#include <windows.h>

#include "app/running_table.h"

namespace tavi {

// Feeds the running table from the system's window events, hooked out of
// context: no polling, nothing runs while no window appears or ends. A burst
// of events posts `changed` to `notify` once; the bar repaints on it and
// calls Acknowledge. One watch per process (the hook's callback has no context).
class RunningWatch {
public:
    RunningWatch(HWND notify, UINT changed);
    ~RunningWatch();
    RunningWatch(const RunningWatch&) = delete;
    RunningWatch& operator=(const RunningWatch&) = delete;

    bool Hooked() const { return hooks_[0] != nullptr; }
    RunningTable& Table() { return table_; }
    void Acknowledge() { posted_ = false; }

private:
    static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD thread,
                                 DWORD time);
    void Seen(HWND window);
    void Notify();

    HWND notify_;
    UINT changed_;
    RunningTable table_;
    HWINEVENTHOOK hooks_[2] = {};
    bool posted_ = false;
};

}  // namespace tavi
