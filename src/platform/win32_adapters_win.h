#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "platform/code_page.h"
#include "platform/drive_names_win.h"
#include "platform/file_system.h"
#include "platform/mailbox_win.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "platform/shell.h"
#include "platform/starts_under_way.h"
#include "platform/system_info.h"

namespace tavi {

class Win32FileSystem final : public FileSystem {
public:
    FileContents Read(const std::string& path) override;
    [[nodiscard]] bool ReplaceAll(const std::string& path, std::string_view bytes) override;
    bool FileExists(const std::string& path) override;
    bool RemoveFile(const std::string& path) override;
    std::string CurrentDirectory() override;
};

// The ANSI code page of the system (CP_ACP).
class Win32CodePage final : public CodePage {
public:
    std::string ToUtf8(std::string_view ansi) override;
    std::string FromUtf8(std::string_view utf8) override;
};

// The system's own profile functions, read without a fixed-size limit.
class Win32Profile final : public Profile {
public:
    std::string GetString(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool WriteString(const std::string& file, const std::string& section, const std::string& key,
                                   const std::string& value) override;
    [[nodiscard]] bool DeleteKey(const std::string& file, const std::string& section, const std::string& key) override;
    [[nodiscard]] bool DeleteSection(const std::string& file, const std::string& section) override;
};

class Win32SystemInfo final : public SystemInfo {
public:
    // `beforeNameFetch`: see DriveNames.
    explicit Win32SystemInfo(std::function<void(const std::string& root)> beforeNameFetch = {})
        : driveNames_(std::move(beforeNameFetch)) {}
    std::string WindowsDirectory() override;
    std::string SystemDirectory() override;
    bool IsWindowsNT() override;
    std::vector<std::string> LogicalDriveRoots() override;
    DriveType DriveTypeOf(const std::string& root) override;
    std::vector<std::string> DriveDisplayNames(const std::vector<std::string>& roots) override;
    std::string ComputerName() override;

private:
    DriveNames driveNames_;
};

struct StartOutcome {
    int result = 0;
    HANDLE process = nullptr;
};
using StartMailbox = WorkerMailbox<uint64_t, StartOutcome>;

// The shell's "open", owned by a window that may change during the run.
// OpenThen starts on a thread of its own and tells the result through a
// message-only window of the thread that asked, made at its first call; a
// start stuck in the file system is never ended, and frees what it holds if
// it ever returns.
class Win32Shell final : public Shell {
public:
    // Takes over the handle of each process started; without one it is closed.
    using StartedProcess = std::function<void(HANDLE process)>;

    Win32Shell() = default;
    ~Win32Shell() override;
    Win32Shell(const Win32Shell&) = delete;
    Win32Shell& operator=(const Win32Shell&) = delete;

    void SetOwner(HWND owner) { owner_ = owner; }
    void SetStarted(StartedProcess started) { started_ = std::move(started); }
    int Open(const ShellOpenRequest& request) override;
    void OpenThen(const ShellOpenRequest& request, std::function<void(int result)> done) override;
    Association AssociatedProgram(const std::string& document) override;
    // The starts that came back, told now (as the window does on its message).
    void HandOnStarts();
    // Starts still under way are no longer told: those who asked are going.
    void ForgetStarts() { told_.clear(); }

private:
    void HandOver(HANDLE process);

    HWND owner_ = nullptr;
    StartedProcess started_;
    std::function<void()> handOn_ = [this] { HandOnStarts(); };  // before the mailbox that calls it
    std::shared_ptr<StartMailbox> mailbox_;
    StartsUnderWay starts_;
    struct StartTold {
        ShellOpenRequest request;
        std::function<void(int result)> done;
    };
    std::map<uint64_t, StartTold> told_;
};

class Win32MessageBoxes final : public MessageBoxes {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    MessageAnswer Show(const MessageRequest& request) override;

private:
    HWND owner_ = nullptr;
};

}  // namespace tavi
