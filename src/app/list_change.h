#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/undo_history.h"
#include "platform/file_system.h"

// A change to the list files ("Launch.ini", its UTF-8 copy, "TaviMenu2.INI")
// lands whole or not at all. Before the first file is written, a journal
// holding the files as they were is written beside them (whole, as every
// file is replaced); once every file is written, the journal is removed, and
// that removal is the moment the change is made. A write that fails puts the
// files back from the journal; a process killed on the way leaves the
// journal, and the next start puts the files back from it.
namespace tavi {

std::string ListJournalPath(const std::string& applicationPath);

std::string FormatListJournal(const ListFiles& files);
// Nothing when the text is no journal of ours or was cut short.
std::optional<ListFiles> ParseListJournal(std::string_view text);

enum class ListChangeOutcome {
    Made,       // every file written, the journal gone
    NotMade,    // the files are as they were
    Unsettled,  // a write failed and so did putting a file back: the journal stays for the next start
};
// `before`: the files as read, every one whole or absent. `write` writes the
// change and says whether every file took it. `oneFile`: it writes a single
// file, whose replacement is whole by itself, so no journal is needed.
ListChangeOutcome WriteListChange(FileSystem& files, const std::string& applicationPath, const ListFiles& before,
                                  bool oneFile, const std::function<bool()>& write);

// A journal left by a change cut short: the files go back to what it holds,
// then it goes. False while they cannot be put back (or the journal cannot
// be read): the list files must not be trusted, nor written, until then.
bool SettleListChange(FileSystem& files, const std::string& applicationPath);

}  // namespace tavi
