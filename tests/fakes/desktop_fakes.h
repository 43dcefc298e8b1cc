#pragma once
// Doubles of the display, desktop and restart ports and of RebootDialog. Each
// records its calls into a log shared with other fakes, so tests can check
// what came before what.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "menus/reboot_prompt.h"
#include "platform/desktop_parameters.h"
#include "platform/display_modes.h"
#include "platform/system_restart.h"

namespace tavi::fakes {

// A driver with a fixed mode list; a change answers from `answers` by kind.
// The screen's mode follows an applied change, as on the real system.
class FakeDisplayModes final : public DisplayModes {
public:
    explicit FakeDisplayModes(std::vector<std::string>& log) : log_(log) {}
    std::vector<DisplayMode> modes;
    DisplayMode current;
    DisplayChange testAnswer = DisplayChange::Successful;
    DisplayChange applyAnswer = DisplayChange::Successful;
    DisplayChange storeAnswer = DisplayChange::Successful;

    std::optional<DisplayMode> Mode(int number) override;
    DisplayMode Current() override { return current; }
    DisplayChange Change(const DisplayMode& mode, DisplayChangeKind kind) override;

private:
    std::vector<std::string>& log_;
};

// "WxH@bits/rate" in the log.
std::string Describe(const DisplayMode& mode);

class FakeDesktopParameters final : public DesktopParameters {
public:
    explicit FakeDesktopParameters(std::vector<std::string>& log) : log_(log) {}
    std::optional<std::string> wallpaper = std::string();  // nothing: the system cannot tell
    bool screenSaverActive = false;
    bool failSets = false;

    std::optional<std::string> Wallpaper() override { return wallpaper; }
    bool SetWallpaper(const std::string& path) override;
    bool SetScreenSaverActive(bool active) override;

private:
    std::vector<std::string>& log_;
};

class FakeSystemRestart final : public SystemRestart {
public:
    explicit FakeSystemRestart(std::vector<std::string>& log) : log_(log) {}
    bool accepts = true;
    bool Restart() override {
        log_.push_back(accepts ? "restart" : "restart refused");
        return accepts;
    }

private:
    std::vector<std::string>& log_;
};

// Answers RebootDialog with `answer`, recording its owner.
class FakeRebootPrompt final : public RebootPrompt {
public:
    explicit FakeRebootPrompt(std::vector<std::string>& log) : log_(log) {}
    RebootChoice answer = RebootChoice::Cancel;
    RebootChoice Ask(NativeWindow owner) override {
        log_.push_back("frmReboot " + std::to_string(owner));
        return answer;
    }

private:
    std::vector<std::string>& log_;
};

}  // namespace tavi::fakes
