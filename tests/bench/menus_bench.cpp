// How long a right click takes before its menu can show: the run-time lists
// are rebuilt and the menu model resolved on every popup.
#include <benchmark/benchmark.h>

#include "fakes/menu_fakes.h"

using namespace tavi;

namespace {

struct UsualMachine {
    fakes::MenuFixture f;
    UsualMachine() {
        f.state.ApplicationPath = "C:\\Program Files\\TaviMenu2";
        std::vector<LaunchEntry> entries;
        for (int i = 0; i < 1000; ++i)
            entries.push_back({"ｴﾝﾄﾘｰ " + std::to_string(i), "C:\\Tools\\app" + std::to_string(i) + ".exe", "", "0",
                               "", "0"});
        fakes::GiveEntries(f.state, f.fake.platform, entries);
        f.fake.system.drives = {{"A:\\", DriveType::Removable, "3.5 ｲﾝﾁ FD (A:)"},
                                {"C:\\", DriveType::Fixed, "ﾛｰｶﾙ ﾃﾞｨｽｸ (C:)"},
                                {"D:\\", DriveType::Fixed, "DATA (D:)"},
                                {"E:\\", DriveType::CdRom, "CD-ROM ﾄﾞﾗｲﾌﾞ (E:)"},
                                {"Z:\\", DriveType::Remote, "share (\\\\server) (Z:)"}};
        std::vector<std::string>& desktop = f.folders.folders[f.folders.desktop];
        desktop = {".", "..", "desktop.ini"};
        for (int i = 0; i < 50; ++i)
            desktop.push_back((i % 3 ? "ｼｮｰﾄｶｯﾄ " : "資料 ") + std::to_string(i) + (i % 3 ? ".lnk" : ".txt"));
        f.folders.folders["C:\\WINDOWS\\system32"] = {"Mystify.scr", "Bubbles.scr", "ssText3d.scr", "scrnsave.scr"};
        f.fake.profile.Set("C:\\WINDOWS\\system.ini", "boot", "SCRNSAVE.EXE", "C:\\WINDOWS\\system32\\Bubbles.scr");
    }
};

void EntryMenuWithFiftyDesktopItems(benchmark::State& state) {
    UsualMachine machine;
    for (auto _ : state) benchmark::DoNotOptimize(machine.f.commands.PrepareEntryMenu(4));
}
BENCHMARK(EntryMenuWithFiftyDesktopItems)->Unit(benchmark::kMicrosecond);

void TrayMenuWithFiftyDesktopItems(benchmark::State& state) {
    UsualMachine machine;
    for (auto _ : state) benchmark::DoNotOptimize(machine.f.commands.PrepareTrayMenu());
}
BENCHMARK(TrayMenuWithFiftyDesktopItems)->Unit(benchmark::kMicrosecond);

}  // namespace
