#include "menus/menu_commands.h"

#include "app/backup_names.h"
#include "app/launcher.h"
#include "platform/messages.h"
#include "app/phase_trace.h"
#include "app/startup.h"
#include "platform/shell_start.h"
#include "platform/text.h"

namespace tavi {

namespace {

// A cut entry the list could not take back at exit is kept as "CutEntry<n>.txt"
// in the backup folder.
constexpr std::string_view kCutEntryFileName = "CutEntry";

}  // namespace

namespace {

using C = MenuCommand;

// Fixed command lines for the system's rundll32.exe; no text from entries
// ever goes into one.
constexpr const char* kControlPanel = "shell32.dll,Control_RunDLL";
constexpr const char* kAddRemovePrograms = "shell32.dll,Control_RunDLL appwiz.cpl";
constexpr const char* kDisplayProperties = "shell32.dll,Control_RunDLL desk.cpl";
constexpr const char* kCdDoorOpen = "set cdaudio door open";
constexpr const char* kCdDoorClosed = "set cdaudio door closed";
constexpr std::string_view kJapaneseHelp = "TaviMenu2.html";
constexpr int kOptionAttempts = 3;
constexpr int kOptionRetryDelayMs = 500;

// Sets a flag for the lifetime of a scope, also when an exception leaves it.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

// The explorer reads a comma as the end of one argument, so a folder with a
// comma is quoted. A double quote cannot be part of a real folder name; such
// text is refused rather than handed on.
std::optional<std::string> ExplorerArgument(const std::string& folder) {
    if (Contains(folder, "\"")) return std::nullopt;
    if (Contains(folder, ",")) return "\"" + folder + "\"";
    return folder;
}

}  // namespace

MenuCommands::MenuCommands(const MenuCommandPorts& ports) : ports_(ports) {
    // A cut entry lives only in the clipboard: each undo step carries it.
    ports_.state.entries.AttachCut(
        [this]() -> std::optional<PendingCut> {
            if (!clipboard_.CutPending) return std::nullopt;
            return PendingCut{clipboard_.CutSource, clipboard_.entry};
        },
        [this](const std::optional<PendingCut>& cut) {
            clipboard_ = CutClipboard{};
            if (!cut) return;
            clipboard_ = CutClipboard{true, cut->source, cut->entry, ports_.state.entries.Members(cut->source)};
        });
}

MenuCommands::~MenuCommands() { ports_.state.entries.AttachCut({}, {}); }

MenuInputs MenuCommands::Inputs() const {
    const bool search =
        ports_.platform.files.FileExists(AddBackslash(ports_.state.ApplicationPath) + "TaviSearch.exe");
    const bool running =
        IsRegisteredSlot(ports_.state, entryIndex_) && ports_.bar.ProgramRuns(ports_.state.entries.At(entryIndex_).PathName);
    return MenuInputs{ports_.state, lists_, entryIndex_, clipboard_.CutPending, search, busy_, running};
}

EntryCommandContext MenuCommands::EntryContext() {
    return EntryCommandContext{ports_.state, ports_.platform, ports_.bar, clipboard_};
}

void MenuCommands::RefreshLists() {
    // A running command may hold an index into the lists: they stay as they are.
    if (busy_) return;
    SystemInfo& system = ports_.platform.system;
    FolderListing& folders = ports_.folders;
    freshness_.Refresh(ListKind::DeskTop, DeskTopSource(folders), lists_.deskTop,
                       [&] { return DeskTopPopUpMake(folders); });
    TracePhase("desktop list");
    freshness_.Refresh(ListKind::Drives, DriveSource(system), lists_.drives, [&] { return DrivePopUpMake(system); });
    TracePhase("drive list");
    // The current screen saver can change without its folders (the system
    // may keep it in the registry), so its check is renewed every time.
    if (!freshness_.Refresh(ListKind::ScreenSavers, ScreenSaverSource(system, folders), lists_.screenSavers,
                            [&] { return ScreenSaverPopUpMake(system, ports_.platform.profile, folders); }))
        CheckScreenSaver(lists_.screenSavers, CurrentScreenSaver(system, ports_.platform.profile));
    TracePhase("screen saver list");
    // Few files, and its check follows the timed rotation: read every time.
    ports_.listHandlers.BuildWallpaperMenu(lists_.wallPapers);
    TracePhase("wallpaper list");
}

MenuModel MenuCommands::PrepareEntryMenu(int position) {
    if (!busy_) {
        RefreshLists();
        entryIndex_ = ports_.state.page.IndexAt(position);
        ports_.state.page.ActOn(entryIndex_);
    }
    return BuildEntryMenu(Inputs());
}

MenuModel MenuCommands::PrepareTrayMenu() {
    RefreshLists();
    return BuildTrayMenu(Inputs());
}

DispatchResult MenuCommands::Dispatch(uint32_t id) {
    if (busy_) return DispatchResult::Refused;
    const std::optional<ListItemRef> listItem = ListItemOf(id);
    if (listItem) {
        const RunTimeList& list = lists_.Of(listItem->list);
        const auto index = static_cast<size_t>(listItem->index);
        if (index >= list.items.size()) return DispatchResult::Unknown;
        if (!list.items[index].enabled || list.items[index].caption == "-") return DispatchResult::Refused;
    } else {
        const std::optional<MenuCommand> command = CommandOf(id);
        if (!command) return DispatchResult::Unknown;
        if (!IsCommandEnabled(*command, Inputs())) return DispatchResult::Refused;
    }
    // Commands reach drives, the screen saver and folders: every list is
    // read afresh after one.
    freshness_.ForgetAll();
    FlagScope running(busy_);
    try {
        if (listItem)
            RunListItem(*listItem);
        else
            Run(static_cast<MenuCommand>(id));
    } catch (...) {
        // A failing command is skipped like any failing step; the bar goes on.
    }
    return DispatchResult::Done;
}

void MenuCommands::RestorePendingCut() {
    const EntryCommandContext context = EntryContext();
    if (!context.clipboard.CutPending || tavi::RestorePendingCut(context)) return;
    // The list cannot take it back now (held, read-only, a full disk): the
    // entry goes to a file in the backup folder rather than with the program.
    Platform& p = ports_.platform;
    const std::string folder = BackupFolderPath(ports_.state.ApplicationPath);
    std::string kept;
    if (ports_.folders.MakeFolder(folder)) {
        for (int n = 1; n < 1000 && kept.empty(); ++n) {
            const std::string path = folder + "\\" + std::string(kCutEntryFileName) + std::to_string(n) + ".txt";
            if (p.files.FileExists(path)) continue;
            EntryStore store;
            store.slots = {clipboard_.entry};
            // UTF-8 with its mark, so that no character is lost; six lines as in "Launch.ini".
            if (p.files.ReplaceAll(path, "\xEF\xBB\xBF" + FormatEntries(store))) kept = path;
            else break;
        }
    }
    if (!kept.empty()) clipboard_ = CutClipboard{};
    (void)p.messages.Show({kept.empty() ? std::string(text::kCutEntryLost) : std::string(text::kCutEntryKept) + kept,
                           std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::Ok});
}

template <typename Body>
void MenuCommands::Modal(Body body) {
    const TimerPause pause(ports_.bar, ports_.state.Closing);
    body();
}

void MenuCommands::Run(MenuCommand command) {
    BarServices& bar = ports_.bar;
    SystemCommands& system = ports_.system;
    CommandWindows& windows = ports_.windows;
    switch (command) {
        case C::mnuAppNewIn:
        case C::mnuAppin: Modal([&] { windows.ShowNewApp(entryIndex_); }); break;
        case C::mnuAppDel: Modal([&] { DeleteEntry(EntryContext(), entryIndex_); }); break;
        case C::mnuAppMove: bar.BeginEntryMove(entryIndex_); break;
        case C::mnuAppBringForward: bar.BringProgramForward(ports_.state.entries.At(entryIndex_).PathName); break;
        case C::mnuAppStartAnother: StartBarEntry(ports_.state, ports_.platform, entryIndex_); break;
        case C::mnuAppCloseWindows: bar.CloseProgramWindows(ports_.state.entries.At(entryIndex_).PathName); break;
        case C::mnuAppOneTimeDelete: CutEntry(EntryContext(), entryIndex_); break;
        case C::mnuAppOneTimeCopy: Modal([&] { PasteEntry(EntryContext(), entryIndex_); }); break;
        case C::mnuAppUndo: (void)ports_.state.entries.Undo(); break;
        case C::mnuAppRedo: (void)ports_.state.entries.Redo(); break;
        case C::mnuFolder: OpenFolder(entryIndex_); break;
        case C::mnuPopupFolder: OpenFolder(ports_.state.page.CurrentEntry()); break;
        case C::mnuAppProperty:
            if (ports_.state.entries.Has(entryIndex_) && !IsBlank(ports_.state.entries.At(entryIndex_).PathName))
                Modal([&] { windows.ShowFileInformation(entryIndex_); });
            break;
        case C::mnuAppOption:
            ReadSettingsAgain();
            Modal([&] { (void)windows.ShowOptionSet(); });
            bar.RepaintCommandButtons();
            break;
        case C::mnuPopupOption:
            ReadSettingsAgain();
            Modal([&] { TrayOptions(); });
            break;
        case C::mnuAppReDraw:
            // Files that could not be read are read again first; a list read
            // again has had its pictures built already.
            ReadSettingsAgain();
            if (!ports_.state.entries.ReadAgain()) bar.Redraw();
            break;
        case C::mnuAppSearch:
        case C::mnuPopupSearch: OpenInProgramFolder("TaviSearch.exe"); break;
        case C::mnuPopupEntrySearch: windows.ShowEntrySearch(); break;
        case C::mnuHelp:
        case C::mnuPopUpHelp: OpenHelp(); break;
        case C::mnuPopupBackup: OpenBackupFolder(); break;
        case C::mnuPopupImport: Modal([&] { windows.ImportShortcuts(); }); break;
        case C::mnuAppControlPanel:
        case C::mnuPopupControlPanel: RunSystemApplet(kControlPanel); break;
        case C::mnuAppWizard:
        case C::mnuPopupAppWizard: RunSystemApplet(kAddRemovePrograms); break;
        case C::mnuAppPrint:
        case C::mnuPopupPrint: Modal([&] { (void)system.PrinterSetup(bar.Handle()); }); break;
        case C::mnuNetWork:
        case C::mnuPopupNetWork: Modal([&] { (void)system.ConnectNetworkDrive(bar.Handle()); }); break;
        case C::mnuNetWorkClose:
        case C::mnuPopupNetWorkClose: Modal([&] { (void)system.DisconnectNetworkDrive(bar.Handle()); }); break;
        case C::mnuFormat:
        case C::mnuPopupFormat: Modal([&] { windows.ShowFDFormat(); }); break;
        case C::mnuMediaOut:
        case C::mnuPopupMediaOut: (void)system.SendMediaCommand(kCdDoorOpen); break;
        case C::mnuMediaClose:
        case C::mnuPopupMediaClose: (void)system.SendMediaCommand(kCdDoorClosed); break;
        case C::mnuMOEject:
        case C::mnuPopUpMOEject: ports_.media.EjectRemovableDrives(true); break;
        case C::mnuPopupMemorySpace: windows.ShowMemorySpace(); break;
        case C::mnuShutDown:
        case C::mnuPopupShutDown: (void)system.CloseProgramManager(); break;
        case C::mnuExit:
        case C::mnuPopupExit: bar.Close(); break;
        case C::None: break;
    }
}

void MenuCommands::RunListItem(ListItemRef item) {
    switch (item.list) {
        case ListKind::Drives: OpenDrive(item.index); break;
        case ListKind::DeskTop: ports_.listHandlers.OpenDeskTopItem(lists_.deskTop, item.index); break;
        case ListKind::ScreenSavers: ports_.listHandlers.SelectScreenSaver(lists_.screenSavers, item.index); break;
        case ListKind::WallPapers: ports_.listHandlers.SelectWallPaper(lists_.wallPapers, item.index); break;
        case ListKind::DisplayModes:
            if (item.index == 0)
                RunSystemApplet(kDisplayProperties);
            else
                ports_.listHandlers.ChgDisplaySet(lists_.displayModes.items[static_cast<size_t>(item.index)].caption);
            break;
    }
}

void MenuCommands::ReadSettingsAgain() {
    if (!ports_.state.settings.Unread()) return;
    if (ReadSettings(ports_.state, ports_.platform)) FollowReadSettings(ports_.state.settings.Values(), ports_.bar);
}

void ExploreEntryFolder(Platform& platform, const std::string& applicationPath, const std::string& path) {
    std::optional<std::string> folder;
    if (!IsBlank(path)) folder = ExplorerArgument(GetFolderName(path, platform.files.CurrentDirectory()));
    if (!folder) folder = CharMid(platform.system.SystemDirectory(), 0, 3);
    platform.shell.OpenThen({"open", ExplorerPath(platform.system), *folder, applicationPath, ShowCommand::Normal},
                            [](int) {});
}

void MenuCommands::OpenFolder(int index) {
    const MenuMain& state = ports_.state;
    const std::string path = state.entries.Has(index) ? state.entries.At(index).PathName : std::string();
    ExploreEntryFolder(ports_.platform, state.ApplicationPath, path);
}

void MenuCommands::Explore(const std::string& argument) {
    ports_.platform.shell.OpenThen(
        {"open", ExplorerPath(ports_.platform.system), argument, ports_.state.ApplicationPath, ShowCommand::Normal},
        [](int) {});
}

void MenuCommands::RunSystemApplet(const char* parameters) {
    (void)ports_.system.RunProgram(
        ProgramCommandLine(SystemProgramPath(ports_.platform.system, "rundll32.exe"), parameters));
}

void MenuCommands::OpenDrive(int index) {
    const std::string root = CharMid(lists_.drives.items[static_cast<size_t>(index)].path, 0, 3);
    if (IsBlank(root)) return;
    // The list was made when the menu opened; a drive taken away since then
    // (a stick pulled out, a network drive dropped) is not offered to the shell.
    if (ports_.platform.system.DriveTypeOf(root) == DriveType::NoRootDir) return;
    Explore(root);
}

void MenuCommands::OpenBackupFolder() {
    // Before the first change there is no copy yet, and the explorer shows
    // nothing for a missing folder: it is made here, empty.
    const std::string folder = BackupFolderPath(ports_.state.ApplicationPath);
    (void)ports_.folders.MakeFolder(folder);
    const std::optional<std::string> argument = ExplorerArgument(folder);
    if (argument) Explore(*argument);
}

void MenuCommands::OpenInProgramFolder(std::string_view fileName) {
    const std::string& folder = ports_.state.ApplicationPath;
    ports_.platform.shell.OpenThen({"open", AddBackslash(folder) + std::string(fileName), "", folder, ShowCommand::Normal},
                                   [](int) {});
}

// The help of the run's language; the Japanese help, which every copy of the
// program has beside it, where that one is missing.
void MenuCommands::OpenHelp() {
    const std::string_view own = text::kHelpFile;
    const bool present = ports_.platform.files.FileExists(AddBackslash(ports_.state.ApplicationPath) + std::string(own));
    OpenInProgramFolder(present ? own : kJapaneseHelp);
}

void MenuCommands::TrayOptions() {
    int error = 0;
    for (int attempt = 1; attempt <= kOptionAttempts; ++attempt) {
        error = ports_.windows.ShowOptionSet();
        if (error == 0) return;
        if (attempt < kOptionAttempts) ports_.system.Wait(kOptionRetryDelayMs);
    }
    ports_.platform.messages.Show({std::string(text::kOptionLoadFailed) + std::to_string(error) + "\r\n" +
                                       std::string(text::kOptionLoadHint),
                                   std::string(text::kMessageCaption), MessageIcon::Error, MessageButtons::Ok});
}

}  // namespace tavi
