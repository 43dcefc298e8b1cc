#pragma once
#include <windows.h>

#include <memory>
#include <vector>

namespace tavi {

// The bars of this program running from other folders. Each new bar says so
// by a broadcast; each one's end, even a killed program's, is learnt by
// waiting on its process, so the strip a killed bar leaves with the shell is
// removed and the others close up.
class SiblingBars {
public:
    SiblingBars();
    ~SiblingBars();
    SiblingBars(const SiblingBars&) = delete;
    SiblingBars& operator=(const SiblingBars&) = delete;

    // `own` receives `startedMessage` (another bar started: Refresh) and
    // `endedMessage` with the ended bar's window in wParam (call Ended).
    void Attach(HWND own, UINT endedMessage);
    UINT StartedMessage() const { return started_; }
    // Tells the other bars that this one is up.
    void Announce() const;
    // Finds the other bars and waits on those not yet known.
    void Refresh();
    // One of them ended: its strip goes, if its program left it behind.
    void Ended(HWND bar);
    // How many other bars run now.
    int Count() const { return static_cast<int>(known_.size()); }

private:
    struct Watch;
    HWND own_ = nullptr;
    UINT started_ = 0;
    UINT ended_ = 0;
    std::vector<std::unique_ptr<Watch>> known_;
};

}  // namespace tavi
