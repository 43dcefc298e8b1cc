#include "app/running_table.h"

#include <algorithm>
#include <utility>

#include "platform/text.h"

namespace tavi {

std::string ComparablePath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (char c : path) {
        if (c == '"') continue;
        if (c == '/') c = '\\';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        // Keep a leading "\\" (network paths), fold any other doubled separator.
        if (c == '\\' && out.size() > 1 && out.back() == '\\') continue;
        out.push_back(c);
    }
    while (!out.empty() && (out.back() == ' ')) out.pop_back();
    if (out.rfind("\\\\?\\unc\\", 0) == 0)
        out = "\\\\" + out.substr(8);
    else if (out.rfind("\\\\?\\", 0) == 0)
        out.erase(0, 4);
    while (out.size() > 3 && out.back() == '\\') out.pop_back();
    return out;
}

bool PathEndsWith(std::string_view path, std::string_view ending) {
    return path.size() >= ending.size() && ComparablePath(path.substr(path.size() - ending.size())) == ending;
}

std::optional<RunningEntry> RunningEntryFor(std::string_view written) {
    const std::string trimmed = TrimSpaces(written);
    const std::string_view path = Unquoted(trimmed);
    if (path.empty()) return std::nullopt;
    const bool program = path.size() > 4 && PathEndsWith(path, ".exe");
    return RunningEntry{program ? EntryKind::Program : EntryKind::Folder, std::string(path)};
}

RunningTable::RunningTable(ImageOf imageOf, LongForm longForm)
    : imageOf_(std::move(imageOf)), longForm_(std::move(longForm)) {}

std::string RunningTable::Comparable(const std::string& path) {
    auto found = longForms_.find(path);
    if (found != longForms_.end()) return found->second;
    // Only a name with a tilde can be a short one; no other is looked up on its drive.
    std::optional<std::string> longer;
    if (path.find('~') == std::string::npos || !longForm_)
        longer = std::string();
    else
        longer = longForm_(path);
    if (!longer) return ComparablePath(path);  // asked for; as written until it comes
    // A long form that cannot be had (a path that does not exist) is compared as written.
    return longForms_.emplace(path, ComparablePath(longer->empty() ? path : *longer)).first->second;
}

void RunningTable::LongFormCame(const std::string& path) {
    longForms_.erase(path);
    const std::string written = ComparablePath(path);
    const std::string longer = Comparable(path);
    if (longer == written) return;
    for (auto& [pid, process] : processes_)
        if (process.image == written) {
            process.image = longer;
            changed_ = true;
        }
    for (auto& [id, window] : windows_)
        if (window.folder == written) {
            window.folder = longer;
            changed_ = true;
        }
}

void RunningTable::Show(WindowId window, std::uint32_t pid, std::uint64_t started, std::string folder) {
    auto existing = windows_.find(window);
    if (existing != windows_.end()) {
        auto owner = processes_.find(pid);
        if (existing->second.pid == pid && owner != processes_.end() && owner->second.started == started) {
            // The same window, now known to show a folder or showing another: its process stays as it was.
            if (existing->second.folder != folder) changed_ = true;
            existing->second.folder = std::move(folder);
            existing->second.recency = ++clock_;
            return;
        }
        WindowGone(window);  // a handle reused by another process
    }
    auto process = processes_.find(pid);
    if (process != processes_.end() && process->second.started != started) {
        // The id belongs to a new process now: its windows and image are not the old one's.
        for (auto it = windows_.begin(); it != windows_.end();)
            it = it->second.pid == pid ? windows_.erase(it) : std::next(it);
        processes_.erase(process);
        process = processes_.end();
        changed_ = true;
    }
    if (process == processes_.end()) {
        Process fresh;
        fresh.started = started;
        if (auto image = imageOf_ ? imageOf_(pid) : std::nullopt; image && !image->empty())
            fresh.image = Comparable(*image);
        process = processes_.emplace(pid, std::move(fresh)).first;
    }
    ++process->second.windows;
    windows_.emplace(window, Window{pid, std::move(folder), ++clock_});
    changed_ = true;
}

void RunningTable::WindowShown(WindowId window, std::uint32_t pid, std::uint64_t started) {
    Show(window, pid, started, {});
}

void RunningTable::FolderWindowShown(WindowId window, std::uint32_t pid, std::uint64_t started,
                                     std::string_view folder) {
    Show(window, pid, started, folder.empty() ? std::string() : Comparable(std::string(folder)));
}

void RunningTable::WindowGone(WindowId window) {
    auto found = windows_.find(window);
    if (found == windows_.end()) return;
    auto process = processes_.find(found->second.pid);
    windows_.erase(found);
    if (process != processes_.end() && --process->second.windows == 0) processes_.erase(process);
    changed_ = true;
}

void RunningTable::ProcessEnded(std::uint32_t pid) {
    if (processes_.erase(pid) == 0) return;
    for (auto it = windows_.begin(); it != windows_.end();)
        it = it->second.pid == pid ? windows_.erase(it) : std::next(it);
    changed_ = true;
}

std::vector<std::uint32_t> RunningTable::Processes() const {
    std::vector<std::uint32_t> pids;
    pids.reserve(processes_.size());
    for (const auto& item : processes_) pids.push_back(item.first);
    return pids;
}

void RunningTable::WindowActivated(WindowId window) {
    auto found = windows_.find(window);
    if (found != windows_.end()) found->second.recency = ++clock_;
}

std::vector<RunningTable::WindowId> RunningTable::WindowsOf(const RunningEntry& entry) {
    std::vector<std::pair<std::uint64_t, WindowId>> found;
    if (entry.target.empty() || entry.kind == EntryKind::Document) return {};
    const std::string wanted = Comparable(entry.target);
    for (const auto& [id, window] : windows_) {
        bool match = false;
        if (entry.kind == EntryKind::Folder) {
            match = window.folder == wanted;
        } else if (window.folder.empty()) {
            auto process = processes_.find(window.pid);
            match = process != processes_.end() && process->second.image && *process->second.image == wanted;
        }
        if (match) found.emplace_back(window.recency, id);
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<WindowId> out;
    out.reserve(found.size());
    for (const auto& item : found) out.push_back(item.second);
    return out;
}

bool RunningTable::Runs(const RunningEntry& entry) { return !WindowsOf(entry).empty(); }

bool RunningTable::TakeChanged() { return std::exchange(changed_, false); }

}  // namespace tavi
