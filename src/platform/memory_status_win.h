#pragma once
#include <windows.h>

#include "platform/memory_status.h"

namespace tavi {

class Win32MemoryStatus final : public MemoryStatus {
public:
    std::optional<MemoryFigures> Physical() override;
};

// Asks "rsrc32.dll" from the system folder, which only the Windows 95 family
// has (and a 64-bit program could not load anyway).
class Win32SystemResources final : public SystemResources {
public:
    std::optional<int> FreePercent(ResourceKind kind) override;
};

}  // namespace tavi
