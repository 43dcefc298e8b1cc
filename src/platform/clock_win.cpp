#include "platform/clock_win.h"

namespace tavi {

LocalTime Win32Clock::Now() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace tavi
