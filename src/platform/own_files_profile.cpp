#include "platform/own_files_profile.h"

#include <algorithm>

#include "platform/text.h"

namespace tavi {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

OwnFilesProfile::OwnFilesProfile(Profile& own, Profile& system, const std::string& folder)
    : own_(own), system_(system), folder_(folder) {
    if (folder_.empty() || !IsSeparator(folder_.back())) folder_ += '\\';
}

Profile& OwnFilesProfile::For(const std::string& file) {
    // Only a file directly in the folder is ours; names compare as the file
    // system does, without case.
    if (file.size() <= folder_.size()) return system_;
    const bool inFolder = SamePathText(std::string_view(file).substr(0, folder_.size()), folder_);
    const bool direct = std::none_of(file.begin() + static_cast<std::ptrdiff_t>(folder_.size()), file.end(), IsSeparator);
    return inFolder && direct ? own_ : system_;
}

std::string OwnFilesProfile::GetString(const std::string& file, const std::string& section, const std::string& key) {
    return For(file).GetString(file, section, key);
}

bool OwnFilesProfile::WriteString(const std::string& file, const std::string& section, const std::string& key,
                                  const std::string& value) {
    return For(file).WriteString(file, section, key, value);
}

bool OwnFilesProfile::DeleteKey(const std::string& file, const std::string& section, const std::string& key) {
    return For(file).DeleteKey(file, section, key);
}

bool OwnFilesProfile::DeleteSection(const std::string& file, const std::string& section) {
    return For(file).DeleteSection(file, section);
}

void OwnFilesProfile::BeginBatch() {
    own_.BeginBatch();
    system_.BeginBatch();
}

bool OwnFilesProfile::EndBatch() {
    const bool own = own_.EndBatch();
    return system_.EndBatch() && own;
}

}  // namespace tavi
