#pragma once
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/answer_budget.h"
#include "platform/folder_contents.h"
#include "platform/platform.h"
#include "platform/rect.h"

// A folder entry that opens as a menu of its contents: one level at a time,
// each subfolder a submenu listed only when it opens, so a menu opened again
// shows the folder as it is now.
namespace tavi {

inline constexpr size_t kFolderMenuMostItems = 500;
// Longer names are shortened in the middle, in characters.
inline constexpr size_t kFolderMenuLongestCaption = 60;
// How long a menu waits for a folder's listing before it shows
// "(応答がありません)": a quarter of the bar's answer budget, so that a menu
// and a submenu listed in one go still leave it time to draw them.
inline constexpr std::chrono::milliseconds kFolderMenuWait = kAnswerBudget / 4;
// Late listings kept for their folders' next showing, at most.
inline constexpr size_t kFolderMenuMostLate = 16;

enum class FolderMenuKind {
    Submenu,      // a subfolder: list `path` when its submenu opens
    File,         // opened by the shell as an entry is: a file, or a linked folder (in the explorer)
    More,         // "その他...": the folder itself in the explorer
    Placeholder,  // the only item of an empty, unreadable or silent folder; disabled
};

struct FolderMenuItem {
    FolderMenuKind kind = FolderMenuKind::File;
    // As the native menu takes it: "&" doubled so that it shows as itself.
    std::string caption;
    // The item's full path; the listed folder itself for More and placeholders.
    std::string path;
    bool enabled = true;

    bool operator==(const FolderMenuItem&) const = default;
};

// The items of one level from its listing: subfolders first, then files,
// each part in the explorer's order of names (letters without case, full
// width as half, numbers by value: "file2" before "file10"); hidden and
// system items left out; at most kFolderMenuMostItems, then "その他...".
// Names show as the shell shows them: a shortcut's without ".lnk" (an
// internet shortcut's without ".url"), tabs as spaces, past
// kFolderMenuLongestCaption characters cut in the middle with "...".
//
// A junction or symbolic link to a folder is a File item, never a submenu.
// Without links a folder's subfolders form a tree, so no chain of submenus
// can come back to where it started; a link is the only way a folder can
// hold one of its own parents. Telling which links do would take resolving
// each one (a call that can hang on a network drive) and carrying the chain
// of resolved parents; the explorer opens a link just as well.
std::vector<FolderMenuItem> FolderMenuItems(const std::string& folder, const FolderContents& contents);

// Lists `folder` and gives its items; a folder that does not answer within
// `limit` gives the one placeholder "(応答がありません)".
std::vector<FolderMenuItem> ListFolderMenu(FolderContentsReader& reader, const std::string& folder,
                                           std::chrono::milliseconds limit = kFolderMenuWait);

// Whether `items` are the placeholder of a listing that has not come.
bool AwaitsListing(const std::vector<FolderMenuItem>& items);

// The listings the folder menus show, for the UI thread. A showing waits
// for a folder no longer than kFolderMenuWait; a listing that comes later
// is kept (the newest kFolderMenuMostLate), `arrived` is told its folder so
// that an open menu can take it, and otherwise the folder's next showing
// takes it if the folder has not answered in time again.
class FolderMenuListings final : public LateListingListener {
public:
    FolderMenuListings(FolderContentsReader& reader, std::function<void(const std::string& folder)> arrived);
    ~FolderMenuListings() override;
    FolderMenuListings(const FolderMenuListings&) = delete;
    FolderMenuListings& operator=(const FolderMenuListings&) = delete;

    // The items of `folder` now, without waiting past kFolderMenuWait.
    std::vector<FolderMenuItem> List(const std::string& folder);
    // Whether a late listing of `folder` waits to be shown.
    bool HasLate(const std::string& folder) const;
    void LateListing(const std::string& folder, FolderContents contents) override;

private:
    FolderContentsReader& reader_;
    std::function<void(const std::string&)> arrived_;
    std::deque<std::pair<std::string, FolderContents>> late_;  // oldest first
};

// The key an item's picture is kept under between showings: "folder" for
// every subfolder; "type:" and the extension for a document, whose picture
// is its type's; "file:" and the path for a program, shortcut or icon file,
// which carry pictures of their own, and for a name without an extension (a
// linked folder among them). Empty: "その他..." and placeholders show none.
std::string FolderMenuIconKey(const FolderMenuItem& item);

// Carries out a chosen item: a file or a linked folder is opened by the
// shell as an entry is, in its own folder (a shortcut is opened as itself,
// so it keeps its own start folder and arguments); "その他..." opens the
// listed folder in the explorer; a submenu or a placeholder does nothing.
// A failure is reported as a bar entry's is, without the offer to delete:
// the item is no entry of ours. True when it was handed to the shell.
bool OpenFolderMenuItem(Platform& platform, const FolderMenuItem& item);

// The side of its anchor point a menu lies on.
enum class MenuSide { Right, Left, Below, Above };

// Where a folder's menu opens: its corner at (x, y), the menu on `side` of
// that point, never over `keepClear` (the bar or the group box it opens
// beside). Where the screen has no room, the system slides it along.
struct FolderMenuAnchor {
    int32_t x = 0;
    int32_t y = 0;
    MenuSide side = MenuSide::Right;
    Rect keepClear;
    bool operator==(const FolderMenuAnchor&) const = default;
};

// Shows folder menus.
class FolderMenuWindow {
public:
    virtual ~FolderMenuWindow() = default;
    // The menu of `folder` at `anchor` until it closes, each submenu listed
    // when it opens; the chosen item is carried out (OpenFolderMenuItem).
    // `byKeys`: opened from the keyboard, with its first item selected.
    // True when an item was chosen.
    virtual bool Run(const std::string& folder, const FolderMenuAnchor& anchor, bool byKeys) = 0;
};

}  // namespace tavi
