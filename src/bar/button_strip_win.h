#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bar/accessible_names.h"
#include "bar/tip_window_win.h"
#include "platform/picture_list_win.h"
#include "platform/window_win.h"

namespace tavi {

// The bar's entry buttons (`tbrIcon`): square buttons in rows, each with a
// command id and a picture. Drawn here rather than by the common controls'
// toolbar, whose library costs the start about 3 MiB and tens of
// milliseconds under Wine while the bar needs little of it. A click sends
// WM_COMMAND(id, BN_CLICKED) to the parent with the strip as lParam. The
// read-only toolbar queries (TB_BUTTONCOUNT, TB_GETBUTTON, TB_GETITEMRECT,
// TB_HITTEST, TB_GETTOOLTIPS) and TB_DELETEBUTTON are answered as a toolbar
// would, so tools that read toolbars still find the buttons.
//
// Its tooltip is a TipWindow, made once the pointer first rests on a button
// (or something asks for it): each button's text is asked of the parent with
// TTN_GETDISPINFOW, its id as idFrom, and the parent places the tip on TTN_SHOW.
//
// Screen readers get a toolbar of push buttons through WM_GETOBJECT, each
// described by the owner's describer.
class StripAccessible;
class ButtonStrip final : public Window {
public:
    static constexpr int kNoPicture = -2;  // as I_IMAGENONE

    ButtonStrip() = default;
    // The window goes without a WM_DESTROY of ours, so the accessible
    // object is let go here too.
    ~ButtonStrip() override { DropAccessible(); }

    // A child of `parent`; `flat` draws a frame only under the pointer.
    // `hook` sees every message first.
    bool Create(HWND parent, bool flat, ChildHook hook);

    int Count() const { return static_cast<int>(buttons_.size()); }
    // Adds buttons at the end; `wrap` ends a row after each.
    void Append(const std::vector<int>& commands, bool wrap);
    void Remove(int position);
    void SetWrap(int position, bool wrap);
    void SetPicture(int position, int picture);
    int PictureOf(int position) const;
    // The pictures the buttons' numbers refer to (not owned; null: none).
    void SetPictures(const PictureList* pictures);
    void SetButtonSize(int pixels);
    // In the strip's client pixels; nullopt past the last button.
    std::optional<RECT> ButtonRect(int position) const;
    // The position of the button under a client point, or -1.
    int HitTest(POINT client) const;
    // The button drawn as under the pointer (-1: none), as a drag over the
    // bar shows where a drop would land.
    void SetHot(int position);
    int Hot() const { return hot_; }
    // Whether Shift was down at the click being handled: as the click itself
    // tells it, since the key may be up by the time its message is read.
    bool ClickShifted() const { return clickShifted_; }
    HWND ToolTips();
    // Whether the pointer shows tips (with the bar's tooltips off, the texts
    // are all empty and the tip window need not be made).
    void SetTipsOnPointer(bool on) { tipsOnPointer_ = on; }

    // The button with the keyboard focus (-1: none), drawn with a focus
    // mark; a change is announced to screen readers.
    void SetFocused(int position);
    int Focused() const;
    // What screen readers hear of the button at a position, given the
    // focused one; without a describer every button is unnamed.
    using Describer = std::function<ButtonDescription(int position, int focused)>;
    void SetDescriber(Describer describer) { describer_ = std::move(describer); }
    ButtonDescription Describe(int position) const;
    // Tells screen readers the button's description changed (a new page, an
    // entry stored or emptied).
    void DescriptionChanged(int position);
    // A click on the button, sent to the parent from the message loop: the
    // caller may be a screen reader waiting on its call.
    void PostClick(int position);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Button {
        int command = 0;
        int picture = kNoPicture;
        bool wrap = false;
    };

    void Relayout();
    std::wstring TipText(int command) const;
    void PointerOn(int hit);
    void ShowTip();
    void HideTip();
    void InvalidateButton(int position);
    void Paint(HDC dc, const RECT& area) const;
    void OnMouse(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT ToolbarQuery(UINT message, WPARAM wParam, LPARAM lParam);
    void SendClick(int position);
    void DropAccessible();

    ChildHook hook_;
    bool flat_ = true;
    int buttonPixels_ = 0;
    std::vector<Button> buttons_;
    std::vector<RECT> rects_;
    const PictureList* pictures_ = nullptr;
    TipWindow tips_;
    int tipFor_ = -1;         // the button the pointer is on, for the tip
    bool tipSpent_ = false;   // shown or pressed on: not again until another button
    int hot_ = -1;
    int focused_ = -1;
    int pressed_ = -1;            // the button the left press began on
    bool pressedInside_ = false;  // and the pointer still on it
    bool clickShifted_ = false;
    bool tracking_ = false;       // a WM_MOUSELEAVE is asked for
    bool tipsOnPointer_ = true;
    Describer describer_;
    StripAccessible* accessible_ = nullptr;  // one reference held
};

}  // namespace tavi
