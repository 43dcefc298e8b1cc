#include "dialogs/group_box_win.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "bar/bar_keys.h"
#include "bar/stock_icons_win.h"
#include "bar/tip_place.h"
#include "dialogs/group_box.h"
#include "dialogs/new_app_ex_win.h"
#include "platform/colour_scheme_win.h"
#include "platform/described_window_win.h"
#include "platform/loop_waits_win.h"
#include "platform/handles_win.h"
#include "platform/picture_workers_win.h"
#include "platform/wide_win.h"
#include "platform/window_win.h"

namespace tavi {
namespace {

constexpr UINT_PTR kLeaveTimer = 1;   // timMouse
constexpr UINT_PTR kChoiceTimer = 2;  // the pause before a chosen member's box closes
constexpr int kExitId = 1;
constexpr int kFirstMemberId = 100;   // member slot s has id kFirstMemberId + s
constexpr UINT kMenuAdd = 1;
constexpr UINT kMenuEdit = 2;
constexpr UINT kMenuDelete = 3;

// The edge of the bar the box continues, from the arrow back to it.
DockEdge EdgeOf(char glyph) {
    switch (glyph) {
        case '4': return DockEdge::Right;
        case '5': return DockEdge::Top;
        case '6': return DockEdge::Bottom;
        default: return DockEdge::Left;
    }
}

Glyph ArrowOf(char glyph) {
    switch (glyph) {
        case '4': return Glyph::Right;
        case '5': return Glyph::Up;
        case '6': return Glyph::Down;
        default: return Glyph::Left;
    }
}

// `Win32GroupBox`. The close arrow is drawn as a frame control rather than
// with the Marlett font, so it shows on systems without that font.
class Win32GroupBox final : public Window, public GroupBoxView, public GroupBoxWindow, public PictureListener {
public:
    Win32GroupBox(HWND owner, Platform& platform, FileChooser& chooser, IconFiles& icons, PictureFetches& fetches,
                 FolderMenuWindow& folderMenus, int iconPixels)
        : owner_(owner),
          platform_(platform),
          chooser_(chooser),
          icons_(icons),
          fetches_(fetches),
          folderMenus_(folderMenus),
          iconPixels_(iconPixels) {}
    ~Win32GroupBox() override { fetches_.Forget(*this); }
    Win32GroupBox(const Win32GroupBox&) = delete;
    Win32GroupBox& operator=(const Win32GroupBox&) = delete;

    void Run(GroupBox& box, const GroupBoxLayout& layout) override;

    void ShowMember(int slot, const GroupButtonPicture& picture) override;
    void ShowRunning(int slot, bool running) override;
    void RunningChanged(GroupBox& box) override {
        if (box_ == &box) box.RunningChanged(*this);
    }
    std::optional<Shell::Association> ProgramOf(const std::string& document) override;
    std::optional<ExMenuEntry> EditMember(const ExMenuEntry& member) override;
    GroupMenuCommand ShowMenu(const GroupMenuStates& states, std::optional<int> atSlot) override;
    bool OpenFolderMenu(int slot, const std::string& folder, bool byKeys) override;
    void RestartLeaveTimer() override { SetTimer(Handle(), kLeaveTimer, kGroupLeaveIntervalMs, nullptr); }
    void Close(bool afterChoiceDelay) override;
    void PictureArrived(const std::string& fetch, const PictureAnswer& answer) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool Create(const GroupBoxLayout& layout);
    void ModalLoop();
    bool IsEscape(const MSG& message) const;
    bool MemberKey(const MSG& message);
    int SlotOf(HWND control) const;
    void OnLeaveTick();
    void DrawExit(const DRAWITEMSTRUCT& item) const;
    void DrawMember(const DRAWITEMSTRUCT& item) const;
    bool PlaceTip(HWND tip, HWND member) const;

    HWND owner_;
    Platform& platform_;
    FileChooser& chooser_;
    IconFiles& icons_;
    PictureFetches& fetches_;
    FolderMenuWindow& folderMenus_;
    int iconPixels_;
    GroupBox* box_ = nullptr;
    GroupBoxLayout layout_;
    std::vector<HWND> members_;
    std::vector<OwnedIcon> pictures_;  // the members' buttons show them
    std::vector<std::string> pictureFiles_;  // the icon file each member's picture is asked from
    std::vector<std::wstring> tips_;
    std::vector<bool> running_;
    std::map<std::string, Shell::Association> programs_;  // the shell's answers, by document
    HWND exit_ = nullptr;
    HWND tooltip_ = nullptr;
    char glyph_ = '3';
    bool closed_ = false;
};

// The owner is disabled while the box is up and enabled again however Run ends.
class DisabledOwner {
public:
    explicit DisabledOwner(HWND owner) : owner_(owner && IsWindowEnabled(owner) ? owner : nullptr) {
        if (owner_) EnableWindow(owner_, FALSE);
    }
    ~DisabledOwner() {
        if (owner_) EnableWindow(owner_, TRUE);
    }
    DisabledOwner(const DisabledOwner&) = delete;
    DisabledOwner& operator=(const DisabledOwner&) = delete;

private:
    HWND owner_;
};

void Win32GroupBox::Run(GroupBox& box, const GroupBoxLayout& layout) {
    box_ = &box;
    layout_ = layout;
    closed_ = false;
    if (!Create(layout)) {
        box_ = nullptr;
        return;
    }
    {
        DisabledOwner disabled(owner_);
        box.Load(*this);
        if (POINT pointer{}; GetCursorPos(&pointer)) box.PointerAtShow({pointer.x, pointer.y});
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
        // The first member takes the keys, as the bar's buttons do.
        SetFocus(members_.empty() || !members_[0] ? Handle() : members_[0]);
        RestartLeaveTimer();
        ModalLoop();
        // The owner is enabled before the box goes, so the activation returns to it.
    }
    KillTimer(Handle(), kLeaveTimer);
    KillTimer(Handle(), kChoiceTimer);
    DestroyWindow(Handle());
    box_ = nullptr;
}

bool Win32GroupBox::Create(const GroupBoxLayout& layout) {
    if (!RegisterClassOnce(kGroupBoxClass)) return false;
    const Rect& r = layout.box;
    if (!CreateWindowOf(kGroupBoxClass, Widen(text::kAppMenuCaption).c_str(), WS_POPUP | WS_CLIPCHILDREN,
                        WS_EX_TOOLWINDOW | WS_EX_TOPMOST, r.left, r.top, r.Width(), r.Height(), owner_))
        return false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Handle(), nullptr, instance, nullptr);
    const size_t slots = layout.members.size();
    members_.assign(slots, nullptr);
    pictures_.clear();
    pictures_.resize(slots);
    pictureFiles_.assign(slots, std::string());
    tips_.assign(slots, std::wstring());
    running_.assign(slots, false);
    for (size_t s = 0; s < slots; ++s) {
        const Rect& m = layout.members[s];
        // Drawn by the box: the system's push button draws its focus mark over
        // the picture and a default button's border around an empty slot.
        members_[s] = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, m.left,
                                      m.top, m.Width(), m.Height(), Handle(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstMemberId + s)), instance,
                                      nullptr);
        if (!tooltip_ || !members_[s]) continue;
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = Handle();
        tool.uId = reinterpret_cast<UINT_PTR>(members_[s]);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    glyph_ = layout.exitGlyph;
    const Rect& e = layout.exit;
    // Drawn as an arrow; the caption is what screen readers call it.
    exit_ = CreateWindowExW(0, L"BUTTON", Widen(text::kCloseButton).c_str(), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW,
                            e.left, e.top, e.Width(), e.Height(), Handle(),
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kExitId)), instance, nullptr);
    return true;
}

bool Win32GroupBox::IsEscape(const MSG& message) const {
    if (message.message != WM_KEYDOWN || message.wParam != VK_ESCAPE) return false;
    return message.hwnd == Handle() || IsChild(Handle(), message.hwnd);
}

// The box's own loop, as under a modal window: it returns once the box is
// unloaded. A WM_QUIT is handed on to the loop outside.
void Win32GroupBox::ModalLoop() {
    MSG message;
    while (!closed_) {
        // As the bar's own loop waits: programs' ends and the folder watch go on.
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            WaitForInput();
            continue;
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (MemberKey(message)) continue;
        // Escape reaches whichever of the box's buttons has the focus.
        if (IsEscape(message)) {
            if (box_) box_->Dismiss(*this);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The keys of the bar's buttons on the focused member: the arrows along the
// box (towards the bar is back), Home and End, Enter as a click, the menu
// key for its menu, and a typed character to the next member it begins.
bool Win32GroupBox::MemberKey(const MSG& message) {
    const int slot = SlotOf(message.hwnd);
    if (message.message == WM_CHAR) {
        const auto typed = static_cast<char32_t>(message.wParam);
        if (!box_ || slot < 0 || !IsTypeAheadCharacter(typed)) return false;
        if (const std::optional<int> found = box_->MemberStartingWith(slot, typed))
            SetFocus(members_[static_cast<size_t>(*found)]);
        return true;
    }
    const bool systemKey = message.message == WM_SYSKEYDOWN && message.wParam == VK_F10;
    if (!box_ || slot < 0 || (message.message != WM_KEYDOWN && !systemKey)) return false;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const int last = static_cast<int>(members_.size()) - 1;
    // Along the right and bottom edges the slots run towards the screen's start.
    RECT first{}, second{};
    const bool reversed = last > 0 && GetWindowRect(members_[0], &first) && GetWindowRect(members_[1], &second) &&
                          (second.left < first.left || second.top < first.top);
    int focus = slot;
    switch (message.wParam) {
        case VK_LEFT:
        case VK_UP: focus = reversed ? slot + 1 : slot - 1; break;
        case VK_RIGHT:
        case VK_DOWN: focus = reversed ? slot - 1 : slot + 1; break;
        case VK_HOME: focus = 0; break;
        case VK_END: focus = last; break;
        case VK_RETURN: box_->MemberClicked(*this, slot, true); return true;
        case VK_APPS: box_->MemberMenu(*this, slot, true); return true;
        case VK_F10:
            if (!shift) return false;
            box_->MemberMenu(*this, slot, true);
            return true;
        default: return false;
    }
    if (focus >= 0 && focus <= last && members_[static_cast<size_t>(focus)])
        SetFocus(members_[static_cast<size_t>(focus)]);
    return true;
}

int Win32GroupBox::SlotOf(HWND control) const {
    for (size_t s = 0; s < members_.size(); ++s)
        if (members_[s] == control) return static_cast<int>(s);
    return -1;
}

void Win32GroupBox::ShowMember(int slot, const GroupButtonPicture& picture) {
    if (slot < 0 || static_cast<size_t>(slot) >= members_.size()) return;
    const auto s = static_cast<size_t>(slot);
    pictures_[s] = {};
    pictureFiles_[s] = picture.iconFile;
    // The generic picture stands in until the program, and then its picture, come.
    if (picture.waiting || !picture.iconFile.empty())
        pictures_[s].Reset(CreateStockIcon(StockIcon::Nothing, iconPixels_));
    if (!picture.iconFile.empty()) {
        PictureRequest request;
        request.path = picture.iconFile;
        request.size = iconPixels_;
        (void)fetches_.Ask(*this, std::to_string(s) + "|" + picture.iconFile, request, PictureFetches::Clock::now());
    }
    tips_[s] = Widen(picture.tip);
    // An icon button draws no text: the text is only its name for screen readers.
    SetWindowTextW(members_[s], Widen(picture.name).c_str());
    ShowRunning(slot, picture.running);
    InvalidateRect(members_[s], nullptr, TRUE);
}

// The running description stands beside the name the caption gives.
void Win32GroupBox::ShowRunning(int slot, bool running) {
    if (slot < 0 || static_cast<size_t>(slot) >= members_.size() || !members_[static_cast<size_t>(slot)]) return;
    const auto s = static_cast<size_t>(slot);
    if (running_[s] == running) return;
    running_[s] = running;
    SetAccessibleDescription(members_[s], running ? Widen(text::kRunningDescription) : std::wstring());
    InvalidateRect(members_[s], nullptr, TRUE);
}

// FindExecutable looks at the document's drive, which may never answer: a
// worker asks it, and the member waits with the generic picture.
std::optional<Shell::Association> Win32GroupBox::ProgramOf(const std::string& document) {
    if (const auto known = programs_.find(document); known != programs_.end()) return known->second;
    PictureRequest request;
    request.source = PictureRequest::Source::Association;
    request.path = document;
    // A drive found stuck is asked again when the box next opens.
    (void)fetches_.Ask(*this, "a|" + document, request, PictureFetches::Clock::now());
    return std::nullopt;
}

void Win32GroupBox::PictureArrived(const std::string& fetch, const PictureAnswer& answer) {
    if (fetch.starts_with("a|")) {
        const std::string document = fetch.substr(2);
        programs_[document] = {answer.shellResult, answer.program};
        if (box_) box_->ProgramFound(*this, document);
        return;
    }
    const size_t bar = fetch.find('|');
    if (bar == std::string::npos) return;
    const size_t slot = std::strtoul(fetch.c_str(), nullptr, 10);
    // The member may have changed, or the box gone, since it was asked.
    if (slot >= members_.size() || pictureFiles_[slot] != fetch.substr(bar + 1) || !members_[slot]) return;
    // A program without a picture leaves the member blank, as it always was.
    pictures_[slot].Reset(ButtonIconOf(answer, iconPixels_));
    InvalidateRect(members_[slot], nullptr, TRUE);
}

std::optional<ExMenuEntry> Win32GroupBox::EditMember(const ExMenuEntry& member) {
    return ShowNewAppEx(reinterpret_cast<NativeWindow>(Handle()), member, platform_, chooser_, icons_);
}

GroupMenuCommand Win32GroupBox::ShowMenu(const GroupMenuStates& states, std::optional<int> atSlot) {
    const OwnedMenu owned(CreatePopupMenu());
    const HMENU menu = owned.Get();
    if (!menu) return GroupMenuCommand::None;
    const auto flags = [](bool enabled) { return MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED); };
    AppendMenuW(menu, flags(states.add), kMenuAdd, Widen(text::kMenuNewIn).c_str());
    AppendMenuW(menu, flags(states.edit), kMenuEdit, Widen(text::kMenuEdit).c_str());
    AppendMenuW(menu, flags(states.remove), kMenuDelete, Widen(text::kMenuDelete).c_str());
    POINT at{};
    RECT member{};
    // From the keyboard the pointer may be anywhere: the menu opens on the member.
    if (atSlot && *atSlot >= 0 && static_cast<size_t>(*atSlot) < members_.size() &&
        GetWindowRect(members_[static_cast<size_t>(*atSlot)], &member))
        at = {(member.left + member.right) / 2, (member.top + member.bottom) / 2};
    else
        GetCursorPos(&at);
    // The menu closes on a click elsewhere only while its owner is in front.
    SetForegroundWindow(Handle());
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, Handle(), nullptr));
    PostMessageW(Handle(), WM_NULL, 0, 0);
    switch (chosen) {
        case kMenuAdd: return GroupMenuCommand::Add;
        case kMenuEdit: return GroupMenuCommand::Edit;
        case kMenuDelete: return GroupMenuCommand::Delete;
        default: return GroupMenuCommand::None;
    }
}

bool Win32GroupBox::OpenFolderMenu(int slot, const std::string& folder, bool byKeys) {
    return folderMenus_.Run(folder, MemberMenuAnchor(layout_, slot), byKeys);
}

void Win32GroupBox::Close(bool afterChoiceDelay) {
    KillTimer(Handle(), kLeaveTimer);
    if (afterChoiceDelay)
        SetTimer(Handle(), kChoiceTimer, kGroupChoiceDelayMs, nullptr);
    else
        closed_ = true;
}

void Win32GroupBox::OnLeaveTick() {
    if (!box_) return;
    // Where the pointer is now: over other programs' windows message
    // positions can lag behind.
    POINT cursor{};
    if (!GetCursorPos(&cursor)) {
        const DWORD packed = GetMessagePos();
        cursor = {static_cast<int16_t>(LOWORD(packed)), static_cast<int16_t>(HIWORD(packed))};
    }
    RECT window{};
    GetWindowRect(Handle(), &window);
    box_->MouseLeaveTick(*this, {window.left, window.top, window.right, window.bottom}, {cursor.x, cursor.y});
}

void Win32GroupBox::DrawExit(const DRAWITEMSTRUCT& item) const {
    DrawGlyphButton(item.hDC, item.rcItem, ArrowOf(glyph_), (item.itemState & ODS_SELECTED) != 0);
}

// A member with a picture is a raised button; an empty slot is only the
// face. The focus mark runs between the frame and the picture, which is made
// smaller where the button leaves no room for both.
void Win32GroupBox::DrawMember(const DRAWITEMSTRUCT& item) const {
    const int slot = SlotOf(item.hwndItem);
    const HICON icon = slot >= 0 ? pictures_[static_cast<size_t>(slot)].Get() : nullptr;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const RECT& area = item.rcItem;
    FillWithColour(item.hDC, area, CurrentPalette().face);
    if (icon) DrawButtonFrame(item.hDC, area, pressed ? ButtonFrame::Sunken : ButtonFrame::Raised);
    const int edge = MulDiv(2, WindowDpi(Handle()), 96);
    RECT mark = area;
    InflateRect(&mark, -edge, -edge);
    if (icon) {
        const int room = std::min(mark.right - mark.left, mark.bottom - mark.top) - 2;
        const int size = std::max(1, std::min(iconPixels_, room));
        const int shift = pressed ? 1 : 0;
        DrawIconEx(item.hDC, area.left + (area.right - area.left - size) / 2 + shift,
                   area.top + (area.bottom - area.top - size) / 2 + shift, icon, size, size, 0, nullptr, DI_NORMAL);
        if (running_[static_cast<size_t>(slot)]) {
            // The picture fills the member: the mark goes over its foot, inside the focus mark.
            RECT inside = mark;
            InflateRect(&inside, -1, -1);
            DrawRunningMark(item.hDC, inside, size);
        }
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) DrawFocusMark(item.hDC, mark);
}

// TTN_SHOW: a member's tip stands beside the box on the side away from the
// bar's edge, in front of it.
bool Win32GroupBox::PlaceTip(HWND tip, HWND member) const {
    RECT box{}, button{}, shown{};
    if (!GetWindowRect(Handle(), &box) || !GetWindowRect(member, &button) || !GetWindowRect(tip, &shown)) return false;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor)) return false;
    const RECT& m = monitor.rcMonitor;
    const Rect at = TipBesideBar(EdgeOf(glyph_), {box.left, box.top, box.right, box.bottom},
                                 {button.left, button.top, button.right, button.bottom},
                                 shown.right - shown.left, shown.bottom - shown.top, {m.left, m.top, m.right, m.bottom},
                                 MulDiv(2, WindowDpi(Handle()), 96));
    SetWindowPos(tip, HWND_TOPMOST, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

LRESULT Win32GroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            if (!box_ || HIWORD(wParam) != BN_CLICKED) return 0;
            const int id = LOWORD(wParam);
            if (id == kExitId)
                box_->Dismiss(*this);
            else if (id >= kFirstMemberId)
                box_->MemberClicked(*this, id - kFirstMemberId);
            return 0;
        }
        case WM_CONTEXTMENU: {
            if (lParam == -1) return 0;  // from the keyboard: MemberKey opened it already
            const int slot = SlotOf(reinterpret_cast<HWND>(wParam));
            if (box_ && slot >= 0) box_->MemberMenu(*this, slot);
            return 0;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->code == TTN_SHOW) return PlaceTip(header->hwndFrom, reinterpret_cast<HWND>(header->idFrom));
            if (header->code != TTN_GETDISPINFOW) break;
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            const int slot = SlotOf(reinterpret_cast<HWND>(info->hdr.idFrom));
            info->lpszText = slot >= 0 ? tips_[static_cast<size_t>(slot)].data() : const_cast<wchar_t*>(L"");
            return 0;
        }
        case WM_DRAWITEM: {
            const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item.CtlID == kExitId)
                DrawExit(item);
            else
                DrawMember(item);
            return TRUE;
        }
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(Handle(), &client);
            FillWithColour(reinterpret_cast<HDC>(wParam), client, CurrentPalette().face);
            return 1;
        }
        case WM_TIMER:
            if (wParam == kLeaveTimer) {
                OnLeaveTick();
            } else if (wParam == kChoiceTimer) {
                KillTimer(Handle(), kChoiceTimer);
                closed_ = true;
            }
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE && box_) box_->Dismiss(*this);
            return 0;
        case WM_CLOSE:
            if (box_) box_->Dismiss(*this);
            return 0;
        default:
            break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace

void OpenGroup(BarServices& bar, MenuMain& state, Platform& platform, FileChooser& chooser, IconFiles& icons,
               PictureFetches& pictures, FolderMenuWindow& folderMenus, int position, bool byKeys) {
    const int iconPixels = bar.ButtonSizes().iconPixels > 0 ? bar.ButtonSizes().iconPixels : 32;
    Win32GroupBox window(reinterpret_cast<HWND>(bar.Handle()), platform, chooser, icons, pictures, folderMenus,
                        iconPixels);
    OpenGroupBox(bar, state, platform, window, position, byKeys);
}

}  // namespace tavi
