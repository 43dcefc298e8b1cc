// Display mode captions read back into modes: any text either names a mode
// with a positive size and depth or nothing, and a mode's own caption reads
// back as that mode.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "menus/display_menu.h"

using namespace tavi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    DisplayMode mode;
    mode.width = input.ConsumeIntegral<int>();
    mode.height = input.ConsumeIntegral<int>();
    mode.bitsPerPel = input.ConsumeIntegral<int>();
    mode.frequency = input.ConsumeIntegral<int>();
    const std::string caption = input.ConsumeRemainingBytesAsString();

    // Any mode a driver could report gets a caption; a sane one reads back.
    const std::string own = DisplayModeCaption(mode);
    const bool sane = mode.width > 0 && mode.height > 0 && mode.bitsPerPel > 0 && mode.frequency >= 0 &&
                      mode.width <= 999999999 && mode.height <= 999999999 && mode.bitsPerPel <= 999999999 &&
                      mode.frequency <= 999999999;
    if (sane) {
        const std::optional<DisplayMode> back = ParseDisplayModeCaption(own);
        fuzz::Check(back && *back == mode, "a mode's caption reads back as the mode", own);
    }

    if (const std::optional<DisplayMode> parsed = ParseDisplayModeCaption(caption)) {
        fuzz::Check(parsed->width > 0 && parsed->height > 0 && parsed->bitsPerPel > 0 && parsed->frequency >= 0,
                    "a caption names a mode with a size and a depth", caption);
        const std::optional<DisplayMode> again = ParseDisplayModeCaption(DisplayModeCaption(*parsed));
        fuzz::Check(again && *again == *parsed, "the mode a caption names has a caption of its own", caption);
    }
    return 0;
}
