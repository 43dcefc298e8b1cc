#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shell.h"

namespace tavi {

// Times of named steps of one run, kept only while tracing is switched on:
// the start-up phases up to the first painted bar and what follows it, and
// each click up to its shell call. Each line reads
//   <name> TAB <ms since the process began> TAB <ms since the mark before> TAB <clock ticks>
// The raw ticks let another process (the benchmark's driver) compare its own
// clock readings with ours.
class PhaseTrace {
public:
    using Clock = std::function<int64_t()>;
    using Sink = std::function<void(std::string_view)>;

    // `origin` is the clock reading at which the process began.
    PhaseTrace(Clock clock, int64_t ticksPerSecond, int64_t origin, Sink sink);

    void Mark(std::string_view name);
    // Writes the lines held so far. Until the first flush lines are held, so
    // that start-up does no file work between its phases; after it each mark
    // is written at once.
    void Flush();

    const std::vector<std::string>& Held() const { return held_; }

private:
    double Milliseconds(int64_t ticks) const;

    Clock clock_;
    int64_t ticksPerSecond_;
    int64_t origin_;
    int64_t previous_;
    Sink sink_;
    bool streaming_ = false;
    std::vector<std::string> held_;
};

// The process's trace: absent unless switched on, and then every call below
// goes to it. With no trace installed a mark costs one test of a pointer.
void InstallPhaseTrace(PhaseTrace* trace);
void TracePhase(std::string_view name);
void FlushPhaseTrace();

// The shell with each opening marked ("shell call") as it is handed over:
// how long a click takes to reach the shell, seen from outside.
class TracedShell final : public Shell {
public:
    explicit TracedShell(Shell& inner) : inner_(inner) {}
    int Open(const ShellOpenRequest& request) override;
    void OpenThen(const ShellOpenRequest& request, std::function<void(int result)> done) override;
    Association AssociatedProgram(const std::string& document) override { return inner_.AssociatedProgram(document); }

private:
    Shell& inner_;
};

}  // namespace tavi
