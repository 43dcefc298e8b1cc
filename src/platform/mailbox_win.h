#pragma once
#include <windows.h>

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace tavi {

// What a worker posts to a mailbox window once it has left something there.
inline constexpr UINT kMailboxPosted = WM_APP + 0x50;

// A message-only window of the calling thread: how what workers made reaches
// the UI thread. A worker posts it kMailboxPosted, and `arrived` runs on the
// window's thread; `arrived` must outlive the window. Null when none could
// be made.
HWND CreateMailboxWindow(const std::function<void()>* arrived);

// What workers leave for a mailbox window, shared with them through a
// shared_ptr: a worker stuck past its asker's end still has somewhere to put
// its answer, which is dropped once the window is gone.
template <typename Key, typename Answer>
class WorkerMailbox {
public:
    using Items = std::vector<std::pair<Key, Answer>>;

    bool IsOpen() {
        const std::lock_guard<std::mutex> lock(mutex_);
        return window_ != nullptr;
    }
    void Open(HWND window) {
        const std::lock_guard<std::mutex> lock(mutex_);
        window_ = window;
    }
    // No more is taken; what waits is dropped. The window, for its owner to destroy.
    HWND Close() {
        const std::lock_guard<std::mutex> lock(mutex_);
        items_.clear();
        told_ = false;
        return std::exchange(window_, nullptr);
    }
    // False when nobody takes it any more: the caller frees what it holds.
    bool Put(Key key, Answer answer) {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!window_) return false;
        items_.emplace_back(std::move(key), std::move(answer));
        // One message for however many answers come before it is handled.
        if (!told_) told_ = PostMessageW(window_, kMailboxPosted, 0, 0);
        return true;
    }
    Items Take() {
        Items items;
        const std::lock_guard<std::mutex> lock(mutex_);
        items.swap(items_);
        told_ = false;
        return items;
    }

private:
    std::mutex mutex_;
    HWND window_ = nullptr;
    bool told_ = false;  // a message is on its way
    Items items_;
};

}  // namespace tavi
