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

// The memory meter `MemorySpaceDialog`, a modeless window refreshed every five
// seconds until OK (or Escape) closes it. The message loop passes its
// messages through IsDialogMessage(Handle(), ...) while it is open.
class MemorySpaceDialog final : public Dialog {
public:
    MemorySpaceDialog(Platform& platform, MemoryStatus& memory, SystemResources& resources);
    ~MemorySpaceDialog() override;

    // Opens the window, or brings it forward when it is open. False when it
    // could not be created.
    bool Show(NativeWindow owner);
    void Close();
    // Handle(): the window while it is open, else null.

protected:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Refresh();
    void DrawBar(const DRAWITEMSTRUCT& item) const;

    Platform& platform_;
    MemoryStatus& memory_;
    SystemResources& resources_;
    // What each bar shows: a percentage, or the missing-library message.
    std::array<std::optional<PercentBar>, 4> bars_;
    std::array<bool, 4> missing_{};
};

}  // namespace tavi
