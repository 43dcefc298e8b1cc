#pragma once
#include "app/bar_services.h"
#include "app/entry_store.h"
#include "app/menu_main.h"
#include "menus/ex_menu_store.h"
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

// mnuAppDel: asks, then empties the slot of CurrentEntryIndex and its group members.
void DeleteEntry(const EntryCommandContext& context);
// mnuAppOneTimeDelete: moves the entry of CurrentEntryIndex into the
// clipboard. An entry cut earlier and never pasted is written back first.
void CutEntry(const EntryCommandContext& context);
// mnuAppOneTimeCopy: puts the cut entry at CurrentEntryIndex; a registered
// entry there is replaced only when the user agrees.
void PasteEntry(const EntryCommandContext& context);
// Writes a pending cut back so it is never lost: to its own slot when that
// is still free, else to the first free slot (the list grows when there is
// none), with its group members, and saves. False when nothing was pending.
bool RestorePendingCut(const EntryCommandContext& context);

}  // namespace tavi
