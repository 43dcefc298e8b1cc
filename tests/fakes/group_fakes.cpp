#include "fakes/group_fakes.h"

#include <stdexcept>

namespace tavi::fakes {

void FakeGroupBoxView::ShowMember(int slot, const GroupButtonPicture& picture) {
    log.push_back("member " + std::to_string(slot) + " [" + picture.iconFile + "] [" + picture.tip + "]" +
                  (picture.running ? " running" : "") + (picture.waiting ? " waiting" : ""));
}

std::optional<Shell::Association> FakeGroupBoxView::ProgramOf(const std::string& document) {
    if (programsComing.contains(document)) return std::nullopt;
    return shell ? shell->AssociatedProgram(document) : Shell::Association{};
}

std::optional<ExMenuEntry> FakeGroupBoxView::EditMember(const ExMenuEntry& member) {
    log.push_back("NewAppEx");
    editedMembers.push_back(member);
    if (whileChildOpen) whileChildOpen();
    if (edits.empty()) return std::nullopt;
    std::optional<ExMenuEntry> edited = edits.front();
    edits.pop_front();
    return edited;
}

GroupMenuCommand FakeGroupBoxView::ShowMenu(const GroupMenuStates& states, std::optional<int> atSlot) {
    log.push_back(atSlot ? "menu at member " + std::to_string(*atSlot) : "menu");
    menuStates.push_back(states);
    if (whileChildOpen) whileChildOpen();
    if (menuChoices.empty()) return GroupMenuCommand::None;
    const GroupMenuCommand chosen = menuChoices.front();
    menuChoices.pop_front();
    return chosen;
}

bool FakeGroupBoxView::OpenFolderMenu(int slot, const std::string& folder, bool byKeys) {
    log.push_back("folder menu " + std::to_string(slot) + " " + folder + (byKeys ? " by keys" : ""));
    if (whileChildOpen) whileChildOpen();
    if (folderMenuChoices.empty()) return false;
    const bool chosen = folderMenuChoices.front();
    folderMenuChoices.pop_front();
    return chosen;
}

void FakeGroupBoxWindow::Run(GroupBox& box, const GroupBoxLayout& layout) {
    log_.push_back("box shown");
    shownAt = layout;
    box.Load(view);
    if (throwInside) throw std::runtime_error("a failing window");
    if (script) script(box, view);
    log_.push_back("box closed");
}

bool FakeShortcuts::Read(const std::string& path, ShortcutTarget& target) {
    read.push_back(path);
    const auto found = links.find(path);
    if (found == links.end()) return false;
    target = found->second;
    return true;
}

}  // namespace tavi::fakes
