#include "tools/monitor_picture_win.h"

#include <algorithm>

#include "platform/handles_win.h"
#include "tools/option_set.h"

namespace tavi {
namespace {

// The picture in its own twips, mapped onto the area.
class PictureScale {
public:
    explicit PictureScale(const RECT& area) : area_(area) {}
    RECT Map(const Rect& twips) const {
        return RECT{X(twips.left), Y(twips.top), X(twips.right), Y(twips.bottom)};
    }
    RECT Offset(const Rect& pixels) const {
        return RECT{area_.left + pixels.left, area_.top + pixels.top, area_.left + pixels.right,
                    area_.top + pixels.bottom};
    }

private:
    int X(int twips) const { return area_.left + MulDiv(twips, area_.right - area_.left, kMonitorPictureWidth); }
    int Y(int twips) const { return area_.top + MulDiv(twips, area_.bottom - area_.top, kMonitorPictureHeight); }
    RECT area_;
};

void Box(HDC dc, const RECT& box, COLORREF fill, COLORREF edge) {
    const OwnedBrush brush(CreateSolidBrush(fill));
    const OwnedBrush frame(CreateSolidBrush(edge));
    if (brush) FillRect(dc, &box, brush.Get());
    if (frame) FrameRect(dc, &box, frame.Get());
}

}  // namespace

void DrawMonitorPicture(HDC dc, const RECT& area, int position, const std::wstring& number, HFONT font) {
    const PictureScale scale(area);
    const COLORREF edge = RGB(64, 64, 64);
    const COLORREF casing = RGB(212, 208, 200);
    Box(dc, scale.Map({810, 1755, 1485, 1875}), casing, edge);  // neck
    Box(dc, scale.Map({450, 1860, 1845, 1965}), casing, edge);  // foot
    Box(dc, scale.Map({60, 60, 2235, 1770}), casing, edge);     // front
    Box(dc, scale.Map({1965, 1635, 2085, 1695}), RGB(0, 160, 0), edge);  // power lamp
    const Rect screen = MonitorScreenTwips();
    RECT glass = scale.Map(screen);
    InflateRect(&glass, 1, 1);
    Box(dc, glass, RGB(0, 128, 128), RGB(0, 0, 0));
    const Rect preview =
        PreviewOnPicture(position, area.right - area.left, area.bottom - area.top);
    Box(dc, scale.Offset(preview), RGB(192, 192, 192), RGB(0, 0, 128));
    if (number.empty()) return;
    // The dialog's face, a third of the screen's height, as the system shows a monitor's number.
    LOGFONTW face{};
    if (font) GetObjectW(font, sizeof face, &face);
    face.lfHeight = -std::max(1L, (glass.bottom - glass.top) / 3);
    face.lfWidth = 0;
    face.lfWeight = FW_BOLD;
    const OwnedFont large(CreateFontIndirectW(&face));
    const Selected selected(dc, large.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextW(dc, number.c_str(), static_cast<int>(number.size()), &glass,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace tavi
