#include "fakes/menu_fakes.h"

namespace tavi::fakes {

void FakeCommandWindows::Modal(const std::string& name) {
    log_.push_back("window " + name);
    if (whileModalOpen) whileModalOpen();
}

int FakeCommandWindows::ShowOptionSet() {
    Modal("OptionSet");
    if (optionResults.empty()) return 0;
    const int result = optionResults.front();
    optionResults.pop_front();
    return result;
}

bool FakeSystemCommands::RunProgram(const std::string& commandLine) {
    log_.push_back("run " + commandLine);
    return true;
}

PrinterSetupResult FakeSystemCommands::PrinterSetup(NativeWindow owner) {
    log_.push_back("printer " + std::to_string(owner));
    return {false, 0};
}

uint32_t FakeSystemCommands::ConnectNetworkDrive(NativeWindow owner) {
    log_.push_back("net connect " + std::to_string(owner));
    return 1222;
}

uint32_t FakeSystemCommands::DisconnectNetworkDrive(NativeWindow owner) {
    log_.push_back("net disconnect " + std::to_string(owner));
    return 1222;
}

uint32_t FakeSystemCommands::SendMediaCommand(const std::string& command) {
    log_.push_back("mci " + command);
    return 266;
}

bool FakeSystemCommands::CloseProgramManager() {
    log_.push_back("progman close");
    return false;
}

void FakeSystemCommands::Wait(int milliseconds) { log_.push_back("wait " + std::to_string(milliseconds)); }

std::vector<std::string> FakeFolderListing::FindFiles(const std::string& folder, const std::string& pattern) {
    queries.push_back(folder + "|" + pattern);
    const auto found = folders.find(folder);
    return found == folders.end() ? std::vector<std::string>{} : found->second;
}

std::string FakeFolderListing::ShortPathName(const std::string& path) {
    const auto found = shortNames.find(path);
    return found == shortNames.end() ? path : found->second;
}

std::optional<uint64_t> FakeFolderListing::LastWriteStamp(const std::string& path) {
    const auto found = stamps.find(path);
    return found == stamps.end() ? std::nullopt : std::optional<uint64_t>(found->second);
}

void FakeListHandlers::BuildWallpaperMenu(RunTimeList& list) {
    log_.push_back("wallpaper build");
    list.items.resize(1);
    list.items.insert(list.items.end(), wallPapers.begin(), wallPapers.end());
}

void FakeListHandlers::OpenDeskTopItem(const RunTimeList& list, int index) {
    log_.push_back("desktop " + list.items.at(static_cast<size_t>(index)).path);
}

void FakeListHandlers::SelectScreenSaver(RunTimeList& list, int index) {
    log_.push_back("screensaver " + list.items.at(static_cast<size_t>(index)).path);
}

void FakeListHandlers::SelectWallPaper(RunTimeList& list, int index) {
    log_.push_back("wallpaper " + list.items.at(static_cast<size_t>(index)).path);
}

}  // namespace tavi::fakes
