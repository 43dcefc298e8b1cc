#pragma once

namespace tavi {

// The windows the menu commands open. Each acts on CurrentEntryIndex where
// it needs an entry, and the modal ones return when they have closed.
class CommandWindows {
public:
    virtual ~CommandWindows() = default;
    // `NewApp`, modal: registers a new entry or edits the one at CurrentEntryIndex.
    virtual void ShowNewApp() = 0;
    // `FileInfomation`, modal: the properties of CurrentEntryIndex's file.
    virtual void ShowFileInfomation() = 0;
    // `OptionSet`, modal: 0 when it was shown, otherwise the number of the
    // error that kept it from loading.
    virtual int ShowOptionSet() = 0;
    // `FDFormat`, modal.
    virtual void ShowFDFormat() = 0;
    // `frmMemorySpace`, modeless: returns at once.
    virtual void ShowMemorySpace() = 0;
    // The import of shortcuts (ImportShortcuts in menus/import_shortcuts.h)
    // with the system's folder choice and shortcut reader, modal.
    virtual void ImportShortcuts() = 0;
};

}  // namespace tavi
