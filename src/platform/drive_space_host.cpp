#include <filesystem>
#include <system_error>

#include "platform/host_adapters.h"

namespace tavi {

std::optional<DriveSpace> HostDriveSpaces::SpaceOf(const std::string& root) {
#ifdef _WIN32
    const std::filesystem::path path = std::filesystem::u8path(root);
#else
    std::string native = root;
    for (char& c : native)
        if (c == '\\') c = '/';
    const std::filesystem::path path(native);
#endif
    std::error_code error;
    const std::filesystem::space_info space = std::filesystem::space(path, error);
    if (error) return std::nullopt;
    return DriveSpace{space.capacity, space.free};
}

}  // namespace tavi
