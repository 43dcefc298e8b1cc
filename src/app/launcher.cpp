#include "app/launcher.h"

#include "app/entry_store.h"
#include "app/menu_main.h"
#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {

std::string ExplorerPath(SystemInfo& system) { return AddBackslash(system.WindowsDirectory()) + "explorer.exe"; }

std::string SystemProgramPath(SystemInfo& system, std::string_view fileName) {
    return AddBackslash(system.SystemDirectory()) + std::string(fileName);
}

bool OpensAsMenu(std::string_view path, std::string_view runType) {
    const std::string trimmed = TrimSpaces(path);
    return !trimmed.empty() && !IsGroupPath(trimmed) && LeadingNumber(runType) == LeadingNumber(kRunTypeMenu);
}

ShowCommand ShowCommandForRunType(const std::string& runType) {
    const double value = LeadingNumber(runType);
    if (value == 1) return ShowCommand::Minimized;
    if (value == 2) return ShowCommand::Maximized;
    return ShowCommand::Normal;
}

bool StartEntry(Platform& platform, const StartRequest& request, const std::function<void()>& deleteEntry) {
    ShellOpenRequest open;
    open.verb = "open";
    open.file = request.path;
    open.parameters = request.parameters;
    open.directory = GetFolderName(request.path, platform.files.CurrentDirectory());
    open.show = ShowCommandForRunType(request.runType);
    const int result = platform.shell.Open(open);
    if (result >= 33) return true;
    const std::string caption(text::kMessageCaption);
    if (result == 0) {
        platform.messages.Show({request.path + std::string(text::kLaunchFailed) + "\r\n" + std::string(text::kOutOfMemory),
                                caption, MessageIcon::Error, MessageButtons::Ok});
        return false;
    }
    if (result < 0) return false;
    if (!deleteEntry) {
        // Nothing of ours failed (a file dropped onto an entry): nothing to offer to delete.
        platform.messages.Show(
            {request.path + std::string(text::kLaunchFailed), caption, MessageIcon::Error, MessageButtons::Ok});
        return false;
    }
    const MessageAnswer answer = platform.messages.Show(
        {request.path + std::string(text::kOfferDelete), caption, MessageIcon::Question, MessageButtons::YesNo});
    if (answer == MessageAnswer::Yes) deleteEntry();
    return false;
}

bool StartBarEntry(MenuMain& state, Platform& platform, int index) {
    if (!state.entries.Has(index)) return false;
    const LaunchEntry entry = state.entries.At(index);
    const bool started = StartEntry(platform, {entry.PathName, entry.Command, entry.RunType}, [&] {
        // The message box let other events run: only the entry that failed is emptied.
        if (!state.entries.Has(index) || state.entries.At(index) != entry) return;
        (void)state.entries.Change([&](ListEdit& edit) {
            LaunchEntry& failed = edit.Slot(index);
            failed.Title.clear();
            failed.PathName.clear();
            failed.Command.clear();
            failed.RunType.clear();
        });
    });
    if (started && state.starts) state.starts->Started(entry.PathName, entry.Command);
    return started;
}

}  // namespace tavi
