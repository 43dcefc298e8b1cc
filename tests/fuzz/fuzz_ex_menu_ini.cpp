// "TaviMenu2.INI" through the INI reader and the group member store: a group
// of any entry index and size is loaded, saved and loaded again (titles and
// parameters must come back exactly, whatever quotes and blanks they hold).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "app/ex_menu_store.h"
#include "platform/ini_profile.h"

using namespace tavi;

namespace {
const std::string kApp = "C:\\Tavi";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The last bytes choose the group: its entry index and slot count.
    FuzzedDataProvider input(data, size);
    const int entryIndex = input.ConsumeIntegralInRange(-3, 1200);
    // Each slot costs a dozen reads and writes of the whole file, and every
    // slot is handled alike: a few slots load and save, while the limit of a
    // hundred is checked on its own.
    const int exMenuMax = input.ConsumeIntegralInRange(-3, 12);
    const int anyMax = input.ConsumeIntegral<int>();
    const int64_t slots = std::clamp<int64_t>(int64_t{anyMax} + 1, 0, kExMenuSlotLimit);
    fuzz::Check(EmptyExMenu(anyMax).size() == static_cast<size_t>(slots), "a group has 0 to 100 slots");
    fuzz::MemoryFiles files;
    const std::string original = input.ConsumeRemainingBytesAsString();
    files.files[ExMenuFilePath(kApp)] = original;
    IniProfile profile(files, fuzz::Cp932());

    const ExMenuSlots members = LoadExMenu(profile, kApp, entryIndex, exMenuMax);
    fuzz::Check(members.size() == static_cast<size_t>(UsableExMenuMax(exMenuMax) + 1), "slots 0..ExMenuMax are loaded");
    for (const ExMenuEntry& m : members)
        fuzz::Check(fuzz::IsWellFormedUtf8(m.ExTitle + m.ExPathName + m.ExCommand + m.ExRunType), "members are UTF-8");

    fuzz::Check(SaveExMenu(profile, kApp, entryIndex, members, exMenuMax), "a save to memory succeeds");
    if (fuzz::RereadsDifferently(original, files.files[ExMenuFilePath(kApp)])) return 0;
    const ExMenuSlots again = LoadExMenu(profile, kApp, entryIndex, exMenuMax);
    fuzz::Check(again.size() == members.size(), "the same slots read back");
    for (size_t j = 0; j < members.size(); ++j) {
        fuzz::Check(again[j].ExTitle == members[j].ExTitle, "a member's title reads back", members[j].ExTitle);
        fuzz::Check(again[j].ExCommand == members[j].ExCommand, "a member's parameters read back", members[j].ExCommand);
    }
    return 0;
}
