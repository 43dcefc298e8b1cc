#pragma once
// In-memory doubles of the ports. Each records what it was asked so tests can
// assert exact texts, icons, buttons and shell arguments.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/entry_buttons.h"
#include "fakes/set_setting.h"
#include "platform/clock.h"
#include "platform/host_adapters.h"
#include "platform/platform.h"

namespace tavi::fakes {

// Files in memory; paths are compared as given.
class MemoryFileSystem final : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::vector<std::string> unreadable;  // exist, but reading fails
    std::vector<std::string> unwritable;  // replacing or removing them fails
    bool failWrites = false;
    int replaceCalls = 0;
    std::string currentDirectory = "C:\\Work";

    FileContents Read(const std::string& path) override;
    [[nodiscard]] bool ReplaceAll(const std::string& path, std::string_view bytes) override;
    bool FileExists(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    std::string CurrentDirectory() override { return currentDirectory; }
};

// A clock the test sets, and may set back.
class FakeClock final : public Clock {
public:
    LocalTime now{2026, 12, 8, 20, 42, 0};
    LocalTime Now() override { return now; }
};

// Passes bytes through unchanged: tests that do not care about code pages
// write UTF-8 files.
class IdentityCodePage final : public CodePage {
public:
    std::string ToUtf8(std::string_view ansi) override { return std::string(ansi); }
    std::string FromUtf8(std::string_view utf8) override { return std::string(utf8); }
};

// Keys in memory, names compared without case; records every call in order.
class RecordingProfile final : public Profile {
public:
    struct Call {
        std::string operation;  // "get", "write", "delete-key", "delete-section"
        std::string section;
        std::string key;
        std::string value;
    };
    std::vector<Call> calls;
    std::map<std::string, std::string> values;  // "file|section|key" in lower case ASCII

    void Set(const std::string& file, const std::string& section, const std::string& key, const std::string& value);
    std::string GetString(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& value) override;
    [[nodiscard]] bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool DeleteSection(const std::string& file, const std::string& section) override;
    std::vector<Call> Writes() const;
};

class FakeSystemInfo final : public SystemInfo {
public:
    struct Drive {
        std::string root;
        DriveType type;
        std::string displayName;
    };
    std::string windowsDirectory = "C:\\WINDOWS";
    std::string systemDirectory = "C:\\WINDOWS\\system32";
    bool windowsNT = true;
    std::vector<Drive> drives;
    std::vector<std::vector<std::string>> nameAsks;  // the roots of each DriveDisplayNames
    std::string computerName = "DESK1";

    std::string WindowsDirectory() override { return windowsDirectory; }
    std::string SystemDirectory() override { return systemDirectory; }
    bool IsWindowsNT() override { return windowsNT; }
    std::vector<std::string> LogicalDriveRoots() override;
    DriveType DriveTypeOf(const std::string& root) override;
    std::vector<std::string> DriveDisplayNames(const std::vector<std::string>& roots) override;
    std::string ComputerName() override { return computerName; }
};

class FakeShell final : public Shell {
public:
    std::vector<ShellOpenRequest> opened;
    int result = 42;
    // Document path (exact) -> associated program; anything else has none (31).
    std::map<std::string, std::string> associations;
    std::vector<std::string> lookedUp;

    // Held: OpenThen records the opening and keeps its `done` for the test
    // to call, as a start on a drive that does not answer comes back late.
    bool hold = false;
    std::vector<std::function<void(int)>> held;

    int Open(const ShellOpenRequest& request) override {
        opened.push_back(request);
        return result;
    }
    void OpenThen(const ShellOpenRequest& request, std::function<void(int result)> done) override {
        if (!hold) return done(Open(request));
        opened.push_back(request);
        held.push_back(std::move(done));
    }
    Association AssociatedProgram(const std::string& document) override {
        lookedUp.push_back(document);
        const auto found = associations.find(document);
        if (found == associations.end()) return {31, ""};
        return {42, found->second};
    }
};

class FakeMessageBoxes final : public MessageBoxes {
public:
    std::vector<MessageRequest> shown;
    std::deque<MessageAnswer> answers;  // answered in order; Ok when empty
    MessageAnswer Show(const MessageRequest& request) override;
};

class FakeEntryButtons final : public EntryButtons {
public:
    std::vector<std::string> calls;  // "tip 3 Title", "icon 3 cached", "clear 3"
    void SetButtonTip(int position, const std::string& tip) override;
    void ShowEntryIcon(int position, bool useCache) override;
    void ClearButtonImage(int position) override;
};

// The list of `state` as if "Launch.ini" had held these entries: the file is
// written through `platform` and the list opened on it, so the list's growth
// mark is the count of entries up to the last used one.
void GiveEntries(MenuMain& state, Platform& platform, const std::vector<LaunchEntry>& slots);
// One entry put into the list by a change of its own, as another command would.
void PutEntry(MenuMain& state, int index, const LaunchEntry& entry);

// Every port as a fake, bundled.
struct FakePlatform {
    RecordingProfile profile;
    MemoryFileSystem files;
    IdentityCodePage codePage;
    FakeSystemInfo system;
    FakeShell shell;
    FakeMessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
};

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

}  // namespace tavi::fakes
