#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/running_table.h"

using namespace tavi;

namespace {

// One event fed to the table: 'S' shown, 'F' folder window shown, 'G' gone,
// 'E' the process `pid` ended, 'L' the long form of `folder` came.
struct Event {
    char kind;
    std::uintptr_t window;
    std::uint32_t pid = 0;
    std::uint64_t started = 1;
    std::string folder = {};
};

struct Row {
    const char* name;
    // By pid, then pid + 1000 for the second asking; absent = cannot be read.
    std::map<std::uint32_t, std::optional<std::string>> images;
    std::vector<Event> events;
    std::vector<RunningEntry> entries;
    std::vector<bool> marked;
    // Short names whose long forms are still being fetched.
    std::set<std::string> coming = {};
};

RunningEntry Program(std::string path) { return {EntryKind::Program, std::move(path)}; }

TEST(RunningTable, EventsAndEntriesGiveMarks) {
    const std::string notepad = "C:\\Windows\\notepad.exe";
    const std::vector<Row> rows = {
        {"shown window marks its program in every written form",
         {{10, notepad}},
         {{'S', 1, 10}},
         {Program("c:/windows/NOTEPAD.EXE"), Program("\"C:\\Windows\\notepad.exe\""), Program("C:\\WINDOWS\\\\notepad.exe"),
          Program("\\\\?\\C:\\Windows\\notepad.exe"), Program("C:\\Windows\\write.exe")},
         {true, true, true, true, false}},
        {"short form matches its long form", {{10, "C:\\Program Files\\Ed\\ed.exe"}}, {{'S', 1, 10}},
         {Program("C:\\PROGRA~1\\Ed\\ed.exe")}, {true}},
        {"last window gone clears the mark, another window keeps it",
         {{10, notepad}, {11, "C:\\Ed\\ed.exe"}},
         {{'S', 1, 10}, {'S', 2, 10}, {'S', 3, 11}, {'G', 1}, {'G', 3}},
         {Program(notepad), Program("C:\\Ed\\ed.exe")},
         {true, false}},
        {"a process with many windows loses its mark only with the last",
         {{10, notepad}},
         {{'S', 1, 10}, {'S', 2, 10}, {'S', 3, 10}, {'G', 3}, {'G', 2}, {'G', 1}},
         {Program(notepad)},
         {false}},
        {"a reused process id is asked again: the old image no longer runs",
         {{10, notepad}, {1010, "C:\\Ed\\ed.exe"}},
         {{'S', 1, 10, 1}, {'S', 2, 10, 2}},
         {Program("C:\\Ed\\ed.exe"), Program(notepad)},
         {true, false}},
        {"an elevated process without a path marks nothing", {{10, std::nullopt}}, {{'S', 1, 10}},
         {Program(notepad), Program("")}, {false, false}},
        {"two entries for one program are both marked", {{10, notepad}}, {{'S', 1, 10}},
         {Program(notepad), Program("C:/Windows/notepad.exe")}, {true, true}},
        {"a folder runs only where a shell window shows it, a document never",
         {{20, "C:\\Windows\\explorer.exe"}},
         {{'F', 5, 20, 1, "C:\\Users\\Ann\\Docs\\"}},
         {{EntryKind::Folder, "c:/users/ann/docs"}, {EntryKind::Folder, "C:\\Users\\Ann"},
          {EntryKind::Document, "C:\\Users\\Ann\\Docs\\a.txt"}, Program("C:\\Windows\\explorer.exe")},
         {true, false, false, false}},
        {"a shell window first seen as a window, then told its folder, then another: its process asked once",
         {{20, "C:\\Windows\\explorer.exe"}},
         {{'S', 5, 20}, {'F', 5, 20, 1, "C:\\Users\\Ann\\Docs"}, {'F', 5, 20, 1, "C:\\Users\\Ann\\Music"}},
         {{EntryKind::Folder, "C:\\Users\\Ann\\Docs"}, {EntryKind::Folder, "C:\\Users\\Ann\\Music"},
          Program("C:\\Windows\\explorer.exe")},
         {false, true, false}},
        {"a network path compares with its own form", {{10, "\\\\srv\\tools\\ed.exe"}}, {{'S', 1, 10}},
         {Program("//SRV/tools/ed.exe"), Program("\\srv\\tools\\ed.exe")}, {true, false}},
        {"an unresolved shortcut (empty target) is not marked", {{10, notepad}}, {{'S', 1, 10}}, {Program("")},
         {false}},
        {"a process's end takes all its windows, though none was told gone",
         {{10, notepad}, {11, "C:\\Ed\\ed.exe"}},
         {{'S', 1, 10}, {'S', 2, 10}, {'S', 3, 11}, {'E', 0, 10}, {'E', 0, 12}},
         {Program(notepad), Program("C:\\Ed\\ed.exe")},
         {false, true}},
        {"a process id ended and used again is asked again",
         {{10, notepad}, {1010, "C:\\Ed\\ed.exe"}},
         {{'S', 1, 10, 1}, {'E', 0, 10}, {'S', 1, 10, 2}},
         {Program("C:\\Ed\\ed.exe"), Program(notepad)},
         {true, false}},
        {"a window gone twice or never seen changes nothing", {{10, notepad}},
         {{'G', 9}, {'S', 1, 10}, {'G', 1}, {'G', 1}}, {Program(notepad)}, {false}},
        {"a short form whose long form never comes is compared as written, without a wait",
         {{10, "C:\\Program Files\\Ed\\ed.exe"}}, {{'S', 1, 10}},
         {Program("C:\\PROGRA~1\\Ed\\ed.exe")}, {false}, {"C:\\PROGRA~1\\Ed\\ed.exe"}},
        {"a process started by its short name is marked once the long form comes",
         {{10, "C:\\PROGRA~1\\Ed\\ed.exe"}}, {{'S', 1, 10}, {'L', 0, 0, 1, "C:\\PROGRA~1\\Ed\\ed.exe"}},
         {Program("C:\\Program Files\\Ed\\ed.exe"), Program("C:\\PROGRA~1\\Ed\\ed.exe")}, {true, true},
         {"C:\\PROGRA~1\\Ed\\ed.exe"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::map<std::uint32_t, int> asked;
        std::set<std::string> coming = row.coming;
        std::vector<std::string> lookedUp;
        RunningTable table(
            [&](std::uint32_t pid) -> std::optional<std::string> {
                auto found = row.images.find(pid + 1000 * asked[pid]++);
                return found == row.images.end() ? std::nullopt : found->second;
            },
            [&](const std::string& path) -> std::optional<std::string> {
                lookedUp.push_back(path);
                if (coming.contains(path)) return std::nullopt;
                return path == "C:\\PROGRA~1\\Ed\\ed.exe" ? std::string("C:\\Program Files\\Ed\\ed.exe") : path;
            });
        for (const Event& e : row.events) {
            if (e.kind == 'S') table.WindowShown(e.window, e.pid, e.started);
            if (e.kind == 'F') table.FolderWindowShown(e.window, e.pid, e.started, e.folder);
            if (e.kind == 'G') table.WindowGone(e.window);
            if (e.kind == 'E') table.ProcessEnded(e.pid);
            if (e.kind == 'L') {
                coming.erase(e.folder);
                table.LongFormCame(e.folder);
            }
        }
        std::vector<bool> marked;
        for (const RunningEntry& entry : row.entries) marked.push_back(table.Runs(entry));
        EXPECT_EQ(marked, row.marked);
        // Asked once per process, not per window; a reused id counts as a new process.
        for (const auto& [pid, count] : asked) EXPECT_EQ(count, row.images.count(pid + 1000) ? 2 : 1) << pid;
        // Only a name that may be short is looked up on its drive.
        for (const std::string& path : lookedUp) EXPECT_NE(path.find('~'), std::string::npos) << path;
    }
}

// An entry's own path, as the bar holds it, decides how it is told running.
TEST(RunningTable, EntryPathsAreToldAsProgramOrFolder) {
    RunningTable table([](std::uint32_t pid) -> std::optional<std::string> {
        if (pid == 10) return "C:\\Windows\\notepad.exe";
        return "C:\\Windows\\explorer.exe";
    }, nullptr);
    table.WindowShown(1, 10, 1);
    table.FolderWindowShown(5, 20, 1, "C:\\Users\\Ann\\Docs");
    const struct {
        const char* path;
        std::optional<EntryKind> kind;
        bool runs;
    } rows[] = {
        {" \"C:\\Windows\\NOTEPAD.EXE\" ", EntryKind::Program, true},
        {"\"C:\\Users\\Ann\\Docs\\\"", EntryKind::Folder, true},
        {"c:/users/ann/docs", EntryKind::Folder, true},
        {"C:\\Users\\Ann\\Docs\\a.txt", EntryKind::Folder, false},  // a document: never a shell window's folder
        {"C:\\Users\\Ann", EntryKind::Folder, false},
        {"C:\\Windows\\explorer.exe", EntryKind::Program, false},  // folder windows are not the program's
        {"http://example.com/", EntryKind::Folder, false},
        {".exe", EntryKind::Folder, false},
        {"  ", std::nullopt, false},
        {"\"\"", std::nullopt, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const std::optional<RunningEntry> entry = RunningEntryFor(row.path);
        ASSERT_EQ(entry.has_value(), row.kind.has_value());
        if (!entry) continue;
        EXPECT_EQ(entry->kind, *row.kind);
        EXPECT_EQ(table.Runs(*entry), row.runs);
    }
}

TEST(RunningTable, StormIsBoundedAndOneChangePerBurst) {
    int asked = 0;
    RunningTable table([&](std::uint32_t) -> std::optional<std::string> { ++asked; return "C:\\a.exe"; },
                       [](const std::string& p) { return p; });
    for (std::uintptr_t w = 1; w <= 1000; ++w) table.WindowShown(w, 7, 1);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(table.WindowCount(), 1000u);
    EXPECT_TRUE(table.TakeChanged());
    EXPECT_FALSE(table.TakeChanged());
    for (std::uintptr_t w = 1; w <= 1000; ++w) table.WindowGone(w);
    EXPECT_EQ(table.ProcessCount(), 0u);
    EXPECT_TRUE(table.TakeChanged());
    EXPECT_FALSE(table.Runs({EntryKind::Program, "C:\\a.exe"}));
    // Where no window's end is told, the process's end clears a storm at once.
    for (std::uintptr_t w = 1; w <= 1000; ++w) table.WindowShown(w, 8, 1);
    table.TakeChanged();
    table.ProcessEnded(8);
    EXPECT_EQ(table.WindowCount(), 0u);
    EXPECT_TRUE(table.TakeChanged());
    EXPECT_EQ(asked, 2);
}

TEST(RunningTable, RepeatedClicksCycleMostRecentFirst) {
    RunningTable table([](std::uint32_t) -> std::optional<std::string> { return "C:\\a.exe"; },
                       [](const std::string& p) { return p; });
    table.WindowShown(1, 7, 1);
    table.WindowShown(2, 7, 1);
    table.WindowShown(3, 7, 1);
    RunningEntry a{EntryKind::Program, "C:\\a.exe"};
    EXPECT_EQ(table.WindowsOf(a), (std::vector<std::uintptr_t>{3, 2, 1}));
    table.WindowActivated(1);
    EXPECT_EQ(table.WindowsOf(a).front(), 1u);
}

}  // namespace
