#include "layout_check_win.h"

#include <commctrl.h>

#include <cstdlib>
#include <functional>

#include "access_keys.h"
#include "platform/pixel_canvas_win.h"
#include "platform/wide_win.h"

namespace layout_check {
namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::string Describe(HWND control) {
    std::string text = tavi::Narrow(TextOf(control));
    if (text.size() > 40) text = text.substr(0, 40) + "...";
    return tavi::Narrow(ClassOf(control)) + " " + std::to_string(GetDlgCtrlID(control)) + " \"" + text + "\"";
}

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }

// Measures text as the control draws it: in its own font.
class Measure {
public:
    explicit Measure(HFONT font) : dc_(CreateCompatibleDC(nullptr)) {
        previous_ = SelectObject(dc_, font ? font : GetStockObject(SYSTEM_FONT));
        GetTextMetricsW(dc_, &metrics_);
    }
    ~Measure() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    Measure(const Measure&) = delete;
    Measure& operator=(const Measure&) = delete;

    int Height() const { return metrics_.tmHeight; }
    int CharacterHeight() const { return metrics_.tmHeight - metrics_.tmInternalLeading; }
    // One line, with & taken as the access key's mark unless `noPrefix`.
    SIZE Line(const std::wstring& text, bool noPrefix = false) const {
        RECT box{0, 0, 0, 0};
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &box,
                  DT_CALCRECT | DT_SINGLELINE | (noPrefix ? DT_NOPREFIX : 0));
        return {box.right, box.bottom};
    }
    // Wrapped at `width`: the height it takes.
    int Wrapped(const std::wstring& text, int width, bool noPrefix) const {
        RECT box{0, 0, width, 0};
        DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &box,
                  DT_CALCRECT | DT_WORDBREAK | (noPrefix ? DT_NOPREFIX : 0));
        return box.bottom;
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
    TEXTMETRICW metrics_{};
};

HFONT FontOf(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

RECT ClientOf(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client;
}

// A child's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND child, HWND parent) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

enum class Kind { Other, Static, PushButton, CheckButton, GroupBox, Edit, ComboBox, ListBox, Tab, HotKey };

Kind KindOf(HWND control) {
    const std::wstring name = ClassOf(control);
    const LONG style = StyleOf(control);
    if (_wcsicmp(name.c_str(), L"Static") == 0) {
        switch (style & SS_TYPEMASK) {
            case SS_LEFT:
            case SS_CENTER:
            case SS_RIGHT:
            case SS_SIMPLE:
            case SS_LEFTNOWORDWRAP: return Kind::Static;
            case SS_OWNERDRAW: return TextOf(control).empty() ? Kind::Other : Kind::Static;
            default: return Kind::Other;
        }
    }
    if (_wcsicmp(name.c_str(), L"Button") == 0) {
        if (style & (BS_ICON | BS_BITMAP)) return Kind::Other;
        switch (style & BS_TYPEMASK) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON: return Kind::PushButton;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
            case BS_RADIOBUTTON:
            case BS_3STATE:
            case BS_AUTO3STATE:
            case BS_AUTORADIOBUTTON: return Kind::CheckButton;
            case BS_GROUPBOX: return Kind::GroupBox;
            default: return Kind::Other;  // owner-drawn: no text of the system's
        }
    }
    if (_wcsicmp(name.c_str(), L"Edit") == 0) return Kind::Edit;
    if (_wcsicmp(name.c_str(), L"ComboBox") == 0) return Kind::ComboBox;
    if (_wcsicmp(name.c_str(), L"ListBox") == 0) return Kind::ListBox;
    if (name == WC_TABCONTROLW) return Kind::Tab;
    if (name == HOTKEY_CLASSW) return Kind::HotKey;
    return Kind::Other;
}

// Where controls may lie inside a container (a tab's page, a group box's
// frame below its caption); false for a control that contains nothing.
bool ContainerArea(HWND control, Kind kind, const RECT& place, int dpi, RECT& area) {
    area = place;
    if (kind == Kind::Tab) {
        SendMessageW(control, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        return true;
    }
    if (kind == Kind::GroupBox) {
        const Measure font(FontOf(control));
        const int border = MulDiv(2, dpi, 96);
        area = {place.left + border, place.top + font.Height(), place.right - border, place.bottom - border};
        return true;
    }
    return false;
}

// The rows that hold ink: pixels that differ from the background in the
// top left corner.
int InkHeight(const tavi::PixelCanvas& canvas) {
    const uint32_t background = canvas.Pixels()[0] & 0xFFFFFF;
    int top = -1, bottom = -1;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const uint32_t p = canvas.Pixels()[y * canvas.Width() + x] & 0xFFFFFF;
            const int difference = std::abs(static_cast<int>(p & 0xFF) - static_cast<int>(background & 0xFF)) +
                                   std::abs(static_cast<int>(p >> 8 & 0xFF) - static_cast<int>(background >> 8 & 0xFF)) +
                                   std::abs(static_cast<int>(p >> 16) - static_cast<int>(background >> 16));
            if (difference < 192) continue;
            if (top < 0) top = y;
            bottom = y;
        }
    return top < 0 ? 0 : bottom - top + 1;
}

// How tall `text` comes out drawn in `font` by the system's own text drawing.
int InkHeightOf(HFONT font, const std::wstring& text) {
    const Measure measure(font);
    const SIZE size = measure.Line(text, true);
    tavi::PixelCanvas canvas(size.cx + 8, size.cy + 8);
    canvas.Fill(0xFFFFFFFF);
    const HGDIOBJ previous = SelectObject(canvas.Dc(), font);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), RGB(0, 0, 0));
    RECT box{4, 4, 4 + size.cx, 4 + size.cy};
    DrawTextW(canvas.Dc(), text.c_str(), static_cast<int>(text.size()), &box, DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(canvas.Dc(), previous);
    GdiFlush();
    return InkHeight(canvas);
}

// How tall a text box draws its own text (unselected, as it shows it
// without the focus).
int InkHeightIn(HWND edit) {
    RECT format{};
    SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const RECT client = ClientOf(edit);
    tavi::PixelCanvas canvas(client.right, client.bottom);
    canvas.Fill(0xFFFFFFFF);
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(edit, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    return InkHeight(canvas);
}

std::vector<std::wstring> ItemsOf(HWND control, Kind kind) {
    const UINT countMessage = kind == Kind::ComboBox ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT lengthMessage = kind == Kind::ComboBox ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT textMessage = kind == Kind::ComboBox ? CB_GETLBTEXT : LB_GETTEXT;
    std::vector<std::wstring> items;
    const auto count = SendMessageW(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count && i < 200; ++i) {
        const auto length = SendMessageW(control, lengthMessage, static_cast<WPARAM>(i), 0);
        if (length < 0) continue;
        std::wstring item(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(control, textMessage, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<size_t>(length));
        items.push_back(item);
    }
    return items;
}

std::vector<std::wstring> TabsOf(HWND tab) {
    std::vector<std::wstring> tabs;
    const auto count = SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t buffer[128] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = 128;
        SendMessageW(tab, TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        tabs.push_back(buffer);
    }
    return tabs;
}

// Whether the control's text, in its own font, fits the room it draws it in.
void CheckText(HWND control, Kind kind, int dpi, std::vector<std::string>& problems) {
    const Measure font(FontOf(control));
    const LONG style = StyleOf(control);
    const RECT client = ClientOf(control);
    const std::wstring text = TextOf(control);
    const std::string name = Describe(control);
    const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
    const auto tooNarrow = [&](const std::string& what, int needed, int room) {
        if (needed > room)
            problems.push_back(name + ": " + what + " needs " + std::to_string(needed) + " px, has " +
                               std::to_string(room));
    };
    const auto tooLow = [&](const std::string& what, int needed, int room) {
        if (needed > room)
            problems.push_back(name + ": " + what + " is " + std::to_string(needed) + " px high, the room " +
                               std::to_string(room));
    };
    switch (kind) {
        case Kind::Static: {
            if (text.empty()) return;
            const bool noPrefix = (style & SS_NOPREFIX) != 0;
            const LONG type = style & SS_TYPEMASK;
            const bool wraps = (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) &&
                               Height(client) >= 2 * font.Height();
            if (wraps) {
                tooLow("the wrapped text", font.Wrapped(text, Width(client), noPrefix), Height(client));
                return;
            }
            if ((style & SS_ELLIPSISMASK) == 0) tooNarrow("the text", font.Line(text, noPrefix).cx, Width(client));
            tooLow("the text", font.Height(), Height(client));
            return;
        }
        case Kind::PushButton:
            tooNarrow("the caption", font.Line(text).cx + 2 * scaled(3), Width(client));
            tooLow("the caption", font.Height() + 2 * scaled(2), Height(client));
            return;
        case Kind::CheckButton:
            tooNarrow("the box and caption", scaled(13) + scaled(4) + font.Line(text).cx, Width(client));
            tooLow("the caption", font.Height(), Height(client));
            return;
        case Kind::GroupBox:
            if (!text.empty()) tooNarrow("the caption", font.Line(text).cx + 2 * scaled(8), Width(client));
            return;
        case Kind::Edit: {
            RECT format{};
            SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
            tooLow("the text", font.Height(), Height(format));
            // A disabled box greys its text, too faint to measure against its face.
            if (!text.empty() && IsWindowEnabled(control)) {
                // Drawn by the box itself: a box that lays out its text through
                // another font than the one it was given shows it at another size.
                const int drawn = InkHeightIn(control), expected = InkHeightOf(FontOf(control), text);
                if (std::abs(drawn - expected) > 1)
                    problems.push_back(name + ": draws its text " + std::to_string(drawn) + " px high, its font " +
                                       std::to_string(expected));
            }
            if (!(style & (ES_AUTOHSCROLL | ES_MULTILINE))) tooNarrow("the text", font.Line(text, true).cx, Width(format));
            return;
        }
        case Kind::ComboBox: {
            const int room = Width(client) - GetSystemMetricsForDpi(SM_CXVSCROLL, static_cast<UINT>(dpi)) - 2 * scaled(3);
            for (const std::wstring& item : ItemsOf(control, kind))
                tooNarrow("item \"" + tavi::Narrow(item) + "\"", font.Line(item, true).cx, room);
            tooLow("the selection", font.Height(), static_cast<int>(SendMessageW(control, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)));
            return;
        }
        case Kind::ListBox: {
            const bool scrolls = (style & WS_HSCROLL) != 0;
            for (const std::wstring& item : ItemsOf(control, kind))
                if (!scrolls) tooNarrow("item \"" + tavi::Narrow(item) + "\"", font.Line(item, true).cx + scaled(2), Width(client));
            tooLow("an item", font.Height(), static_cast<int>(SendMessageW(control, LB_GETITEMHEIGHT, 0, 0)));
            return;
        }
        case Kind::Tab: {
            const std::vector<std::wstring> tabs = TabsOf(control);
            for (size_t i = 0; i < tabs.size(); ++i) {
                RECT item{};
                SendMessageW(control, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
                const std::string what = "tab \"" + tavi::Narrow(tabs[i]) + "\"";
                tooNarrow(what, font.Line(tabs[i]).cx + 2 * scaled(6), Width(item));
                tooLow(what, font.Height(), Height(item));
            }
            return;
        }
        case Kind::HotKey: tooLow("the key", font.Height(), Height(client)); return;
        case Kind::Other: return;
    }
}

}  // namespace

std::vector<std::string> Problems(HWND window, int pointSize) {
    std::vector<std::string> problems;
    const int dpi = static_cast<int>(GetDpiForWindow(window));
    const Measure windowFont(FontOf(window));
    if (pointSize > 0) {
        const int expected = MulDiv(pointSize, dpi, 72);
        if (std::abs(windowFont.CharacterHeight() - expected) > 1)
            problems.push_back("the window's font is " + std::to_string(windowFont.CharacterHeight()) +
                               " px high, " + std::to_string(pointSize) + " points at " + std::to_string(dpi) +
                               " dpi are " + std::to_string(expected));
    }

    struct Child {
        HWND hwnd;
        Kind kind;
        RECT place;
        bool container;
        RECT area;
    };
    std::vector<Child> children;
    std::vector<std::string> captions;  // those that may hold an access key
    const RECT client = ClientOf(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        Child c{child, KindOf(child), PlaceOf(child, window), false, {}};
        c.container = ContainerArea(child, c.kind, c.place, dpi, c.area);
        children.push_back(c);
        if (!Inside(c.place, client))
            problems.push_back(Describe(child) + " reaches outside the window");
        if (pointSize > 0 && c.kind != Kind::Other) {
            const Measure own(FontOf(child));
            if (std::abs(own.Height() - windowFont.Height()) > 1)
                problems.push_back(Describe(child) + ": its font is " + std::to_string(own.Height()) +
                                   " px high, the window's " + std::to_string(windowFont.Height()));
        }
        CheckText(child, c.kind, dpi, problems);
        const bool ownerDrawn = c.kind == Kind::Static && (StyleOf(child) & SS_TYPEMASK) == SS_OWNERDRAW;
        const bool keyed = c.kind == Kind::PushButton || c.kind == Kind::CheckButton || c.kind == Kind::GroupBox ||
                           (c.kind == Kind::Static && !ownerDrawn && !(StyleOf(child) & SS_NOPREFIX));
        if (keyed) captions.push_back(tavi::Narrow(TextOf(child)));
    }
    for (const std::string& clash : access_keys::Clashes(captions)) problems.push_back("access key " + clash);
    for (size_t i = 0; i < children.size(); ++i)
        for (size_t j = i + 1; j < children.size(); ++j) {
            const Child& a = children[i];
            const Child& b = children[j];
            RECT common{};
            if (!IntersectRect(&common, &a.place, &b.place)) continue;
            if (a.container && Inside(b.place, a.area)) continue;
            if (b.container && Inside(a.place, b.area)) continue;
            if (a.container || b.container) {
                const Child& container = a.container ? a : b;
                const Child& other = a.container ? b : a;
                problems.push_back(Describe(other.hwnd) + " reaches over the border of " + Describe(container.hwnd));
            } else {
                problems.push_back(Describe(a.hwnd) + " overlaps " + Describe(b.hwnd));
            }
        }
    return problems;
}

}  // namespace layout_check
