#include "dialogs/dialog_colours_win.h"

#include <uxtheme.h>

#include <algorithm>
#include <map>
#include <string>

#include "platform/colour_scheme_win.h"
#include "platform/handles_win.h"
#include "platform/pixel_canvas_win.h"
#include "platform/window_win.h"

namespace tavi {
namespace {

bool everDark = false;  // controls were once given the dark look: light must be put back

bool DrawnByUs() { return !CurrentPalette().systemFrames; }

// One brush per colour for the life of the program: a control may keep the
// brush it was given and fill with it later, in a DC of its own.
HBRUSH BrushOf(COLORREF colour) {
    static std::map<COLORREF, HBRUSH> brushes;
    HBRUSH& brush = brushes[colour];
    if (!brush) brush = CreateSolidBrush(colour);
    return brush;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<size_t>(std::max(0, GetWindowTextLengthW(window))) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(window, text.data(), static_cast<int>(text.size())))));
    return text;
}

void Frame(HDC dc, const RECT& r, const PaletteColour& colour) {
    FillWithColour(dc, {r.left, r.top, r.right, r.top + 1}, colour);
    FillWithColour(dc, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
    FillWithColour(dc, {r.left, r.top, r.left + 1, r.bottom}, colour);
    FillWithColour(dc, {r.right - 1, r.top, r.right, r.bottom}, colour);
}

// A check box's square or an option button's circle, with its mark.
void DrawMark(HDC dc, const RECT& box, bool radio, LRESULT state, bool enabled) {
    const Palette& p = CurrentPalette();
    const COLORREF ink = ColourOf(enabled ? p.glyph : p.disabledText);
    const int size = box.right - box.left;
    if (radio) {
        const OwnedPen pen(CreatePen(PS_SOLID, 1, ColourOf(p.edgeLight)));
        const Selected penIn(dc, pen.Get());
        const Selected brushIn(dc, BrushOf(ColourOf(p.field)));
        Ellipse(dc, box.left, box.top, box.right, box.bottom);
        if (state == BST_CHECKED) {
            const int inset = std::max(2, size / 4);
            const Selected dot(dc, BrushOf(ink));
            const Selected noPen(dc, GetStockObject(NULL_PEN));
            Ellipse(dc, box.left + inset, box.top + inset, box.right - inset + 1, box.bottom - inset + 1);
        }
        return;
    }
    FillWithColour(dc, box, p.field);
    Frame(dc, box, p.edgeLight);
    if (state == BST_INDETERMINATE) {
        RECT inner = box;
        InflateRect(&inner, -std::max(2, size / 4), -std::max(2, size / 4));
        FillWithColour(dc, inner, enabled ? p.glyph : p.disabledText);
    } else if (state == BST_CHECKED) {
        const OwnedPen pen(CreatePen(PS_SOLID, std::max(1, size / 7), ink));
        const Selected penIn(dc, pen.Get());
        const POINT tick[] = {{box.left + size * 2 / 10, box.top + size / 2},
                              {box.left + size * 4 / 10, box.top + size * 7 / 10},
                              {box.left + size * 8 / 10, box.top + size * 3 / 10}};
        Polyline(dc, tick, 3);
    }
}

// A control that paints in the system's window colours whatever its parent
// says (the hot-key box): in the dark palette it paints into a bitmap first,
// and its grey levels are laid between the box's colour and its text's.
LRESULT CALLBACK PaintRecoloured(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, PaintRecoloured, 0);
    if (!DrawnByUs() || (message != WM_PAINT && message != WM_ERASEBKGND))
        return DefSubclassProc(control, message, wParam, lParam);
    if (message == WM_ERASEBKGND) return 1;
    RECT client{};
    GetClientRect(control, &client);
    PixelCanvas canvas(std::max(1L, client.right), std::max(1L, client.bottom));
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(control, &paint);
    if (canvas.Valid()) {
        canvas.Fill(0xFFFFFFFF);
        DefSubclassProc(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
        const Palette& p = CurrentPalette();
        const COLORREF back = ColourOf(p.field), ink = ColourOf(p.fieldText);
        const auto mix = [](int from, int to, int amount) { return from + (to - from) * amount / 255; };
        uint32_t* pixel = canvas.Pixels();
        for (int i = 0; i < canvas.Width() * canvas.Height(); ++i, ++pixel) {
            const int grey = static_cast<int>(((*pixel >> 16 & 0xFF) + (*pixel >> 8 & 0xFF) + (*pixel & 0xFF)) / 3);
            const int amount = 255 - grey;
            *pixel = 0xFF000000u | static_cast<uint32_t>(mix(GetRValue(back), GetRValue(ink), amount)) << 16 |
                     static_cast<uint32_t>(mix(GetGValue(back), GetGValue(ink), amount)) << 8 |
                     static_cast<uint32_t>(mix(GetBValue(back), GetBValue(ink), amount));
        }
        BitBlt(dc, 0, 0, canvas.Width(), canvas.Height(), canvas.Dc(), 0, 0, SRCCOPY);
    }
    EndPaint(control, &paint);
    return 0;
}

}  // namespace

void ThemeDialogControls(HWND dialog) {
    ApplyTitleBarColours(dialog);
    const Palette& p = CurrentPalette();
    const bool dark = !p.systemFrames;
    EnableThemeDialogTexture(dialog, dark ? ETDT_DISABLE : ETDT_ENABLETAB);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring name = ClassOf(child);
        if (name == HOTKEY_CLASSW) SetWindowSubclass(child, PaintRecoloured, 0, 0);  // once: the same id again is a no-op
        if (name == WC_LISTVIEWW) {
            // A list view takes its colours from messages, not from its parent.
            ListView_SetBkColor(child, ColourOf(p.field));
            ListView_SetTextBkColor(child, ColourOf(p.field));
            ListView_SetTextColor(child, ColourOf(p.fieldText));
        }
        if (!dark && !everDark) continue;
        const bool groupBox = name == WC_BUTTONW && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
        if (groupBox)
            // Drawn classic, in the page's colours: a themed frame keeps its text black.
            SetWindowTheme(child, dark ? L"" : nullptr, dark ? L"" : nullptr);
        else if (name == WC_EDITW || name == WC_COMBOBOXW)
            SetWindowTheme(child, dark ? L"DarkMode_CFD" : nullptr, nullptr);
        else if (name == WC_BUTTONW || name == WC_SCROLLBARW || name == WC_LISTBOXW || name == WC_LISTVIEWW)
            SetWindowTheme(child, dark ? L"DarkMode_Explorer" : nullptr, nullptr);
        InvalidateRect(child, nullptr, TRUE);
    }
    everDark = everDark || dark;
    InvalidateRect(dialog, nullptr, TRUE);
}

INT_PTR DialogControlColours(UINT message, HDC dc) {
    if (!DrawnByUs()) return 0;
    const Palette& p = CurrentPalette();
    const bool field = message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX;
    const COLORREF back = ColourOf(field ? p.field : p.face);
    SetTextColor(dc, ColourOf(field ? p.fieldText : p.glyph));
    SetBkColor(dc, back);
    return reinterpret_cast<INT_PTR>(BrushOf(back));
}

LRESULT DrawButtonInPalette(const NMCUSTOMDRAW& draw) {
    if (!DrawnByUs() || draw.dwDrawStage != CDDS_PREPAINT) return CDRF_DODEFAULT;
    const HWND button = draw.hdr.hwndFrom;
    if (ClassOf(button) != WC_BUTTONW) return CDRF_DODEFAULT;
    const LONG style = GetWindowLongW(button, GWL_STYLE);
    const LONG type = style & BS_TYPEMASK;
    const bool push = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
    const bool radio = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    const bool check = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
    if (!push && !radio && !check) return CDRF_DODEFAULT;

    const Palette& p = CurrentPalette();
    const HDC dc = draw.hdc;
    RECT area = draw.rc;
    const bool enabled = IsWindowEnabled(button) != FALSE;
    const LRESULT cues = SendMessageW(button, WM_QUERYUISTATE, 0, 0);
    const UINT prefix = (cues & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
    const bool focused = (draw.uItemState & CDIS_FOCUS) && !(cues & UISF_HIDEFOCUS);
    const std::wstring caption = TextOf(button);
    const Selected font(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColourOf(enabled ? p.glyph : p.disabledText));
    const int dpi = WindowDpi(button);

    if (push) {
        const bool pushed = (draw.uItemState & CDIS_SELECTED) != 0;
        FillWithColour(dc, area, p.control);
        DrawButtonFrame(dc, area, pushed ? ButtonFrame::Sunken : ButtonFrame::Raised);
        // The default button's ring, as the system marks it.
        if (type == BS_DEFPUSHBUTTON) Frame(dc, area, p.focus);
        RECT text = area;
        if (pushed) OffsetRect(&text, 1, 1);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
                  DT_CENTER | DT_VCENTER | DT_SINGLELINE | prefix);
        if (focused) {
            RECT mark = area;
            InflateRect(&mark, -MulDiv(3, dpi, 96), -MulDiv(3, dpi, 96));
            DrawFocusMark(dc, mark);
        }
        return CDRF_SKIPDEFAULT;
    }

    FillWithColour(dc, area, p.face);
    const int size = MulDiv(13, dpi, 96);
    const int top = area.top + (area.bottom - area.top - size) / 2;
    DrawMark(dc, {area.left, top, area.left + size, top + size}, radio, SendMessageW(button, BM_GETCHECK, 0, 0),
             enabled);
    RECT text{area.left + size + MulDiv(4, dpi, 96), area.top, area.right, area.bottom};
    const UINT lines = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_LEFT | lines | prefix);
    if (focused) {
        RECT measured = text;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measured,
                  DT_LEFT | lines | prefix | DT_CALCRECT);
        const int height = measured.bottom - measured.top;
        RECT mark{text.left - 1, text.top + (text.bottom - text.top - height) / 2 - 1,
                  std::min(measured.right + 1, area.right), 0};
        mark.bottom = mark.top + height + 2;
        DrawFocusMark(dc, mark);
    }
    return CDRF_SKIPDEFAULT;
}

bool PaintTabsInPalette(HWND tab) {
    if (!DrawnByUs()) return false;
    const Palette& p = CurrentPalette();
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(tab, &paint);
    RECT client{};
    GetClientRect(tab, &client);
    FillWithColour(dc, client, p.face);
    RECT page = client;
    TabCtrl_AdjustRect(tab, FALSE, &page);
    InflateRect(&page, 2, 2);
    Frame(dc, page, p.edgeLight);
    const Selected font(dc, reinterpret_cast<HFONT>(SendMessageW(tab, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColourOf(p.glyph));
    const int selected = TabCtrl_GetCurSel(tab);
    for (int i = 0, count = TabCtrl_GetItemCount(tab); i < count; ++i) {
        RECT item{};
        if (!TabCtrl_GetItemRect(tab, i, &item)) continue;
        wchar_t caption[128] = {};
        TCITEMW info{};
        info.mask = TCIF_TEXT;
        info.pszText = caption;
        info.cchTextMax = 128;
        TabCtrl_GetItem(tab, i, &info);
        if (i == selected) {
            // Raised over its neighbours and open into the page below it.
            InflateRect(&item, 2, 0);
            item.top -= 2;
            FillWithColour(dc, {item.left, item.top, item.right, page.top + 1}, p.face);
            FillWithColour(dc, {item.left, item.top, item.right, item.top + 1}, p.edgeLight);
            FillWithColour(dc, {item.left, item.top, item.left + 1, page.top + 1}, p.edgeLight);
            FillWithColour(dc, {item.right - 1, item.top, item.right, page.top + 1}, p.edgeLight);
        } else {
            FillWithColour(dc, item, p.control);
            Frame(dc, item, p.edgeLight);
        }
        RECT text = item;
        DrawTextW(dc, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (i == selected && GetFocus() == tab) {
            InflateRect(&text, -3, -3);
            DrawFocusMark(dc, text);
        }
    }
    EndPaint(tab, &paint);
    return true;
}

}  // namespace tavi
