#include "menus/desktop_list_handlers.h"

#include "menus/desktop_items.h"
#include "menus/display_menu.h"
#include "menus/wallpapers.h"

namespace tavi {

DesktopListHandlers::DesktopListHandlers(const DesktopListPorts& ports) : ports_(ports) {}

void DesktopListHandlers::SetChgDisplay() {
    if (displayList_) tavi::SetChgDisplay(ports_.display, *displayList_);
}

void DesktopListHandlers::TimWallPaperTick() {
    tavi::TimWallPaperTick(ports_.state, ports_.desktop, WallpaperPeriodMinutes(ports_.state.settings.Values()));
}

void DesktopListHandlers::BuildWallpaperMenu(RunTimeList& wallPapers) {
    Platform& p = ports_.platform;
    tavi::BuildWallpaperMenu(ports_.state, wallPapers, {p.system, p.profile, ports_.folders, ports_.desktop});
}

void DesktopListHandlers::OpenDeskTopItem(const RunTimeList& deskTop, int index) {
    tavi::OpenDeskTopItem(deskTop, index, ports_.platform.shell);
}

void DesktopListHandlers::SelectScreenSaver(RunTimeList& screenSavers, int index) {
    tavi::SelectScreenSaver(screenSavers, index, ports_.platform.system, ports_.platform.profile, ports_.desktop);
}

void DesktopListHandlers::SelectWallPaper(RunTimeList& wallPapers, int index) {
    tavi::SelectWallPaper(ports_.state, wallPapers, index, ports_.desktop);
}

void DesktopListHandlers::ChgDisplaySet(const std::string& caption) {
    BarServices& bar = ports_.bar;
    // The restart question and the messages are modal: no auto-hide meanwhile.
    bar.PauseTimer();
    const DisplayModeResult result =
        tavi::ChgDisplaySet(caption, {ports_.display, ports_.rebootPrompt, ports_.restart, bar.Handle()});
    switch (result.outcome) {
        case DisplayModeOutcome::Applied:
            SetChgDisplay();
            bar.ReDock(true);
            break;
        case DisplayModeOutcome::NotFound:
        case DisplayModeOutcome::Failed:
            // The driver's modes or the screen are not what the list shows.
            SetChgDisplay();
            break;
        case DisplayModeOutcome::Restarting:
            bar.Close();
            return;
        default: break;
    }
    if (const std::optional<MessageRequest> message = DisplayModeMessage(result, caption))
        (void)ports_.platform.messages.Show(*message);
    if (!ports_.state.Closing) bar.ResumeTimer();
}

}  // namespace tavi
