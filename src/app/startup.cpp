#include "platform/fnv_hash.h"
#include "app/startup.h"

#include <cstdint>
#include <cstdio>

#include "app/phase_trace.h"
#include "app/save_notice.h"
#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {
namespace {

std::string StartupFailureText(const std::string& errorText) {
    return std::string(text::kStartupFailed) + "\r\n\r\n" + std::string(text::kDetails) + "\r\n" + errorText;
}

void ShowStartupFailure(Platform& platform, const std::string& errorText) {
    platform.messages.Show(
        {StartupFailureText(errorText), std::string(text::kMessageCaption), MessageIcon::Error, MessageButtons::Ok});
}

}  // namespace

std::string BarLockName(std::string_view resolvedFolder) {
    std::string folder(resolvedFolder);
    for (char& c : folder)
        if (c == '/') c = '\\';
    // The long form the system hands back names the same folder.
    if (StartsWith(folder, "\\\\?\\UNC\\"))
        folder = "\\\\" + folder.substr(8);
    else if (StartsWith(folder, "\\\\?\\"))
        folder = folder.substr(4);
    while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
    folder = ToUpperAscii(folder);
    // A name without "\" (the system's object names may not hold one) and of
    // a fixed length, however long the path: 64-bit FNV-1a of its bytes.
    const uint64_t hash = Fnv1a64(folder);
    char name[64];
    std::snprintf(name, sizeof name, "Global\\TaviMenu2.Bar.%016llx", static_cast<unsigned long long>(hash));
    return name;
}

int ExMenuMaxFor(const std::string& exMenuCount) {
    if (!IsNumeric(exMenuCount)) return 9;
    int32_t count = 0;
    // A count too large for the slot numbers is treated like any other nonsense.
    if (!RoundToInt32(LeadingNumber(exMenuCount), count) || count > 32767 || count < -32767) return 9;
    // Member keys hold two digits of the slot number: more slots would overwrite the first ones.
    return UsableExMenuMax(count - 1);
}

std::vector<std::string> CollectRemovableDrives(SystemInfo& system) {
    std::vector<std::string> removable;
    for (const std::string& root : system.LogicalDriveRoots())
        if (system.DriveTypeOf(root) == DriveType::Removable) removable.push_back(root);
    // Asked all at once: the start waits on no drive past the port's short wait.
    const std::vector<std::string> names = system.DriveDisplayNames(removable);
    std::vector<std::string> drives{""};
    size_t next = 0;
    for (size_t i = 0; i < removable.size() && i < names.size(); ++i) {
        if (Contains(names[i], "FD")) continue;
        if (next == drives.size()) drives.emplace_back();
        drives[next++] = removable[i];
    }
    return drives;
}

bool ReadSettings(MenuMain& state, Platform& platform) {
    const std::string path = SettingsFilePath(state.ApplicationPath);
    if (!state.settings.Read(platform.profile, path)) return false;
    state.settings.Remember(platform.files.Read(path));
    state.entries.SetExMenuMax(ExMenuMaxFor(state.settings.Values().ExMenuCount));
    return true;
}

void FollowReadSettings(const Settings& settings, BarServices& bar) {
    bar.SetWallpaperTimer(settings.WallPaperChenge != "0");
    bar.ScheduleAlarm();
    bar.ReDock(true);
    bar.ReRegisterHotKey();
}

bool SaveSettingsIfRead(MenuMain& state, Platform& platform) {
    if (state.settings.Unread()) return true;  // nothing to write over
    const std::string path = SettingsFilePath(state.ApplicationPath);
    const bool saved = state.settings.Save(platform.profile, path);
    if (saved) state.settings.Remember(platform.files.Read(path));  // our own write
    return state.notices.Note(platform.messages, state.ApplicationPath, saved);
}

void FollowOutsideChanges(MenuMain& state, Platform& platform, BarServices& bar) {
    (void)state.entries.FollowOutside();
    const std::string path = SettingsFilePath(state.ApplicationPath);
    if (!state.settings.Unread() && !state.settings.ChangedOutside(platform.files.Read(path))) return;
    if (ReadSettings(state, platform)) FollowReadSettings(state.settings.Values(), bar);
}

bool RunMain(MenuMain& state, Platform& platform, AppWindows& windows, bool restartedStart) {
    if (windows.AnotherInstanceRunning()) {
        if (restartedStart) return false;
        platform.messages.Show({std::string(text::kAlreadyRunning), std::string(text::kMessageCaption),
                                MessageIcon::Error, MessageButtons::Ok});
        return false;
    }
    state.wallpaper.Reset();
    TracePhase("single instance");
    (void)ReadSettings(state, platform);

    // Text that is not a number (even "1abc") counts as 0, so the splash shows.
    const bool splash = !IsNumeric(state.settings.Values().SplashLogo) || LeadingInt(state.settings.Values().SplashLogo) == 0;
    if (splash) {
        windows.ShowSplash();
        TracePhase("splash shown");
    }

    state.Closing = false;
    const AppWindows::BarLoadResult load = windows.ShowBar();
    if (load.controlFailed || !load.laidOut) {
        if (!load.controlFailed) windows.HideBar();
        if (splash && load.controlFailed) windows.CloseSplash();
        ShowStartupFailure(platform, load.errorText);
        if (splash && !load.controlFailed) windows.CloseSplash();
        windows.UnloadBar();
        return false;
    }
    windows.ApplyStartTopMost(state.settings.Values().TopMost == "1");
    if (splash) windows.CloseSplash();
    TracePhase("start shown");
    windows.AfterFirstPaint([&state, &platform, &windows] { RunAfterFirstPaint(state, platform, windows); });
    return true;
}

void RunAfterFirstPaint(MenuMain& state, Platform& platform, AppWindows& windows) {
    if (state.Closing) return;
    windows.FinishBar();
    TracePhase("bar finished");
    // What could not be read is told once the bar is up, each file once.
    if (state.settings.Unread()) TellUnreadable(platform.messages, SettingsFilePath(state.ApplicationPath));
    state.entries.TellUnread();
    // Groups of an older file get their own sections before any is opened.
    state.entries.SeparateSharedGroups();
    TracePhase("group sections");
    windows.StartTimers(state.settings.Values().WallPaperChenge != "0");
    state.RemovableDrives = CollectRemovableDrives(platform.system);
    TracePhase("drives");
    windows.BuildWallpaperMenu();
    TracePhase("wallpapers");
    windows.RegisterUpCheck();
    TracePhase("deferred done");
    FlushPhaseTrace();
}

void RunShutdown(MenuMain& state, Platform& platform, BarShutdown& bar) {
    bar.StopTimers();
    if (state.settings.Values().MediaEject != "0") bar.EjectMedia();
    if (LeadingInt(state.settings.Values().SaveOnExit) != 0) {
        const auto [left, top] = bar.BarPositionTwips();
        state.settings.SetPosition(std::to_string(left), std::to_string(top));
        (void)SaveSettingsIfRead(state, platform);
    }
    bar.RemoveTrayIcon();
    bar.RemoveAppBar(AutoHides(state));
    state.Closing = true;
}

}  // namespace tavi
