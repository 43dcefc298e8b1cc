#include <windows.h>

#include <chrono>
#include <cstdlib>

#include "program/app_windows_win.h"
#include "app/backup_copies.h"
#include "app/crash_restart.h"
#include "app/phase_trace_win.h"
#include "dialogs/reboot_dialog_win.h"
#include "platform/clock_win.h"
#include "platform/common_dialogs_win.h"
#include "platform/desktop_parameters_win.h"
#include "platform/display_modes_win.h"
#include "platform/file_details_win.h"
#include "platform/memory_status_win.h"
#include "platform/picture_workers_win.h"
#include "platform/registry_win.h"
#include "platform/system_restart_win.h"
#include "platform/tool_adapters_win.h"
#include "tools/alarm.h"
#include "tools/media_eject.h"
#include "platform/file_dialogs.h"
#include "platform/folder_listing_win.h"
#include "platform/icon_files_win.h"
#include "platform/loop_waits_win.h"
#include "platform/ini_profile.h"
#include "platform/own_files_profile.h"
#include "platform/system_commands_win.h"
#include "platform/ui_text.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"
#include "search/use_counts.h"

using namespace tavi;

// The run time's own answer to an exception nothing caught prints its type's
// name to a console the bar does not have, and links a 45 KiB demangler for
// it that every start pages in. Ending at once is what the user sees anyway.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

namespace {

std::string ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L'\\');
    return Narrow(slash == std::wstring::npos ? path : path.substr(0, slash));
}

// The system keeps the request until the process ends; an ordinary exit
// ends it, so only a crash, a hang or an update brings the bar back.
void AskForRestart(const RestartRequest& request) {
    DWORD flags = 0;
    if (!request.afterCrash) flags |= RESTART_NO_CRASH;
    if (!request.afterHang) flags |= RESTART_NO_HANG;
    if (!request.afterUpdate) flags |= RESTART_NO_PATCH;
    if (!request.afterReboot) flags |= RESTART_NO_REBOOT;
    (void)RegisterApplicationRestart(Widen(request.commandLine).c_str(), flags);
}

// A restarted bar that has run a while comes back after a crash again.
void CALLBACK RestartSettled(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    AskForRestart(RestartRequestFor(true, true));
}

// Waits alertably, so that the folder watch's notices, which the system
// completes on this thread, run between messages, and on the processes whose
// ends the bar follows; the exit code of WM_QUIT.
int RunMessageLoop(TaviMenu2& bar) {
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
            if (HWND meter = bar.ModelessWindow(); meter && IsDialogMessageW(meter, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        WaitForInput();
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    const std::string programFolder = ProgramFolder();
    Win32PhaseTrace trace(programFolder);
    TracePhase("main");

    MenuMain state;
    state.ApplicationPath = programFolder;
    Win32Profile systemProfile;
    Win32FileSystem win32Files;
    Win32FolderListing folders;
    // Every save of the program's files keeps the lists' earlier versions.
    Win32Clock clock;
    BackupKeepingFiles files(win32Files, folders, programFolder, clock, state.notices.BackupFailure());
    Win32CodePage codePage;
    // The program's own files are replaced whole in one step, so a crash
    // never leaves half of one, and keep text the code page lacks.
    IniProfile ownProfile(files, codePage, true);
    OwnFilesProfile profile(ownProfile, systemProfile, ProgramFolder());
    Win32SystemInfo system;
    Win32Shell win32Shell;
    // While tracing, each opening is marked as it reaches the shell.
    TracedShell tracedShell(win32Shell);
    Shell& shell = trace.On() ? static_cast<Shell&>(tracedShell) : win32Shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    // Every text from here on, the refusal of a second copy included, is in
    // the language of the user's Windows or of the setting Language.
    UseLanguage(LanguageFor(GetUserDefaultUILanguage(),
                            profile.GetString(SettingsFilePath(programFolder), "Option", "Language")));
    Win32CommonDialogs commonDialogs;
    DialogFileChooser fileChooser(commonDialogs, messages);
    Win32Pictures pictures;
    Win32IconFiles iconFiles(&pictures.Fetches());
    Win32SystemCommands systemCommands;
    Win32VolumeDevices volumes;
    MediaEject media(state, system, volumes, [&systemCommands](int ms) { systemCommands.Wait(ms); });
    Win32DesktopParameters desktop;
    Win32DisplayModes display;
    Win32SystemRestart restart;
    Win32RebootPrompt rebootPrompt;
    Win32Sound sound;
    Win32DriveSpaces driveSpaces;
    Win32DiskFormatter formatter;
    Win32FileDetails fileDetails;
    Win32Registry registry;
    Win32MemoryStatus memory;
    Win32SystemResources resources;

    // Uses of the entries, counted on this PC only: each PC sharing the
    // program's folder keeps its own.
    UseCounts uses(files, clock);
    uses.Load(PcFilePath(programFolder, system.ComputerName()));
    state.starts = &uses;
    BarTools tools{fileChooser, iconFiles,   systemCommands, folders,     media,    desktop, display,
                   restart,     rebootPrompt, sound,          driveSpaces, formatter, fileDetails, registry,
                   memory,      resources,    uses,           pictures.Fetches()};

    AlarmTimer alarm(state.settings.Values(), sound, &clock);

    int exitCode = 0;
    {
        Win32AppWindows windows(state, platform, tools, alarm);
        const bool restarted = IsRestartedStart(Narrow(arguments ? arguments : L""));
        if (RunMain(state, platform, windows, restarted)) {
            AskForRestart(RestartRequestFor(restarted, false));
            if (restarted)
                SetTimer(nullptr, 0,
                         static_cast<UINT>(std::chrono::milliseconds(kRestartSettlesAfter).count()),
                         RestartSettled);
            TaviMenu2* bar = windows.Bar();
            win32Shell.SetOwner(bar->Handle());
            win32Shell.SetStarted([bar](HANDLE process) { bar->ProgramStarted(process); });
            messages.SetOwner(bar->Handle());
            exitCode = RunMessageLoop(*bar);
            win32Shell.SetStarted(nullptr);
            win32Shell.ForgetStarts();
        }
    }
    return exitCode;
}
