#pragma once
#include <windows.h>

#include <array>
#include <optional>

#include "dialogs/dialog_win.h"
#include "platform/memory_status.h"
#include "platform/native_window.h"
#include "platform/platform.h"
#include "tools/memory_space.h"

namespace tavi {

// The memory meter `frmMemorySpace`, a modeless window refreshed every five
// seconds until OK (or Escape) closes it. The message loop passes its
// messages through IsDialogMessage(Handle(), ...) while it is open.
class frmMemorySpace {
public:
    frmMemorySpace(Platform& platform, MemoryStatus& memory, SystemResources& resources);
    ~frmMemorySpace();
    frmMemorySpace(const frmMemorySpace&) = delete;
    frmMemorySpace& operator=(const frmMemorySpace&) = delete;

    // Opens the window, or brings it forward when it is open. False when it
    // could not be created.
    bool Show(NativeWindow owner);
    void Close();
    // The window while it is open, else null.
    HWND Handle() const { return hwnd_; }

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInit();
    void Refresh();
    void DrawBar(const DRAWITEMSTRUCT& item) const;

    Platform& platform_;
    MemoryStatus& memory_;
    SystemResources& resources_;
    HWND hwnd_ = nullptr;
    DialogFont font_;
    // What each bar shows: a percentage, or the missing-library message.
    std::array<std::optional<PercentBar>, 4> bars_;
    std::array<bool, 4> missing_{};
};

}  // namespace tavi
