// Listing a folder of many files for a folder menu, and the menu made of it:
//
//   python3 tests/e2e/wine_run.py tests build/windows/folder_menu_bench.exe [files] [rounds]
//
// "menu level" is what opening the menu costs: a worker listing up to the
// cap, waited for, and the items made of it. "whole listing" reads every
// name on the calling thread, for comparison. Medians over the rounds, in
// milliseconds. Not a test: it prints figures.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "menus/folder_menu.h"
#include "platform/folder_contents_win.h"
#include "platform/wide_win.h"

using namespace tavi;

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Work>
double Median(int rounds, Work work) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        work();
        QueryPerformanceCounter(&to);
        times.push_back(Milliseconds(from, to));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::atoi(argv[1]) : 5000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
    const auto root = std::filesystem::temp_directory_path() / (L"tavi_bench_" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(root);
    for (int i = 0; i < files; ++i) {
        const std::wstring name = root / (L"ファイル " + std::to_wstring(i) + (i % 3 ? L".txt" : L".lnk"));
        CloseHandle(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    const std::string folder = Narrow(root.wstring());

    Win32FolderContents reader;
    size_t shown = 0, listed = 0;
    // Waited for to the end: what is measured is the listing, not the menu's short wait.
    constexpr std::chrono::seconds kWhole{10};
    const double level = Median(rounds, [&] { shown = ListFolderMenu(reader, folder, kWhole).size(); });
    const double worker = Median(rounds, [&] { reader.Read(folder, kFolderMenuMostItems + 1, kWhole); });
    const double here = Median(rounds, [&] { ReadFolderHere(folder, kFolderMenuMostItems + 1); });
    const double whole = Median(rounds, [&] { listed = ReadFolderHere(folder, SIZE_MAX).entries.size(); });
    const FolderContents everything = ReadFolderHere(folder, SIZE_MAX);
    const double items = Median(rounds, [&] { FolderMenuItems(folder, everything); });
    std::printf("%d files, median of %d rounds\n", files, rounds);
    std::printf("  menu level (worker, cap 501, items): %8.2f ms, %zu items\n", level, shown);
    std::printf("  listing to the cap on a worker:      %8.2f ms\n", worker);
    std::printf("  listing to the cap on this thread:   %8.2f ms\n", here);
    std::printf("  whole listing on this thread:        %8.2f ms, %zu names\n", whole, listed);
    std::printf("  items from the whole listing:        %8.2f ms\n", items);

    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return 0;
}
