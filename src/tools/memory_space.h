#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/rect.h"
#include "platform/file_system.h"
#include "platform/memory_status.h"
#include "platform/system_info.h"

// The memory meter `MemorySpaceDialog`: memory load and free resources as
// percentage bars, and the physical memory in kilobytes.
namespace tavi {

inline constexpr unsigned kMemorySpaceRefreshMs = 5000;

// One bar: the number it shows and how much of it is filled.
struct PercentBar {
    int percent = 0;
    double fraction = 0;
    std::string Text() const { return std::to_string(percent) + "%"; }
    bool operator==(const PercentBar&) const = default;
};

// The shown number is the fraction in whole percent; unless `exact`, a bar
// never shows 0 % or 100 % (1 % and 99 % instead), while the fill still
// follows the fraction.
PercentBar PlanPercentBar(double fraction, bool exact = false);

// Where a bar's parts go in a box of the given size, with its text measured.
struct PercentBarLayout {
    Rect text;  // the text, drawn at its top left
    Rect fill;  // the filled part, over which the text shows in the fill's own text colour
};
PercentBarLayout LayOutPercentBar(const PercentBar& bar, int boxWidth, int boxHeight, int textWidth,
                                  int textHeight);

// What one refresh shows. Values that could not be read are left as they were.
struct MemorySpaceView {
    std::optional<std::string> totalPhys;  // lblTotalPhys
    std::optional<std::string> availPhys;  // lblAvailPhys
    std::optional<PercentBar> load;        // picMemoryLoad(0)
    enum class Resources { Unchanged, Missing, Shown };
    Resources resources = Resources::Unchanged;
    std::array<PercentBar, 3> resourceBars;  // picMemoryLoad(1..3): system, user, GDI
};

// Whole kilobytes with thousands separators and " KB".
std::string FormatKilobytes(uint64_t bytes, std::string_view thousandsSeparator = ",");

MemorySpaceView MemorySpaceRefresh(MemoryStatus& memory, SystemResources& resources, SystemInfo& system,
                                   FileSystem& files, std::string_view thousandsSeparator = ",");

}  // namespace tavi
