#pragma once
#include <windows.h>

#include <shobjidl.h>

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/bar_services.h"
#include "menus/folder_menu.h"
#include "platform/folder_contents.h"
#include "platform/handles_win.h"
#include "platform/picture_fetches.h"
#include "platform/platform.h"
#include "platform/window_win.h"

namespace tavi {

// The class of the window that owns the folder menus, for whoever looks for it.
inline constexpr wchar_t kFolderMenuOwnerClass[] = L"TaviFolderMenu";

// TrackPopupMenuEx's alignment for a menu lying on `side` of its anchor: it
// keeps that side of the kept-clear rectangle and slides along it.
UINT TrackFlagsFor(MenuSide side);

// Folder menus as the system's own popup menus. A hidden window of its own,
// owned by the bar, owns them, so WM_INITMENUPOPUP (a submenu listed as it
// opens) and WM_MENURBUTTONUP (the shell's context menu of an item) come
// here and the bar's window procedure never sees them; it goes with the
// bar, and a menu up then closes. Each item shows its small icon as the
// item's bitmap and keeps its text, which screen readers read. The pictures
// are fetched by workers: an item whose picture has not come shows its
// type's, or none, and takes its own when it comes, in the open menu or the
// next one. They are kept between showings, by key; the items, their paths
// and the menus go when a menu closes. A folder that has not answered in
// time shows "(応答がありません)" and, when its listing comes while the menu
// is up, its items: a submenu takes them in place, the top menu opens again
// where it was, since a menu that is up keeps the size it opened with.
class Win32FolderMenu final : public Window, public FolderMenuWindow, public PictureListener {
public:
    // The bar owns the owner window, and is brought to the front under the
    // menu when no window of the thread is active.
    Win32FolderMenu(Platform& platform, FolderContentsReader& reader, BarServices& bar, PictureFetches& pictures);
    ~Win32FolderMenu() override;

    bool Run(const std::string& folder, const FolderMenuAnchor& anchor, bool byKeys) override;

    // Pictures kept now, and how many were made from files or types so far.
    size_t PicturesKept() const { return pictures_.size(); }
    int PicturesMade() const { return picturesMade_; }

    void PictureArrived(const std::string& fetch, const PictureAnswer& answer) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // One menu level of a showing: its folder, whether it has been listed,
    // and the item index of each of its positions.
    struct Level {
        std::string folder;
        bool listed = false;
        bool awaited = false;  // it shows that its listing has not come
        std::vector<size_t> itemAt;
    };
    // A command of the shell's context menu, carried out once the folder
    // menu has closed, so a window it opens does not sit under the menu.
    struct PendingCommand {
        IContextMenu* menu = nullptr;
        UINT verb = 0;
        POINT at{};
    };

    bool CreateOwner();
    void Fill(HMENU menu);
    void ListingCame(const std::string& folder);
    HBITMAP PictureFor(const FolderMenuItem& item);
    void ShowInOpenMenus(const std::string& key, HBITMAP picture);
    static void RedrawOpenMenus();
    const FolderMenuItem* ItemAt(HMENU menu, UINT position) const;
    void ShowContextMenu(const std::string& path);
    std::optional<LRESULT> ForwardToContextMenu(UINT message, WPARAM wParam, LPARAM lParam);
    void ForgetShowing();
    void ForgetPicturesIfMany();
    HWND Bar() const { return reinterpret_cast<HWND>(bar_.Handle()); }
    HWND Front() const;

    Platform& platform_;
    FolderMenuListings listings_;
    BarServices& bar_;
    PictureFetches& fetches_;
    int pictureSize_ = 16;
    std::map<std::string, OwnedBitmap> pictures_;  // null where a file gave no picture
    int picturesMade_ = 0;

    // One showing.
    std::vector<FolderMenuItem> items_;  // item i has command id i + 1
    std::map<HMENU, Level> levels_;
    HMENU top_ = nullptr;
    bool tracking_ = false;
    bool reopen_ = false;  // the top menu's listing came: it opens again with it
    bool ownerGone_ = false;
    IContextMenu2* context2_ = nullptr;  // the shell's context menu while it is up
    IContextMenu3* context3_ = nullptr;
    PendingCommand pending_;
};

}  // namespace tavi
