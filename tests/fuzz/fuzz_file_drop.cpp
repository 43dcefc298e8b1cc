// Files dropped on the bar, from any entry list, position and page: every
// file either finds a slot of its own, opens with the entry it was dropped
// on, or is stopped by the entry limit, and no entry that held something is
// ever overwritten.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <set>

#include "platform/text.h"
#include "bar/file_drop.h"
#include "fakes/fakes.h"
#include "fakes/group_fakes.h"
#include "fuzz/fuzz_support.h"

using namespace tavi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    fakes::FakePlatform fake;
    fakes::FakeShortcuts shortcuts;
    MenuMain state;
    state.ApplicationPath = "C:\\Tavi";
    fakes::SetSetting(state, &Settings::TargetDrop, input.ConsumeBool() ? "1" : "0");
    state.page.ShowFrom(input.ConsumeIntegralInRange(0, kEntryLimit + 10));
    const int position = input.ConsumeIntegralInRange(-2, 40);
    EntryStore given = ParseEntries(input.ConsumeRandomLengthString(2048));
    const bool lastIndexShort = input.ConsumeBool();
    if (lastIndexShort && given.LastEntryIndex > 0) --given.LastEntryIndex;
    if (!SaveEntries(given, fake.platform, state.ApplicationPath)) return 0;
    state.entries.Open(state.ApplicationPath, state.notices, fake.platform);

    // The shell never drops a blank name.
    std::vector<std::string> files;
    while (files.size() < 40 && input.remaining_bytes() > 0) {
        std::string file = input.ConsumeRandomLengthString(40);
        if (IsBlank(file)) continue;
        if (input.ConsumeBool()) {
            file += ".lnk";
            shortcuts.links[file] = {input.ConsumeRandomLengthString(40), input.ConsumeRandomLengthString(20), "1", ""};
        }
        files.push_back(std::move(file));
    }

    const EntryStore before = state.entries.Store();
    const DropOutcome outcome = DropFiles({state, fake.platform, shortcuts}, position, files);

    const std::set<int> registered(outcome.registered.begin(), outcome.registered.end());
    fuzz::Check(registered.size() == outcome.registered.size(), "each slot takes one file");
    fuzz::Check(outcome.registered.size() + static_cast<size_t>(outcome.opened) <= files.size(),
                "no file is taken twice");
    for (const int index : registered) {
        fuzz::Check(index >= 0 && index < kEntryLimit, "a file is registered below the entry limit");
        fuzz::Check(static_cast<size_t>(index) >= before.slots.size() || IsBlank(before.slots[index].PathName),
                    "a file is registered in a free slot only");
    }
    for (size_t i = 0; i < before.slots.size(); ++i)
        if (!IsBlank(before.slots[i].PathName))
            fuzz::Check(state.entries.At(static_cast<int>(i)) == before.slots[i], "an entry that held something is kept");
    fuzz::Check(state.entries.Slots().size() <= std::max<size_t>(before.slots.size(), kEntryLimit),
                "the list grows no further than the entry limit");
    return 0;
}
