#include "bar/stock_icons_win.h"

#include "platform/handles_win.h"
#include "platform/pixel_canvas_win.h"

#include <cstdint>
#include <functional>

namespace tavi {
namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);

// Draws on a 32×32 logical canvas scaled to `size` pixels; pixels left in the
// key colour become transparent.
HBITMAP DrawPicture(PixelCanvas& canvas, int size, const std::function<void(HDC)>& draw) {
    RECT all{0, 0, size, size};
    FillRect(canvas.Dc(), &all, OwnedBrush(CreateSolidBrush(kTransparent)).Get());
    SetMapMode(canvas.Dc(), MM_ANISOTROPIC);
    SetWindowExtEx(canvas.Dc(), 32, 32, nullptr);
    SetViewportExtEx(canvas.Dc(), size, size, nullptr);
    draw(canvas.Dc());
    HBITMAP colour = canvas.Finish();

    // Alpha from the key colour; the mask says the same for old displays.
    for (uint32_t* pixel = canvas.Pixels(); pixel != canvas.Pixels() + size * size; ++pixel)
        *pixel = (*pixel & 0x00FFFFFF) == 0x00FF00FF ? 0 : *pixel | 0xFF000000;
    return colour;
}

void Shape(HDC dc, COLORREF fill, COLORREF line, const std::function<void()>& draw) {
    const OwnedBrush brush(CreateSolidBrush(fill));
    const OwnedPen pen(CreatePen(PS_SOLID, 1, line));
    const Selected brushIn(dc, brush.Get());
    const Selected penIn(dc, pen.Get());
    draw();
}

void DrawDos(HDC dc) {
    Shape(dc, RGB(20, 20, 20), RGB(90, 90, 90), [&] { Rectangle(dc, 2, 4, 30, 28); });
    Shape(dc, RGB(0, 0, 160), RGB(0, 0, 160), [&] { Rectangle(dc, 3, 5, 29, 9); });
    Shape(dc, RGB(230, 230, 230), RGB(230, 230, 230), [&] {
        Rectangle(dc, 6, 13, 8, 15);   // a prompt and a cursor
        Rectangle(dc, 9, 14, 11, 16);
        Rectangle(dc, 6, 17, 8, 19);
        Rectangle(dc, 13, 18, 19, 20);
    });
}

void DrawNothing(HDC dc) {
    const POINT page[] = {{6, 2}, {20, 2}, {26, 8}, {26, 30}, {6, 30}};
    Shape(dc, RGB(255, 255, 255), RGB(110, 110, 110), [&] { Polygon(dc, page, 5); });
    const POINT fold[] = {{20, 2}, {20, 8}, {26, 8}};
    Shape(dc, RGB(210, 210, 210), RGB(110, 110, 110), [&] { Polygon(dc, fold, 3); });
    Shape(dc, RGB(160, 160, 160), RGB(160, 160, 160), [&] {
        Rectangle(dc, 12, 12, 20, 14);  // a question mark from blocks
        Rectangle(dc, 18, 12, 20, 18);
        Rectangle(dc, 15, 17, 19, 19);
        Rectangle(dc, 15, 19, 17, 22);
        Rectangle(dc, 15, 24, 17, 26);
    });
}

void DrawFolder(HDC dc) {
    const POINT tab[] = {{2, 7}, {12, 7}, {15, 10}, {30, 10}, {30, 27}, {2, 27}};
    Shape(dc, RGB(220, 170, 40), RGB(140, 100, 20), [&] { Polygon(dc, tab, 6); });
    const POINT front[] = {{2, 13}, {30, 13}, {30, 27}, {2, 27}};
    Shape(dc, RGB(250, 210, 90), RGB(140, 100, 20), [&] { Polygon(dc, front, 4); });
}

void DrawDrag(HDC dc) {
    const POINT arrow[] = {{3, 2}, {3, 22}, {8, 17}, {12, 26}, {15, 25}, {11, 16}, {18, 16}};
    Shape(dc, RGB(255, 255, 255), RGB(0, 0, 0), [&] { Polygon(dc, arrow, 7); });
    Shape(dc, RGB(255, 255, 255), RGB(0, 0, 0), [&] { Rectangle(dc, 17, 19, 29, 30); });
    Shape(dc, RGB(0, 0, 0), RGB(0, 0, 0), [&] {
        Rectangle(dc, 20, 24, 27, 25);
        Rectangle(dc, 23, 21, 24, 28);
    });
}

void (*Painter(StockIcon icon))(HDC) {
    switch (icon) {
        case StockIcon::Dos: return DrawDos;
        case StockIcon::Nothing: return DrawNothing;
        case StockIcon::Folder: return DrawFolder;
        case StockIcon::Drag: return DrawDrag;
    }
    return DrawNothing;
}

}  // namespace

HICON CreateStockIcon(StockIcon icon, int size) {
    PixelCanvas canvas(size, size);
    if (!canvas.Valid()) return nullptr;
    HBITMAP colour = DrawPicture(canvas, size, Painter(icon));
    const OwnedBitmap mask(canvas.MaskFromAlpha());
    ICONINFO info{TRUE, 0, 0, mask.Get(), colour};
    return CreateIconIndirect(&info);
}

int AddStockPicture(PictureList& list, StockIcon icon) {
    PixelCanvas canvas(list.Size(), list.Size());
    if (!canvas.Valid()) return -1;
    DrawPicture(canvas, list.Size(), Painter(icon));
    return list.Add(canvas.Pixels());
}

}  // namespace tavi
