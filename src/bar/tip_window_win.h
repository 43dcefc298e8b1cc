#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "platform/handles_win.h"
#include "platform/window_win.h"

namespace tavi {

// A tooltip of the bar's own: one line of text in the system's tooltip
// colours and font, where its owner puts it, in front of everything and
// never activated. Used instead of the common controls' tooltips, whose
// library the bar would load for nothing else (about 1 MiB under Wine, and
// its first load delays the first tip). It is told as a tooltip to screen
// readers, and answers TTM_GETTEXTW, TTM_GETTOOLINFOW and TTM_ACTIVATE as
// one would, so tools that read tips still find the texts.
class TipWindow final : public Window {
public:
    static constexpr wchar_t kClassName[] = L"TaviMenu2Tip";
    // A tool's text, asked when a reader wants it of a tool not shown.
    using TextOf = std::function<std::wstring(UINT_PTR tool)>;

    // Owned by `owner`; the tools are `toolWindow`'s, named by their ids.
    bool Create(HWND owner, HWND toolWindow, TextOf textOf);

    // The size the tip takes for `text`, in pixels at the owner's scale.
    SIZE Measure(const std::wstring& text);
    // Sizes the tip to `text` for `tool`, its top-left corner at `at`
    // (screen), still hidden, so that its owner may move it (TTN_SHOW).
    void Place(UINT_PTR tool, const std::wstring& text, POINT at);
    void Reveal();
    void Show(UINT_PTR tool, const std::wstring& text, POINT at) {
        Place(tool, text, at);
        Reveal();
    }
    void Hide();
    bool Shown() const { return shown_; }
    // Off (TTM_ACTIVATE false) while a menu of the owner's is up: nothing shows.
    bool Active() const { return active_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void UpdateFont();
    void Paint(HDC dc) const;
    LRESULT CopyText(WPARAM chars, LPARAM info) const;

    HWND toolWindow_ = nullptr;
    TextOf textOf_;
    OwnedFont font_;
    int fontDpi_ = 0;
    std::wstring text_;
    UINT_PTR tool_ = 0;
    bool shown_ = false;
    bool active_ = true;
};

}  // namespace tavi
