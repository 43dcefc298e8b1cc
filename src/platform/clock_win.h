#pragma once
#include <windows.h>

#include "platform/clock.h"

namespace tavi {

// The system's local time (GetLocalTime).
class Win32Clock final : public Clock {
public:
    LocalTime Now() override;
};

}  // namespace tavi
