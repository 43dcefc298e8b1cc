#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Which programs run, learnt from window events rather than by polling: one
// small table by process, the image path asked once per process. The bar
// asks it whether an entry runs; a burst of events marks it changed once, so
// the bar repaints once per burst.
namespace tavi {

// A path reduced to one form for comparison: no quotes, back slashes, no
// doubled separators, no "\\?\" prefix, no trailing separator, lower case.
// Short forms ("PROGRA~1") are expanded by the caller-supplied long form.
std::string ComparablePath(std::string_view path);

enum class EntryKind { Program, Folder, Document };

struct RunningEntry {
    EntryKind kind = EntryKind::Program;
    std::string target;  // for a shortcut, its resolved target; empty when it could not be resolved
};

// Whether `path` ends in `ending` (given in comparable form: ".exe").
bool PathEndsWith(std::string_view path, std::string_view ending);

// How an entry's path (a shortcut already replaced by its target) is told
// running: a program by its process's image, anything else only as a folder
// a shell window shows, so a document is never marked. Nothing for an empty
// path.
std::optional<RunningEntry> RunningEntryFor(std::string_view written);

class RunningTable {
public:
    using WindowId = std::uintptr_t;
    // The image of a process, or nothing (elevated, gone while asked).
    using ImageOf = std::function<std::optional<std::string>(std::uint32_t pid)>;
    // The long form of a path (short names expanded), asked only of a path
    // that may hold a short name: empty when it has none, nothing while it
    // is being fetched. Until it comes (LongFormCame) the path is compared as
    // written, so that one on a drive that does not answer never waits.
    using LongForm = std::function<std::optional<std::string>(const std::string&)>;

    RunningTable(ImageOf imageOf, LongForm longForm);

    // `started` tells a reused process id from its earlier owner.
    void WindowShown(WindowId window, std::uint32_t pid, std::uint64_t started);
    // A shell window showing a folder; the folder counts as running.
    void FolderWindowShown(WindowId window, std::uint32_t pid, std::uint64_t started, std::string_view folder);
    void WindowGone(WindowId window);  // destroyed or hidden
    void WindowActivated(WindowId window);
    // The process ended: all its windows go, whether or not their ends were told.
    void ProcessEnded(std::uint32_t pid);
    // The long form of `path` can be had now: what was compared as written
    // is compared in it from here on.
    void LongFormCame(const std::string& path);

    bool HasWindow(WindowId window) const { return windows_.count(window) != 0; }
    bool HasProcess(std::uint32_t pid) const { return processes_.count(pid) != 0; }
    std::vector<std::uint32_t> Processes() const;

    bool Runs(const RunningEntry& entry);
    // The entry's windows, the most recently shown or activated first.
    std::vector<WindowId> WindowsOf(const RunningEntry& entry);

    // True once after any change to what runs; the bar repaints then.
    bool TakeChanged();
    std::size_t ProcessCount() const { return processes_.size(); }
    std::size_t WindowCount() const { return windows_.size(); }

private:
    struct Process {
        std::uint64_t started = 0;
        std::optional<std::string> image;  // comparable form; nothing when it could not be read
        std::size_t windows = 0;
    };
    struct Window {
        std::uint32_t pid = 0;
        std::string folder;  // comparable form, for shell folder windows
        std::uint64_t recency = 0;
    };
    void Show(WindowId window, std::uint32_t pid, std::uint64_t started, std::string folder);
    std::string Comparable(const std::string& path);

    ImageOf imageOf_;
    LongForm longForm_;
    std::unordered_map<std::uint32_t, Process> processes_;
    std::unordered_map<WindowId, Window> windows_;
    std::unordered_map<std::string, std::string> longForms_;
    std::uint64_t clock_ = 0;
    bool changed_ = false;
};

}  // namespace tavi
