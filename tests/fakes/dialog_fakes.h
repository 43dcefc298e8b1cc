#pragma once
// Doubles of what the entry dialogs call besides the ports of Platform.
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "fakes/bar_services_fake.h"
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


}  // namespace tavi::fakes
