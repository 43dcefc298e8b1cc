#pragma once
#include <windows.h>

#include "tools/local_time.h"

namespace tavi {

// The system's local time now (GetLocalTime), for the alarm check of Timer1.
LocalTime CurrentLocalTime();

}  // namespace tavi
