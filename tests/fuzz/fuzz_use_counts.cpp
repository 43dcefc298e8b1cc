// "TaviMenu2.<computer name>.pc": the uses of this PC's entries. Any bytes
// load without harm; a file that did not read as ours is never written, one
// that did is written back readable with the start just counted, its other
// sections kept line for line and no more entries than the limit.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "fakes/fakes.h"
#include "fuzz/fuzz_support.h"
#include "search/use_counts.h"

using namespace tavi;

namespace {

constexpr const char* kPath = "C:\\Tavi\\TaviMenu2.PC.pc";

// The lines of a file outside its [Uses] section, header aside.
std::vector<std::string> OtherLines(std::string_view bytes) {
    std::vector<std::string> lines;
    bool uses = false, first = true;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = std::min(bytes.find('\n', start), bytes.size());
        std::string_view line = bytes.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (std::exchange(first, false)) continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') uses = line == "[Uses]";
        if (!uses) lines.emplace_back(line);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::MemoryFiles files;
    files.files[kPath] = bytes;
    fakes::FakeClock clock;
    UseCounts uses(files, clock);
    uses.Load(kPath);
    const double before = uses.ScoreOf(UseKey("C:\\Fuzz\\app.exe", "-x"));
    fuzz::Check(before >= 0 && before <= 1e7, "a score is a use count, decayed");
    uses.Started("C:\\Fuzz\\app.exe", "-x");
    if (!uses.Readable()) {
        fuzz::Check(!uses.Clear(), "an unread file is not cleared");
        fuzz::Check(files.files.at(kPath) == bytes, "a file that did not read as ours is left as it was");
        return 0;
    }
    const std::string written = files.files.at(kPath);
    fuzz::Check(written.starts_with("TaviMenu2 pc 1\r\n"), "written with its header", written);
    fuzz::Check(OtherLines(written) == OtherLines(bytes), "other sections kept line for line", written);
    UseCounts again(files, clock);
    again.Load(kPath);
    fuzz::Check(again.Readable(), "what was written reads back", written);
    const double after = again.ScoreOf(UseKey("C:\\Fuzz\\app.exe", "-x"));
    fuzz::Check(std::abs(after - (before + 1)) <= 1e-6 * (before + 1), "the start counted and read back", written);
    fuzz::Check(static_cast<size_t>(std::count(written.begin(), written.end(), '\n')) <=
                    UseCounts::kEntryLimit + 2 + OtherLines(bytes).size(),
                "no more entries than the limit", written);
    return 0;
}
