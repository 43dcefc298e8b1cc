// Icon extraction for one page of buttons, with a cold and a warm cache and
// from the icon cache a start leaves for the next:
//
//   python3 tests/e2e/wine_run.py tests build/windows/icons_bench.exe [rounds]
//
// A page is 25 buttons of the start-up benchmark's kinds: programs of the
// prefix, documents (their program's picture, one per extension), folders,
// batch files and groups. "cold" is a page drawn into freshly reset image
// lists (the start and the redraw command); "warm" the same page again (a
// page turned back); "next page" a page of other entries of the same
// programs (a page turned forwards, pictures shared by file). Medians over
// the rounds, in milliseconds. Not a test: it prints figures.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bar/bar_icons_win.h"
#include "platform/picture_workers_win.h"
#include "platform/win32_adapters_win.h"

using namespace tavi;

namespace {

const char* const kPrograms[] = {
    "C:\\windows\\notepad.exe",           "C:\\windows\\regedit.exe",           "C:\\windows\\explorer.exe",
    "C:\\windows\\winhlp32.exe",          "C:\\windows\\system32\\winecfg.exe", "C:\\windows\\system32\\winemine.exe",
    "C:\\windows\\system32\\taskmgr.exe", "C:\\windows\\system32\\cmd.exe",     "C:\\windows\\system32\\control.exe",
    "C:\\windows\\system32\\winefile.exe", "C:\\windows\\system32\\clock.exe",  "C:\\windows\\system32\\progman.exe",
};
const char* const kDocuments[] = {"memo.txt", "settings.ini", "work.log"};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string CurrentFolder() {
    char folder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

// Entry `i` of the list, by the same pattern of ten as the start-up benchmark.
LaunchEntry EntryAt(int i, const std::string& folder) {
    const int kind = i % 10;
    if (kind == 9) return {"group", "[group" + std::to_string(i) + "]", "", "0", "", "0"};
    if (kind == 2 || kind == 7) {
        const std::string path = folder + "\\" + kDocuments[i % 3];
        return {"document", path, "", "0", path, "0"};
    }
    if (kind == 5) return {"folder", "C:\\windows\\", "", "0", "C:\\windows\\", "0"};
    if (kind == 8) {
        const std::string path = folder + "\\work.bat";
        return {"batch", path, "", "0", path, "0"};
    }
    const std::string program = kPrograms[(i * 7 + kind) % std::size(kPrograms)];
    return {"program", program, "", "0", program, "0"};
}

double DrawPage(BarIcons& icons, Win32Shell& shell, int first, const std::string& folder) {
    LARGE_INTEGER began, ended;
    QueryPerformanceCounter(&began);
    // Until every picture has come from the workers: a document's program
    // comes first, and its picture is asked for when the page is shown again,
    // as the bar does when answers come.
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = first; i < first + 25; ++i) icons.ImageFor(EntryAt(i, folder), i, true, shell);
        if (icons.Coming() == 0) break;
        while (icons.Coming() > 0) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        }
    }
    QueryPerformanceCounter(&ended);
    return Milliseconds(began, ended);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const std::string folder = CurrentFolder();
    for (const char* name : {"memo.txt", "settings.ini", "work.log", "work.bat"}) {
        HANDLE file = CreateFileA((folder + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    Win32Shell shell;
    Win32Pictures pictures;
    std::vector<double> cold, cached, warm, next;
    for (int round = 0; round < rounds; ++round) {
        // A start without the icon cache, which leaves one for the next.
        BarIcons first(pictures.Fetches());
        first.Reset(0, 32, 16);
        cold.push_back(DrawPage(first, shell, 0, folder));
        const std::optional<IconCache> kept = ReadIconCache(first.CacheToKeep().value_or(""));
        // The next start, and then its page turns once the start is done.
        BarIcons icons(pictures.Fetches());
        if (kept) icons.UseCache(*kept);
        icons.Reset(0, 32, 16);
        cached.push_back(DrawPage(icons, shell, 0, folder));
        icons.ForgetCache();
        warm.push_back(DrawPage(icons, shell, 0, folder));
        next.push_back(DrawPage(icons, shell, 25 * (1 + round % 30), folder));
    }
    std::printf("%d rounds, 25 buttons a page, medians: cold %.1f ms, from the icon cache %.1f ms, warm %.2f ms, "
                "next page %.1f ms\n",
                rounds, Median(cold), Median(cached), Median(warm), Median(next));
    return 0;
}
