#include "platform/win32_adapters_win.h"

#include <objbase.h>
#include <shellapi.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/com_win.h"
#include "platform/current_folder_win.h"
#include "platform/handles_win.h"
#include "platform/run_on_thread_win.h"
#include "platform/shell_start.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

// The short (8.3) form of a path too long for the calls that start things.
// "\\?\" lets GetShortPathNameW read a path past MAX_PATH; the answer keeps
// the prefix, which the starting calls do not take, so it is dropped again.
// Where the volume keeps no short names the long path is all there is, and
// the start fails as it would have anyway.
std::wstring ShortPathOf(const std::wstring& path) {
    static constexpr std::wstring_view kLongPrefix = L"\\\\?\\";
    static constexpr std::wstring_view kLongUncPrefix = L"\\\\?\\UNC\\";
    const bool unc = path.size() > 2 && path[0] == L'\\' && path[1] == L'\\';
    const std::wstring extended = unc ? std::wstring(kLongUncPrefix) + path.substr(2) : std::wstring(kLongPrefix) + path;
    // The short name is found by listing each folder, which Wine does under
    // one lock for the whole process: a share that does not answer is first
    // met here, where only this thread waits for it.
    if (GetFileAttributesW(extended.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    const std::wstring shortPath = GrowingWideString(
        [&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(extended.c_str(), buffer, size); });
    if (shortPath.empty()) return path;
    if (shortPath.starts_with(kLongUncPrefix)) return L"\\\\" + shortPath.substr(kLongUncPrefix.size());
    if (shortPath.starts_with(kLongPrefix)) return shortPath.substr(kLongPrefix.size());
    return shortPath;
}

// A file past MAX_PATH by its short folder and its own long name: a short
// name keeps only three letters of the extension (".html" becomes ".HTM"),
// which the shell's association would then miss, and a program sees its
// real name. Only when even that is too long is the whole path shortened.
std::wstring ShortFilePathOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 == path.size()) return ShortPathOf(path);
    const std::wstring candidate = ShortPathOf(path.substr(0, slash)) + path.substr(slash);
    return FilePathTooLong(Narrow(candidate)) ? ShortPathOf(path) : candidate;
}

// The full path the system's program search finds for a bare name, or empty.
std::wstring SearchProgram(const std::wstring& name) {
    return GrowingWideString([&](wchar_t* buffer, DWORD size) {
        return SearchPathW(nullptr, name.c_str(), nullptr, size, buffer, nullptr);
    });
}

constexpr int kNeedsShell = -1;
// A program past MAX_PATH that only its own folder made current can start.
constexpr int kNeedsFolder = -2;
// ERROR_ELEVATION_REQUIRED, which not every SDK's headers name.
constexpr DWORD kElevationRequired = 740;

bool IsMissingFileError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_FILENAME_EXCED_RANGE ||
           error == ERROR_INVALID_NAME;
}

// CreateProcessW with the program's own path: unlike the shell (which under
// Wine expands "%NAME%" in the file, the parameters and the folder) it hands
// the command line over untouched, and no command interpreter reads it.
// A program past MAX_PATH comes here by its short folder. Wine's
// CreateProcessW loses such an absolute path (it turns it back into the long
// name in a MAX_PATH buffer), so where that fails the program is named
// relative to its own folder made current for the call, which Windows
// documents as completed from the current folder. The current folder is the
// whole process's, so that is done only where `mayEnterFolder` says this is
// the UI thread; a worker answers kNeedsFolder instead.
int StartProgram(const std::wstring& program, const std::wstring& parameters, const std::wstring& directory,
                 ShowCommand show, bool shortened, bool mayEnterFolder, HANDLE& started) {
    std::wstring line = Widen(ProgramCommandLine(Narrow(program), Narrow(parameters)));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = static_cast<WORD>(show);
    PROCESS_INFORMATION process{};
    const size_t slash = program.find_last_of(L'\\');
    std::optional<CurrentFolderKeeper> inFolder;
    std::wstring application = program;
    if (shortened && slash != std::wstring::npos && mayEnterFolder) {
        inFolder.emplace();
        // Never a name relative to another folder: that could start a different program.
        if (inFolder->Enter(program.substr(0, slash))) application = program.substr(slash + 1);
    }
    if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process)) {
        const DWORD error = GetLastError();
        // A program that asks for elevation is started by the shell, which offers it.
        if (error == kElevationRequired) return kNeedsShell;
        if (shortened && !mayEnterFolder && IsMissingFileError(error)) return kNeedsFolder;
        return ShellResultForStartError(error);
    }
    // Without this the new window would open behind the one that has the focus.
    AllowSetForegroundWindow(process.dwProcessId);
    const OwnedHandle thread(process.hThread);
    started = process.hProcess;
    return 33;
}

// What the shell does for `request`, on the calling thread; `process` gets
// the handle of what started, if any. Only the UI thread may make a folder
// current (`mayEnterFolder`).
int OpenHere(const ShellOpenRequest& request, HWND owner, bool mayEnterFolder, HANDLE& process) {
    std::wstring file = Widen(ShellFileName(request.file));
    std::wstring directory = Widen(WorkingFolder(request.directory));
    const std::wstring parameters = Widen(request.parameters);
    const bool tooLong = FilePathTooLong(request.file);
    if (tooLong) file = ShortFilePathOf(file);
    // Only a short name found counts: a folder that did not answer is never
    // asked again on the UI thread.
    const bool shortened = tooLong && !FilePathTooLong(Narrow(file));
    if (FolderPathTooLong(request.directory)) directory = ShortPathOf(directory);

    std::wstring program;
    if (IsDirectProgram(request.verb, request.file))
        program = file;
    else if (IsBareProgramName(request.verb, request.file))
        program = SearchProgram(file);
    if (!program.empty()) {
        const int result = StartProgram(program, parameters, directory, request.show, shortened, mayEnterFolder, process);
        if (result != kNeedsShell) return result;
    }

    const std::wstring verb = Widen(request.verb);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    // The bar reports failures itself; the shell's own error boxes would come twice.
    execute.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC | SEE_MASK_NOCLOSEPROCESS;
    execute.hwnd = owner;
    execute.lpVerb = verb.empty() ? nullptr : verb.c_str();
    execute.lpFile = file.c_str();
    execute.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    execute.lpDirectory = directory.empty() ? nullptr : directory.c_str();
    execute.nShow = static_cast<int>(request.show);
    ShellExecuteExW(&execute);
    // None when the shell handed the file to a program already running.
    process = execute.hProcess;
    return static_cast<int>(reinterpret_cast<INT_PTR>(execute.hInstApp));
}

struct StartWork {
    std::shared_ptr<StartMailbox> mailbox;
    uint64_t number = 0;
    ShellOpenRequest request;
    HWND owner = nullptr;
};

DWORD WINAPI StartOnWorker(void* parameter) {
    const std::unique_ptr<StartWork> work(static_cast<StartWork*>(parameter));
    StartOutcome outcome;
    try {
        // The shell reads shortcuts and associations through COM objects.
        const ComApartment apartment;
        outcome.result = OpenHere(work->request, work->owner, false, outcome.process);
    } catch (...) {
        outcome.result = 0;  // out of memory, as the shell says it
    }
    bool told = false;
    try {
        told = work->mailbox->Put(work->number, outcome);
    } catch (...) {
    }
    if (!told && outcome.process) CloseHandle(outcome.process);
    return 0;
}

}  // namespace

Win32Shell::~Win32Shell() {
    if (!mailbox_) return;
    for (auto& [number, outcome] : mailbox_->Take())
        if (outcome.process) CloseHandle(outcome.process);
    if (const HWND window = mailbox_->Close()) DestroyWindow(window);
}

int Win32Shell::Open(const ShellOpenRequest& request) {
    HANDLE process = nullptr;
    const int result = OpenHere(request, owner_, true, process);
    if (process != nullptr) HandOver(process);
    return result;
}

void Win32Shell::OpenThen(const ShellOpenRequest& request, std::function<void(int result)> done) {
    if (!mailbox_) {
        mailbox_ = std::make_shared<StartMailbox>();
        mailbox_->Open(CreateMailboxWindow(&handOn_));
    }
    if (!mailbox_->IsOpen()) {
        done(Open(request));
        return;
    }
    const std::optional<uint64_t> number = starts_.Begin(request.file, StartsUnderWay::Clock::now());
    if (!number) {
        // Its drive or share does not answer: not tried again until it does.
        MessageBeep(MB_ICONWARNING);
        done(-1);
        return;
    }
    told_.emplace(*number, StartTold{request, std::move(done)});
    auto* work = new StartWork{mailbox_, *number, request, owner_};
    // The shell's own stack: a start may run shell extensions.
    if (RunOnThread(StartOnWorker, work, 0)) return;
    delete work;
    starts_.End(*number);
    auto here = std::move(told_.at(*number).done);
    told_.erase(*number);
    here(Open(request));
}

void Win32Shell::HandOnStarts() {
    for (auto& [number, outcome] : mailbox_->Take()) {
        starts_.End(number);
        if (outcome.process) HandOver(outcome.process);
        const auto found = told_.find(number);
        if (found == told_.end()) continue;
        const StartTold told = std::move(found->second);
        told_.erase(found);
        // The worker found the program's folder answering; only this thread
        // may make it current, which Wine needs for a path past MAX_PATH.
        const int result = outcome.result == kNeedsFolder ? Open(told.request) : outcome.result;
        // It may show a message box, in which further starts come back.
        told.done(result);
    }
}

void Win32Shell::HandOver(HANDLE process) {
    if (started_)
        started_(process);
    else
        CloseHandle(process);
}

Shell::Association Win32Shell::AssociatedProgram(const std::string& document) {
    wchar_t program[MAX_PATH + 2] = {};
    const HINSTANCE result = FindExecutableW(Widen(document).c_str(), L"", program);
    return {static_cast<int>(reinterpret_cast<INT_PTR>(result)), Narrow(program)};
}

}  // namespace tavi
