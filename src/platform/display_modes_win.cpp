#include "platform/display_modes_win.h"

#include "platform/handles_win.h"

namespace tavi {
namespace {

// 0 and 1 both stand for the hardware's default rate, which is no rate to show.
int RateOf(DWORD frequency) { return frequency > 1 ? static_cast<int>(frequency) : 0; }

DisplayMode ModeOf(const DEVMODEW& record) {
    return {static_cast<int>(record.dmPelsWidth), static_cast<int>(record.dmPelsHeight),
            static_cast<int>(record.dmBitsPerPel), RateOf(record.dmDisplayFrequency)};
}

DisplayChange ChangeOf(LONG result) {
    if (result >= DISP_CHANGE_BADDUALVIEW && result <= DISP_CHANGE_RESTART) return static_cast<DisplayChange>(result);
    return DisplayChange::Failed;
}

DWORD FlagsOf(DisplayChangeKind kind) {
    switch (kind) {
        case DisplayChangeKind::Test: return CDS_TEST;
        case DisplayChangeKind::Apply: return CDS_UPDATEREGISTRY;
        case DisplayChangeKind::StoreOnly: return CDS_UPDATEREGISTRY | CDS_NORESET;
    }
    return CDS_TEST;
}

}  // namespace

std::optional<DisplayMode> Win32DisplayModes::Mode(int number) {
    DEVMODEW record{};
    record.dmSize = sizeof record;
    if (number < 0 || !EnumDisplaySettingsW(nullptr, static_cast<DWORD>(number), &record)) return std::nullopt;
    return ModeOf(record);
}

DisplayMode Win32DisplayModes::Current() {
    DEVMODEW record{};
    record.dmSize = sizeof record;
    if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &record)) return ModeOf(record);
    // Some drivers keep no current record; the screen's device context knows the mode too.
    DisplayMode mode;
    if (const WindowDc screen(nullptr); screen) {
        const HDC dc = screen.Get();
        mode = {GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, BITSPIXEL),
                RateOf(static_cast<DWORD>(GetDeviceCaps(dc, VREFRESH)))};
    }
    return mode;
}

DisplayChange Win32DisplayModes::Change(const DisplayMode& mode, DisplayChangeKind kind) {
    DEVMODEW record{};
    record.dmSize = sizeof record;
    record.dmPelsWidth = static_cast<DWORD>(mode.width);
    record.dmPelsHeight = static_cast<DWORD>(mode.height);
    record.dmBitsPerPel = static_cast<DWORD>(mode.bitsPerPel);
    record.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    if (mode.frequency != 0) {
        record.dmDisplayFrequency = static_cast<DWORD>(mode.frequency);
        record.dmFields |= DM_DISPLAYFREQUENCY;
    }
    return ChangeOf(ChangeDisplaySettingsW(&record, FlagsOf(kind)));
}

}  // namespace tavi
