#pragma once
#include <windows.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/wide_win.h"

// A fresh folder under %TEMP%, with a Japanese name so that every path the
// tests pass is beyond ASCII; removed with its contents at the end.
class TempFolder {
public:
    TempFolder() {
        static int count = 0;
        path_ = std::filesystem::temp_directory_path() /
                (L"tavi_テスト_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++count));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The UTF-8 path of `name` inside the folder, as the ports take it.
    std::string PathOf(std::string_view name) const {
        return tavi::Narrow((path_ / tavi::Widen(name)).wstring());
    }

private:
    std::filesystem::path path_;
};
