// "Launch.ini": six lines per entry in code page 932, any line ends. The
// bytes are read the way LoadEntries reads them (split, then each line
// decoded), saved the way SaveEntries saves them, and read again: what a
// save writes must read back as the same entries, and a second save must
// write the same bytes.
#include <cstdint>

#include "app/entry_store.h"
#include "platform/text.h"
#include "fuzz/fuzz_support.h"

using namespace tavi;

namespace {

EntryStore Decoded(std::string_view bytes) {
    EntryStore store = ParseEntries(bytes);
    for (LaunchEntry& e : store.slots)
        for (std::string* field : {&e.Title, &e.PathName, &e.Command, &e.RunType, &e.IconPath, &e.IconIndex})
            *field = fuzz::Cp932().ToUtf8(*field);
    return store;
}

bool IsUsed(const LaunchEntry& e) { return !IsBlank(e.Title) || !IsBlank(e.PathName); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Raw text: six lines to a record, a short last record padded.
    const EntryStore raw = ParseEntries(bytes);
    fuzz::Check(raw.LastEntryIndex == static_cast<int>(raw.slots.size()), "LastEntryIndex counts the records");
    for (const LaunchEntry& e : raw.slots)
        for (const std::string* field : {&e.Title, &e.PathName, &e.Command, &e.RunType, &e.IconPath, &e.IconIndex})
            fuzz::Check(field->find_first_of("\r\n") == std::string::npos, "a field holds no line break", *field);

    const EntryStore loaded = Decoded(bytes);
    const std::string saved = fuzz::Cp932().FromUtf8(FormatEntries(loaded));
    const EntryStore reloaded = Decoded(saved);

    // Only unused slots at the end may be left out of a save; the rest reads back whole.
    fuzz::Check(reloaded.slots.size() <= loaded.slots.size(), "a save adds no entries");
    for (size_t i = 0; i < loaded.slots.size(); ++i) {
        if (i < reloaded.slots.size())
            fuzz::Check(reloaded.slots[i] == loaded.slots[i], "an entry reads back as it was saved",
                        loaded.slots[i].Title + "|" + loaded.slots[i].PathName);
        else
            fuzz::Check(!IsUsed(loaded.slots[i]), "only unused slots at the end are left out");
    }
    fuzz::Check(fuzz::Cp932().FromUtf8(FormatEntries(reloaded)) == saved, "a second save writes the same bytes");
    return 0;
}
