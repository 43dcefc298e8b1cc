#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/phase_trace.h"

using namespace tavi;

namespace {

// A clock the test moves by hand, 1000 ticks to the millisecond.
struct ManualClock {
    int64_t now = 0;
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "every line ends with a line feed";
    return lines;
}

}  // namespace

TEST(PhaseTrace, LinesCountFromTheOriginAndFromTheMarkBefore) {
    ManualClock clock{5'000};
    std::string written;
    PhaseTrace trace([&] { return clock.now; }, 1'000'000, 2'000, [&](std::string_view text) { written += text; });
    trace.Mark("bar load");
    clock.now = 17'250;
    trace.Mark("painted");
    EXPECT_TRUE(written.empty()) << "nothing is written before the first flush";
    trace.Flush();
    EXPECT_EQ(Lines(written), (std::vector<std::string>{"bar load\t3.000\t3.000\t5000",
                                                        "painted\t15.250\t12.250\t17250"}));
}

TEST(PhaseTrace, AfterTheFirstFlushEachMarkIsWrittenAtOnce) {
    ManualClock clock;
    std::vector<std::string> writes;
    PhaseTrace trace([&] { return clock.now; }, 1000, 0, [&](std::string_view text) { writes.emplace_back(text); });
    trace.Flush();
    EXPECT_TRUE(writes.empty()) << "an empty flush writes nothing";
    clock.now = 2;
    trace.Mark("click");
    clock.now = 3;
    trace.Mark("shell call");
    EXPECT_EQ(writes, (std::vector<std::string>{"click\t2.000\t2.000\t2\n", "shell call\t3.000\t1.000\t3\n"}));
    EXPECT_TRUE(trace.Held().empty());
}

TEST(PhaseTrace, TheProcessTraceIsOnlyWhatIsInstalled) {
    ManualClock clock;
    std::string written;
    PhaseTrace trace([&] { return clock.now; }, 1000, 0, [&](std::string_view text) { written += text; });
    TracePhase("before");  // nothing installed: ignored
    FlushPhaseTrace();
    InstallPhaseTrace(&trace);
    TracePhase("while");
    FlushPhaseTrace();
    InstallPhaseTrace(nullptr);
    TracePhase("after");
    FlushPhaseTrace();
    EXPECT_EQ(written, "while\t0.000\t0.000\t0\n");
}

TEST(PhaseTrace, ANonsenseFrequencyDoesNotDivideByZero) {
    std::string written;
    PhaseTrace trace([] { return int64_t{7}; }, 0, 0, [&](std::string_view text) { written += text; });
    trace.Mark("x");
    trace.Flush();
    EXPECT_EQ(written, "x\t7000.000\t7000.000\t7\n");
}

TEST(PhaseTrace, TheTracedShellMarksEachOpeningAndPassesEverythingOn) {
    struct RecordingShell final : Shell {
        std::vector<std::string> opened;
        int Open(const ShellOpenRequest& request) override {
            opened.push_back(request.file);
            return 42;
        }
        Association AssociatedProgram(const std::string& document) override { return {33, document + ".exe"}; }
    } inner;
    std::string written;
    int64_t now = 0;
    PhaseTrace trace([&] { return now; }, 1000, 0, [&](std::string_view text) { written += text; });
    InstallPhaseTrace(&trace);
    FlushPhaseTrace();
    TracedShell shell(inner);
    now = 5;
    EXPECT_EQ(shell.Open({"open", "a.exe", "", "", ShowCommand::Normal}), 42);
    EXPECT_EQ(shell.AssociatedProgram("b").program, "b.exe");
    now = 7;
    int result = 0;
    shell.OpenThen({"open", "c.exe", "", "", ShowCommand::Normal}, [&](int r) { result = r; });
    InstallPhaseTrace(nullptr);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(inner.opened, (std::vector<std::string>{"a.exe", "c.exe"}));
    EXPECT_EQ(written, "shell call\t5.000\t5.000\t5\nshell call\t7.000\t2.000\t7\n") << "only openings are marked";
}
