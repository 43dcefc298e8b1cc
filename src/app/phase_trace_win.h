#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/phase_trace.h"

namespace tavi {

// The phase trace of this process, switched on by the environment variable
// TAVI_TRACE_STARTUP: "1" appends to "TaviMenu2.trace" in the program's
// folder, any other value (but "0") names the file. Unset, nothing is made
// and every mark is a no-op. Times count from the process's creation on the
// performance counter, which all processes of a session share.
class Win32PhaseTrace {
public:
    explicit Win32PhaseTrace(const std::string& programFolder);
    Win32PhaseTrace(const Win32PhaseTrace&) = delete;
    Win32PhaseTrace& operator=(const Win32PhaseTrace&) = delete;
    ~Win32PhaseTrace();

    bool On() const { return trace_ != nullptr; }

private:
    std::wstring file_;
    std::unique_ptr<PhaseTrace> trace_;
};

}  // namespace tavi
