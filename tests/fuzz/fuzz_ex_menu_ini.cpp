// "TaviMenu2.INI" through the INI reader and the group member store: a group
// of any entry index and size is loaded, saved and loaded again (titles and
// parameters must come back exactly, whatever quotes and blanks they hold),
// and groups past index 99 get their own sections the way a start gives them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "menus/ex_menu_store.h"
#include "platform/ini_profile.h"

using namespace tavi;

namespace {
const std::string kApp = "C:\\Tavi";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The last bytes choose the group: a shape byte, the entry index, the slot count.
    FuzzedDataProvider input(data, size);
    const uint8_t shape = input.ConsumeIntegral<uint8_t>();
    const int entryIndex = input.ConsumeIntegralInRange(-3, 1200);
    // Each slot costs eight reads and writes of the whole file: large groups
    // and separations (a hundred slots) only now and then, so the run stays fast.
    const int exMenuMax = (shape & 0x0F) == 0 ? input.ConsumeIntegralInRange(-3, 130) : input.ConsumeIntegralInRange(-3, 12);
    const bool separate = (shape & 0xF0) == 0xF0;
    fuzz::MemoryFiles files;
    files.files[ExMenuFilePath(kApp)] = input.ConsumeRemainingBytesAsString();
    IniProfile profile(files, fuzz::Cp932());

    const ExMenuSlots members = LoadExMenu(profile, kApp, entryIndex, exMenuMax);
    fuzz::Check(members.size() == static_cast<size_t>(UsableExMenuMax(exMenuMax) + 1), "slots 0..ExMenuMax are loaded");
    for (const ExMenuEntry& m : members)
        fuzz::Check(fuzz::IsWellFormedUtf8(m.ExTitle + m.ExPathName + m.ExCommand + m.ExRunType), "members are UTF-8");

    SaveExMenu(profile, kApp, entryIndex, members, exMenuMax);
    const ExMenuSlots again = LoadExMenu(profile, kApp, entryIndex, exMenuMax);
    fuzz::Check(again.size() == members.size(), "the same slots read back");
    for (size_t j = 0; j < members.size(); ++j) {
        fuzz::Check(again[j].ExTitle == members[j].ExTitle, "a member's title reads back", members[j].ExTitle);
        fuzz::Check(again[j].ExCommand == members[j].ExCommand, "a member's parameters read back", members[j].ExCommand);
    }

    if (separate) {
        // One group past index 99 that older versions kept with its neighbours.
        const int index = 100 + (entryIndex < 0 ? 0 : entryIndex % 1000);
        EntryStore entries;
        entries.ResizeEntryArrays(index);
        entries.slots[index].PathName = "[group]";
        const ExMenuSlots shared = LoadExMenu(profile, kApp, index % 100, kExMenuSlotLimit - 1);
        const std::vector<int> done = SeparateSharedGroupSections(entries, profile, kApp);
        if (!done.empty()) {
            fuzz::Check(done == std::vector<int>{index}, "only the group gets its own section");
            const ExMenuSlots own = LoadExMenu(profile, kApp, index, kExMenuSlotLimit - 1);
            for (size_t j = 0; j < shared.size(); ++j) {
                const ExMenuEntry& a = shared[j];
                const ExMenuEntry& b = own[j];
                fuzz::Check((a.ExTitle.empty() || a.ExTitle == b.ExTitle) &&
                                (a.ExPathName.empty() || a.ExPathName == b.ExPathName) &&
                                (a.ExCommand.empty() || a.ExCommand == b.ExCommand) &&
                                (a.ExRunType.empty() || a.ExRunType == b.ExRunType),
                            "a separated group keeps the members it showed", a.ExTitle + "|" + a.ExPathName);
            }
            fuzz::Check(SeparateSharedGroupSections(entries, profile, kApp).empty(), "a group is separated once");
        }
    }
    return 0;
}
