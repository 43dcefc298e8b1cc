// "TaviMenu2.INI" as older versions left it, where a group at index 100 or
// more kept its members in the section of its last two digits: at start the
// group gets its own section with every member it showed before, once.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "app/ex_menu_store.h"
#include "platform/ini_profile.h"

using namespace tavi;

namespace {
const std::string kApp = "C:\\Tavi";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The last two bytes choose the group's index, 100 to 1099.
    FuzzedDataProvider input(data, size);
    const int index = input.ConsumeIntegralInRange(100, 1099);
    fuzz::MemoryFiles files;
    const std::string original = input.ConsumeRemainingBytesAsString();
    files.files[ExMenuFilePath(kApp)] = original;
    IniProfile profile(files, fuzz::Cp932());

    EntryStore entries;
    entries.ResizeEntryArrays(index);
    entries.slots[index].PathName = "[group]";
    const ExMenuSlots shared = LoadExMenu(profile, kApp, index % 100, kExMenuSlotLimit - 1);
    const std::vector<int> done = SeparateSharedGroupSections(entries, profile, kApp);
    if (done.empty()) return 0;  // the file says the group has its own section already

    fuzz::Check(done == std::vector<int>{index}, "only the group gets its own section");
    if (fuzz::RereadsDifferently(original, files.files[ExMenuFilePath(kApp)])) return 0;
    const ExMenuSlots own = LoadExMenu(profile, kApp, index, kExMenuSlotLimit - 1);
    // A section of that name without the mark may hold leftovers where the
    // shared one is empty; every member the group showed must be there.
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
    return 0;
}
