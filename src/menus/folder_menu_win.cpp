#include "menus/folder_menu_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <utility>

#include "app/phase_trace.h"
#include "platform/pixel_canvas_win.h"
#include "platform/text.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

// Pictures read from the files themselves (programs, shortcuts) open each
// file; in one showing they get this long in all, the rest show their
// type's picture, so a folder of many programs on a slow share still opens.
constexpr std::chrono::milliseconds kFileReadBudget{200};
// Past this many kept pictures (folders of programs add one each) they are
// all let go before the next showing and made again as they are needed.
constexpr size_t kMostPictures = 1000;
// Command ids of the shell's context menu, tracked apart from ours.
constexpr UINT kFirstShellCommand = 1;
constexpr UINT kLastShellCommand = 0x7FFF;

// A 32-bit top-down bitmap of `icon` at `size` pixels, its colours already
// multiplied by their alpha, as a menu draws an item's bitmap.
OwnedBitmap IconBitmap(HICON icon, int size) {
    PixelCanvas canvas(size, size);
    if (!canvas.Valid()) return {};
    uint32_t* pixels = canvas.Pixels();
    const size_t count = static_cast<size_t>(size) * static_cast<size_t>(size);
    // Drawn onto nothing at all, an icon with alpha leaves exactly its
    // premultiplied pixels.
    canvas.Fill(0u);
    DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    GdiFlush();
    if (std::none_of(pixels, pixels + count, [](uint32_t p) { return p >> 24; })) {
        // An icon without alpha (an old one): its mask tells which pixels show.
        const std::vector<uint32_t> colours(pixels, pixels + count);
        canvas.Fill(0u);
        DrawIconEx(canvas.Dc(), 0, 0, icon, size, size, 0, nullptr, DI_MASK);
        GdiFlush();
        for (size_t i = 0; i < count; ++i)
            pixels[i] = (pixels[i] & 0x00FFFFFF) == 0 ? (colours[i] | 0xFF000000) : 0u;
    }
    return canvas.TakeBitmap();
}

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

Win32FolderMenu::Win32FolderMenu(Platform& platform, FolderContentsReader& reader, BarServices& bar)
    : platform_(platform), reader_(reader), bar_(bar) {}

Win32FolderMenu::~Win32FolderMenu() { ForgetShowing(); }

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

    // The submenus go with it; the pictures are kept.
    const OwnedMenu root(CreatePopupMenu());
    if (!root) return false;
    levels_[root.Get()].folder = folder;
    fileReadsUntil_ = std::chrono::steady_clock::now() + kFileReadBudget;
    Fill(root.Get());
    TracePhase("folder menu listed");

    SetForegroundWindow(Front());
    if (byKeys) {
        // The Enter that opened the menu left its character in the queue,
        // where the menu would take it for a choice and close at once.
        MSG typed{};
        if (PeekMessageW(&typed, nullptr, WM_CHAR, WM_CHAR, PM_NOREMOVE) && typed.wParam == L'\r')
            PeekMessageW(&typed, typed.hwnd, WM_CHAR, WM_CHAR, PM_REMOVE);
        // From the keyboard the first item is selected, as the keys then expect.
        PostMessageW(Handle(), WM_KEYDOWN, VK_DOWN, 0);
    }
    TPMPARAMS params{};
    params.cbSize = sizeof params;
    params.rcExclude = {anchor.keepClear.left, anchor.keepClear.top, anchor.keepClear.right, anchor.keepClear.bottom};
    tracking_ = true;
    // No TPM_NONOTIFY: the submenus are listed on WM_INITMENUPOPUP. No
    // TPM_RIGHTBUTTON: a right click asks for the item's context menu.
    const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(root.Get(), TPM_RETURNCMD | TrackFlagsFor(anchor.side),
                                                           anchor.x, anchor.y, Handle(), &params));
    tracking_ = false;
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

    for (FolderMenuItem& listed : ListFolderMenu(reader_, level->second.folder)) {
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

HBITMAP Win32FolderMenu::PictureFor(const FolderMenuItem& item) {
    std::string key = FolderMenuIconKey(item);
    if (key.empty()) return nullptr;
    if (const auto kept = pictures_.find(key); kept != pictures_.end()) return kept->second.Get();
    if (StartsWith(key, "file:") && std::chrono::steady_clock::now() >= fileReadsUntil_) {
        // No time left to open more files: the picture of the file's type.
        key = "type:" + ToUpperAscii(GetExtension(item.path));
        if (const auto kept = pictures_.find(key); kept != pictures_.end()) return kept->second.Get();
    }
    // Kept even when there is none, so the file is not asked again.
    return (pictures_[key] = MakePicture(key, item)).Get();
}

OwnedBitmap Win32FolderMenu::MakePicture(const std::string& key, const FolderMenuItem& item) {
    std::wstring path;
    DWORD attributes = 0;
    UINT flags = SHGFI_ICON | SHGFI_SMALLICON;
    if (key == "folder") {
        // Every folder shows the system's folder: no folder is opened for it.
        path = L"folder";
        attributes = FILE_ATTRIBUTE_DIRECTORY;
        flags |= SHGFI_USEFILEATTRIBUTES;
    } else if (StartsWith(key, "type:")) {
        path = L"file" + Widen(key.substr(5));
        attributes = FILE_ATTRIBUTE_NORMAL;
        flags |= SHGFI_USEFILEATTRIBUTES;
    } else {
        path = Widen(item.path);
    }
    SHFILEINFOW found{};
    if (!SHGetFileInfoW(path.c_str(), attributes, &found, sizeof found, flags)) return {};
    const OwnedIcon icon(found.hIcon);
    if (!icon) return {};
    ++picturesMade_;
    return IconBitmap(icon.Get(), pictureSize_);
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
