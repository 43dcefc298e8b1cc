#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/file_chooser.h"
#include "platform/icon_files.h"
#include "platform/picture_fetches.h"
#include "platform/platform.h"

// The icon picker `IconChange`: a file that holds icons and the number of the
// chosen one, shown as a strip of cells that scrolls eight at a time.
namespace tavi {

// An entry's icon as "Launch.ini" stores it: the file and the number, as text.
struct IconChoice {
    std::string iconPath;
    std::string iconIndex;
    bool operator==(const IconChoice&) const = default;
};

// What the picker is opened on. The choice is handed back on OK only, so the
// caller decides where it goes (a bar entry, a group member, ...).
struct IconChangeInput {
    IconChoice choice;
    std::string ownerPath;     // the path text of the dialog that opened the picker
    bool ownerIsGroup = false;  // that dialog edits a group, whose path is only a name
};

inline constexpr int kMaxIconCells = 120;
inline constexpr int kVisibleIconCells = 8;
// Cell spacing at 96 dpi (540 twips).
inline constexpr int kIconCellPixels96 = 36;

// The picker's controls. Cell i shows icon number i of `stripFile`.
struct IconChangeView {
    std::string fileText;    // the file name box, as typed
    std::string stripFile;   // the file the cells were loaded from
    int iconCount = 0;       // icons in that file
    int cellCount = 0;       // iconCount capped at kMaxIconCells
    int selectedIcon = 0;    // SelectedIcon: the number OK stores
    int scrollValue = 0;     // first visible cell
    int scrollMax = 0;
    bool scrollEnabled = false;
    // The count of `stripFile` is still being taken: no cells yet.
    bool countComing = false;
    // When it comes and is none, the system's library is shown instead.
    bool libraryIfNone = false;
    // When it comes, the chosen number is kept within it (after a browse).
    bool clampWhenCounted = false;

    // The cell drawn marked, -1 when the chosen icon has no cell.
    int MarkedCell() const;
};

// The system's icon library, shown when the entry's own file has no icons.
std::string SystemIconLibrary(SystemInfo& system);

// How many icons a file holds; none while that is still being counted (away
// from the window, as the file may be on a drive that does not answer).
using IconCounts = std::function<std::optional<int>(const std::string& path)>;
// Counts each file at once.
IconCounts CountNow(IconFiles& icons);
// Counts the workers make: those in `counted` (filled as the listener is
// told), nothing while one is asked of them.
IconCounts CountThrough(PictureFetches& workers, PictureListener& listener, const std::map<std::string, int>& counted);

IconChangeView IconChangeLoad(const IconChangeInput& input, Platform& platform, const IconCounts& counts);
IconChangeView IconChangeLoad(const IconChangeInput& input, Platform& platform, IconFiles& icons);
// The count of the strip's file has come (`counts` knows it now): the cells
// are laid out, or the library is shown when the file has none and the
// loading asked for that. False when the strip did not wait for it.
bool IconChangeCountCame(IconChangeView& view, Platform& platform, const IconCounts& counts);
void IconChangeCellClicked(IconChangeView& view, int cell);
void IconChangeScroll(IconChangeView& view, int value);
// Browses for another file (a cancelled browse keeps the typed name) and
// reloads the strip from the name box either way.
void IconChangeBrowse(IconChangeView& view, Platform& platform, const IconCounts& counts, FileChooser& chooser,
                      NativeWindow owner);
void IconChangeBrowse(IconChangeView& view, Platform& platform, IconFiles& icons, FileChooser& chooser,
                      NativeWindow owner);
// The choice OK hands back: the name box as typed and the chosen number.
IconChoice IconChangeOk(const IconChangeView& view);

// An icon number as stored: its leading number, 0 when it is not a usable one.
int IconNumberOf(const std::string& iconIndex);

}  // namespace tavi
