#include "menus/folder_menu_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string_view>
#include <utility>

#include "app/phase_trace.h"
#include "platform/picture_workers_win.h"
#include "platform/text.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

// Past this many kept pictures (folders of programs add one each) they are
// all let go before the next showing and made again as they are needed.
constexpr size_t kMostPictures = 1000;
// Command ids of the shell's context menu, tracked apart from ours.
constexpr UINT kFirstShellCommand = 1;
constexpr UINT kLastShellCommand = 0x7FFF;

template <typename Interface>
void ReleaseAndClear(Interface*& object) {
    if (object) object->Release();
    object = nullptr;
}

}  // namespace

UINT TrackFlagsFor(MenuSide side) {
    switch (side) {
        case MenuSide::Right: return TPM_LEFTALIGN | TPM_TOPALIGN | TPM_HORIZONTAL;
        case MenuSide::Left: return TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_HORIZONTAL;
        case MenuSide::Below: return TPM_LEFTALIGN | TPM_TOPALIGN | TPM_VERTICAL;
        case MenuSide::Above: return TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_VERTICAL;
    }
    return TPM_LEFTALIGN | TPM_TOPALIGN;
}

Win32FolderMenu::Win32FolderMenu(Platform& platform, FolderContentsReader& reader, BarServices& bar,
                                 PictureFetches& pictures)
    : platform_(platform),
      listings_(reader, [this](const std::string& folder) { ListingCame(folder); }),
      bar_(bar),
      fetches_(pictures) {}

Win32FolderMenu::~Win32FolderMenu() {
    fetches_.Forget(*this);
    ForgetShowing();
}

bool Win32FolderMenu::CreateOwner() {
    if (Handle()) return true;
    ownerGone_ = false;
    // Never shown; owned by the bar so that it goes when the bar does.
    return RegisterClassOnce(kFolderMenuOwnerClass) &&
           CreateWindowOf(kFolderMenuOwnerClass, L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 0, 0, Bar());
}

HWND Win32FolderMenu::Front() const {
    // The group box while it is up, else the bar: a window of ours must be
    // in front for a click elsewhere to close the menu.
    HWND active = GetActiveWindow();
    return active && IsWindowVisible(active) ? active : Bar();
}

bool Win32FolderMenu::Run(const std::string& folder, const FolderMenuAnchor& anchor, bool byKeys) {
    if (tracking_ || !CreateOwner()) return false;
    TracePhase("folder menu");
    const int size = MulDiv(16, WindowDpi(Bar()), 96);
    if (size != pictureSize_) {
        pictures_.clear();
        pictureSize_ = size;
    }
    ForgetPicturesIfMany();

    UINT chosen = 0;
    bool first = true;
    do {
        // The submenus go with it; the pictures are kept.
        ForgetShowing();
        reopen_ = false;
        const OwnedMenu root(CreatePopupMenu());
        if (!root) return false;
        top_ = root.Get();
        levels_[top_].folder = folder;
        Fill(top_);
        TracePhase("folder menu listed");

        SetForegroundWindow(Front());
        if (byKeys) {
            // The Enter that opened the menu left its character in the queue,
            // where the menu would take it for a choice and close at once.
            MSG typed{};
            if (first && PeekMessageW(&typed, nullptr, WM_CHAR, WM_CHAR, PM_NOREMOVE) && typed.wParam == L'\r')
                PeekMessageW(&typed, typed.hwnd, WM_CHAR, WM_CHAR, PM_REMOVE);
            // From the keyboard the first item is selected, as the keys then expect.
            PostMessageW(Handle(), WM_KEYDOWN, VK_DOWN, 0);
        }
        first = false;
        TPMPARAMS params{};
        params.cbSize = sizeof params;
        params.rcExclude = {anchor.keepClear.left, anchor.keepClear.top, anchor.keepClear.right,
                            anchor.keepClear.bottom};
        tracking_ = true;
        // No TPM_NONOTIFY: the submenus are listed on WM_INITMENUPOPUP. No
        // TPM_RIGHTBUTTON: a right click asks for the item's context menu.
        chosen = static_cast<UINT>(TrackPopupMenuEx(root.Get(), TPM_RETURNCMD | TrackFlagsFor(anchor.side), anchor.x,
                                                    anchor.y, Handle(), &params));
        tracking_ = false;
        top_ = nullptr;
    } while (reopen_ && chosen == 0 && !ownerGone_ && !pending_.menu);
    if (Handle()) PostMessageW(Handle(), WM_NULL, 0, 0);

    std::optional<FolderMenuItem> item;
    if (chosen >= 1 && chosen <= items_.size()) item = items_[chosen - 1];
    PendingCommand pending = std::exchange(pending_, {});
    ForgetShowing();
    if (ownerGone_) {
        // The bar went while the menu was up: the program is ending, and the
        // menu's loop may have taken the quit meant for the program's own.
        ReleaseAndClear(pending.menu);
        PostQuitMessage(0);
        return false;
    }
    if (pending.menu) {
        CMINVOKECOMMANDINFOEX invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.fMask = CMIC_MASK_UNICODE | CMIC_MASK_PTINVOKE;
        invoke.hwnd = Front();
        invoke.lpVerb = MAKEINTRESOURCEA(pending.verb);
        invoke.lpVerbW = MAKEINTRESOURCEW(pending.verb);
        invoke.nShow = SW_SHOWNORMAL;
        invoke.ptInvoke = pending.at;
        pending.menu->InvokeCommand(reinterpret_cast<CMINVOKECOMMANDINFO*>(&invoke));
        ReleaseAndClear(pending.menu);
        return true;
    }
    if (!item) return false;
    (void)OpenFolderMenuItem(platform_, *item);
    return true;
}

void Win32FolderMenu::Fill(HMENU menu) {
    const auto level = levels_.find(menu);
    if (level == levels_.end() || level->second.listed) return;
    level->second.listed = true;

    std::vector<FolderMenuItem> listing = listings_.List(level->second.folder);
    level->second.awaited = AwaitsListing(listing);
    for (FolderMenuItem& listed : listing) {
        const size_t index = items_.size();
        items_.push_back(std::move(listed));
        const FolderMenuItem& item = items_.back();
        std::wstring text = Widen(item.caption);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_STATE | MIIM_ID | MIIM_BITMAP;
        info.fType = MFT_STRING;
        info.fState = item.enabled ? MFS_ENABLED : MFS_GRAYED;
        info.wID = static_cast<UINT>(index + 1);
        info.dwTypeData = text.data();
        info.hbmpItem = PictureFor(item);
        OwnedMenu submenu(item.kind == FolderMenuKind::Submenu ? CreatePopupMenu() : nullptr);
        if (submenu) {
            info.fMask |= MIIM_SUBMENU;
            info.hSubMenu = submenu.Get();
        }
        const int position = GetMenuItemCount(menu);
        if (position < 0 || !InsertMenuItemW(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        level->second.itemAt.push_back(index);
        // Its menu owns it now.
        if (submenu) levels_[submenu.Detach()].folder = item.path;
    }
}

void Win32FolderMenu::ListingCame(const std::string& folder) {
    // Within the shell's context menu nothing changes under it; the listing
    // waits for the next showing.
    if (!tracking_ || context2_ || context3_) return;
    for (auto& [menu, level] : levels_) {
        if (!level.awaited || level.folder != folder) continue;
        if (menu == top_) {
            reopen_ = true;
            EndMenu();
            return;
        }
        // The placeholder goes; the level fills as it would on opening.
        while (GetMenuItemCount(menu) > 0) DeleteMenu(menu, 0, MF_BYPOSITION);
        level.itemAt.clear();
        level.listed = false;
        Fill(menu);
        RedrawOpenMenus();
        return;
    }
}

HBITMAP Win32FolderMenu::PictureFor(const FolderMenuItem& item) {
    const std::string key = FolderMenuIconKey(item);
    if (key.empty()) return nullptr;
    if (const auto kept = pictures_.find(key); kept != pictures_.end()) return kept->second.Get();
    PictureRequest request;
    request.finish = PictureRequest::Finish::MenuBitmap;
    request.size = pictureSize_;
    request.small = true;
    if (key == "folder") {
        // Every folder shows the system's folder: no folder is opened for it.
        request.source = PictureRequest::Source::FolderPicture;
    } else if (StartsWith(key, "type:")) {
        request.source = PictureRequest::Source::TypePicture;
        request.path = key.substr(5);
    } else {
        // Programs, shortcuts and icon files: the file is opened, a shortcut read.
        request.source = PictureRequest::Source::ShellPicture;
        request.path = item.path;
    }
    // The size is part of the fetch: an answer drawn for another dpi is not kept.
    (void)fetches_.Ask(*this, std::to_string(pictureSize_) + "|" + key, request, PictureFetches::Clock::now());
    // Meanwhile the picture of the file's type, if it is at hand.
    if (StartsWith(key, "file:"))
        if (const auto type = pictures_.find("type:" + ToUpperAscii(GetExtension(item.path))); type != pictures_.end())
            return type->second.Get();
    return nullptr;
}

void Win32FolderMenu::PictureArrived(const std::string& fetch, const PictureAnswer& answer) {
    const size_t bar = fetch.find('|');
    if (bar == std::string::npos || fetch.substr(0, bar) != std::to_string(pictureSize_)) return;
    const std::string key = fetch.substr(bar + 1);
    if (pictures_.contains(key)) return;
    OwnedBitmap picture = MenuBitmapOf(answer, pictureSize_);
    if (picture) ++picturesMade_;
    // Kept even when there is none, so the file is not asked again.
    const HBITMAP shown = (pictures_[key] = std::move(picture)).Get();
    if (tracking_ && shown) ShowInOpenMenus(key, shown);
}

// The items of the showing that wait for `key` take their picture, and the
// menus up are drawn again: a menu draws an item's bitmap only as it paints.
void Win32FolderMenu::ShowInOpenMenus(const std::string& key, HBITMAP picture) {
    bool changed = false;
    for (const auto& [menu, level] : levels_) {
        for (size_t position = 0; position < level.itemAt.size(); ++position) {
            if (FolderMenuIconKey(items_[level.itemAt[position]]) != key) continue;
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_BITMAP;
            info.hbmpItem = picture;
            changed |= SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) != FALSE;
        }
    }
    if (changed) RedrawOpenMenus();
}

void Win32FolderMenu::RedrawOpenMenus() {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t name[16] = {};
            if (GetClassNameW(window, name, 16) && std::wstring_view(name) == L"#32768" && IsWindowVisible(window))
                InvalidateRect(window, nullptr, FALSE);
            return TRUE;
        },
        0);
}

const FolderMenuItem* Win32FolderMenu::ItemAt(HMENU menu, UINT position) const {
    const auto level = levels_.find(menu);
    if (level == levels_.end() || position >= level->second.itemAt.size()) return nullptr;
    return &items_[level->second.itemAt[position]];
}

void Win32FolderMenu::ShowContextMenu(const std::string& path) {
    PIDLIST_ABSOLUTE id = nullptr;
    if (FAILED(SHParseDisplayName(Widen(path).c_str(), nullptr, &id, 0, nullptr)) || !id) return;
    IShellFolder* parent = nullptr;
    IContextMenu* menu = nullptr;
    PCUITEMID_CHILD child = nullptr;
    if (SUCCEEDED(SHBindToParent(id, IID_IShellFolder, reinterpret_cast<void**>(&parent), &child)) && parent)
        parent->GetUIObjectOf(Front(), 1, &child, IID_IContextMenu, nullptr, reinterpret_cast<void**>(&menu));
    ReleaseAndClear(parent);
    CoTaskMemFree(id);
    if (!menu) return;

    const OwnedMenu popup(CreatePopupMenu());
    if (popup &&
        SUCCEEDED(menu->QueryContextMenu(popup.Get(), 0, kFirstShellCommand, kLastShellCommand, CMF_NORMAL)) &&
        GetMenuItemCount(popup.Get()) > 0) {
        // Submenus the shell fills itself ("送る") need our owner's messages.
        if (FAILED(menu->QueryInterface(IID_IContextMenu3, reinterpret_cast<void**>(&context3_)))) context3_ = nullptr;
        if (!context3_ && FAILED(menu->QueryInterface(IID_IContextMenu2, reinterpret_cast<void**>(&context2_))))
            context2_ = nullptr;
        POINT at{};
        GetCursorPos(&at);
        const UINT chosen = static_cast<UINT>(
            TrackPopupMenuEx(popup.Get(), TPM_RECURSE | TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, Handle(), nullptr));
        ReleaseAndClear(context3_);
        ReleaseAndClear(context2_);
        if (chosen >= kFirstShellCommand && chosen <= kLastShellCommand && !pending_.menu) {
            menu->AddRef();
            pending_ = {menu, chosen - kFirstShellCommand, at};
            EndMenu();
        }
    }
    menu->Release();
}

std::optional<LRESULT> Win32FolderMenu::ForwardToContextMenu(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (context3_ && SUCCEEDED(context3_->HandleMenuMsg2(message, wParam, lParam, &result))) return result;
    if (context2_ && SUCCEEDED(context2_->HandleMenuMsg(message, wParam, lParam)))
        return message == WM_INITMENUPOPUP ? 0 : TRUE;
    return std::nullopt;
}

void Win32FolderMenu::ForgetShowing() {
    items_.clear();
    levels_.clear();
    ReleaseAndClear(pending_.menu);
    pending_ = {};
}

void Win32FolderMenu::ForgetPicturesIfMany() {
    if (pictures_.size() > kMostPictures) pictures_.clear();
}

LRESULT Win32FolderMenu::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITMENUPOPUP: {
            const auto menu = reinterpret_cast<HMENU>(wParam);
            if (levels_.count(menu)) {
                TracePhase("folder submenu");
                Fill(menu);
                return 0;
            }
            if (const auto answer = ForwardToContextMenu(message, wParam, lParam)) return *answer;
            break;
        }
        case WM_MENURBUTTONUP: {
            if (context2_ || context3_) return 0;  // within the context menu itself
            const FolderMenuItem* item = ItemAt(reinterpret_cast<HMENU>(lParam), static_cast<UINT>(wParam));
            if (item && (item->kind == FolderMenuKind::File || item->kind == FolderMenuKind::Submenu)) {
                const std::string path = item->path;  // the items may grow while the context menu is up
                ShowContextMenu(path);
            }
            return 0;
        }
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_MENUCHAR:
            if (const auto answer = ForwardToContextMenu(message, wParam, lParam)) return *answer;
            break;
        case WM_DESTROY:
            ownerGone_ = true;
            if (tracking_) EndMenu();
            break;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tavi
