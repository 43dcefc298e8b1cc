#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/bar_services.h"
#include "app/menu_main.h"
#include "platform/rect.h"
#include "app/settings.h"
#include "tools/option_choices.h"
#include "platform/drive_space.h"
#include "platform/file_chooser.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/system_info.h"

// The options dialog `OptionSet`: every setting of "TaviLaunch.ini" on four
// pages. Nothing reaches the settings before OK; Cancel simply closes it.
namespace tavi {

inline constexpr int kOptionPages = 4;
inline constexpr size_t kHourMinuteLimit = 2;
inline constexpr size_t kExMenuCountLimit = 2;
inline constexpr size_t kWallPaperTimerLimit = 3;

// The dialog's controls: what StoreOptionSettings takes, and what is only
// shown or enabled.
struct OptionSetView {
    OptionSetState controls;
    bool autoHideDelayEnabled = false;   // CmbAutoDelete
    bool wallPaperTimerEnabled = false;  // txtWallPaperChangeTimer
};

// The controls as the settings fill them when the dialog opens.
OptionSetView OptionSetLoad(const Settings& settings);

// One line per fixed or network drive, in the system's order: the root, its
// kind and the free megabytes right-aligned in 20 characters.
std::vector<std::string> DriveSpaceLines(SystemInfo& system, DriveSpaces& drives, std::string_view separator = ",");

// The option button for a docking edge, from Horizontal and EdgeCode.
int PositionFor(const Settings& settings);

// Where the preview bar lies on the picture of a monitor for a position,
// scaled from the picture's own twips to a client area of the given pixels.
Rect PreviewOnPicture(int position, int pictureWidth, int pictureHeight);
// The picture's size and its screen in twips, from which it is drawn.
inline constexpr int kMonitorPictureWidth = 2295;
inline constexpr int kMonitorPictureHeight = 2025;
Rect MonitorScreenTwips();

// Key filters, on the character a key types. The number boxes take digits and
// Backspace only.
bool NumberBoxAccepts(uint32_t character);
// The hour and minute boxes swallow Enter, which empties a box whose text is
// not a number; every other key passes.
struct TimeBoxKey {
    bool discard = false;
    bool clear = false;
};
TimeBoxKey TimeBoxKeyPressed(uint32_t character, std::string_view text);

// The test buttons: a path that is not blank plays without waiting for the end.
// Browses for a wave file; a chosen path replaces the box's text.
void OptionSetBrowseWave(OptionSetView& view, FileChooser& chooser, NativeWindow owner);
// A link label's caption, opened by the shell.
void OptionSetOpenLink(Shell& shell, std::string_view caption);
// The version page's links: the web page and the address for comments, each
// only where the build set it.
std::vector<std::string> ContactLinks(std::string_view homeUrl, std::string_view supportMail);

// OK, while the dialog is still open: the settings take the controls and the
// bar's front-most state and wallpaper timer follow them. The settings file
// is written first, whole: when it cannot be written nothing is applied,
// the user is told as for any failed save, and the dialog stays open
// (NotSaved). Over settings that could not be read, whose controls show
// defaults, OK first reads the file again: still unreadable, it says so and
// changes nothing; read now, the bar follows the file and the dialog is to
// show it, to be confirmed again. Keys the user never saw are never written over.
// `shownFrom`: the settings the dialog was filled from. A key the user left
// as it was shown keeps what the file holds now, so a change another
// program made while the dialog was open stays.
enum class OptionSetOkOutcome { Applied, SettingsReadAgain, SettingsUnread, NotSaved };
struct OptionSetOkResult {
    OptionSetOkOutcome outcome;
    bool hotKeyChanged = false;  // the global keys are registered afresh after the dialog
};
[[nodiscard]] OptionSetOkResult OptionSetOk(const Settings& shownFrom, const OptionSetState& controls,
                                            const OptionChoices& choices, MenuMain& state, Platform& platform,
                                            BarServices& bar);
// OK, after the dialog has closed: the bar is laid out again at once (which
// writes "TaviLaunch.ini" with the bar's new place) and shown when it was hidden; a changed global key
// is registered afresh.
void OptionSetAfterOk(BarServices& bar, bool hotKeyChanged = false);

}  // namespace tavi
