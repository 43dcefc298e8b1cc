#pragma once

namespace tavi {

// Restarting the computer, which a display mode may need before it works.
class SystemRestart {
public:
    virtual ~SystemRestart() = default;
    // Asks the system to restart. Programs that hang are ended; the others
    // may still ask their users to save. False when the system refused.
    [[nodiscard]] virtual bool Restart() = 0;
};

}  // namespace tavi
