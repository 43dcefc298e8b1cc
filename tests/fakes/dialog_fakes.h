#pragma once
// Doubles of what the entry dialogs call besides the ports of Platform.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "app/bar_services.h"
#include "fakes/fakes.h"
#include "platform/file_chooser.h"
#include "platform/icon_files.h"

namespace tavi::fakes {

// Answers with queued paths (empty text, a cancel, once the queue is empty)
// and records every request.
class FakeFileChooser final : public FileChooser {
public:
    struct FolderRequest {
        NativeWindow owner;
        std::string prompt;
    };
    std::deque<std::string> answers;
    std::vector<FileChoice> files;
    std::vector<FolderRequest> folders;

    std::string ChooseFile(const FileChoice& choice) override;
    std::string ChooseFolder(NativeWindow owner, const std::string& prompt) override;
};

// Icon counts by exact path; any other file holds none.
class FakeIconFiles final : public IconFiles {
public:
    std::map<std::string, int> counts;
    std::vector<std::string> asked;
    int IconCount(const std::string& path) override;
};

// Records what the dialogs ask of the bar.
class FakeBarServices final : public BarServices {
public:
    FakeEntryButtons buttons;
    std::vector<std::string> calls;  // "full-rebuild", "refresh", ...
    NativeWindow handle = 0x1234;

    NativeWindow Handle() const override { return handle; }
    EntryButtons& Buttons() override { return buttons; }
    void RefreshButtons() override { calls.push_back("refresh"); }
    void Redraw() override { calls.push_back("redraw"); }
    void FullRebuild() override { calls.push_back("full-rebuild"); }
    void ReDock(bool force) override { calls.push_back(force ? "redock force" : "redock"); }
    void BringToFront() override { calls.push_back("front"); }
    void PauseTimer() override { calls.push_back("pause"); }
    void ResumeTimer() override { calls.push_back("resume"); }
    Rect ButtonRect(int position) override;
    void RepaintCommandButtons() override { calls.push_back("command-buttons"); }
    void BeginEntryMove() override { calls.push_back("move"); }
    void Close() override { calls.push_back("close"); }
};

}  // namespace tavi::fakes
