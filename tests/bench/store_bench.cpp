// How long the entry list and the settings take to load and save: the
// launcher reads both on every start and writes the list after every change.
#include <benchmark/benchmark.h>

#include "app/entry_store.h"
#include "app/ex_menu_store.h"
#include "app/settings.h"
#include "fakes/fakes.h"
#include "platform/ini_profile.h"

using namespace tavi;

namespace {

EntryStore ThousandEntries() {
    EntryStore store;
    store.ResizeEntryArrays(999);
    for (int i = 0; i < 1000; ++i) {
        const std::string path = "C:\\Program Files\\ﾂｰﾙ" + std::to_string(i) + "\\アプリ" + std::to_string(i) + ".exe";
        store.slots[i] = {"ｴﾝﾄﾘｰ " + std::to_string(i), path, "/p " + std::to_string(i), "0", path, "0"};
    }
    return store;
}

struct RealFiles {
    fakes::TempFolder folder;
    HostFileSystem files;
    IconvCodePage codePage;
    fakes::FakePlatform fake;
    Platform platform{fake.profile, files, codePage, fake.system, fake.shell, fake.messages};
};

void SaveThousandEntries(benchmark::State& state) {
    RealFiles real;
    const EntryStore store = ThousandEntries();
    for (auto _ : state) benchmark::DoNotOptimize(SaveEntries(store, real.platform, real.folder.Path()));
}
BENCHMARK(SaveThousandEntries)->Unit(benchmark::kMicrosecond);

void LoadThousandEntries(benchmark::State& state) {
    RealFiles real;
    if (!SaveEntries(ThousandEntries(), real.platform, real.folder.Path())) state.SkipWithError("cannot write");
    for (auto _ : state) {
        EntryStore store = LoadEntries(real.platform.files, real.platform.codePage, real.folder.Path()).store;
        benchmark::DoNotOptimize(store.slots.data());
    }
}
BENCHMARK(LoadThousandEntries)->Unit(benchmark::kMicrosecond);

void FormatAndParseThousandEntries(benchmark::State& state) {
    const EntryStore store = ThousandEntries();
    for (auto _ : state) benchmark::DoNotOptimize(ParseEntries(FormatEntries(store)).slots.size());
}
BENCHMARK(FormatAndParseThousandEntries)->Unit(benchmark::kMicrosecond);

// What start-up reads and what closing (or re-docking) writes.
void SettingsRoundTrip(benchmark::State& state) {
    RealFiles real;
    IniProfile profile(real.files, real.codePage);
    const std::string path = SettingsFilePath(real.folder.Path());
    Settings settings;
    settings.WaveFile = "C:\\サウンド\\ｱﾗｰﾑ.wav";
    for (auto _ : state) {
        SaveSettings(settings, profile, path);
        Settings back;
        LoadSettings(back, profile, path);
        benchmark::DoNotOptimize(back.IniBuff.data());
    }
}
BENCHMARK(SettingsRoundTrip)->Unit(benchmark::kMicrosecond);

// Opening one group reads its section of "TaviMenu2.INI"; a file of
// `sections` groups of ten members each, the group asked for in the middle.
void OpenGroupOfBigMemberFile(benchmark::State& state) {
    RealFiles real;
    IniProfile profile(real.files, real.codePage, true);
    const int sections = static_cast<int>(state.range(0));
    std::string bytes;
    for (int s = 0; s < sections; ++s) {
        bytes += "[" + ExMenuSection(s) + "]\r\n";
        for (int m = 0; m < 10; ++m)
            for (const char* field : {"ExTitle", "ExPathName", "ExCommand", "ExRunType"})
                bytes += ExMenuKey(m, field) + "=ﾒﾝﾊﾞｰ" + std::to_string(m) + "\r\n";
    }
    if (!real.files.ReplaceAll(ExMenuFilePath(real.folder.Path()), bytes)) state.SkipWithError("cannot write");
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadExMenu(profile, real.folder.Path(), sections / 2, 9).size());
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(OpenGroupOfBigMemberFile)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
