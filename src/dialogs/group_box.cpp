#include "dialogs/group_box.h"

#include "app/launcher.h"
#include "platform/messages.h"
#include "platform/text.h"
#include "bar/accessible_names.h"
#include "bar/bar_keys.h"
#include "bar/folder_menu_opening.h"

namespace tavi {
namespace {

// Counts an open window of the box's own for the lifetime of a scope; when
// it closes, the mouse-leave wait starts over.
class ChildWindowScope {
public:
    ChildWindowScope(int& count, GroupBoxView& view) : count_(count), view_(view) { ++count_; }
    ~ChildWindowScope() {
        if (--count_ == 0) view_.RestartLeaveTimer();
    }
    ChildWindowScope(const ChildWindowScope&) = delete;
    ChildWindowScope& operator=(const ChildWindowScope&) = delete;

private:
    int& count_;
    GroupBoxView& view_;
};

// The bar tells `changed` of what runs for the lifetime of a scope.
class RunningFollow {
public:
    RunningFollow(BarServices& bar, std::function<void()> changed) : bar_(bar) {
        bar_.FollowRunning(std::move(changed));
    }
    ~RunningFollow() { bar_.FollowRunning({}); }
    RunningFollow(const RunningFollow&) = delete;
    RunningFollow& operator=(const RunningFollow&) = delete;

private:
    BarServices& bar_;
};

}  // namespace

GroupBoxPlacement PlacementFromBar(const BarButtonSizes& sizes, DockEdge edge, const Rect& barWindow,
                                   const Rect& groupButton, int slots) {
    GroupBoxPlacement placement;
    placement.edge = edge;
    placement.barWindow = barWindow;
    placement.groupButton = groupButton;
    placement.slots = slots < 0 ? 0 : slots;
    const int32_t buttonPixels = sizes.buttonPixels;
    placement.buttonPixels = buttonPixels > 0 ? buttonPixels
                                              : (IsHorizontal(edge) ? groupButton.Width() : groupButton.Height());
    // The layout keeps the button in twips and in pixels: their ratio is the
    // bar's twips per pixel, so the close button scales with the bar.
    const int32_t twipsPerPixel =
        buttonPixels > 0 && sizes.buttonTwips > 0 ? sizes.buttonTwips / buttonPixels : 15;
    placement.exitPixels = kGroupExitTwips / UsableTwipsPerPixel(twipsPerPixel);
    return placement;
}

GroupBoxLayout LayoutGroupBox(const GroupBoxPlacement& p) {
    GroupBoxLayout layout;
    const int32_t w = p.buttonPixels;
    const int32_t e = p.exitPixels;
    const int n = p.slots;
    const int32_t length = n * w + e;
    layout.members.resize(static_cast<size_t>(n));
    for (int slot = 0; slot < n; ++slot) {
        const int32_t fromBar = slot * w;                // counted from the bar side
        const int32_t fromFar = e + (n - 1 - slot) * w;  // counted from the far end
        Rect& member = layout.members[static_cast<size_t>(slot)];
        switch (p.edge) {
            case DockEdge::Left: member = MakeRect(fromBar, 0, w, w); break;
            case DockEdge::Right: member = MakeRect(fromFar, 0, w, w); break;
            case DockEdge::Top: member = MakeRect(0, fromBar, w, w); break;
            case DockEdge::Bottom: member = MakeRect(0, fromFar, w, w); break;
        }
    }
    switch (p.edge) {
        case DockEdge::Left:
            layout.box = MakeRect(p.barWindow.right, p.groupButton.top, length, w);
            layout.exit = MakeRect(n * w, 0, e, w);
            layout.exitGlyph = '3';
            break;
        case DockEdge::Right:
            layout.box = MakeRect(p.barWindow.left - length, p.groupButton.top, length, w);
            layout.exit = MakeRect(0, 0, e, w);
            layout.exitGlyph = '4';
            break;
        case DockEdge::Top:
            layout.box = MakeRect(p.groupButton.left, p.barWindow.bottom, w, length);
            layout.exit = MakeRect(0, n * w, w, e);
            layout.exitGlyph = '5';
            break;
        case DockEdge::Bottom:
            layout.box = MakeRect(p.groupButton.left, p.barWindow.top - length, w, length);
            layout.exit = MakeRect(0, 0, w, e);
            layout.exitGlyph = '6';
            break;
    }
    return layout;
}

FolderMenuAnchor MemberMenuAnchor(const GroupBoxLayout& layout, int slot) {
    if (slot < 0 || static_cast<size_t>(slot) >= layout.members.size()) return {};
    const Rect& inBox = layout.members[static_cast<size_t>(slot)];
    const Rect member{layout.box.left + inBox.left, layout.box.top + inBox.top, layout.box.left + inBox.right,
                      layout.box.top + inBox.bottom};
    // A row (beside a left or right bar) is crossed downwards, a column to the right.
    const bool row = layout.exitGlyph == '3' || layout.exitGlyph == '4';
    return FolderMenuBeside(row ? DockEdge::Top : DockEdge::Left, layout.box, member);
}

bool PointerOutside(const Rect& box, PixelPoint pointer) {
    return pointer.y < box.top || pointer.y > box.bottom || pointer.x < box.left || pointer.x > box.right;
}

GroupButtonPicture GroupButtonFor(const ExMenuEntry& member, const std::optional<Shell::Association>& association) {
    const std::string path = TrimSpaces(member.ExPathName);
    if (path.empty()) return {};
    // Named even when nothing can show its picture.
    GroupButtonPicture unshown{"", "", AccessibleName(member.ExTitle, path)};
    if (!association) {
        unshown.tip = member.ExTitle;
        unshown.waiting = true;
        return unshown;
    }
    // 32 and below are the shell's error codes.
    if (association->result <= 32) return unshown;
    const std::string program = std::string(Unquoted(TrimSpaces(association->program)));
    if (program.empty()) return unshown;
    return {program, member.ExTitle, unshown.name};
}

GroupButtonPicture GroupButtonFor(const ExMenuEntry& member, Shell& shell) {
    const std::string path = TrimSpaces(member.ExPathName);
    if (path.empty()) return {};
    return GroupButtonFor(member, shell.AssociatedProgram(path));
}

GroupBox::GroupBox(MenuMain& state, Platform& platform, int entryIndex, bool byKeys)
    : state_(state),
      platform_(platform),
      entryIndex_(entryIndex),
      byKeys_(byKeys) {
    std::optional<ExMenuSlots> members = state.entries.ReadMembers(entryIndex);
    membersUnread_ = !members;
    members_ = members ? std::move(*members) : EmptyExMenu(state.entries.ExMenuMax());
}

GroupButtonPicture GroupBox::PictureOf(GroupBoxView& view, const ExMenuEntry& member) const {
    const std::string path = TrimSpaces(member.ExPathName);
    GroupButtonPicture picture = GroupButtonFor(member, path.empty() ? std::nullopt : view.ProgramOf(path));
    picture.running = !picture.name.empty() && runs_ && runs_(member.ExPathName);
    return picture;
}

bool GroupBox::Used(int slot) const {
    return slot >= 0 && slot < Slots() && !members_[static_cast<size_t>(slot)].ExPathName.empty();
}

bool GroupBox::Store(int slot, const ExMenuEntry& member) {
    // Members that could not be read are no empty group to write back.
    if (membersUnread_) return false;
    ExMenuSlots members = members_;
    members[static_cast<size_t>(slot)] = member;
    if (!state_.entries.Change([&](ListEdit& edit) { edit.SetMembers(entryIndex_, members); })) return false;
    members_ = std::move(members);
    return true;
}

void GroupBox::Show(GroupBoxView& view, int slot, const GroupButtonPicture& picture) {
    if (slot < 0) return;
    if (shownRunning_.size() <= static_cast<size_t>(slot)) shownRunning_.resize(static_cast<size_t>(slot) + 1);
    shownRunning_[static_cast<size_t>(slot)] = picture.running;
    view.ShowMember(slot, picture);
}

void GroupBox::Load(GroupBoxView& view) {
    choice_.reset();
    closing_ = false;
    shownRunning_.assign(members_.size(), false);
    for (int slot = 0; slot < Slots(); ++slot)
        if (Used(slot)) Show(view, slot, PictureOf(view, members_[static_cast<size_t>(slot)]));
}

void GroupBox::ProgramFound(GroupBoxView& view, const std::string& document) {
    for (int slot = 0; slot < Slots(); ++slot) {
        const ExMenuEntry& member = members_[static_cast<size_t>(slot)];
        if (Used(slot) && TrimSpaces(member.ExPathName) == document) Show(view, slot, PictureOf(view, member));
    }
}

void GroupBox::RunningChanged(GroupBoxView& view) {
    for (int slot = 0; slot < Slots() && static_cast<size_t>(slot) < shownRunning_.size(); ++slot) {
        const auto s = static_cast<size_t>(slot);
        // Asked of the bar alone: the member's picture is not looked up again.
        const bool running = Used(slot) && runs_ && runs_(members_[s].ExPathName);
        if (running == shownRunning_[s]) continue;
        shownRunning_[s] = running;
        view.ShowRunning(slot, running);
    }
}

void GroupBox::MemberClicked(GroupBoxView& view, int slot, bool byKeys) {
    if (closing_ || ChildWindowOpen() || slot < 0 || slot >= Slots()) return;
    exMenuIndex_ = slot;
    if (!Used(slot)) {
        AddOrEdit(view, slot);
        return;
    }
    const ExMenuEntry& member = members_[static_cast<size_t>(slot)];
    if (OpensAsMenu(member.ExPathName, member.ExRunType)) {
        bool chosen = false;
        {
            ChildWindowScope menu(childWindows_, view);
            chosen = view.OpenFolderMenu(slot, TrimSpaces(member.ExPathName), byKeys);
        }
        // The menu carried out its item itself: the box has done its part.
        if (chosen) Dismiss(view);
        return;
    }
    choice_ = slot;
    closing_ = true;
    view.Close(true);
}

void GroupBox::MemberMenu(GroupBoxView& view, int slot, bool fromKeyboard) {
    if (closing_ || ChildWindowOpen() || slot < 0 || slot >= Slots()) return;
    exMenuIndex_ = slot;
    const bool used = Used(slot);
    GroupMenuCommand command = GroupMenuCommand::None;
    {
        ChildWindowScope menu(childWindows_, view);
        command = view.ShowMenu({!used, used, used}, fromKeyboard ? std::optional(slot) : std::nullopt);
    }
    // Only what the menu offered for this slot is carried out.
    if (command == GroupMenuCommand::Add && !used) AddOrEdit(view, slot);
    if (command == GroupMenuCommand::Edit && used) AddOrEdit(view, slot);
    if (command == GroupMenuCommand::Delete && used) Delete(view, slot);
}

void GroupBox::AddOrEdit(GroupBoxView& view, int slot) {
    std::optional<ExMenuEntry> edited;
    {
        ChildWindowScope dialog(childWindows_, view);
        edited = view.EditMember(members_[static_cast<size_t>(slot)]);
    }
    if (!edited || !Store(slot, *edited)) return;
    if (Used(slot)) Show(view, slot, PictureOf(view, *edited));
}

void GroupBox::Delete(GroupBoxView& view, int slot) {
    if (Store(slot, ExMenuEntry{})) Show(view, slot, {});
}

std::optional<int> GroupBox::MemberStartingWith(int fromSlot, char32_t typed) const {
    return NextStartingWith(Slots(), fromSlot, typed, [this](int slot) {
        if (!Used(slot)) return std::string();
        const ExMenuEntry& member = members_[static_cast<size_t>(slot)];
        return AccessibleName(member.ExTitle, member.ExPathName);
    });
}

void GroupBox::Dismiss(GroupBoxView& view) {
    if (closing_ || ChildWindowOpen()) return;
    closing_ = true;
    view.Close(false);
}

void GroupBox::PointerAtShow(PixelPoint pointer) {
    if (byKeys_) restingPointer_ = pointer;
}

void GroupBox::MouseLeaveTick(GroupBoxView& view, const Rect& box, PixelPoint pointer) {
    if (closing_ || ChildWindowOpen()) return;
    if (restingPointer_) {
        if (pointer.x == restingPointer_->x && pointer.y == restingPointer_->y) return;
        restingPointer_.reset();  // the mouse has been taken up: it rules again
    }
    if (!PointerOutside(box, pointer)) return;
    closing_ = true;
    view.Close(false);
}

bool GroupBox::StartChoice() {
    if (!choice_ || !Used(*choice_)) return false;
    const int slot = *choice_;
    const ExMenuEntry member = members_[static_cast<size_t>(slot)];
    StartGroupMember(state_, platform_, entryIndex_, slot, member);
    return true;
}

void OpenGroupBox(BarServices& bar, MenuMain& state, Platform& platform, GroupBoxWindow& window, int position,
                  bool byKeys) {
    const int index = state.page.IndexAt(position);
    if (!state.entries.Has(index) || !IsGroupPath(TrimSpaces(state.entries.At(index).PathName))) return;
    state.page.ActOn(index);

    // No auto-hide while the box is open.
    const TimerPause pause(bar, state.Closing);

    GroupBox box(state, platform, index, byKeys);
    box.TellRunning([&bar](const std::string& path) { return bar.ProgramRuns(path); });
    if (box.MembersUnread()) {
        // Its members are somewhere the bar cannot read now: told, and the
        // box opens once the file reads again.
        (void)platform.messages.Show({std::string(text::kGroupMembersUnread) + ExMenuFilePath(state.ApplicationPath),
                                      std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::Ok});
        return;
    }
    const GroupBoxPlacement placement =
        PlacementFromBar(bar.ButtonSizes(), DockEdgeFrom(state.settings.Values().Horizontal, state.settings.Values().EdgeCode),
                         bar.WindowRect(), bar.ButtonRect(position), box.Slots());
    {
        // Only while the box is up: after it, its members' buttons are gone.
        const RunningFollow follow(bar, [&window, &box] { window.RunningChanged(box); });
        window.Run(box, LayoutGroupBox(placement));
    }
    (void)box.StartChoice();
}

}  // namespace tavi
