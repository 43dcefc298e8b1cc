#pragma once
// Doubles of the group box's window and of what the bar's drag and drop
// asks of its view and of shortcut files.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bar/entry_drag.h"
#include "dialogs/group_box.h"
#include "platform/shortcuts.h"

namespace tavi::fakes {

// Records what the core asks of the box's window in one log; the member
// dialog and the menu answer from queues (Cancel and a dismissed menu once
// they are empty). `whileChildOpen` runs inside each of them, the way the
// window's timer can fire while they are up.
class FakeGroupBoxView final : public GroupBoxView {
public:
    std::vector<std::string> log;
    std::deque<std::optional<ExMenuEntry>> edits;
    std::deque<GroupMenuCommand> menuChoices;
    std::deque<bool> folderMenuChoices;       // whether each folder menu had an item chosen
    std::vector<ExMenuEntry> editedMembers;   // what each EditMember was opened on
    std::vector<GroupMenuStates> menuStates;  // what each menu offered
    std::function<void()> whileChildOpen;
    // Where programs are looked up; the documents in `programsComing` have
    // no answer yet. Without a shell no document has a program.
    Shell* shell = nullptr;
    std::set<std::string> programsComing;

    void ShowMember(int slot, const GroupButtonPicture& picture) override;
    void ShowRunning(int slot, bool running) override {
        log.push_back("member " + std::to_string(slot) + (running ? " running" : " not running"));
    }
    std::optional<Shell::Association> ProgramOf(const std::string& document) override;
    std::optional<ExMenuEntry> EditMember(const ExMenuEntry& member) override;
    GroupMenuCommand ShowMenu(const GroupMenuStates& states, std::optional<int> atSlot) override;
    bool OpenFolderMenu(int slot, const std::string& folder, bool byKeys) override;
    void RestartLeaveTimer() override { log.push_back("restart timer"); }
    void Close(bool afterChoiceDelay) override { log.push_back(afterChoiceDelay ? "close after delay" : "close"); }
};

// Runs the box by playing `script` against it with a FakeGroupBoxView, and
// keeps the layout it was shown at.
class FakeGroupBoxWindow final : public GroupBoxWindow {
public:
    explicit FakeGroupBoxWindow(std::vector<std::string>& log) : log_(log) {}
    FakeGroupBoxView view;
    std::function<void(GroupBox&, FakeGroupBoxView&)> script;
    std::optional<GroupBoxLayout> shownAt;
    bool throwInside = false;

    void Run(GroupBox& box, const GroupBoxLayout& layout) override;
    void RunningChanged(GroupBox& box) override { box.RunningChanged(view); }

private:
    std::vector<std::string>& log_;
};

// Records the drag's timer and cursor in a log shared with other fakes.
class FakeDragFeedback final : public DragFeedback {
public:
    explicit FakeDragFeedback(std::vector<std::string>& log) : log_(log) {}
    void StartDelayTimer() override { log_.push_back("drag timer on"); }
    void StopDelayTimer() override { log_.push_back("drag timer off"); }
    void ShowDragCursor() override { log_.push_back("drag cursor"); }
    void RestoreCursor() override { log_.push_back("arrow cursor"); }

private:
    std::vector<std::string>& log_;
};

// Shortcut files by exact path; any other file cannot be read.
class FakeShortcuts final : public Shortcuts {
public:
    std::map<std::string, ShortcutTarget> links;
    std::vector<std::string> read;
    bool Read(const std::string& path, ShortcutTarget& target) override;
};

}  // namespace tavi::fakes
