#pragma once
#include <windows.h>

#include <functional>
#include <memory>

#include "platform/handles_win.h"
#include "platform/mailbox_win.h"
#include "platform/picture_fetches.h"

namespace tavi {

using PictureMailbox = WorkerMailbox<uint64_t, PictureAnswer>;

// Fetches pictures on threads of their own and hands the answers back to
// the thread that made it, through a message-only window of its own. Make
// it on the UI thread. A worker stuck in the file system is never ended; it
// frees what it holds if it ever returns, after this is gone too.
class Win32Pictures final : public PictureWorkers {
public:
    // `beforeFetch` runs on each worker before it fetches; tests hold a
    // worker there to see what a drive that does not answer does.
    explicit Win32Pictures(PictureLimits limits = {}, std::function<void(const PictureRequest&)> beforeFetch = {});
    ~Win32Pictures() override;
    Win32Pictures(const Win32Pictures&) = delete;
    Win32Pictures& operator=(const Win32Pictures&) = delete;

    PictureFetches& Fetches() { return fetches_; }
    bool Start(uint64_t job, const PictureRequest& request) override;
    // The answers that came, handed to the fetches now (as the window does
    // on its message).
    void HandOnArrived();

    // Workers started and not yet returned, of every instance.
    static int WorkersAlive();

private:
    std::function<void()> handOn_ = [this] { HandOnArrived(); };  // before the mailbox that calls it
    std::shared_ptr<PictureMailbox> mailbox_;
    std::function<void(const PictureRequest&)> beforeFetch_;
    PictureFetches fetches_;
};

// Fetches one picture on the calling thread, as a worker does. COM must be
// initialised on the thread for shortcuts.
PictureAnswer FetchPictureHere(const PictureRequest& request);

// A menu item's bitmap from the premultiplied pixels of a MenuBitmap answer.
OwnedBitmap MenuBitmapOf(const PictureAnswer& answer, int size);
// An icon from the pixels of a ButtonList answer, or null. The caller destroys it.
HICON ButtonIconOf(const PictureAnswer& answer, int size);

}  // namespace tavi
