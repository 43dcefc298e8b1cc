#pragma once

namespace tavi {

// What the bar's timer asks of the alarm on every tick; the alarm tool
// answers it with the clock's reading.
class AlarmCheck {
public:
    virtual ~AlarmCheck() = default;
    virtual void Check() = 0;
};

}  // namespace tavi
