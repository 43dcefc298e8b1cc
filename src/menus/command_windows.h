#pragma once
#include "platform/native_window.h"

namespace tavi {

// The windows the menu commands open; the modal ones return when they have closed.
class CommandWindows {
public:
    virtual ~CommandWindows() = default;
    // `NewApp`, modal: registers a new entry at `index` or edits the one there.
    virtual void ShowNewApp(int index) = 0;
    // `FileInformation`, modal: the properties of the file of entry `index`.
    virtual void ShowFileInformation(int index) = 0;
    // `OptionSet`, modal: 0 when it was shown, otherwise the number of the
    // error that kept it from loading.
    virtual int ShowOptionSet() = 0;
    // `FDFormat`, modal.
    virtual void ShowFDFormat() = 0;
    // `MemorySpaceDialog`, modeless: returns at once.
    virtual void ShowMemorySpace() = 0;
    // The import of shortcuts (ImportShortcuts in menus/import_shortcuts.h)
    // with the system's folder choice and shortcut reader, modal.
    virtual void ImportShortcuts() = 0;
    // The group box `Win32GroupBox` beside the group button at 0-based page
    // position `position`, until it closes; `byKeys`: opened from the keyboard.
    virtual void OpenGroup(int position, bool byKeys) = 0;
    // The entry search `EntrySearchDialog`, modeless: opened (or brought to the
    // front when it is open) and returns at once.
    virtual void ShowEntrySearch() = 0;
    // Makes the entry search ahead of its key, hidden: a global key opens it
    // then without the cost of making it.
    virtual void PrepareEntrySearch() {}
    // The menu of the folder entry shown as a menu at 0-based page position
    // `position`, beside its button, until it closes.
    virtual void OpenFolderMenu(int position, bool byKeys) = 0;
    // The modeless window whose keys the message loop passes through
    // IsDialogMessage (the memory meter or the entry search, whichever is
    // active), or 0.
    virtual NativeWindow ModelessWindow() const { return 0; }
};

}  // namespace tavi
