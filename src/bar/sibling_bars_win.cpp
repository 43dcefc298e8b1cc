#include "bar/sibling_bars_win.h"

#include <algorithm>

#include "bar/appbar_win.h"
#include "platform/handles_win.h"
#include "platform/loop_waits_win.h"

namespace tavi {
namespace {

constexpr wchar_t kBarClass[] = L"TaviMenu2";

}  // namespace

struct SiblingBars::Watch {
    HWND bar = nullptr;
    HWND own = nullptr;
    UINT ended = 0;
    OwnedHandle process;
    HANDLE wait = nullptr;  // the pool's, where the message loop has no room
    bool inLoop = false;    // the message loop waits for its end

    ~Watch() {
        if (inLoop) loop_waits::Remove(process.Get());
        // Waits for a callback under way, so none runs on a freed watch.
        if (wait) UnregisterWaitEx(wait, INVALID_HANDLE_VALUE);
    }
    static void CALLBACK ProcessEnded(void* context, BOOLEAN) {
        const auto* watch = static_cast<const Watch*>(context);
        PostMessageW(watch->own, watch->ended, reinterpret_cast<WPARAM>(watch->bar), 0);
    }
};

SiblingBars::SiblingBars() = default;
SiblingBars::~SiblingBars() = default;

void SiblingBars::Attach(HWND own, UINT endedMessage) {
    own_ = own;
    ended_ = endedMessage;
    started_ = RegisterWindowMessageW(L"TaviMenu2.BarStarted");
}

void SiblingBars::Announce() const {
    if (started_) PostMessageW(HWND_BROADCAST, started_, 0, reinterpret_cast<LPARAM>(own_));
}

void SiblingBars::Refresh() {
    std::vector<HWND> bars;
    for (HWND bar = FindWindowExW(nullptr, nullptr, kBarClass, nullptr); bar;
         bar = FindWindowExW(nullptr, bar, kBarClass, nullptr))
        if (bar != own_) bars.push_back(bar);
    for (HWND bar : bars) {
        if (std::any_of(known_.begin(), known_.end(), [&](const auto& w) { return w->bar == bar; })) continue;
        DWORD pid = 0;
        GetWindowThreadProcessId(bar, &pid);
        auto watch = std::make_unique<Watch>();
        watch->bar = bar;
        watch->own = own_;
        watch->ended = ended_;
        watch->process.Reset(OpenProcess(SYNCHRONIZE, FALSE, pid));
        if (watch->process)
            watch->inLoop = loop_waits::Add(watch->process.Get(),
                                            [context = watch.get()] { Watch::ProcessEnded(context, TRUE); });
        if (watch->process && !watch->inLoop &&
            !RegisterWaitForSingleObject(&watch->wait, watch->process.Get(), &Watch::ProcessEnded, watch.get(),
                                         INFINITE, WT_EXECUTEONLYONCE))
            watch->wait = nullptr;
        known_.push_back(std::move(watch));
    }
}

void SiblingBars::Ended(HWND bar) {
    // A bar that closed has removed its strip; a killed one's window is gone with it still held.
    if (!IsWindow(bar)) AppBar::RemoveEnded(bar);
    std::erase_if(known_, [&](const auto& w) { return w->bar == bar; });
}

}  // namespace tavi
