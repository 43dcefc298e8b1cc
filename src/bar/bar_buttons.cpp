#include "bar/bar_buttons.h"

#include <cstdio>

#include "app/launcher.h"
#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {

std::string TipFor(const MenuMain& state, int index) {
    if (state.settings.Values().ToolTips != "1" || !state.entries.Has(index)) return {};
    return state.entries.At(index).Title;
}

void RefreshButtons(const MenuMain& state, EntryButtons& buttons) {
    for (int p = 0; p < state.page.VisibleCount(); ++p) {
        buttons.ClearButtonImage(p);
        const int index = state.page.IndexAt(p);
        if (!state.entries.Has(index)) continue;
        if (state.entries.At(index).PathName.empty()) {
            buttons.SetButtonTip(p, "");
            continue;
        }
        buttons.ShowEntryIcon(p, true);
        buttons.SetButtonTip(p, TipFor(state, index));
    }
}

namespace {

void ReloadPageIcons(const MenuMain& state, EntryButtons& buttons, int offset) {
    for (int p = 0; p < state.page.VisibleCount(); ++p) {
        const int index = p + offset;
        if (!state.entries.Has(index) || state.entries.At(index).PathName.empty())
            buttons.ClearButtonImage(p);
        else
            buttons.ShowEntryIcon(p, true);
    }
}

}  // namespace

void ReloadButtonIcons(const MenuMain& state, EntryButtons& buttons) {
    ReloadPageIcons(state, buttons, state.page.Offset());
}

void FullRebuild(MenuMain& state, EntryButtons& buttons, const std::function<void()>& resetImageLists) {
    resetImageLists();
    ReloadPageIcons(state, buttons, 0);  // the first page's pictures first, as at start
    RefreshButtons(state, buttons);
}

ClickOutcome ClickButton(MenuMain& state, Platform& platform, int buttonNumber) {
    const int index = state.page.IndexAt(buttonNumber - 1);
    state.page.ActOn(index);
    const std::string path = state.entries.Has(index) ? TrimSpaces(state.entries.At(index).PathName) : "";
    if (path.empty()) {
        ShellOpenRequest explorer;
        explorer.verb = "open";
        explorer.file = ExplorerPath(platform.system);
        explorer.parameters = CharMid(platform.system.SystemDirectory(), 0, 3);
        explorer.directory = state.ApplicationPath;
        explorer.show = ShowCommand::Normal;
        platform.shell.OpenThen(explorer, [](int) {});
        return ClickOutcome::Handled;
    }
    if (IsGroupPath(path)) return ClickOutcome::OpenGroup;
    if (OpensAsMenu(path, state.entries.At(index).RunType)) return ClickOutcome::OpenFolderMenu;
    StartBarEntry(state, platform, index);
    return ClickOutcome::Handled;
}

PageOutcome PageButtons(MenuMain& state, Platform& platform, PageCommand command) {
    switch (command) {
        case PageCommand::Close:
            return PageOutcome::Close;
        case PageCommand::Next:
            if (state.page.NextPastLimit()) {
                platform.messages.Show({std::string(text::kPageLimit), std::string(text::kMessageCaption),
                                        MessageIcon::Warning, MessageButtons::Ok});
                return PageOutcome::Unchanged;
            }
            state.page.Next();
            break;
        case PageCommand::Previous:
            state.page.Previous();
            break;
    }
    state.entries.Reserve(state.page.End());
    return PageOutcome::Refresh;
}

int WheelSum::Notches(uint32_t wParam) {
    constexpr int32_t kNotch = 120;
    if ((wParam & 0xFFFFu) != 0) {
        pending_ = 0;
        return 0;
    }
    const auto delta = static_cast<int16_t>(static_cast<uint16_t>(wParam >> 16));
    if ((delta > 0 && pending_ < 0) || (delta < 0 && pending_ > 0)) pending_ = 0;
    pending_ += delta;
    const int notches = pending_ / kNotch;  // toward zero, so the rest keeps its sign
    pending_ -= notches * kNotch;
    return notches;
}

std::optional<PageCommand> WheelCommand(const MenuMain& state, int notch) {
    if (notch > 0)
        return state.page.HasPrevious() ? std::optional(PageCommand::Previous) : std::nullopt;
    if (notch < 0) return PageCommand::Next;
    return std::nullopt;
}

std::optional<KeyCommand> KeyDownCommand(int virtualKey, bool control) {
    if (control) {
        switch (virtualKey) {
            case 'N': return KeyCommand::NewEntry;
            case 'Z': return KeyCommand::Undo;
            case 'Y': return KeyCommand::Redo;
            case 'F': return KeyCommand::FindEntry;
            default: return std::nullopt;
        }
    }
    switch (virtualKey) {
        case 112: return KeyCommand::PreviousPage;  // F1
        case 113: return KeyCommand::NextPage;      // F2
        case 116: return KeyCommand::Redraw;        // F5
        default: return std::nullopt;
    }
}

std::string RunTypeForShortcutStyle(int windowStyle) {
    switch (windowStyle) {
        case 7: return "1";  // minimised
        case 3: return "2";  // maximised
        default: return "0";
    }
}

std::string TrayTip(int hour, int minute, int second, std::string_view folder) {
    char time[16];
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", hour, minute, second);
    std::string tip = std::string(text::kTrayTipPrefix) + time;
    if (folder.empty()) return tip;
    // A tray tip holds 127 characters; the end of a path tells folders apart best.
    constexpr size_t kFolderRoom = 100;
    std::string shown(folder);
    if (const size_t count = CharCount(shown); count > kFolderRoom) shown = "..." + CharMid(shown, count - kFolderRoom + 3);
    return tip + "\n" + shown;
}

}  // namespace tavi
