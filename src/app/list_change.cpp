#include "app/list_change.h"

#include <array>
#include <charconv>

#include "app/entry_store.h"
#include "app/ex_menu_store.h"
#include "platform/text.h"

namespace tavi {
namespace {

constexpr std::string_view kJournalHeader = "TaviMenu2 change 1\r\n";

struct Member {
    std::string path;
    FileContents ListFiles::*image;
};

// The files in the order the journal keeps them.
std::array<Member, 3> Members(const std::string& applicationPath) {
    return {Member{EntryFilePath(applicationPath), &ListFiles::entries},
            Member{EntryUnicodeFilePath(applicationPath), &ListFiles::unicode},
            Member{ExMenuFilePath(applicationPath), &ListFiles::members}};
}

// Every file back to its image, byte for byte: an absent one is removed, one
// that could not be read (and so was not written) is left alone.
bool PutBack(FileSystem& files, const std::string& applicationPath, const ListFiles& images) {
    bool whole = true;
    for (const Member& member : Members(applicationPath)) {
        const FileContents& image = images.*member.image;
        if (image.outcome == ReadOutcome::Unreadable || files.Read(member.path) == image) continue;
        const bool back = image.outcome == ReadOutcome::Whole ? files.ReplaceAll(member.path, image.bytes)
                                                              : files.RemoveFile(member.path);
        whole = whole && back;
    }
    return whole;
}

}  // namespace

std::string ListJournalPath(const std::string& applicationPath) {
    return AddBackslash(applicationPath) + "TaviMenu2.journal";
}

// Per file: "W <length>" and the bytes, "A" for a file that was absent, "-"
// for one that could not be read (the change does not write it).
std::string FormatListJournal(const ListFiles& images) {
    std::string text(kJournalHeader);
    for (const FileContents* image : {&images.entries, &images.unicode, &images.members}) {
        if (image->outcome != ReadOutcome::Whole) {
            text += image->outcome == ReadOutcome::Absent ? "A\r\n" : "-\r\n";
            continue;
        }
        text += "W " + std::to_string(image->bytes.size()) + "\r\n";
        text += image->bytes;
        text += "\r\n";
    }
    return text;
}

std::optional<ListFiles> ParseListJournal(std::string_view text) {
    if (!text.starts_with(kJournalHeader)) return std::nullopt;
    text.remove_prefix(kJournalHeader.size());
    ListFiles images;
    for (FileContents* image : {&images.entries, &images.unicode, &images.members}) {
        if (text.starts_with("A\r\n") || text.starts_with("-\r\n")) {
            if (text.front() == '-') image->outcome = ReadOutcome::Unreadable;
            text.remove_prefix(3);
            continue;
        }
        if (!text.starts_with("W ")) return std::nullopt;
        const size_t lineEnd = text.find("\r\n");
        if (lineEnd == std::string_view::npos) return std::nullopt;
        size_t length = 0;
        const auto [end, error] = std::from_chars(text.data() + 2, text.data() + lineEnd, length);
        if (error != std::errc() || end != text.data() + lineEnd) return std::nullopt;
        text.remove_prefix(lineEnd + 2);
        if (text.size() < length + 2 || text.substr(length, 2) != "\r\n") return std::nullopt;
        *image = {ReadOutcome::Whole, std::string(text.substr(0, length))};
        text.remove_prefix(length + 2);
    }
    if (!text.empty()) return std::nullopt;
    return images;
}

ListChangeOutcome WriteListChange(FileSystem& files, const std::string& applicationPath, const ListFiles& before,
                                  bool oneFile, const std::function<bool()>& write) {
    if (oneFile) return write() ? ListChangeOutcome::Made : ListChangeOutcome::NotMade;
    const std::string journal = ListJournalPath(applicationPath);
    if (!files.ReplaceAll(journal, FormatListJournal(before))) return ListChangeOutcome::NotMade;
    // The journal's removal makes the change; should it fail, the change is
    // taken back, as the next start would take it back.
    if (write() && files.RemoveFile(journal)) return ListChangeOutcome::Made;
    if (!PutBack(files, applicationPath, before)) return ListChangeOutcome::Unsettled;
    (void)files.RemoveFile(journal);
    return ListChangeOutcome::NotMade;
}

bool SettleListChange(FileSystem& files, const std::string& applicationPath) {
    const std::string journal = ListJournalPath(applicationPath);
    const FileContents contents = files.Read(journal);
    if (contents.outcome == ReadOutcome::Absent) return true;
    if (contents.outcome == ReadOutcome::Unreadable) return false;
    // A journal is written whole or not at all, so one that does not parse
    // is none of ours: nothing to put back.
    const std::optional<ListFiles> images = ParseListJournal(contents.bytes);
    if (images && !PutBack(files, applicationPath, *images)) return false;
    return files.RemoveFile(journal);
}

}  // namespace tavi
