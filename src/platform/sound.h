#pragma once
#include <string>

namespace tavi {

// Wave files for the alarm and its test buttons.
class Sound {
public:
    virtual ~Sound() = default;
    // Plays `path`; asynchronous playback returns at once, a new sound ends
    // any sound still playing. False when the system refused it.
    virtual bool PlayWave(const std::string& path, bool asynchronous) = 0;
    // Ends any sound still playing.
    virtual void StopWave() = 0;
};

}  // namespace tavi
