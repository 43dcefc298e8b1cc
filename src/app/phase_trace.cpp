#include "app/phase_trace.h"

#include <cstdio>

namespace tavi {
namespace {

PhaseTrace* g_trace = nullptr;

}  // namespace

PhaseTrace::PhaseTrace(Clock clock, int64_t ticksPerSecond, int64_t origin, Sink sink)
    : clock_(std::move(clock)),
      ticksPerSecond_(ticksPerSecond > 0 ? ticksPerSecond : 1),
      origin_(origin),
      previous_(origin),
      sink_(std::move(sink)) {}

double PhaseTrace::Milliseconds(int64_t ticks) const {
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(ticksPerSecond_);
}

void PhaseTrace::Mark(std::string_view name) {
    const int64_t now = clock_();
    char figures[96];
    std::snprintf(figures, sizeof figures, "\t%.3f\t%.3f\t%lld\n", Milliseconds(now - origin_),
                  Milliseconds(now - previous_), static_cast<long long>(now));
    previous_ = now;
    std::string line(name);
    line += figures;
    if (streaming_) {
        if (sink_) sink_(line);
    } else {
        held_.push_back(std::move(line));
    }
}

void PhaseTrace::Flush() {
    std::string text;
    for (const std::string& line : held_) text += line;
    held_.clear();
    streaming_ = true;
    if (sink_ && !text.empty()) sink_(text);
}

void InstallPhaseTrace(PhaseTrace* trace) { g_trace = trace; }

void TracePhase(std::string_view name) {
    if (g_trace) g_trace->Mark(name);
}

void FlushPhaseTrace() {
    if (g_trace) g_trace->Flush();
}

int TracedShell::Open(const ShellOpenRequest& request) {
    TracePhase("shell call");
    return inner_.Open(request);
}

void TracedShell::OpenThen(const ShellOpenRequest& request, std::function<void(int result)> done) {
    TracePhase("shell call");
    inner_.OpenThen(request, std::move(done));
}

}  // namespace tavi
