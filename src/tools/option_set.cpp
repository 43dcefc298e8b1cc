#include "tools/option_set.h"

#include "app/startup.h"

#include "platform/messages.h"
#include "app/number_format.h"
#include "platform/text.h"

namespace tavi {
namespace {

// A flag of the settings as a check box value: anything that does not read
// as a non-zero number is unchecked.
int CheckValue(const std::string& flag) { return LeadingInt(flag) != 0 ? 1 : 0; }

// A list index from the settings; one the list does not have selects the
// index the settings file would give by default.
int ListIndex(const std::string& value, int count, int fallback) {
    const int index = IsNumeric(value) ? LeadingInt(value, -1) : -1;
    return index >= 0 && index < count ? index : fallback;
}

int64_t ScaleTwips(int64_t twips, int64_t pixels, int64_t total) { return (twips * pixels + total / 2) / total; }

}  // namespace

int PositionFor(const Settings& s) {
    if (s.Horizontal == "0") return s.EdgeCode == "2" ? 3 : 2;
    return s.EdgeCode == "2" ? 0 : 1;
}

OptionSetView OptionSetLoad(const Settings& s) {
    OptionSetView view;
    OptionSetState& c = view.controls;
    c.ChkTemae = CheckValue(s.TopMost);
    c.ChkEndSave = CheckValue(s.SaveOnExit);
    c.cboSmallIcon = ListIndex(s.IconSizeIndex, static_cast<int>(std::size(text::kOptionIconSizes)), 0);
    c.ChkAutoDelete = s.AutoHide == "1" ? 1 : 0;
    view.autoHideDelayEnabled = c.ChkAutoDelete == 1;
    c.CmbAutoDelete = ListIndex(s.AutoHideDelayIndex, static_cast<int>(std::size(text::kOptionAutoHideDelays)), 1);
    c.chkMediaEject = CheckValue(s.MediaEject);
    c.ChkDispToolTip = CheckValue(s.ToolTips);
    c.chkButtonFlat = CheckValue(s.ButtonFlat);
    c.chkBringToFront = BringsToFront(s) ? 1 : 0;
    c.optPosition = PositionFor(s);
    c.TxtWavePath = TrimSpaces(s.WaveFile);
    for (size_t i = 0; i < kAlarmSlots; ++i) {
        const std::string hour = CharMid(s.Time, 4 * i, 2);
        const std::string minute = CharMid(s.Time, 4 * i + 2, 2);
        const bool midnight = hour == "00" && minute == "00";
        c.TxtHour[i] = midnight ? std::string() : TrimSpaces(hour);
        c.TxtMinute[i] = midnight ? std::string() : TrimSpaces(minute);
    }
    c.chkTarget = CheckValue(s.TargetDrop);
    c.chkSplash = CheckValue(s.SplashLogo);
    c.chkWallPaperChange = CheckValue(s.WallPaperChenge);
    c.txtWallPaperChangeTimer = s.WallPaperChengeTimer;
    view.wallPaperTimerEnabled = s.WallPaperChenge != "0";
    c.txtExMenuCount = s.ExMenuCount;
    return view;
}

std::vector<std::string> DriveSpaceLines(SystemInfo& system, DriveSpaces& drives, std::string_view separator) {
    std::vector<std::string> lines;
    for (const std::string& root : system.LogicalDriveRoots()) {
        const DriveType type = system.DriveTypeOf(root);
        if (type != DriveType::Fixed && type != DriveType::Remote) continue;
        // A drive that cannot be asked shows no free space rather than no line.
        const uint64_t freeBytes = drives.SpaceOf(root).value_or(DriveSpace{}).freeBytes;
        const std::string kind(type == DriveType::Fixed ? text::kOptionFixedDrive : text::kOptionNetworkDrive);
        lines.push_back(" " + root + kind + AlignRight(GroupThousands(freeBytes / 1048576, separator), 20) +
                        std::string(text::kOptionMegabytes));
    }
    return lines;
}

Rect MonitorScreenTwips() { return Rect{240, 240, 2055, 1575}; }

Rect PreviewOnPicture(int position, int pictureWidth, int pictureHeight) {
    static constexpr Rect kPreviews[] = {
        MakeRect(240, 240, 1815, 135),   // top
        MakeRect(240, 1440, 1815, 135),  // bottom
        MakeRect(240, 240, 135, 1335),   // left
        MakeRect(1920, 240, 135, 1335),  // right
    };
    const Rect twips = kPreviews[position >= 0 && position < 4 ? position : 2];
    auto x = [&](int32_t v) { return static_cast<int32_t>(ScaleTwips(v, pictureWidth, kMonitorPictureWidth)); };
    auto y = [&](int32_t v) { return static_cast<int32_t>(ScaleTwips(v, pictureHeight, kMonitorPictureHeight)); };
    return Rect{x(twips.left), y(twips.top), x(twips.right), y(twips.bottom)};
}

bool NumberBoxAccepts(uint32_t character) { return (character >= '0' && character <= '9') || character == 8; }

TimeBoxKey TimeBoxKeyPressed(uint32_t character, std::string_view text) {
    if (character != 13) return {};
    return {true, !IsNumeric(TrimSpaces(text))};
}

void OptionSetBrowseWave(OptionSetView& view, FileChooser& chooser, NativeWindow owner) {
    FileChoice choice;
    choice.owner = owner;
    choice.title = text::kOptionWaveBrowseTitle;
    choice.filter = text::kOptionWaveFilter;
    choice.filterIndex = 1;
    const std::string chosen = chooser.ChooseFile(choice);
    if (!chosen.empty()) view.controls.TxtWavePath = chosen;
}

void OptionSetOpenLink(Shell& shell, std::string_view caption) {
    shell.OpenThen({"open", std::string(caption), "", "", ShowCommand::Normal}, [](int) {});
}

std::vector<std::string> ContactLinks(std::string_view homeUrl, std::string_view supportMail) {
    std::vector<std::string> links;
    if (!homeUrl.empty()) links.emplace_back(homeUrl);
    if (!supportMail.empty()) links.push_back("mailto:" + std::string(supportMail));
    return links;
}

namespace {

// The user's edits (what differs from what the dialog showed) over the
// controls as the settings now fill them.
OptionSetState EditsOver(const OptionSetState& shown, const OptionSetState& edited, OptionSetState now) {
    const auto take = [&](auto OptionSetState::*field) {
        if (edited.*field != shown.*field) now.*field = edited.*field;
    };
    take(&OptionSetState::ChkTemae);
    take(&OptionSetState::ChkEndSave);
    take(&OptionSetState::cboSmallIcon);
    take(&OptionSetState::ChkAutoDelete);
    take(&OptionSetState::CmbAutoDelete);
    take(&OptionSetState::chkMediaEject);
    take(&OptionSetState::optPosition);
    take(&OptionSetState::ChkDispToolTip);
    take(&OptionSetState::TxtWavePath);
    take(&OptionSetState::chkTarget);
    take(&OptionSetState::chkSplash);
    take(&OptionSetState::chkWallPaperChange);
    take(&OptionSetState::txtWallPaperChangeTimer);
    take(&OptionSetState::chkButtonFlat);
    take(&OptionSetState::txtExMenuCount);
    take(&OptionSetState::chkBringToFront);
    for (size_t i = 0; i < kAlarmSlots; ++i) {
        if (edited.TxtHour[i] != shown.TxtHour[i] || edited.TxtMinute[i] != shown.TxtMinute[i]) {
            now.TxtHour[i] = edited.TxtHour[i];
            now.TxtMinute[i] = edited.TxtMinute[i];
        }
    }
    return now;
}

std::string EditOver(const std::string& shown, const std::string& edited, const std::string& now) {
    return edited != shown ? edited : now;
}

}  // namespace

OptionSetOkResult OptionSetOk(const Settings& shownFrom, const OptionSetState& controls, const OptionChoices& choices,
                              MenuMain& state, Platform& platform, BarServices& bar) {
    if (state.settings.Unread()) {
        const bool read = ReadSettings(state, platform);
        if (read) FollowReadSettings(state.settings.Values(), bar);
        platform.messages.Show({std::string(read ? text::kOptionsSettingsReadAgain : text::kOptionsSettingsUnread),
                                std::string(text::kMessageCaption), MessageIcon::Warning, MessageButtons::Ok});
        return {read ? OptionSetOkOutcome::SettingsReadAgain : OptionSetOkOutcome::SettingsUnread};
    }
    const std::string path = SettingsFilePath(state.ApplicationPath);
    // Changed by another program since it was read, and not followed yet.
    if (state.settings.ChangedOutside(platform.files.Read(path)) && ReadSettings(state, platform))
        FollowReadSettings(state.settings.Values(), bar);
    const Settings& now = state.settings.Values();
    OptionSetState stored = EditsOver(OptionSetLoad(shownFrom).controls, controls, OptionSetLoad(now).controls);
    // Any count that reads as 0 would leave a group no member slot at all.
    if (IsBlank(stored.txtExMenuCount) || (IsNumeric(stored.txtExMenuCount) && LeadingInt(stored.txtExMenuCount) < 1))
        stored.txtExMenuCount = "1";
    SettingsFile chosen = state.settings;
    chosen.ResetToolBox();
    chosen.StoreOptions(stored);
    const bool hotKeyChanged = OptionChoicesOk({EditOver(shownFrom.Monitor, choices.monitor, now.Monitor),
                                                EditOver(shownFrom.HotKey, choices.hotKey, now.HotKey),
                                                EditOver(shownFrom.SearchHotKey, choices.searchHotKey, now.SearchHotKey),
                                                EditOver(shownFrom.Language, choices.language, now.Language)},
                                               chosen);
    // The file first: settings the bar follows but the file does not hold
    // would be lost at the next start without a word.
    if (!state.notices.Note(platform.messages, state.ApplicationPath, chosen.Save(platform.profile, path)))
        return {OptionSetOkOutcome::NotSaved};
    chosen.Remember(platform.files.Read(path));  // our own write
    state.settings = std::move(chosen);
    state.wallpaper.RestartClock();
    state.page.ShowFrom(0);
    if (bar.Visible()) bar.ApplyTopMost(stored.ChkTemae != 0);
    bar.SetWallpaperTimer(state.settings.Values().WallPaperChenge != "0");
    bar.ScheduleAlarm();
    return {OptionSetOkOutcome::Applied, hotKeyChanged};
}

void OptionSetAfterOk(BarServices& bar, bool hotKeyChanged) {
    bar.ReDock(true);
    if (!bar.Visible()) bar.Show();
    if (hotKeyChanged) bar.ReRegisterHotKey();
}

}  // namespace tavi
