#include "fakes/dialog_fakes.h"

namespace tavi::fakes {
namespace {
std::string Next(std::deque<std::string>& answers) {
    if (answers.empty()) return {};
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
}
}  // namespace

std::string FakeFileChooser::ChooseFile(const FileChoice& choice) {
    files.push_back(choice);
    return Next(answers);
}

std::string FakeFileChooser::ChooseFolder(NativeWindow owner, const std::string& prompt) {
    folders.push_back({owner, prompt});
    return Next(answers);
}

int FakeIconFiles::IconCount(const std::string& path) {
    asked.push_back(path);
    const auto found = counts.find(path);
    return found == counts.end() ? 0 : found->second;
}


}  // namespace tavi::fakes
