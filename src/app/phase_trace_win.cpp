#include "app/phase_trace_win.h"

#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

int64_t Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t FileTimeOf(const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

// The counter reading at which this process was created.
int64_t ProcessOrigin(int64_t frequency) {
    FILETIME created, exited, kernel, user, now;
    const int64_t counter = Counter();
    GetSystemTimePreciseAsFileTime(&now);
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return counter;
    const int64_t age100ns = FileTimeOf(now) - FileTimeOf(created);
    if (age100ns < 0) return counter;
    return counter - age100ns * frequency / 10'000'000;
}

void Append(const std::wstring& file, std::string_view text) {
    const OwnedFile handle(CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.Valid()) return;
    DWORD written = 0;
    WriteFile(handle.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

Win32PhaseTrace::Win32PhaseTrace(const std::string& programFolder) {
    wchar_t value[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"TAVI_TRACE_STARTUP", value, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || std::wstring_view(value) == L"0") return;
    file_ = std::wstring_view(value) == L"1" ? Widen(programFolder) + L"\\TaviMenu2.trace" : std::wstring(value);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    trace_ = std::make_unique<PhaseTrace>(Counter, frequency.QuadPart, ProcessOrigin(frequency.QuadPart),
                                          [this](std::string_view text) { Append(file_, text); });
    InstallPhaseTrace(trace_.get());
}

Win32PhaseTrace::~Win32PhaseTrace() {
    if (!trace_) return;
    TracePhase("exit");
    FlushPhaseTrace();
    InstallPhaseTrace(nullptr);
}

}  // namespace tavi
