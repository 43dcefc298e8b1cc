#pragma once
#include <windows.h>

#include "dialogs/new_app.h"
#include "platform/handles_win.h"

namespace tavi {

// The icon picture of the entry dialogs: an owner-drawn control showing one
// icon at 32 pixels scaled for the dialog's dpi, centred on the button face.
class PreviewIcon {
public:
    PreviewIcon() = default;
    PreviewIcon(const PreviewIcon&) = delete;
    PreviewIcon& operator=(const PreviewIcon&) = delete;

    // Sizes `control` for `size` pixels and shows what `preview` names in it.
    void Show(HWND control, const IconPreview& preview, int size);
    void Draw(const DRAWITEMSTRUCT& item, int size) const;

private:
    OwnedIcon icon_;
};

}  // namespace tavi
