#include "menus/display_menu.h"

#include <set>

#include "platform/messages.h"
#include "platform/text.h"
#include "menus/menu_model.h"

namespace tavi {
namespace {

// A driver that never stops enumerating must not hang the bar.
constexpr int kMaxModeNumbers = 1 << 16;

ListItem Separator() { return {"-", "", true, false}; }

// A whole text of decimal digits, surrounding spaces allowed; -1 otherwise.
int WholeNumber(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    if (text.empty() || text.size() > 9) return -1;
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

int ColourDepthOf(std::string_view caption) {
    if (Contains(caption, text::kModeColours16)) return 4;
    if (Contains(caption, text::kModeColours256)) return 8;
    const size_t suffix = caption.rfind(" " + std::string(text::kModeBitsUnit) + ")");
    if (suffix == std::string_view::npos) return -1;
    const size_t open = caption.rfind('(', suffix);
    if (open == std::string_view::npos) return -1;
    return WholeNumber(caption.substr(open + 1, suffix - open - 1));
}

bool IsCurrentMode(const DisplayMode& mode, const DisplayMode& current) {
    return mode.bitsPerPel == current.bitsPerPel && mode.width == current.width && mode.height == current.height &&
           (mode.frequency == 0 || mode.frequency == current.frequency);
}

bool Matches(const DisplayMode& offered, const DisplayMode& wanted) {
    return offered.width == wanted.width && offered.height == wanted.height &&
           offered.bitsPerPel == wanted.bitsPerPel && (wanted.frequency == 0 || offered.frequency == wanted.frequency);
}

std::optional<DisplayMode> FindMode(DisplayModes& display, const DisplayMode& wanted) {
    for (int number = 0; number < kMaxModeNumbers; ++number) {
        const std::optional<DisplayMode> mode = display.Mode(number);
        if (!mode) break;
        if (Matches(*mode, wanted)) return mode;
    }
    return std::nullopt;
}

// A change the system carried out or stored: a mode that needs a restart is
// stored by the same call.
bool IsStored(DisplayChange change) { return change == DisplayChange::Successful || change == DisplayChange::Restart; }

DisplayModeResult OfferRestart(const DisplayMode& request, const DisplayModePorts& ports) {
    switch (ports.prompt.Ask(ports.owner)) {
        case RebootChoice::Cancel: return {DisplayModeOutcome::Cancelled};
        case RebootChoice::StoreOnly: {
            const DisplayChange stored = ports.display.Change(request, DisplayChangeKind::StoreOnly);
            if (!IsStored(stored)) return {DisplayModeOutcome::Failed, stored};
            return {DisplayModeOutcome::Stored};
        }
        case RebootChoice::RestartNow: {
            const DisplayChange stored = ports.display.Change(request, DisplayChangeKind::Apply);
            if (!IsStored(stored)) return {DisplayModeOutcome::Failed, stored};
            return {ports.restart.Restart() ? DisplayModeOutcome::Restarting : DisplayModeOutcome::RestartFailed};
        }
    }
    return {DisplayModeOutcome::Cancelled};
}

}  // namespace

std::string DisplayModeCaption(const DisplayMode& mode) {
    std::string caption = " " + std::to_string(mode.width) + "x" + std::to_string(mode.height);
    if (mode.frequency != 0)
        caption += " (" + std::to_string(mode.frequency) + " " + std::string(text::kModeRateUnit) + ")";
    switch (mode.bitsPerPel) {
        case 4: caption += " " + std::string(text::kModeColours16); break;
        case 8: caption += " " + std::string(text::kModeColours256); break;
        default: caption += " (" + std::to_string(mode.bitsPerPel) + " " + std::string(text::kModeBitsUnit) + ")"; break;
    }
    return caption;
}

std::optional<DisplayMode> ParseDisplayModeCaption(std::string_view caption) {
    DisplayMode mode;
    mode.bitsPerPel = ColourDepthOf(caption);
    const size_t x = caption.find('x');
    if (x == std::string_view::npos) return std::nullopt;
    mode.width = WholeNumber(caption.substr(0, x));
    std::string_view rest = caption.substr(x + 1);
    if (const size_t open = rest.find('('); open != std::string_view::npos) {
        mode.height = WholeNumber(rest.substr(0, open));
        rest = rest.substr(open + 1);
    } else {
        mode.height = WholeNumber(rest);
        rest = {};
    }
    if (const size_t unit = rest.find(text::kModeRateUnit); unit != std::string_view::npos)
        mode.frequency = WholeNumber(rest.substr(0, unit));
    if (mode.width <= 0 || mode.height <= 0 || mode.bitsPerPel <= 0 || mode.frequency < 0) return std::nullopt;
    return mode;
}

void SetChgDisplay(DisplayModes& display, RunTimeList& list) {
    list.items.assign(1, ListItem{std::string(text::kMenuDisplayProperties), "", true, false});
    list.items.push_back(Separator());
    const DisplayMode current = display.Current();
    std::optional<int> previousBits;
    std::set<std::string> listed;
    for (int number = 0; number < kMaxModeNumbers && list.items.size() < kListIdSpan; ++number) {
        const std::optional<DisplayMode> mode = display.Mode(number);
        if (!mode) break;
        std::string caption = DisplayModeCaption(*mode);
        if (!listed.insert(caption).second) continue;
        if (previousBits && *previousBits != mode->bitsPerPel) list.items.push_back(Separator());
        previousBits = mode->bitsPerPel;
        list.items.push_back({std::move(caption), "", true, IsCurrentMode(*mode, current)});
    }
    if (!previousBits) list.items[1] = ListItem{std::string(text::kListNone), "", false, false};
}

DisplayModeResult ChgDisplaySet(const std::string& caption, const DisplayModePorts& ports) {
    const std::optional<DisplayMode> wanted = ParseDisplayModeCaption(caption);
    if (!wanted) return {DisplayModeOutcome::NotFound};
    const std::optional<DisplayMode> offered = FindMode(ports.display, *wanted);
    if (!offered) return {DisplayModeOutcome::NotFound};
    // The rate goes with the request only when the caption named one; the
    // driver picks it otherwise.
    const DisplayMode request{offered->width, offered->height, offered->bitsPerPel, wanted->frequency};

    const DisplayChange test = ports.display.Change(request, DisplayChangeKind::Test);
    if (test == DisplayChange::Restart) return OfferRestart(request, ports);
    if (test != DisplayChange::Successful) return {DisplayModeOutcome::Refused, test};
    const DisplayChange applied = ports.display.Change(request, DisplayChangeKind::Apply);
    if (applied == DisplayChange::Successful) return {DisplayModeOutcome::Applied};
    // Stored, but the screen changes only after a restart.
    if (applied == DisplayChange::Restart) return OfferRestart(request, ports);
    return {DisplayModeOutcome::Failed, applied};
}

std::optional<MessageRequest> DisplayModeMessage(const DisplayModeResult& result, const std::string& caption) {
    std::string_view message;
    MessageIcon icon = MessageIcon::Error;
    switch (result.outcome) {
        case DisplayModeOutcome::Refused:
            message = text::kDisplayModeRefused;
            icon = MessageIcon::Warning;
            break;
        case DisplayModeOutcome::Failed: message = text::kDisplayModeFailed; break;
        case DisplayModeOutcome::RestartFailed: message = text::kRestartFailed; break;
        default: return std::nullopt;
    }
    std::string body = std::string(message) + "\r\n\r\n" + TrimSpaces(caption);
    if (result.outcome != DisplayModeOutcome::RestartFailed)
        body += " " + std::string(text::kDisplayChangeCodePrefix) + std::to_string(static_cast<int>(result.code)) +
                std::string(text::kDisplayChangeCodeSuffix);
    return MessageRequest{std::move(body), std::string(text::kMessageCaption), icon, MessageButtons::Ok};
}

}  // namespace tavi
