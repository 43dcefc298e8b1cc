#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "platform/rect.h"
#include "bar/auto_hide.h"
#include "bar/bar_geometry.h"
#include "app/ex_menu_store.h"
#include "menus/folder_menu.h"
#include "platform/platform.h"

// The group box `Win32GroupBox`: the members of one group entry as a row or
// column of buttons beside the group's button on the bar, with a close
// button at the far end. Everything it decides lives here; the window only
// shows it and reports clicks, keys and timer ticks.
namespace tavi {

// The long side of the close button.
inline constexpr int32_t kGroupExitTwips = 495;
// The box closes when the pointer is outside it at one of these ticks.
inline constexpr uint32_t kGroupLeaveIntervalMs = 2500;
// A chosen member's button stays pressed this long before the box closes.
inline constexpr uint32_t kGroupChoiceDelayMs = 500;

struct GroupBoxPlacement {
    DockEdge edge = DockEdge::Left;
    Rect barWindow;           // the bar window as it really is, screen pixels
    Rect groupButton;         // the group's button, screen pixels
    int32_t buttonPixels = 0;  // every member button is this square
    int32_t exitPixels = 0;    // the long side of the close button
    int slots = 0;             // ExMenuMax + 1
};

struct GroupBoxLayout {
    Rect box;                   // screen pixels
    std::vector<Rect> members;  // inside the box, index = slot; slot 0 lies nearest the bar
    Rect exit;                  // inside the box, at the far end
    // The arrow back toward the bar, as the Marlett glyph that draws it:
    // '3' left, '4' right, '5' up, '6' down.
    char exitGlyph = '3';
};

// The placement from what the bar reports: the button size of its layout (its
// real button when the layout has none) and 495 twips at the bar's scale.
GroupBoxPlacement PlacementFromBar(const BarButtonSizes& sizes, DockEdge edge, const Rect& barWindow,
                                   const Rect& groupButton, int slots);
// Right of a left bar, left of a right bar, below a top bar, above a bottom
// bar, flush with the bar window and in line with the group's button.
GroupBoxLayout LayoutGroupBox(const GroupBoxPlacement& placement);
// Where a member's folder menu opens: across the box from the bar, in line
// with the member (below a row, right of a column), the box kept clear.
FolderMenuAnchor MemberMenuAnchor(const GroupBoxLayout& layout, int slot);
// A point exactly on an edge of the box counts as inside.
bool PointerOutside(const Rect& box, PixelPoint pointer);

// What one member button shows (SetGroupButton).
struct GroupButtonPicture {
    std::string iconFile;  // its icon 0 is the picture; empty: no picture
    std::string tip;       // empty: no tooltip
    std::string name;      // what screen readers call the button; empty: a free slot
    bool running = false;  // a window of its program is up
    // The program is still being looked for: a generic picture meanwhile.
    bool waiting = false;
    bool operator==(const GroupButtonPicture&) const = default;
};
// A member shows the first icon of the program that opens it and its title as
// tooltip; a member whose file has no such program shows neither.
// `association` is the shell's answer for the member's document; none while
// it is still being asked.
GroupButtonPicture GroupButtonFor(const ExMenuEntry& member, const std::optional<Shell::Association>& association);
// The same, asking the shell at once.
GroupButtonPicture GroupButtonFor(const ExMenuEntry& member, Shell& shell);

enum class GroupMenuCommand { None, Add, Edit, Delete };
struct GroupMenuStates {
    bool add = false;
    bool edit = false;
    bool remove = false;
    bool operator==(const GroupMenuStates&) const = default;
};

// The box's window as the core sees it.
class GroupBoxView {
public:
    virtual ~GroupBoxView() = default;
    virtual void ShowMember(int slot, const GroupButtonPicture& picture) = 0;
    // Only the running mark of a member already shown, and what its button tells screen readers.
    virtual void ShowRunning(int slot, bool running) = 0;
    // The program that opens `document`, as the shell finds it on the
    // document's drive. The shell is asked away from the window: none while
    // the answer has not come, and GroupBox::ProgramFound follows when it has.
    virtual std::optional<Shell::Association> ProgramOf(const std::string& document) = 0;
    // NewAppEx over the box, modal: the member as OK stores it, nothing on Cancel.
    virtual std::optional<ExMenuEntry> EditMember(const ExMenuEntry& member) = 0;
    // mnuAppMenu at the pointer, or at the member in `atSlot` when the
    // keyboard asked for it: the chosen item, None when it was dismissed.
    virtual GroupMenuCommand ShowMenu(const GroupMenuStates& states, std::optional<int> atSlot) = 0;
    // The menu of a member folder shown as a menu, beside the member in
    // `slot` (MemberMenuAnchor), until it closes; true when an item was chosen
    // (and carried out). `byKeys`: opened from the keyboard.
    virtual bool OpenFolderMenu(int slot, const std::string& folder, bool byKeys) = 0;
    // The mouse-leave wait starts over (a window of the box's own has closed).
    virtual void RestartLeaveTimer() = 0;
    // Unloads the box, at once or after kGroupChoiceDelayMs.
    virtual void Close(bool afterChoiceDelay) = 0;
};

// One showing of the box for the group at an entry index.
class GroupBox {
public:
    // Loads the group's members, slots 0..ExMenuMax. `byKeys`: opened from
    // the keyboard, where the pointer may be anywhere.
    GroupBox(MenuMain& state, Platform& platform, int entryIndex, bool byKeys = false);

    int EntryIndex() const { return entryIndex_; }
    int Slots() const { return static_cast<int>(members_.size()); }
    const ExMenuSlots& Members() const { return members_; }
    // The member file could not be read when the box opened: it shows and writes nothing.
    bool MembersUnread() const { return membersUnread_; }
    // ExMenuIndex: the slot the last click acted on.
    int ExMenuIndex() const { return exMenuIndex_; }
    // ExMenuChoice: the member chosen for starting.
    std::optional<int> Choice() const { return choice_; }
    bool ChildWindowOpen() const { return childWindows_ > 0; }

    // What tells whether the program at a member's path runs; none: nothing does.
    void TellRunning(std::function<bool(const std::string& path)> runs) { runs_ = std::move(runs); }
    // Loading: no choice yet, every used slot drawn.
    void Load(GroupBoxView& view);
    // What runs changed while the box is open: each member whose mark no
    // longer tells the truth shows it afresh, and no other.
    void RunningChanged(GroupBoxView& view);
    // The shell's answer for `document` has come: the members it opens are
    // drawn again.
    void ProgramFound(GroupBoxView& view, const std::string& document);
    // Left button (or Enter, `byKeys`): a used slot is chosen and the box
    // closes; an empty one is registered through NewAppEx. A member folder
    // shown as a menu opens its menu beside the box, which stays while the
    // menu is up and closes once an item of it was chosen.
    void MemberClicked(GroupBoxView& view, int slot, bool byKeys = false);
    // Right button: the menu, add for an empty slot, edit and delete for a
    // used one. From the menu key it opens at the member, not the pointer.
    void MemberMenu(GroupBoxView& view, int slot, bool fromKeyboard = false);
    // Type-ahead from the focused slot: the next used slot whose member's
    // name begins with `typed`, matched as on the bar.
    std::optional<int> MemberStartingWith(int fromSlot, char32_t typed) const;
    // cmdExit and Escape: closes without a choice.
    void Dismiss(GroupBoxView& view);
    // timMouse: closes the box when the pointer is outside it, but never
    // while a window of the box's own is open over it. A box opened from the
    // keyboard waits as long as the pointer rests where it was when the box
    // showed (PointerAtShow): whoever chooses by keys has not left with it.
    void MouseLeaveTick(GroupBoxView& view, const Rect& box, PixelPoint pointer);
    void PointerAtShow(PixelPoint pointer);

    // After the box has closed: starts the chosen member (true when there is
    // one). When the start fails, the offer to delete names that member and
    // removes only it.
    bool StartChoice();

private:
    void AddOrEdit(GroupBoxView& view, int slot);
    void Delete(GroupBoxView& view, int slot);
    // The member written to the group in one change; false when it was refused.
    bool Store(int slot, const ExMenuEntry& member);
    bool Used(int slot) const;
    GroupButtonPicture PictureOf(GroupBoxView& view, const ExMenuEntry& member) const;
    void Show(GroupBoxView& view, int slot, const GroupButtonPicture& picture);

    MenuMain& state_;
    Platform& platform_;
    int entryIndex_;
    ExMenuSlots members_;
    bool membersUnread_ = false;
    int exMenuIndex_ = 0;
    std::optional<int> choice_;
    bool closing_ = false;
    int childWindows_ = 0;
    bool byKeys_ = false;
    std::optional<PixelPoint> restingPointer_;
    std::function<bool(const std::string&)> runs_;
    std::vector<bool> shownRunning_;  // by slot, as the view last drew it
};

// Shows a box modally and returns once it has been unloaded.
class GroupBoxWindow {
public:
    virtual ~GroupBoxWindow() = default;
    virtual void Run(GroupBox& box, const GroupBoxLayout& layout) = 0;
    // While Run is under way: what runs changed (GroupBox::RunningChanged on its view).
    virtual void RunningChanged(GroupBox& box) = 0;
};

// A click on the group button at 0-based page position `position`: Timer1
// paused, the box shown beside the button, the chosen member started, Timer1
// resumed on every way out. Nothing happens when that entry is no group.
void OpenGroupBox(BarServices& bar, MenuMain& state, Platform& platform, GroupBoxWindow& window, int position,
                  bool byKeys = false);

}  // namespace tavi
