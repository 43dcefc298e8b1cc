#include "bar/accessible_names.h"

#include "app/launcher.h"
#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {

std::string AccessibleEntryName(const LaunchEntry& entry) { return AccessibleName(entry.Title, entry.PathName); }

std::string AccessibleName(std::string_view title, std::string_view pathName) {
    if (!IsBlank(title)) return std::string(title);
    std::string path = TrimSpaces(pathName);
    if (path.empty()) return path;
    if (IsGroupPath(path)) return path.substr(1, path.size() - 2);
    // A folder ends with "\": its own name, not the empty part after it;
    // a drive root keeps its "C:".
    while (path.size() > 1 && path.back() == '\\') path.pop_back();
    const std::string name = GetFileName(path);
    return name.empty() ? path : name;
}

ButtonDescription DescribeButton(const MenuMain& state, int position, int focused) {
    ButtonDescription button;
    button.focused = position >= 0 && position == focused;
    const int index = state.page.IndexAt(position);
    const bool onPage = position >= 0 && position < state.page.VisibleCount();
    const LaunchEntry* entry = onPage && state.entries.Has(index) ? &state.entries.At(index) : nullptr;
    if (!entry || IsBlank(entry->PathName)) {
        button.unavailable = true;
        return button;
    }
    button.name = AccessibleEntryName(*entry);
    // A group opens its box and a folder shown as a menu its menu: both are buttons that open more.
    if (IsGroupPath(TrimSpaces(entry->PathName)) || OpensAsMenu(entry->PathName, entry->RunType)) {
        button.role = AccessibleRole::ButtonMenu;
        button.defaultAction = std::string(text::kActionOpenGroup);
    } else {
        button.defaultAction = std::string(text::kActionStartEntry);
    }
    return button;
}

std::string_view PageButtonName(PageCommand command) {
    switch (command) {
        case PageCommand::Close: return text::kCloseButton;
        case PageCommand::Next: return text::kNextButton;
        case PageCommand::Previous: return text::kPreviousButton;
    }
    return {};
}

}  // namespace tavi
