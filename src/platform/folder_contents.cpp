#include "platform/folder_contents.h"

#include <algorithm>

namespace tavi {

std::string FolderRoot(std::string_view folder) {
    std::string path(folder);
    std::transform(path.begin(), path.end(), path.begin(), [](char c) {
        return c == '/' ? '\\' : c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    if (path.starts_with("\\\\?\\unc\\")) path = "\\\\" + path.substr(8);
    else if (path.starts_with("\\\\?\\") || path.starts_with("\\\\.\\")) path = path.substr(4);
    if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
    if (path.starts_with("\\\\")) {
        // Server and share: the first two names after the leading "\\".
        const size_t server = path.find('\\', 2);
        if (server == std::string::npos) return path;
        const size_t share = path.find('\\', server + 1);
        return path.substr(0, share);
    }
    return path;
}

}  // namespace tavi
