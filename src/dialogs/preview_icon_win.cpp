#include "dialogs/preview_icon_win.h"

#include "bar/stock_icons_win.h"
#include "dialogs/dialog_win.h"
#include "platform/icon_files_win.h"
#include "platform/picture_workers_win.h"

namespace tavi {

PreviewIcon::~PreviewIcon() {
    if (workers_) workers_->Forget(*this);
}

IconCounts PreviewIcon::Counts() {
    if (!workers_) return CountNow(icons_);
    return CountThrough(*workers_, *this, counts_);
}

void PreviewIcon::Show(HWND control, const IconPreview& preview, int size) {
    SetClientSize(control, size, size);
    // The same picture at the same size is already shown or on its way.
    if (control == control_ && preview == shown_ && size == size_) return;
    control_ = control;
    shown_ = preview;
    size_ = size;
    ++asked_;
    switch (preview.kind) {
        case IconPreview::Kind::None: icon_.Reset(nullptr); break;
        case IconPreview::Kind::Coming: icon_.Reset(CreateStockIcon(StockIcon::Nothing, size)); break;
        case IconPreview::Kind::Folder: icon_.Reset(CreateStockIcon(StockIcon::Folder, size)); break;
        case IconPreview::Kind::Extract:
            if (!workers_) {
                icon_.Reset(LoadFileIcon(preview.file, preview.index, size));
                break;
            }
            icon_.Reset(CreateStockIcon(StockIcon::Nothing, size));
            PictureRequest request;
            request.path = preview.file;
            request.index = preview.index;
            request.size = size;
            (void)workers_->Ask(*this, "p|" + std::to_string(asked_), request, PictureFetches::Clock::now());
            break;
    }
    InvalidateRect(control, nullptr, TRUE);
}

void PreviewIcon::PictureArrived(const std::string& fetch, const PictureAnswer& answer) {
    if (fetch.starts_with("n|")) {
        counts_[fetch.substr(2)] = answer.iconCount;
        if (counted_) counted_();
        return;
    }
    // Only the picture of what shows now; a file that gave none keeps the generic one.
    if (fetch != "p|" + std::to_string(asked_) || !control_ || !IsWindow(control_)) return;
    if (HICON icon = ButtonIconOf(answer, size_)) icon_.Reset(icon);
    InvalidateRect(control_, nullptr, TRUE);
}

void PreviewIcon::Draw(const DRAWITEMSTRUCT& item, int size) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!icon_) return;
    const int left = item.rcItem.left + (item.rcItem.right - item.rcItem.left - size) / 2;
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - size) / 2;
    DrawIconEx(item.hDC, left, top, icon_.Get(), size, size, 0, nullptr, DI_NORMAL);
}

}  // namespace tavi
