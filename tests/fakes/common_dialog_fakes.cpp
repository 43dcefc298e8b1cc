#include "fakes/common_dialog_fakes.h"

#include <algorithm>
#include <new>

namespace tavi::fakes {

namespace {

template <typename T>
T Next(std::deque<T>& queue) {
    if (queue.empty()) return T{};
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}

}  // namespace

FileDialogResult FakeCommonDialogs::PickFile(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileOutOfMemory) {
        fileOutOfMemory = false;
        throw std::bad_alloc();
    }
    return Next(fileResults);
}

FolderBrowseResult FakeCommonDialogs::BrowseForFolder(const FolderBrowseRequest& request) {
    folderRequests.push_back(request);
    return Next(folderResults);
}

size_t FakeCommonDialogs::CallCount() const {
    return fileRequests.size() + folderRequests.size();
}

FileDialogResult FakeCommonDialogs::Chose(const FileDialogRequest& request, const std::string& selection,
                                          bool severalFiles) {
    FileDialogResult result;
    result.confirmed = true;
    result.severalFiles = severalFiles;
    // The buffer as the system leaves it: the selection and its NUL over the
    // initial text, NULs up to the buffer's size (counted in bytes here).
    std::string buffer = request.initialFile;
    buffer.resize(std::max<size_t>(request.bufferSize, selection.size() + 2), '\0');
    buffer.replace(0, selection.size() + 1, selection + '\0');
    result.fileBuffer = buffer;
    const size_t slash = selection.rfind('\\');
    result.fileTitleBuffer = request.fileTitle;
    const std::string title = (slash == std::string::npos ? selection : selection.substr(slash + 1)) + '\0';
    result.fileTitleBuffer.replace(0, std::min(title.size(), result.fileTitleBuffer.size()), title);
    return result;
}

FileDialogResult FakeCommonDialogs::Failed(uint32_t extendedError) {
    FileDialogResult result;
    result.extendedError = extendedError;
    return result;
}

}  // namespace tavi::fakes
