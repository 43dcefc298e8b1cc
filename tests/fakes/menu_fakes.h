#pragma once
// Recording doubles of what the menu commands reach: the bar, the windows
// they open, the system commands, folder listings, media and list tools.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/bar_services_fake.h"
#include "fakes/fakes.h"
#include "menus/menu_commands.h"

namespace tavi::fakes {

// Every call lands in one log, in order, so tests can check what came before what.
using CallLog = std::vector<std::string>;

class FakeCommandWindows final : public CommandWindows {
public:
    explicit FakeCommandWindows(CallLog& log) : log_(log) {}
    std::deque<int> optionResults;          // ShowOptionSet answers in order; 0 when empty
    std::function<void()> whileModalOpen;   // runs inside every modal window

    void ShowNewApp(int index) override { Modal("NewApp " + std::to_string(index)); }
    void ShowFileInformation(int index) override { Modal("FileInformation " + std::to_string(index)); }
    int ShowOptionSet() override;
    void ShowFDFormat() override { Modal("FDFormat"); }
    void ShowMemorySpace() override { log_.push_back("window MemorySpaceDialog"); }
    void ShowEntrySearch() override { log_.push_back("window EntrySearchDialog"); }
    void ImportShortcuts() override { Modal("ImportShortcuts"); }
    void OpenGroup(int position, bool) override { Modal("frmRectangle " + std::to_string(position)); }
    void OpenFolderMenu(int position, bool) override { Modal("folder menu " + std::to_string(position)); }

private:
    void Modal(const std::string& name);
    CallLog& log_;
};

class FakeSystemCommands final : public SystemCommands {
public:
    explicit FakeSystemCommands(CallLog& log) : log_(log) {}
    bool RunProgram(const std::string& commandLine) override;
    PrinterSetupResult PrinterSetup(NativeWindow owner) override;
    uint32_t ConnectNetworkDrive(NativeWindow owner) override;
    uint32_t DisconnectNetworkDrive(NativeWindow owner) override;
    uint32_t SendMediaCommand(const std::string& command) override;
    bool CloseProgramManager() override;
    void Wait(int milliseconds) override;

private:
    CallLog& log_;
};

// Folders in memory: folder path -> names as the system would list them.
class FakeFolderListing final : public FolderListing {
public:
    std::string desktop = "C:\\Users\\me\\Desktop";
    std::map<std::string, std::vector<std::string>> folders;
    std::map<std::string, std::string> shortNames;  // long path -> short path
    std::map<std::string, uint64_t> stamps;         // none: too recent to trust
    std::vector<std::string> queries;               // "folder|pattern"
    std::vector<std::string> made;                  // folders MakeFolder was asked for
    bool makeFails = false;

    std::string DesktopDirectory() override { return desktop; }
    std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern) override;
    std::string ShortPathName(const std::string& path) override;
    std::optional<uint64_t> LastWriteStamp(const std::string& path) override;
    bool MakeFolder(const std::string& path) override {
        made.push_back(path);
        return !makeFails;
    }
};

class FakeMediaTools final : public MediaTools {
public:
    explicit FakeMediaTools(CallLog& log) : log_(log) {}
    void EjectRemovableDrives(bool force) override { log_.push_back(force ? "eject force" : "eject"); }

private:
    CallLog& log_;
};

class FakeListHandlers final : public ListHandlers {
public:
    explicit FakeListHandlers(CallLog& log) : log_(log) {}
    std::vector<ListItem> wallPapers;  // what BuildWallpaperMenu puts after "(なし)"

    void BuildWallpaperMenu(RunTimeList& list) override;
    void OpenDeskTopItem(const RunTimeList& list, int index) override;
    void SelectScreenSaver(RunTimeList& list, int index) override;
    void SelectWallPaper(RunTimeList& list, int index) override;
    void ChgDisplaySet(const std::string& caption) override { log_.push_back("display " + caption); }

private:
    CallLog& log_;
};

// The command core over fakes; `log` holds every call in order.
struct MenuFixture {
    CallLog log;
    FakePlatform fake;
    FakeBarServices bar{log};
    FakeCommandWindows windows{log};
    FakeSystemCommands system{log};
    FakeFolderListing folders;
    FakeMediaTools media{log};
    FakeListHandlers listHandlers{log};
    MenuMain state;
    BarListView view{state, bar};
    MenuCommands commands{
        MenuCommandPorts{state, fake.platform, bar, windows, system, folders, media, listHandlers}};

    MenuFixture() { state.entries.AttachView(&view); }
};

}  // namespace tavi::fakes
