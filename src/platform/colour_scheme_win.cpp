#include "platform/colour_scheme_win.h"

#include <uxtheme.h>

#include <algorithm>

#include "platform/handles_win.h"
#include "platform/registry_win.h"

namespace tavi {
namespace {

Palette ReadPalette() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    // TAVI_HIGH_CONTRAST=1 draws the high-contrast palette on a system that
    // cannot switch the mode on (Wine answers "off" whatever it holds), so
    // the palette can be pictured there in the system colours set for it.
    wchar_t forced[2] = {};
    const bool highContrast = (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                               (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0) ||
                              (GetEnvironmentVariableW(L"TAVI_HIGH_CONTRAST", forced, 2) == 1 && forced[0] == L'1');
    Win32Registry registry;
    return PaletteFor(ChooseColourMode(registry, highContrast));
}

Palette& Held() {
    static Palette palette = ReadPalette();
    return palette;
}

int SystemIndex(SystemColour colour) {
    switch (colour) {
        case SystemColour::ButtonFace: return COLOR_BTNFACE;
        case SystemColour::ButtonText: return COLOR_BTNTEXT;
        case SystemColour::ButtonShadow: return COLOR_BTNSHADOW;
        case SystemColour::ButtonHighlight: return COLOR_BTNHIGHLIGHT;
        case SystemColour::Window: return COLOR_WINDOW;
        case SystemColour::WindowText: return COLOR_WINDOWTEXT;
        case SystemColour::Highlight: return COLOR_HIGHLIGHT;
        case SystemColour::HighlightText: return COLOR_HIGHLIGHTTEXT;
        case SystemColour::HotLight: return COLOR_HOTLIGHT;
        case SystemColour::GrayText: return COLOR_GRAYTEXT;
    }
    return COLOR_BTNFACE;
}

// The build of Windows, which the system's version functions hide from
// programs that do not declare the newest system in their manifest.
DWORD WindowsBuild() {
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    const auto get = reinterpret_cast<RtlGetVersionFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    return get && get(&version) == 0 && version.dwMajorVersion >= 10 ? version.dwBuildNumber : 0;
}

bool darkEverApplied = false;  // a window or the menus were once made dark: light must be put back

// Popup menus follow the app mode through two functions uxtheme exports
// only by number (135: the app's preferred mode, 136: the menus' themes
// read again), present from Windows 10 1809 (build 17763) on; 1809 takes a
// BOOL where later builds take a mode, and 1 and 0 mean the same to both.
void ApplyMenuColours(bool dark) {
    if (!dark && !darkEverApplied) return;
    if (WindowsBuild() < 17763) return;
    HMODULE uxtheme = GetModuleHandleW(L"uxtheme.dll");
    if (!uxtheme) uxtheme = LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!uxtheme) return;
    using SetModeFn = int(WINAPI*)(int);
    using FlushFn = void(WINAPI*)();
    const auto setMode = reinterpret_cast<SetModeFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, MAKEINTRESOURCEA(135))));
    const auto flush = reinterpret_cast<FlushFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, MAKEINTRESOURCEA(136))));
    if (!setMode || !flush) return;
    setMode(dark ? 1 : 0);  // AllowDark, Default
    flush();
    darkEverApplied = darkEverApplied || dark;
}

// Selects the DC's own pen and brush in one colour and puts back what was there.
class SolidInk {
public:
    SolidInk(HDC dc, COLORREF colour)
        : dc_(dc), pen_(SelectObject(dc, GetStockObject(DC_PEN))), brush_(SelectObject(dc, GetStockObject(DC_BRUSH))) {
        SetDCPenColor(dc, colour);
        SetDCBrushColor(dc, colour);
    }
    ~SolidInk() {
        SelectObject(dc_, pen_);
        SelectObject(dc_, brush_);
    }
    SolidInk(const SolidInk&) = delete;
    SolidInk& operator=(const SolidInk&) = delete;

private:
    HDC dc_;
    HGDIOBJ pen_, brush_;
};

void DrawGlyph(HDC dc, const RECT& rect, Glyph glyph, COLORREF colour) {
    const int width = static_cast<int>(rect.right - rect.left), height = static_cast<int>(rect.bottom - rect.top);
    const int size = std::max(3, std::min(width, height) / 2);
    const int left = static_cast<int>(rect.left) + (width - size) / 2;
    const int top = static_cast<int>(rect.top) + (height - size) / 2;
    if (glyph == Glyph::Close) {
        const OwnedPen pen(CreatePen(PS_SOLID, std::max(1, size / 6), colour));
        if (!pen) return;
        const Selected selected(dc, pen.Get());
        MoveToEx(dc, left, top, nullptr);
        LineTo(dc, left + size, top + size);
        MoveToEx(dc, left + size, top, nullptr);
        LineTo(dc, left, top + size);
        return;
    }
    // A solid triangle half as deep as it is wide, pointing the glyph's way.
    const int half = size / 2, depth = std::max(2, size / 2);
    const int middleX = left + half, middleY = top + half;
    POINT points[3];
    switch (glyph) {
        case Glyph::Left:
            points[0] = {middleX - depth / 2, middleY};
            points[1] = {middleX + depth / 2, middleY - half};
            points[2] = {middleX + depth / 2, middleY + half};
            break;
        case Glyph::Right:
            points[0] = {middleX + depth / 2, middleY};
            points[1] = {middleX - depth / 2, middleY - half};
            points[2] = {middleX - depth / 2, middleY + half};
            break;
        case Glyph::Up:
            points[0] = {middleX, middleY - depth / 2};
            points[1] = {middleX - half, middleY + depth / 2};
            points[2] = {middleX + half, middleY + depth / 2};
            break;
        default:
            points[0] = {middleX, middleY + depth / 2};
            points[1] = {middleX - half, middleY - depth / 2};
            points[2] = {middleX + half, middleY - depth / 2};
            break;
    }
    SolidInk ink(dc, colour);
    Polygon(dc, points, 3);
}

}  // namespace

const Palette& CurrentPalette() {
    static const bool menusSet = [] {
        ApplyMenuColours(Held().darkChrome);
        return true;
    }();
    (void)menusSet;
    return Held();
}

bool ColourSettingChanged(UINT message, WPARAM wParam, LPARAM lParam) {
    const bool mayChange =
        message == WM_SYSCOLORCHANGE ||
        (message == WM_SETTINGCHANGE &&
         (wParam == SPI_SETHIGHCONTRAST ||
          (lParam && CompareStringOrdinal(reinterpret_cast<LPCWSTR>(lParam), -1, L"ImmersiveColorSet", -1, TRUE) ==
                         CSTR_EQUAL)));
    if (!mayChange) return false;
    const Palette now = ReadPalette();
    Palette& held = Held();
    if (now.mode != held.mode) {
        held = now;
        ApplyMenuColours(held.darkChrome);
    }
    return true;
}

COLORREF ColourOf(const PaletteColour& colour) {
    return colour.system ? GetSysColor(SystemIndex(*colour.system)) : static_cast<COLORREF>(colour.fixed);
}

void FillWithColour(HDC dc, const RECT& area, const PaletteColour& colour) {
    if (colour.system) {
        FillRect(dc, &area, GetSysColorBrush(SystemIndex(*colour.system)));
        return;
    }
    const COLORREF previous = SetDCBrushColor(dc, colour.fixed);
    FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(dc, previous);
}

void DrawButtonFrame(HDC dc, RECT rect, ButtonFrame frame) {
    const Palette& palette = CurrentPalette();
    if (palette.systemFrames) {
        static constexpr UINT kEdges[] = {EDGE_RAISED, EDGE_SUNKEN, BDR_RAISEDINNER, BDR_SUNKENOUTER};
        DrawEdge(dc, &rect, kEdges[static_cast<int>(frame)], BF_RECT);
        return;
    }
    const bool raised = frame == ButtonFrame::Raised || frame == ButtonFrame::Hot;
    const PaletteColour& lit = raised ? palette.edgeLight : palette.edgeShadow;
    const PaletteColour& shaded = raised ? palette.edgeShadow : palette.edgeLight;
    FillWithColour(dc, {rect.left, rect.top, rect.right, rect.top + 1}, lit);
    FillWithColour(dc, {rect.left, rect.top, rect.left + 1, rect.bottom}, lit);
    FillWithColour(dc, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, shaded);
    FillWithColour(dc, {rect.right - 1, rect.top, rect.right, rect.bottom}, shaded);
}

void DrawRunningMark(HDC dc, const RECT& button, int pictureSize) {
    const int width = std::max(4, pictureSize / 2);
    const int height = std::max(2, pictureSize / 12);
    const int left = button.left + (button.right - button.left - width) / 2;
    const int bottom = std::min<int>(button.bottom - 1,
                                     button.top + (button.bottom - button.top + pictureSize) / 2 + height + 1);
    FillWithColour(dc, RECT{left, bottom - height, left + width, bottom}, CurrentPalette().meterFill);
}

void DrawFocusMark(HDC dc, const RECT& rect) {
    const Palette& palette = CurrentPalette();
    if (palette.systemFrames) {
        DrawFocusRect(dc, &rect);
        return;
    }
    // Dotted, every other pixel, as the system's own mark.
    const COLORREF colour = ColourOf(palette.focus);
    for (int x = rect.left; x < rect.right; x += 2) {
        SetPixelV(dc, x, rect.top, colour);
        SetPixelV(dc, x, rect.bottom - 1, colour);
    }
    for (int y = rect.top; y < rect.bottom; y += 2) {
        SetPixelV(dc, rect.left, y, colour);
        SetPixelV(dc, rect.right - 1, y, colour);
    }
}

void DrawGlyphButton(HDC dc, const RECT& rect, Glyph glyph, bool pushed) {
    const Palette& palette = CurrentPalette();
    FillWithColour(dc, rect, palette.face);
    if (palette.systemFrames) {
        static constexpr UINT kStates[] = {DFCS_CAPTIONCLOSE, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT, DFCS_SCROLLUP,
                                           DFCS_SCROLLDOWN};
        RECT area = rect;
        DrawFrameControl(dc, &area, glyph == Glyph::Close ? DFC_CAPTION : DFC_SCROLL,
                         kStates[static_cast<int>(glyph)] | (pushed ? DFCS_PUSHED : 0));
        return;
    }
    DrawButtonFrame(dc, rect, pushed ? ButtonFrame::Sunken : ButtonFrame::Raised);
    RECT inside = rect;
    if (pushed) OffsetRect(&inside, 1, 1);
    DrawGlyph(dc, inside, glyph, ColourOf(palette.glyph));
}

void ApplyTitleBarColours(HWND window) {
    static bool asked = false;
    const bool dark = CurrentPalette().darkChrome;
    if (!window || (!dark && !asked)) return;
    asked = true;
    // Loaded by name: older systems have no such attribute, and Wine's DWM
    // answers with an error, which leaves the title bar as it is.
    static const auto set = [] {
        using SetFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
        HMODULE dwm = LoadLibraryExW(L"dwmapi.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return dwm ? reinterpret_cast<SetFn>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")))
                   : nullptr;
    }();
    if (!set) return;
    const BOOL value = dark ? TRUE : FALSE;
    // DWMWA_USE_IMMERSIVE_DARK_MODE is 20 from Windows 10 20H1 on, 19 before it.
    if (FAILED(set(window, 20, &value, sizeof value))) (void)set(window, 19, &value, sizeof value);
}

}  // namespace tavi
