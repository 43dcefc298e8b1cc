#pragma once
#include <cstdint>

#include "platform/native_window.h"

// The restart question asked when a display mode works only after the
// computer restarts; the dialog `RebootDialog` ("互換性の警告") answers it.
namespace tavi {

// RebootChoice: what the user answered.
enum class RebootChoice : int16_t {
    Cancel = 0,      // nothing is changed
    RestartNow = 1,  // store the mode and restart the computer
    StoreOnly = 2,   // store the mode for the next start, no restart
};

// Shows RebootDialog; implemented by its Win32 view and by fakes.
class RebootPrompt {
public:
    virtual ~RebootPrompt() = default;
    virtual RebootChoice Ask(NativeWindow owner) = 0;
};

}  // namespace tavi
