#include "fakes/fakes.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <random>
#include <stdexcept>

#include "app/menu_main.h"

#include "platform/text.h"

namespace tavi::fakes {

namespace {
bool Listed(const std::vector<std::string>& paths, const std::string& path) {
    return std::find(paths.begin(), paths.end(), path) != paths.end();
}
}  // namespace

FileContents MemoryFileSystem::Read(const std::string& path) {
    if (Listed(unreadable, path)) return {ReadOutcome::Unreadable, {}};
    const auto found = files.find(path);
    if (found == files.end()) return {};
    return {ReadOutcome::Whole, found->second};
}

void GiveEntries(MenuMain& state, Platform& platform, const std::vector<LaunchEntry>& slots) {
    EntryStore store;
    store.slots = slots;
    if (!SaveEntries(store, platform, state.ApplicationPath)) throw std::runtime_error("list not written");
    state.entries.Open(state.ApplicationPath, state.notices, platform);
}

void PutEntry(MenuMain& state, int index, const LaunchEntry& entry) {
    if (!state.entries.Change([&](ListEdit& edit) { edit.Slot(index) = entry; }))
        throw std::runtime_error("entry not put");
}

bool MemoryFileSystem::ReplaceAll(const std::string& path, std::string_view bytes) {
    ++replaceCalls;
    if (failWrites || Listed(unwritable, path)) return false;
    files[path] = std::string(bytes);
    return true;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
    if (failWrites || Listed(unwritable, path)) return false;
    files.erase(path);
    return true;
}

bool MemoryFileSystem::FileExists(const std::string& path) {
    return files.count(path) > 0 || Listed(unreadable, path);
}

namespace {
std::string KeyOf(const std::string& file, const std::string& section, const std::string& key) {
    return ToUpperAscii(file + "|" + section + "|" + key);
}
}  // namespace

void RecordingProfile::Set(const std::string& file, const std::string& section, const std::string& key,
                           const std::string& value) {
    values[KeyOf(file, section, key)] = value;
}

std::string RecordingProfile::GetString(const std::string& file, const std::string& section, const std::string& key) {
    calls.push_back({"get", section, key, ""});
    const auto found = values.find(KeyOf(file, section, key));
    return found == values.end() ? std::string() : found->second;
}

bool RecordingProfile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& value) {
    calls.push_back({"write", section, key, value});
    values[KeyOf(file, section, key)] = value;
    return true;
}

bool RecordingProfile::DeleteKey(const std::string& file, const std::string& section, const std::string& key) {
    calls.push_back({"delete-key", section, key, ""});
    return values.erase(KeyOf(file, section, key)) > 0;
}

bool RecordingProfile::DeleteSection(const std::string& file, const std::string& section) {
    calls.push_back({"delete-section", section, "", ""});
    const std::string prefix = ToUpperAscii(file + "|" + section + "|");
    std::erase_if(values, [&](const auto& item) { return StartsWith(item.first, prefix); });
    return true;
}

std::vector<RecordingProfile::Call> RecordingProfile::Writes() const {
    std::vector<Call> writes;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(writes),
                 [](const Call& c) { return c.operation == "write"; });
    return writes;
}

std::vector<std::string> FakeSystemInfo::LogicalDriveRoots() {
    std::vector<std::string> roots;
    for (const Drive& d : drives) roots.push_back(d.root);
    return roots;
}

DriveType FakeSystemInfo::DriveTypeOf(const std::string& root) {
    for (const Drive& d : drives)
        if (d.root == root) return d.type;
    return DriveType::NoRootDir;
}

std::vector<std::string> FakeSystemInfo::DriveDisplayNames(const std::vector<std::string>& roots) {
    nameAsks.push_back(roots);
    std::vector<std::string> names;
    for (const std::string& root : roots) {
        names.emplace_back();
        for (const Drive& d : drives)
            if (d.root == root) names.back() = d.displayName;
    }
    return names;
}

MessageAnswer FakeMessageBoxes::Show(const MessageRequest& request) {
    shown.push_back(request);
    if (answers.empty()) return MessageAnswer::Ok;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
}

void FakeEntryButtons::SetButtonTip(int position, const std::string& tip) {
    calls.push_back("tip " + std::to_string(position) + " " + tip);
}
void FakeEntryButtons::ShowEntryIcon(int position, bool useCache) {
    calls.push_back("icon " + std::to_string(position) + (useCache ? " cached" : " fresh"));
}
void FakeEntryButtons::ClearButtonImage(int position) { calls.push_back("clear " + std::to_string(position)); }

TempFolder::TempFolder() {
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        const auto candidate =
            base / ("tavi-test-" + std::to_string(random()) + "-" + std::to_string(counter++));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path_ = candidate.string();
            return;
        }
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace tavi::fakes
