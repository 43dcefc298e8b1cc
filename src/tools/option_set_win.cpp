#include "tools/option_set_win.h"

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <array>
#include <string>
#include <utility>

#include "platform/messages.h"
#include "dialogs/dialog_win.h"
#include "platform/colour_scheme_win.h"
#include "platform/handles_win.h"
#include "platform/monitors_win.h"
#include "platform/program_version_win.h"
#include "platform/wide_win.h"
#include "tools/alarm.h"
#include "tools/monitor_picture_win.h"
#include "tools/option_choices.h"
#include "tools/option_set.h"
#include "tools/option_set_ids.h"
#include "tools/start_with_windows.h"

namespace tavi {
namespace {

constexpr std::array<int, 4> kPositionButtons{IDC_OPTION_POSITION_TOP, IDC_OPTION_POSITION_BOTTOM,
                                              IDC_OPTION_POSITION_LEFT, IDC_OPTION_POSITION_RIGHT};
constexpr std::array<int, 2> kLinks{IDC_OPTION_LINK1, IDC_OPTION_LINK2};

// The page a control belongs to, -1 for those on every page.
int PageOf(int id) {
    if (id >= IDC_OPTION_PAGE0_FIRST && id < IDC_OPTION_PAGE1_FIRST) return 0;
    if (id >= IDC_OPTION_PAGE1_FIRST && id < IDC_OPTION_PAGE2_FIRST) return 1;
    if (id >= IDC_OPTION_PAGE2_FIRST && id < IDC_OPTION_PAGE3_FIRST) return 2;
    if (id >= IDC_OPTION_PAGE3_FIRST && id < IDC_OPTION_PAGES_END) return 3;
    return -1;
}

bool IsTimeBox(int id) {
    return (id >= IDC_OPTION_HOUR0 && id < IDC_OPTION_HOUR0 + 10) ||
           (id >= IDC_OPTION_MINUTE0 && id < IDC_OPTION_MINUTE0 + 10);
}

// The key filters of the number and time boxes, on the characters typed.
LRESULT CALLBACK FilterKeys(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    const int id = GetDlgCtrlID(box);
    if (IsTimeBox(id)) {
        // Enter belongs to the box, not to the dialog's OK button.
        if (message == WM_GETDLGCODE && lParam) {
            const MSG* pending = reinterpret_cast<const MSG*>(lParam);
            if (pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN)
                return DefSubclassProc(box, message, wParam, lParam) | DLGC_WANTMESSAGE;
        }
        // The edit control would hand Enter to the default button itself.
        if (message == WM_KEYDOWN && wParam == VK_RETURN) return 0;
        if (message == WM_CHAR) {
            const TimeBoxKey key = TimeBoxKeyPressed(static_cast<uint32_t>(wParam), WindowText(box));
            if (key.clear) SetWindowTextW(box, L"");
            if (key.discard) return 0;
        }
    } else if (message == WM_CHAR && !NumberBoxAccepts(static_cast<uint32_t>(wParam))) {
        return 0;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// The hourglass while the dialog fills itself.
class WaitCursor {
public:
    WaitCursor() : previous_(SetCursor(LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    HCURSOR previous_;
};

// The options dialog `OptionSet`.
class OptionSet final : public Dialog {
public:
    OptionSet(MenuMain& state, Platform& platform, BarServices& bar, FileChooser& chooser, Sound& sound,
              DriveSpaces& drives, Registry& registry, UseCounts* uses, std::vector<std::string> links)
        : state_(state),
          platform_(platform),
          bar_(bar),
          chooser_(chooser),
          sound_(sound),
          drives_(drives),
          registry_(registry),
          uses_(uses),
          programPath_(Narrow(RunningProgramFile())),
          links_(std::move(links)) {}
    ~OptionSet() override { DeleteFonts(); }

    bool Confirmed() const { return confirmed_; }
    bool HotKeyChanged() const { return hotKeyChanged_; }

protected:
    bool OnInit() override;
    void OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnRescale() override {
        MakeFonts();
        InvalidateRect(Handle(), nullptr, TRUE);
    }

private:
    // The controls from the settings as they are now: at the start, and after OK read them again.
    void ShowSettings();
    void FillChoices();
    OptionChoices ReadChoices() const;
    std::wstring MonitorNumber() const;
    void SetCaptions();
    void ShowPage(int page);
    void Read();
    void Write();
    void WriteEnabled();
    int Position() const;
    void MakeFonts();
    void DeleteFonts();
    void DrawLink(const DRAWITEMSTRUCT& item) const;
    void HoverLink(HWND over);
    INT_PTR OnDrawItem(const DRAWITEMSTRUCT& item);

    MenuMain& state_;
    Platform& platform_;
    BarServices& bar_;
    FileChooser& chooser_;
    Sound& sound_;
    DriveSpaces& drives_;
    Registry& registry_;
    UseCounts* uses_;
    const std::string programPath_;
    const std::vector<std::string> links_;  // the version page's, one a link control
    OptionSetView view_;
    Settings shownFrom_;  // what the controls were filled from
    MonitorChoice monitors_;
    bool monitorPicked_ = false;  // the user chose an item of the monitor list
    OwnedFont linkFont_;
    OwnedFont listFont_;
    HWND hoveredLink_ = nullptr;
    bool confirmed_ = false;
    bool hotKeyChanged_ = false;
};

INT_PTR OptionSet::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom != IDC_OPTION_TAB || header->code != TCN_SELCHANGE) return FALSE;
            ShowPage(static_cast<int>(SendDlgItemMessageW(Handle(), IDC_OPTION_TAB, TCM_GETCURSEL, 0, 0)));
            return TRUE;
        }
        case WM_DRAWITEM:
            return OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_SETCURSOR:
            HoverLink(reinterpret_cast<HWND>(wParam));
            if (hoveredLink_) {
                SetCursor(LoadCursorW(nullptr, IDC_HAND));
                SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

bool OptionSet::OnInit() {
    WaitCursor hourglass;
    SetCaptions();
    EnableWindow(Item(IDC_OPTION_CLEAR_USES), uses_ && uses_->Readable());
    AddTabs(IDC_OPTION_TAB,
            {text::kOptionTabDisplay, text::kOptionTabBehaviour, text::kOptionTabTimer, text::kOptionTabVersion});
    for (std::string_view size : text::kOptionIconSizes)
        SendDlgItemMessageW(Handle(), IDC_OPTION_SMALL_ICON, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Widen(size).c_str()));
    for (std::string_view delay : text::kOptionAutoHideDelays)
        SendDlgItemMessageW(Handle(), IDC_OPTION_AUTO_HIDE_DELAY, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Widen(delay).c_str()));

    const std::pair<int, size_t> limits[] = {{IDC_OPTION_EX_MENU_COUNT, kExMenuCountLimit},
                                             {IDC_OPTION_WALLPAPER_TIMER, kWallPaperTimerLimit}};
    for (const auto& [id, limit] : limits) {
        SendDlgItemMessageW(Handle(), id, EM_SETLIMITTEXT, limit, 0);
        SetWindowSubclass(Item(id), FilterKeys, 0, 0);
    }
    for (int i = 0; i < static_cast<int>(kAlarmSlots); ++i)
        for (const int id : {IDC_OPTION_HOUR0 + i, IDC_OPTION_MINUTE0 + i}) {
            SendDlgItemMessageW(Handle(), id, EM_SETLIMITTEXT, kHourMinuteLimit, 0);
            SetWindowSubclass(Item(id), FilterKeys, 0, 0);
        }
    MakeFonts();

    for (const std::string& line : DriveSpaceLines(platform_.system, drives_, ThousandsSeparator()))
        SendDlgItemMessageW(Handle(), IDC_OPTION_DRIVE_SPACE, LB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(Widen(line).c_str()));
    ShowSettings();
    CheckDlgButton(Handle(), IDC_OPTION_START_WITH_WINDOWS,
                   StartsWithWindows(registry_, programPath_) ? BST_CHECKED : BST_UNCHECKED);
    ShowPage(0);
    return true;
}

void OptionSet::ShowSettings() {
    shownFrom_ = state_.settings.Values();
    view_ = OptionSetLoad(shownFrom_);
    FillChoices();
    Write();
    InvalidateRect(Item(IDC_OPTION_DISPLAY), nullptr, FALSE);
}

void OptionSet::FillChoices() {
    monitors_ = MonitorChoiceLoad(state_.settings.Values().Monitor, Win32Monitors().List());
    monitorPicked_ = false;
    SendDlgItemMessageW(Handle(), IDC_OPTION_MONITOR, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : monitors_.items)
        SendDlgItemMessageW(Handle(), IDC_OPTION_MONITOR, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
    SendDlgItemMessageW(Handle(), IDC_OPTION_MONITOR, CB_SETCURSEL, static_cast<WPARAM>(monitors_.selected), 0);
    EnableItem(IDC_OPTION_MONITOR, !monitors_.items.empty());
    const std::vector<std::string> languages = LanguageItems();
    SetListItems(IDC_OPTION_LANGUAGE, {languages.begin(), languages.end()}, LanguageItemOf(state_.settings.Values().Language));
    const std::pair<int, const std::string*> keys[] = {{IDC_OPTION_HOT_KEY, &state_.settings.Values().HotKey},
                                                        {IDC_OPTION_SEARCH_KEY, &state_.settings.Values().SearchHotKey}};
    for (const auto& [id, setting] : keys) {
        // A key without Ctrl or Alt would be taken from every program's typing.
        SendDlgItemMessageW(Handle(), id, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        SendDlgItemMessageW(Handle(), id, HKM_SETHOTKEY, HotKeyWordOf(*setting), 0);
    }
}

OptionChoices OptionSet::ReadChoices() const {
    const auto selected = static_cast<int>(SendDlgItemMessageW(Handle(), IDC_OPTION_MONITOR, CB_GETCURSEL, 0, 0));
    const auto word = [this](int id) {
        return static_cast<uint32_t>(SendDlgItemMessageW(Handle(), id, HKM_GETHOTKEY, 0, 0)) & 0xFFFF;
    };
    const auto language = static_cast<int>(SendDlgItemMessageW(Handle(), IDC_OPTION_LANGUAGE, CB_GETCURSEL, 0, 0));
    return {MonitorSettingOnOk(state_.settings.Values().Monitor, monitors_, selected, monitorPicked_),
            HotKeySettingOf(word(IDC_OPTION_HOT_KEY)), HotKeySettingOf(word(IDC_OPTION_SEARCH_KEY)),
            LanguageSettingOnOk(state_.settings.Values().Language, language)};
}

// The number of the monitor the list shows, for the picture.
std::wstring OptionSet::MonitorNumber() const {
    const auto selected = SendDlgItemMessageW(Handle(), IDC_OPTION_MONITOR, CB_GETCURSEL, 0, 0);
    return selected >= 0 && static_cast<size_t>(selected) < monitors_.monitors.size() ? std::to_wstring(selected + 1)
                                                                                        : std::wstring();
}

void OptionSet::SetCaptions() {
    const std::pair<int, std::string_view> captions[] = {
        {IDC_OPTION_BUTTON_FLAT, text::kOptionButtonFlat},
        {IDC_OPTION_SMALL_ICON_LABEL, text::kOptionSmallIcon},
        {IDC_OPTION_POSITION_LABEL, text::kOptionPosition},
        {IDC_OPTION_POSITION_TOP, text::kOptionPositions[0]},
        {IDC_OPTION_POSITION_BOTTOM, text::kOptionPositions[1]},
        {IDC_OPTION_POSITION_LEFT, text::kOptionPositions[2]},
        {IDC_OPTION_POSITION_RIGHT, text::kOptionPositions[3]},
        {IDC_OPTION_TOPMOST, text::kOptionTopMost},
        {IDC_OPTION_AUTO_HIDE, text::kOptionAutoHide},
        {IDC_OPTION_SECONDS, text::kOptionSeconds},
        {IDC_OPTION_TOOLTIPS, text::kOptionToolTips},
        {IDC_OPTION_MONITOR_LABEL, text::kOptionMonitor},
        {IDC_OPTION_LANGUAGE_LABEL, text::kOptionLanguage},
        {IDC_OPTION_LANGUAGE_NOTE, text::kOptionLanguageNote},
        {IDC_OPTION_CLEAR_USES, text::kOptionClearUses},
        {IDC_OPTION_HOT_KEY_LABEL, text::kOptionHotKey},
        {IDC_OPTION_SEARCH_KEY_LABEL, text::kOptionSearchHotKey},
        {IDC_OPTION_START_WITH_WINDOWS, text::kOptionStartWithWindows},
        {IDC_OPTION_BRING_TO_FRONT, text::kOptionBringToFront},
        {IDC_OPTION_EX_MENU_LABEL, text::kOptionExMenuCount},
        {IDC_OPTION_NEXT_START, text::kOptionNextStart},
        {IDC_OPTION_TARGET_DROP, text::kOptionTargetDrop},
        {IDC_OPTION_MEDIA_EJECT, text::kOptionMediaEject},
        {IDC_OPTION_END_SAVE, text::kOptionEndSave},
        {IDC_OPTION_WALLPAPER_FRAME, text::kOptionWallPaperFrame},
        {IDC_OPTION_WALLPAPER_CHANGE, text::kOptionWallPaperChange},
        {IDC_OPTION_MINUTES, text::kOptionMinutes},
        {IDC_OPTION_NO_SPLASH, text::kOptionNoSplash},
        {IDC_OPTION_WAVE_LABEL, text::kOptionWaveLabel},
        {IDC_OPTION_WAVE_BROWSE, text::kEntryDialogBrowse},
        {IDC_OPTION_WAVE_TEST, text::kOptionWaveTest},
        {IDC_OPTION_WAVE_STOP, text::kOptionWaveStop},
        {IDC_OPTION_TITLE, text::kAppTitle},
        {IDC_OPTION_NOTICE, text::kOptionNotice},
        {IDC_OPTION_DRIVE_LABEL, text::kOptionDriveSpace},
        {IDOK, text::kEntryDialogOk},
        {IDCANCEL, text::kEntryDialogCancel},
    };
    SetWindowTextW(Handle(), Widen(text::kOptionSetCaption).c_str());
    for (const auto& [id, caption] : captions) SetItemText(id, caption);
    for (int i = 0; i < static_cast<int>(kAlarmSlots); ++i) {
        SetItemText(IDC_OPTION_SLOT_LABEL0 + i, std::to_string(i + 1) + std::string(text::kOptionAlarmNumberSuffix));
        SetItemText(IDC_OPTION_SEPARATOR0 + i, text::kOptionTimeSeparator);
    }
    for (size_t i = 0; i < kLinks.size(); ++i) SetItemText(kLinks[i], i < links_.size() ? links_[i] : "");
    const ProgramVersion version = ReadProgramVersion();
    SetItemText(IDC_OPTION_VERSION, std::string(text::kOptionVersionPrefix) + std::to_string(version.major) + "." +
                                         std::to_string(version.minor) + "." + std::to_string(version.revision));
}

void OptionSet::OnCommand(int id, int code) {
    if (IsTimeBox(id) || id == IDC_OPTION_EX_MENU_COUNT || id == IDC_OPTION_WALLPAPER_TIMER ||
        id == IDC_OPTION_WAVE_PATH) {
        if (code == EN_SETFOCUS) SelectAllOnFocus(Item(id));
        return;
    }
    switch (id) {
        case IDC_OPTION_AUTO_HIDE:
        case IDC_OPTION_WALLPAPER_CHANGE:
            if (code != BN_CLICKED) return;
            Read();
            view_.autoHideDelayEnabled = view_.controls.ChkAutoDelete == 1;
            view_.wallPaperTimerEnabled = view_.controls.chkWallPaperChange == 1;
            WriteEnabled();
            return;
        case IDC_OPTION_POSITION_TOP:
        case IDC_OPTION_POSITION_BOTTOM:
        case IDC_OPTION_POSITION_LEFT:
        case IDC_OPTION_POSITION_RIGHT:
            if (code == BN_CLICKED) InvalidateRect(Item(IDC_OPTION_DISPLAY), nullptr, FALSE);
            return;
        case IDC_OPTION_MONITOR:
            if (code != CBN_SELCHANGE) return;
            monitorPicked_ = true;
            InvalidateRect(Item(IDC_OPTION_DISPLAY), nullptr, FALSE);
            return;
        case IDC_OPTION_WAVE_BROWSE:
            Read();
            OptionSetBrowseWave(view_, chooser_, reinterpret_cast<NativeWindow>(Handle()));
            SetItemText(IDC_OPTION_WAVE_PATH, view_.controls.TxtWavePath);
            return;
        case IDC_OPTION_WAVE_TEST:
            TestWaveStart(sound_, ItemText(IDC_OPTION_WAVE_PATH));
            return;
        case IDC_OPTION_WAVE_STOP:
            TestWaveStop(sound_);
            return;
        case IDC_OPTION_CLEAR_USES:
            // At once, as a clear button does; greyed once there is nothing left to clear.
            if (code == BN_CLICKED && uses_ && uses_->Clear()) EnableWindow(Item(IDC_OPTION_CLEAR_USES), FALSE);
            return;
        case IDC_OPTION_LINK1:
        case IDC_OPTION_LINK2:
            if (code == STN_DBLCLK) OptionSetOpenLink(platform_.shell, ItemText(id));
            return;
        case IDOK: {
            Read();
            const OptionSetOkResult ok = OptionSetOk(shownFrom_, view_.controls, ReadChoices(), state_, platform_, bar_);
            switch (ok.outcome) {
                case OptionSetOkOutcome::SettingsUnread:
                case OptionSetOkOutcome::NotSaved: return;
                case OptionSetOkOutcome::SettingsReadAgain:
                    ShowSettings();
                    return;
                case OptionSetOkOutcome::Applied: break;
            }
            hotKeyChanged_ = ok.hotKeyChanged;
            OptionSetStartWithWindows(registry_, platform_.messages, programPath_,
                                      IsDlgButtonChecked(Handle(), IDC_OPTION_START_WITH_WINDOWS) == BST_CHECKED);
            confirmed_ = true;
            EndDialog(Handle(), IDOK);
            return;
        }
        case IDCANCEL:
            EndDialog(Handle(), IDCANCEL);
            return;
        default:
            return;
    }
}

void OptionSet::ShowPage(int page) {
    SendDlgItemMessageW(Handle(), IDC_OPTION_TAB, TCM_SETCURSEL, static_cast<WPARAM>(page), 0);
    for (HWND child = GetWindow(Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        const int of = PageOf(id);
        // A link the build gave no address stays hidden, and the notice above the links with them.
        const bool absent = (id == IDC_OPTION_LINK1 && links_.empty()) || (id == IDC_OPTION_LINK2 && links_.size() < 2) ||
                            (id == IDC_OPTION_NOTICE && links_.empty());
        if (of >= 0) ShowWindow(child, of == page && !absent ? SW_SHOWNA : SW_HIDE);
    }
}

int OptionSet::Position() const {
    for (size_t i = 0; i < kPositionButtons.size(); ++i)
        if (IsDlgButtonChecked(Handle(), kPositionButtons[i]) == BST_CHECKED) return static_cast<int>(i);
    return view_.controls.optPosition;
}

void OptionSet::Read() {
    OptionSetState& c = view_.controls;
    auto checked = [&](int id) { return IsDlgButtonChecked(Handle(), id) == BST_CHECKED ? 1 : 0; };
    auto selected = [&](int id) { return static_cast<int>(SendDlgItemMessageW(Handle(), id, CB_GETCURSEL, 0, 0)); };
    c.chkButtonFlat = checked(IDC_OPTION_BUTTON_FLAT);
    c.cboSmallIcon = selected(IDC_OPTION_SMALL_ICON);
    c.optPosition = Position();
    c.ChkTemae = checked(IDC_OPTION_TOPMOST);
    c.ChkAutoDelete = checked(IDC_OPTION_AUTO_HIDE);
    c.CmbAutoDelete = selected(IDC_OPTION_AUTO_HIDE_DELAY);
    c.ChkDispToolTip = checked(IDC_OPTION_TOOLTIPS);
    c.txtExMenuCount = ItemText(IDC_OPTION_EX_MENU_COUNT);
    c.chkTarget = checked(IDC_OPTION_TARGET_DROP);
    c.chkMediaEject = checked(IDC_OPTION_MEDIA_EJECT);
    c.ChkEndSave = checked(IDC_OPTION_END_SAVE);
    c.chkWallPaperChange = checked(IDC_OPTION_WALLPAPER_CHANGE);
    c.txtWallPaperChangeTimer = ItemText(IDC_OPTION_WALLPAPER_TIMER);
    c.chkSplash = checked(IDC_OPTION_NO_SPLASH);
    c.chkBringToFront = checked(IDC_OPTION_BRING_TO_FRONT);
    c.TxtWavePath = ItemText(IDC_OPTION_WAVE_PATH);
    for (int i = 0; i < static_cast<int>(kAlarmSlots); ++i) {
        c.TxtHour[static_cast<size_t>(i)] = ItemText(IDC_OPTION_HOUR0 + i);
        c.TxtMinute[static_cast<size_t>(i)] = ItemText(IDC_OPTION_MINUTE0 + i);
    }
}

void OptionSet::Write() {
    const OptionSetState& c = view_.controls;
    auto check = [&](int id, int value) { CheckDlgButton(Handle(), id, value != 0 ? BST_CHECKED : BST_UNCHECKED); };
    auto select = [&](int id, int index) {
        SendDlgItemMessageW(Handle(), id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    };
    check(IDC_OPTION_BUTTON_FLAT, c.chkButtonFlat);
    select(IDC_OPTION_SMALL_ICON, c.cboSmallIcon);
    for (size_t i = 0; i < kPositionButtons.size(); ++i)
        check(kPositionButtons[i], c.optPosition == static_cast<int>(i));
    check(IDC_OPTION_TOPMOST, c.ChkTemae);
    check(IDC_OPTION_AUTO_HIDE, c.ChkAutoDelete);
    select(IDC_OPTION_AUTO_HIDE_DELAY, c.CmbAutoDelete);
    check(IDC_OPTION_TOOLTIPS, c.ChkDispToolTip);
    SetItemText(IDC_OPTION_EX_MENU_COUNT, c.txtExMenuCount);
    check(IDC_OPTION_TARGET_DROP, c.chkTarget);
    check(IDC_OPTION_MEDIA_EJECT, c.chkMediaEject);
    check(IDC_OPTION_END_SAVE, c.ChkEndSave);
    check(IDC_OPTION_WALLPAPER_CHANGE, c.chkWallPaperChange);
    SetItemText(IDC_OPTION_WALLPAPER_TIMER, c.txtWallPaperChangeTimer);
    check(IDC_OPTION_NO_SPLASH, c.chkSplash);
    check(IDC_OPTION_BRING_TO_FRONT, c.chkBringToFront);
    SetItemText(IDC_OPTION_WAVE_PATH, c.TxtWavePath);
    for (int i = 0; i < static_cast<int>(kAlarmSlots); ++i) {
        SetItemText(IDC_OPTION_HOUR0 + i, c.TxtHour[static_cast<size_t>(i)]);
        SetItemText(IDC_OPTION_MINUTE0 + i, c.TxtMinute[static_cast<size_t>(i)]);
    }
    WriteEnabled();
}

void OptionSet::WriteEnabled() {
    EnableItem(IDC_OPTION_AUTO_HIDE_DELAY, view_.autoHideDelayEnabled);
    EnableItem(IDC_OPTION_WALLPAPER_TIMER, view_.wallPaperTimerEnabled);
}

// The links in the dialog's font, underlined; the drive list in a font of
// one width, so that its columns line up.
void OptionSet::MakeFonts() {
    DeleteFonts();
    LOGFONTW font{};
    const auto dialogFont = reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0));
    if (!dialogFont || !GetObjectW(dialogFont, sizeof font, &font)) return;
    LOGFONTW link = font;
    link.lfUnderline = TRUE;
    linkFont_.Reset(CreateFontIndirectW(&link));
    LOGFONTW fixed = font;
    fixed.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    fixed.lfCharSet = SHIFTJIS_CHARSET;
    wcscpy_s(fixed.lfFaceName, L"MS Gothic");
    listFont_.Reset(CreateFontIndirectW(&fixed));
    if (listFont_)
        SendDlgItemMessageW(Handle(), IDC_OPTION_DRIVE_SPACE, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.Get()),
                            TRUE);
}

void OptionSet::DeleteFonts() {
    if (listFont_ && Handle())
        SendDlgItemMessageW(Handle(), IDC_OPTION_DRIVE_SPACE, WM_SETFONT,
                            SendMessageW(Handle(), WM_GETFONT, 0, 0), FALSE);
    linkFont_.Reset();
    listFont_.Reset();
}

INT_PTR OptionSet::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID == IDC_OPTION_DISPLAY) {
        RECT area = item.rcItem;
        DrawThemeParentBackground(item.hwndItem, item.hDC, &area);
        DrawMonitorPicture(item.hDC, item.rcItem, Position(), MonitorNumber(),
                           reinterpret_cast<HFONT>(SendMessageW(Handle(), WM_GETFONT, 0, 0)));
        return TRUE;
    }
    if (item.CtlID == IDC_OPTION_LINK1 || item.CtlID == IDC_OPTION_LINK2) {
        DrawLink(item);
        return TRUE;
    }
    return FALSE;
}

// Blue, or red while the pointer is over it.
void OptionSet::DrawLink(const DRAWITEMSTRUCT& item) const {
    RECT area = item.rcItem;
    DrawThemeParentBackground(item.hwndItem, item.hDC, &area);
    const std::wstring caption = Widen(WindowText(item.hwndItem));
    const Selected font(item.hDC, linkFont_.Get());
    SetBkMode(item.hDC, TRANSPARENT);
    const Palette& palette = CurrentPalette();
    SetTextColor(item.hDC, ColourOf(item.hwndItem == hoveredLink_ ? palette.linkHover : palette.link));
    RECT box = item.rcItem;
    DrawTextW(item.hDC, caption.c_str(), static_cast<int>(caption.size()), &box,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
}

void OptionSet::HoverLink(HWND over) {
    HWND link = nullptr;
    for (const int id : kLinks)
        if (over == Item(id)) link = over;
    if (link == hoveredLink_) return;
    const HWND previous = hoveredLink_;
    hoveredLink_ = link;
    for (HWND changed : {previous, link})
        if (changed) InvalidateRect(changed, nullptr, FALSE);
}

}  // namespace

int ShowOptionSet(NativeWindow owner, MenuMain& state, Platform& platform, BarServices& bar, FileChooser& chooser,
                  Sound& sound, DriveSpaces& drives, Registry& registry, std::vector<std::string> links,
                  UseCounts* uses) {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES | ICC_HOTKEY_CLASS};
    InitCommonControlsEx(&classes);
    OptionSet dialog(state, platform, bar, chooser, sound, drives, registry, uses, std::move(links));
    SetLastError(ERROR_SUCCESS);
    // -1 when the dialog could not be made, 0 when its owner was no window:
    // the dialog itself only ends with OK or Cancel.
    if (dialog.Run(reinterpret_cast<HWND>(owner), IDD_OPTION_SET) <= 0) {
        const DWORD error = GetLastError();
        return error != 0 ? static_cast<int>(error) : static_cast<int>(ERROR_RESOURCE_NAME_NOT_FOUND);
    }
    if (dialog.Confirmed()) OptionSetAfterOk(bar, dialog.HotKeyChanged());
    return 0;
}

}  // namespace tavi
