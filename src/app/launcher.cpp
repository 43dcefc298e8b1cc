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

namespace {

// What the shell's result means to the user: reported, and deletion offered.
bool ReportStart(Platform& platform, const std::string& path, int result, const std::function<void()>& deleteEntry) {
    if (result >= 33) return true;
    const std::string caption(text::kMessageCaption);
    if (result == 0) {
        platform.messages.Show({path + std::string(text::kLaunchFailed) + "\r\n" + std::string(text::kOutOfMemory),
                                caption, MessageIcon::Error, MessageButtons::Ok});
        return false;
    }
    if (result < 0) return false;
    if (!deleteEntry) {
        // Nothing of ours failed (a file dropped onto an entry): nothing to offer to delete.
        platform.messages.Show({path + std::string(text::kLaunchFailed), caption, MessageIcon::Error, MessageButtons::Ok});
        return false;
    }
    const MessageAnswer answer = platform.messages.Show(
        {path + std::string(text::kOfferDelete), caption, MessageIcon::Question, MessageButtons::YesNo});
    if (answer == MessageAnswer::Yes) deleteEntry();
    return false;
}

// What started is counted for the search's order of use.
StartOver CountedStart(MenuMain& state, std::string path, std::string parameters, StartOver over) {
    return [&state, path = std::move(path), parameters = std::move(parameters), over = std::move(over)](bool started) {
        if (started && state.starts) state.starts->Started(path, parameters);
        if (over) over(started);
    };
}

}  // namespace

void StartEntry(Platform& platform, const StartRequest& request, std::function<void()> deleteEntry, StartOver over) {
    ShellOpenRequest open;
    open.verb = "open";
    open.file = request.path;
    open.parameters = request.parameters;
    open.directory = GetFolderName(request.path, platform.files.CurrentDirectory());
    open.show = ShowCommandForRunType(request.runType);
    platform.shell.OpenThen(open, [&platform, path = request.path, deleteEntry = std::move(deleteEntry),
                                   over = std::move(over)](int result) {
        const bool started = ReportStart(platform, path, result, deleteEntry);
        if (over) over(started);
    });
}

void StartBarEntry(MenuMain& state, Platform& platform, int index, StartOver over) {
    if (!state.entries.Has(index)) {
        if (over) over(false);
        return;
    }
    const LaunchEntry entry = state.entries.At(index);
    auto emptyEntry = [&state, index, entry] {
        // Other events ran meanwhile: only the entry that failed is emptied.
        if (!state.entries.Has(index) || state.entries.At(index) != entry) return;
        (void)state.entries.Change([&](ListEdit& edit) {
            LaunchEntry& failed = edit.Slot(index);
            failed.Title.clear();
            failed.PathName.clear();
            failed.Command.clear();
            failed.RunType.clear();
        });
    };
    StartEntry(platform, {entry.PathName, entry.Command, entry.RunType}, emptyEntry,
               CountedStart(state, entry.PathName, entry.Command, std::move(over)));
}

void StartGroupMember(MenuMain& state, Platform& platform, int index, int slot, const ExMenuEntry& member,
                      StartOver over) {
    auto emptyMember = [&state, index, slot, member] {
        // Only that member goes, and only while it is still there as it was.
        ExMenuSlots members = state.entries.Members(index);
        if (slot < 0 || static_cast<size_t>(slot) >= members.size() || members[static_cast<size_t>(slot)] != member)
            return;
        members[static_cast<size_t>(slot)] = ExMenuEntry{};
        (void)state.entries.Change([&](ListEdit& edit) { edit.SetMembers(index, members); });
    };
    StartEntry(platform, {member.ExPathName, member.ExCommand, member.ExRunType}, emptyMember,
               CountedStart(state, member.ExPathName, member.ExCommand, std::move(over)));
}

}  // namespace tavi
