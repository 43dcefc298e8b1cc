#include "dialogs/preview_icon_win.h"

#include "bar/stock_icons_win.h"
#include "dialogs/dialog_win.h"
#include "platform/icon_files_win.h"

namespace tavi {

void PreviewIcon::Show(HWND control, const IconPreview& preview, int size) {
    SetClientSize(control, size, size);
    switch (preview.kind) {
        case IconPreview::Kind::None: icon_.Reset(nullptr); break;
        case IconPreview::Kind::Extract: icon_.Reset(LoadFileIcon(preview.file, preview.index, size)); break;
        case IconPreview::Kind::Folder: icon_.Reset(CreateStockIcon(StockIcon::Folder, size)); break;
    }
    InvalidateRect(control, nullptr, TRUE);
}

void PreviewIcon::Draw(const DRAWITEMSTRUCT& item, int size) const {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!icon_) return;
    const int left = item.rcItem.left + (item.rcItem.right - item.rcItem.left - size) / 2;
    const int top = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - size) / 2;
    DrawIconEx(item.hDC, left, top, icon_.Get(), size, size, 0, nullptr, DI_NORMAL);
}

}  // namespace tavi
