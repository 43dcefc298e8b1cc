#include "tools/memory_space.h"

#include <algorithm>
#include <cmath>

#include "platform/messages.h"
#include "app/number_format.h"

namespace tavi {

PercentBar PlanPercentBar(double fraction, bool exact) {
    PercentBar bar;
    bar.fraction = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 0.0;
    bar.percent = static_cast<int>(std::floor(bar.fraction * 100 + 0.5));
    if (!exact) bar.percent = std::clamp(bar.percent, 1, 99);
    return bar;
}

PercentBarLayout LayOutPercentBar(const PercentBar& bar, int boxWidth, int boxHeight, int textWidth,
                                  int textHeight) {
    PercentBarLayout layout;
    const int x = boxWidth / 2 - textWidth / 2;
    const int y = boxHeight / 2 - textHeight / 2;
    layout.text = MakeRect(x, y, textWidth, textHeight);
    const int filled = static_cast<int>(std::lround(boxWidth * bar.fraction));
    layout.fill = bar.fraction > 0 ? MakeRect(0, 0, filled, boxHeight) : Rect{};
    return layout;
}

std::string FormatKilobytes(uint64_t bytes, std::string_view separator) {
    return GroupThousands(bytes / 1024, separator) + std::string(text::kKilobytes);
}

MemorySpaceView MemorySpaceRefresh(MemoryStatus& memory, SystemResources& resources, SystemInfo& system,
                                   FileSystem& files, std::string_view separator) {
    MemorySpaceView view;
    if (const auto figures = memory.Physical()) {
        view.availPhys = FormatKilobytes(figures->availablePhysical, separator);
        view.totalPhys = FormatKilobytes(figures->totalPhysical, separator);
        const uint32_t load = std::min<uint32_t>(figures->loadPercent, 100);
        view.load = load != 0 ? PlanPercentBar(load / 100.0) : PlanPercentBar(0, true);
    }
    const std::string systemDirectory = system.SystemDirectory();
    if (systemDirectory.empty()) return view;
    view.resources = MemorySpaceView::Resources::Missing;
    if (!files.FileExists(systemDirectory + "\\rsrc32.dll")) return view;
    // Bars 1..3 are the system, user and GDI resources.
    static constexpr ResourceKind kKinds[] = {ResourceKind::System, ResourceKind::User, ResourceKind::Gdi};
    for (size_t i = 0; i < 3; ++i) {
        const auto percent = resources.FreePercent(kKinds[i]);
        // A library that is there but cannot be used (a 32-bit one in a
        // 64-bit program) is as good as missing.
        if (!percent) return view;
        view.resourceBars[i] = *percent > 0 ? PlanPercentBar(*percent / 100.0) : PlanPercentBar(0, true);
    }
    view.resources = MemorySpaceView::Resources::Shown;
    return view;
}

}  // namespace tavi
