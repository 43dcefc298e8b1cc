#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "dialogs/new_app.h"
#include "platform/handles_win.h"
#include "platform/icon_files.h"
#include "platform/picture_fetches.h"

namespace tavi {

// The icon picture of the entry dialogs: an owner-drawn control showing one
// icon at 32 pixels scaled for the dialog's dpi, centred on the button face.
// With the icon files' workers, files are counted and drawn by them, so a
// file on a drive that does not answer never holds the dialog: the generic
// picture shows until they are done.
class PreviewIcon final : public PictureListener {
public:
    explicit PreviewIcon(IconFiles& icons) : icons_(icons), workers_(icons.Workers()) {}
    ~PreviewIcon() override;
    PreviewIcon(const PreviewIcon&) = delete;
    PreviewIcon& operator=(const PreviewIcon&) = delete;

    // How many icons files hold, for the dialog's preview: a count not known
    // yet is asked of the workers, and `counted` runs when it comes.
    IconCounts Counts();
    void WhenCounted(std::function<void()> counted) { counted_ = std::move(counted); }

    // Sizes `control` for `size` pixels and shows what `preview` names in it.
    void Show(HWND control, const IconPreview& preview, int size);
    void Draw(const DRAWITEMSTRUCT& item, int size) const;
    HICON Icon() const { return icon_.Get(); }

    void PictureArrived(const std::string& fetch, const PictureAnswer& answer) override;

private:
    IconFiles& icons_;
    PictureFetches* workers_;
    std::map<std::string, int> counts_;
    std::function<void()> counted_;
    OwnedIcon icon_;
    HWND control_ = nullptr;
    IconPreview shown_;
    int size_ = 0;
    int asked_ = 0;  // which showing a picture answers
};

}  // namespace tavi
