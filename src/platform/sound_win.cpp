#include <windows.h>

#include <mmsystem.h>

#include "platform/tool_adapters_win.h"
#include "platform/wide_win.h"

namespace tavi {

bool Win32Sound::PlayWave(const std::string& path, bool asynchronous) {
    // A file that is missing or not a wave file gets the system's default
    // sound, as an alarm should still be heard.
    const DWORD flags = SND_FILENAME | (asynchronous ? SND_ASYNC : SND_SYNC);
    return PlaySoundW(Widen(path).c_str(), nullptr, flags) != FALSE;
}

void Win32Sound::StopWave() { PlaySoundW(nullptr, nullptr, 0); }

}  // namespace tavi
