#pragma once
// The bar as the menus, commands and dialogs see it, recording what they ask.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/bar_services.h"
#include "bar/bar_geometry.h"
#include "fakes/fakes.h"

namespace tavi::fakes {

class FakeBarServices final : public BarServices {
public:
    // Records into `calls`, or into a log shared with other fakes so tests
    // can check what came before what.
    FakeBarServices() : log_(calls) {}
    explicit FakeBarServices(std::vector<std::string>& log) : log_(log) {}

    std::vector<std::string> calls;
    FakeEntryButtons buttons;
    NativeWindow handle = 0x1234;
    Rect windowRect{0, 0, 41, 1025};
    BarLayout layout;
    bool visible = true;
    std::string runningPath;  // the program that runs
    std::function<void()> runningFollower;  // what FollowRunning was given last

    NativeWindow Handle() const override { return handle; }
    EntryButtons& Buttons() override { return buttons; }
    void RefreshButtons() override { log_.push_back("bar refresh"); }
    void Redraw() override { log_.push_back("bar redraw"); }
    void FullRebuild() override { log_.push_back("bar rebuild"); }
    void ReDock(bool force) override { log_.push_back(force ? "bar redock force" : "bar redock"); }
    void BringToFront() override { log_.push_back("bar front"); }
    void PauseTimer() override { log_.push_back("timer pause"); }
    void ResumeTimer() override { log_.push_back("timer resume"); }
    // Buttons 32 pixels square in a row from the screen's corner.
    Rect ButtonRect(int position) override { return MakeRect(position * 32, 0, 32, 32); }
    Rect WindowRect() const override { return windowRect; }
    BarButtonSizes ButtonSizes() const override { return ButtonSizesOf(layout); }
    bool Visible() const override { return visible; }
    void Show() override {
        visible = true;
        log_.push_back("bar show");
    }
    void ApplyTopMost(bool topMost) override { log_.push_back(topMost ? "bar topmost" : "bar not topmost"); }
    void SetWallpaperTimer(bool running) override {
        log_.push_back(running ? "wallpaper timer restart" : "wallpaper timer off");
    }
    void ReRegisterHotKey() override { log_.push_back("bar hotkey"); }
    void ScheduleAlarm() override { log_.push_back("alarm timer"); }
    void RepaintCommandButtons() override { log_.push_back("bar repaint"); }
    void BeginEntryMove(int index) override { log_.push_back("bar move " + std::to_string(index)); }
    void Close() override { log_.push_back("bar close"); }
    bool ProgramRuns(const std::string& path) const override { return !path.empty() && path == runningPath; }
    void BringProgramForward(const std::string& path) override { log_.push_back("bar bring forward " + path); }
    void CloseProgramWindows(const std::string& path) override { log_.push_back("bar close windows " + path); }
    void FollowRunning(std::function<void()> changed) override { runningFollower = std::move(changed); }
    // What runs is now `path`: the bar tells whoever follows it.
    void Runs(std::string path) {
        runningPath = std::move(path);
        if (runningFollower) runningFollower();
    }

private:
    std::vector<std::string>& log_;
};

}  // namespace tavi::fakes
