#pragma once
#include <cstdint>
#include <optional>

namespace tavi {

struct MemoryFigures {
    uint32_t loadPercent = 0;  // 0..100
    uint64_t totalPhysical = 0;
    uint64_t availablePhysical = 0;
};

// The memory meter's view of the system.
class MemoryStatus {
public:
    virtual ~MemoryStatus() = default;
    // Physical memory, nothing when the system would not say.
    virtual std::optional<MemoryFigures> Physical() = 0;
};

// Free system, user and GDI resources, which only the Windows 95 family
// reports (through "rsrc32.dll").
enum class ResourceKind { System = 0, Gdi = 1, User = 2 };

class SystemResources {
public:
    virtual ~SystemResources() = default;
    // The free percentage, nothing when the resource library cannot be used.
    virtual std::optional<int> FreePercent(ResourceKind kind) = 0;
};

}  // namespace tavi
