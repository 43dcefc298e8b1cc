#pragma once
#include "app/bar_services.h"
#include "app/entry_store.h"
#include "app/menu_main.h"
#include "app/ex_menu_store.h"
#include "platform/platform.h"

namespace tavi {

// The cut clipboard: at most one cut entry with its group members.
struct CutClipboard {
    bool CutPending = false;
    int CutSource = 0;  // the slot the entry was cut from
    LaunchEntry entry;
    ExMenuSlots members;
};

// What the entry commands work on.
struct EntryCommandContext {
    MenuMain& state;
    Platform& platform;
    BarServices& bar;
    CutClipboard& clipboard;
};

// The question before an entry titled `title` replaces what is at `target`:
// "title" を "target title" へ移動します, an untitled target named 未定義 and its index.
std::string MoveQuestion(const std::string& title, const EntryStore& entries, int target);

// mnuAppDel: asks, then empties the slot and its group members.
void DeleteEntry(const EntryCommandContext& context, int index);
// mnuAppOneTimeDelete: moves the entry into the clipboard. An entry cut
// earlier and never pasted is written back first, in the same step.
void CutEntry(const EntryCommandContext& context, int index);
// mnuAppOneTimeCopy: puts the cut entry at `target`; a registered entry
// there is replaced only when the user agrees.
void PasteEntry(const EntryCommandContext& context, int target);
// Writes a pending cut back so it is never lost: to its own slot when that
// is still free, else to the first free slot (the list grows when there is
// none), with its group members, and saves. False when nothing was pending
// or it could not be saved (it stays pending then).
bool RestorePendingCut(const EntryCommandContext& context);

}  // namespace tavi
