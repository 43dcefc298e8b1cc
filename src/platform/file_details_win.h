#pragma once
#include <windows.h>

#include "platform/file_details.h"

namespace tavi {

class Win32FileDetails final : public FileDetails {
public:
    std::optional<uint32_t> Attributes(const std::string& path) override;
    std::string ShortPath(const std::string& path) override;
    std::optional<FileFacts> Open(const std::string& path) override;
    void Wait(int milliseconds) override;
};

}  // namespace tavi
