#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "search/reading_cache.h"
#include "dialogs/dialog_win.h"
#include "dialogs/entry_search_box.h"
#include "platform/phonetic_readings.h"
#include "platform/picture_fetches.h"
#include "platform/platform.h"

namespace tavi {

// The entry search `EntrySearchDialog`, a modeless box over the bar: opened
// centred on the bar's monitor with the keyboard in its edit box, it closes
// with Escape or once Enter has chosen, and gives the focus back to the
// window that had it when it closes without a choice. Made at its first
// opening and only hidden afterwards, so later openings just show it. The
// message loop passes its messages through IsDialogMessage while it is active.
// A row's picture is a button's, fetched by workers (and the program of a
// document with it): the row shows the generic picture until it comes.
class EntrySearchDialog final : public Dialog, public PictureListener {
public:
    EntrySearchDialog(MenuMain& state, Platform& platform, BarServices& bar, PictureFetches& pictures,
                      PhoneticReadings& readings, UseCounts& uses, std::function<void(int position)> openAtButton);
    ~EntrySearchDialog() override;

    // Opens the box, or brings it to the front with its text selected.
    // False when it could not be created.
    bool Show();
    // Makes the box, hidden, so that its first opening only shows it.
    bool Prepare();
    // Handle(): the window once it has been made (shown or hidden), else null.

    void PictureArrived(const std::string& fetch, const PictureAnswer& answer) override;

protected:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static LRESULT CALLBACK EditKeys(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                     DWORD_PTR self);
    void Place();
    void ShowRows();
    void OnKey(SearchKey key, bool shift);
    void OnNotify(const NMHDR& header);
    void Close(bool giveFocusBack);
    void Act(const SearchChoice& choice);
    int IconOf(const SearchRow& row);
    int GenericImage();
    void ForgetPictures();
    Shell::Association AssociationOf(const std::string& document);
    int PageRows() const;

    MenuMain& state_;
    Platform& platform_;
    BarServices& bar_;
    PictureFetches& fetches_;
    PhoneticReadings& readings_;
    UseCounts& uses_;
    std::function<void(int)> openAtButton_;
    ReadingCache cache_;
    bool cacheLoaded_ = false;
    std::optional<EntrySearchBox> box_;
    HWND previousForeground_ = nullptr;  // another program's window that had the keyboard
    HWND previousFocus_ = nullptr;       // or one of ours
    HIMAGELIST images_ = nullptr;
    std::unordered_map<std::string, int> imageOf_;  // by what decides the picture
    int generic_ = -1;                              // the generic picture's image, once added
    int generation_ = 0;                            // of the images; an answer for an older one is dropped
    std::map<std::string, std::string> coming_;     // fetch -> image key, asked and not come
    std::map<std::string, Shell::Association> associations_;  // by document, since the images were made
    std::wstring cellText_;                         // the text handed to the list last
    bool acting_ = false;                           // a choice is being carried out
};

}  // namespace tavi
