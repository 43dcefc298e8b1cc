#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "bar/bar_icons_win.h"
#include "bar/stock_icons_win.h"
#include "platform/handles_win.h"
#include "platform/picture_workers_win.h"
#include "platform/pixel_canvas_win.h"
#include "platform/program_icon_ids.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"
#include "pump_win.h"

using namespace tavi;

namespace {

// Counts the pixels one picture of a list paints over a white background.
int OpaquePixels(const PictureList* list, int index) {
    if (!list || !list->Pixels(index)) return -1;
    PixelCanvas canvas(list->Size(), list->Size());
    canvas.Fill(0x00FFFFFF);
    list->Draw(canvas.Dc(), index, 0, 0);
    canvas.Finish();
    return static_cast<int>(std::count_if(canvas.Pixels(), canvas.Pixels() + canvas.Width() * canvas.Height(),
                                          [](uint32_t p) { return (p & 0x00FFFFFF) != 0x00FFFFFF; }));
}

// Moves a file's last write `hoursAgo` into the past.
void Backdate(const std::string& path, int hoursAgo) {
    HANDLE file = CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
    t.QuadPart -= static_cast<ULONGLONG>(hoursAgo) * 3600ull * 10'000'000ull;
    const FILETIME then{t.LowPart, t.HighPart};
    SetFileTime(file, nullptr, nullptr, &then);
    CloseHandle(file);
}

constexpr int kGeneric = 1;  // the "Nothing" stock picture, shown while a picture comes

// A button's picture once it has come: the answer is the generic one while
// a file must be read (the program of a document looked for, then its icon),
// and never a wait.
// A picture kept from the last run shows at once instead.
int Settled(BarIcons& icons, const LaunchEntry& entry, int index, tavi::Shell& shell, bool keptShown = false) {
    int shown = icons.ImageFor(entry, index, true, shell);
    for (int step = 0; step < 3 && icons.Coming() > 0; ++step) {
        if (keptShown)
            EXPECT_NE(shown, kGeneric) << entry.IconPath << ": the last run's picture at once";
        else
            EXPECT_EQ(shown, kGeneric) << entry.IconPath << ": the generic picture while it comes";
        EXPECT_TRUE(PumpUntil([&] { return icons.Coming() == 0; })) << entry.IconPath;
        shown = icons.ImageFor(entry, index, true, shell);
    }
    return shown;
}

std::string WindowsFile(const char* name) {
    wchar_t folder[MAX_PATH];
    GetWindowsDirectoryW(folder, MAX_PATH);
    return Narrow(folder) + "\\" + name;
}

}  // namespace

TEST(StockIcons, EveryPictureIsDrawnAtEverySize) {
    for (int size : {16, 24, 32}) {
        for (StockIcon icon : {StockIcon::Dos, StockIcon::Nothing, StockIcon::Folder, StockIcon::Drag}) {
            HICON handle = CreateStockIcon(icon, size);
            ASSERT_NE(handle, nullptr) << "icon " << static_cast<int>(icon) << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(handle, &info));
            BITMAP bitmap{};
            GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size);
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(handle);
        }
    }
}

// The program's icon holds each size the shell, the tray and the title bars
// ask for at 100 to 200 % and the 256 px picture Explorer shows large; every
// one is opaque in its middle and clear in its corners.
TEST(ProgramIcon, HoldsEverySizeTheSystemAsksFor) {
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(IDI_TAVIMENU2), RT_GROUP_ICON);
    ASSERT_NE(found, nullptr);
    const auto* group = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(group, nullptr);
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + 14 * i;  // GRPICONDIRENTRY
        const int size = entry[0] == 0 ? 256 : entry[0];
        sizes.push_back(size);
        EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), 32) << "bits of the " << size << " px picture";
        HRSRC image = FindResourceW(nullptr, MAKEINTRESOURCEW(*reinterpret_cast<const WORD*>(entry + 12)), RT_ICON);
        ASSERT_NE(image, nullptr) << size;
        const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, image)));
        if (size == 256) {
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(data) + 1, 3), "PNG");
            continue;
        }
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
        ASSERT_EQ(header->biWidth, size);
        const auto* pixels = reinterpret_cast<const uint32_t*>(data + header->biSize);
        EXPECT_EQ(pixels[(size / 2) * size + size / 2] >> 24, 255u) << size << " px: its middle";
        EXPECT_EQ(pixels[0] >> 24, 0u) << size << " px: its corner";
        HICON icon = static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TAVIMENU2), IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << size;
        DestroyIcon(icon);
    }
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));
}

TEST(BarIcons, StockPicturesComeFirstAndKeysAreExtractedOnce) {
    Win32Shell shell;
    Win32Pictures pictures;
    BarIcons icons(pictures.Fetches());
    // Sizes of the three rows at 96 and at 144 dpi.
    const struct {
        int sizeIndex, icon, small;
    } rows[] = {{0, 32, 16}, {1, 16, 16}, {2, 24, 16}, {0, 48, 24}, {1, 24, 24}, {2, 36, 24}};
    for (const auto& row : rows) {
        const PictureList& list = icons.Reset(row.sizeIndex, row.icon, row.small);
        ASSERT_EQ(list.Count(), 3) << "size index " << row.sizeIndex;
        EXPECT_EQ(list.Size(), row.sizeIndex == 1 ? row.small : row.icon) << "size index " << row.sizeIndex;
        for (int stock = 0; stock < 3; ++stock) EXPECT_GT(OpaquePixels(&list, stock), 10) << "stock " << stock;
    }

    icons.Reset(0, 32, 16);
    const std::string notepad = WindowsFile("notepad.exe");
    const LaunchEntry program{"Notepad", notepad, "", "0", notepad, "0"};
    const int first = Settled(icons, program, 3, shell);
    EXPECT_EQ(first, 3) << "the first extracted picture follows the three stock ones";
    EXPECT_TRUE(icons.HasKey("k.exe7"));
    EXPECT_GT(OpaquePixels(icons.Active(), first), 50) << "notepad's own icon is drawn";
    EXPECT_EQ(icons.ImageFor(program, 3, true, shell), first) << "a stored key is reused";
    EXPECT_EQ(icons.Active()->Count(), 4);
    // Another entry has a key of its own; the same icon of the same file is
    // not extracted and stored a second time.
    EXPECT_EQ(icons.ImageFor(program, 4, true, shell), first);
    EXPECT_TRUE(icons.HasKey("k.exe8"));
    EXPECT_EQ(icons.Active()->Count(), 4);
}

TEST(BarIcons, AMissingIconFileStoresAnEmptyPicture) {
    Win32Shell shell;
    Win32Pictures pictures;
    BarIcons icons(pictures.Fetches());
    icons.Reset(2, 24, 16);
    const LaunchEntry entry{"Gone", "C:\\nowhere\\gone.exe", "", "0", "C:\\nowhere\\gone.ico", "0"};
    const int index = Settled(icons, entry, 0, shell);
    ASSERT_EQ(index, 3);
    EXPECT_EQ(OpaquePixels(icons.Active(), index), 0);
    // A document type nobody opens shows the "Nothing" picture.
    const LaunchEntry unknown{"U", "C:\\x.unknownext", "", "0", "C:\\x.unknownext", "0"};
    EXPECT_EQ(icons.ImageFor(unknown, 1, true, shell), 1);
}

TEST(BarIcons, AProgramWithoutIconsGetsAnEmptyPictureNotAStrayOne) {
    // Wine's explorer.exe carries no icon resources at all.
    Win32Shell shell;
    Win32Pictures pictures;
    BarIcons icons(pictures.Fetches());
    icons.Reset(0, 32, 16);
    const std::string explorer = WindowsFile("explorer.exe");
    const int index = Settled(icons, {"Ex", explorer, "", "0", explorer, "0"}, 1, shell);
    ASSERT_EQ(index, 3);
    const int opaque = OpaquePixels(icons.Active(), index);
    const UINT count = ExtractIconExW(Widen(explorer).c_str(), -1, nullptr, nullptr, 0);
    EXPECT_EQ(count == 0, opaque == 0) << "icons in the file: " << count << ", opaque pixels: " << opaque;
}

TEST(BarIcons, TheShellIsAskedOncePerPathUntilTheListsAreReset) {
    // Counts the documents whose programs the workers ask the shell for.
    std::mutex mutex;
    std::vector<std::string> documents;
    Win32Pictures pictures({}, [&](const PictureRequest& request) {
        const std::lock_guard<std::mutex> lock(mutex);
        if (request.source == PictureRequest::Source::Association) documents.push_back(request.path);
    });
    const auto asked = [&] {
        const std::lock_guard<std::mutex> lock(mutex);
        return documents;
    };
    Win32Shell shell;
    BarIcons icons(pictures.Fetches());
    icons.Reset(0, 32, 16);
    const std::string notepad = WindowsFile("notepad.exe");
    const std::string regedit = WindowsFile("regedit.exe");
    // A page turn: other entries (other keys) of the same programs.
    for (int index : {0, 1, 25, 26})
        Settled(icons, {"P", index % 2 ? regedit : notepad, "", "0", index % 2 ? regedit : notepad, "0"}, index, shell);
    EXPECT_EQ(asked(), (std::vector<std::string>{notepad, regedit}));
    EXPECT_TRUE(icons.HasKey("k.exe29")) << "the entry of the second page still has its own key";
    EXPECT_EQ(icons.Active()->Count(), 5) << "one picture per program";

    // A document type nobody opens keeps its "Nothing" picture, asked once too.
    const LaunchEntry unknown{"U", "C:\\x.unknownext", "", "0", "C:\\x.unknownext", "0"};
    EXPECT_EQ(Settled(icons, unknown, 2, shell), 1);
    EXPECT_EQ(Settled(icons, unknown, 2, shell), 1);
    EXPECT_EQ(asked().size(), 3u);

    icons.Reset(0, 32, 16);
    Settled(icons, {"P", notepad, "", "0", notepad, "0"}, 0, shell);
    EXPECT_EQ(asked().size(), 4u) << "the redraw asks the shell afresh";
}

TEST(BarIcons, APictureKeptFromTheLastRunIsUsedWhileItsFileStandsAsItWas) {
    Win32Shell shell;
    TempFolder folder;
    const std::string program = folder.PathOf("prog.exe");
    ASSERT_TRUE(CopyFileW(Widen(WindowsFile("notepad.exe")).c_str(), Widen(program).c_str(), FALSE));
    Backdate(program, 1);
    const LaunchEntry entry{"P", program, "", "0", program, "0"};

    // The last run drew it; its cache is given a marked picture, so that a
    // picture taken from it can be told from one drawn again.
    Win32Pictures pictures;
    BarIcons last(pictures.Fetches());
    last.Reset(0, 32, 16);
    ASSERT_EQ(Settled(last, entry, 0, shell), 3);
    const std::optional<std::string> kept = last.CacheToKeep();
    ASSERT_TRUE(kept);
    std::optional<IconCache> cache = ReadIconCache(*kept);
    ASSERT_TRUE(cache);
    ASSERT_EQ(cache->pictures.size(), 1u) << "only the drawn program, not the stock pictures";
    EXPECT_EQ(cache->pictures[0].iconFile, program);
    constexpr uint32_t kMarked = 0xFF112233;
    std::fill(cache->pictures[0].pixels.begin(), cache->pictures[0].pixels.end(), kMarked);

    const auto pixel = [](BarIcons& icons, int index) {
        return icons.Active()->Pixels(index) ? icons.Active()->Pixels(index)[0] : 0u;
    };
    const auto firstPixel = [&](BarIcons& icons, int sizeIndex, bool keptShown = false) {
        icons.Reset(sizeIndex, 32, 16);
        return pixel(icons, Settled(icons, entry, 0, shell, keptShown));
    };
    int redraws = 0;
    const auto countRedraws = [&](BarIcons& icons) { icons.OnArrival([&](bool redrawn) { redraws += redrawn; }); };
    {
        BarIcons next(pictures.Fetches());
        next.UseCache(*cache);
        countRedraws(next);
        EXPECT_EQ(firstPixel(next, 0, true), kMarked) << "taken from the cache, the program not opened";
        EXPECT_FALSE(next.CacheToKeep()) << "nothing new to write";
        EXPECT_EQ(redraws, 0);
    }
    const struct {
        const char* name;
        std::function<void(BarIcons&)> change;
        int sizeIndex;
        bool keptShown;  // the last run's picture first, drawn anew once the file is found changed
        size_t kept;     // pictures for the run after
    } rows[] = {
        {"the program changed since", [&](BarIcons&) { Backdate(program, 2); }, 0, true, 1},
        {"another size shown", [](BarIcons&) {}, 1, false, 1},
        {"the cache forgotten (the redraw command, a page turned after the start)",
         [](BarIcons& icons) { icons.ForgetCache(); }, 0, false, 0},
    };
    for (const auto& row : rows) {
        BarIcons next(pictures.Fetches());
        next.UseCache(*cache);
        row.change(next);
        redraws = 0;
        countRedraws(next);
        EXPECT_NE(firstPixel(next, row.sizeIndex, row.keptShown), kMarked) << row.name;
        EXPECT_EQ(redraws, row.keptShown ? 1 : 0) << row.name;
        const std::optional<IconCache> after = ReadIconCache(next.CacheToKeep().value_or(""));
        ASSERT_TRUE(after) << row.name;
        EXPECT_EQ(after->pictures.size(), row.kept) << row.name;
        Backdate(program, 1);
    }

    // A file written moments ago may change again within one stamp: drawn,
    // but not kept.
    Backdate(program, 0);
    BarIcons fresh(pictures.Fetches());
    fresh.UseCache(*cache);
    EXPECT_NE(firstPixel(fresh, 0, true), kMarked);
    const std::optional<IconCache> freshKept = ReadIconCache(fresh.CacheToKeep().value_or(""));
    ASSERT_TRUE(freshKept);
    EXPECT_TRUE(freshKept->pictures.empty());
}

TEST(BarIcons, AnIconFileThatDoesNotAnswerShowsTheGenericPictureUntilItComes) {
    const OwnedHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    Win32Pictures pictures({}, [&](const PictureRequest&) { WaitForSingleObject(release.Get(), 20000); });
    Win32Shell shell;
    BarIcons icons(pictures.Fetches());
    int arrivals = 0;
    icons.OnArrival([&](bool) { ++arrivals; });
    icons.Reset(0, 32, 16);
    // An icon file of its own: its picture is asked for at once, no program looked for.
    const std::string notepad = WindowsFile("notepad.exe");
    const LaunchEntry program{"Notepad", WindowsFile("regedit.exe"), "", "0", notepad, "0"};

    EXPECT_EQ(icons.ImageFor(program, 0, true, shell), kGeneric);
    EXPECT_EQ(icons.ImageFor(program, 1, true, shell), kGeneric) << "another button of the same program";
    EXPECT_EQ(Win32Pictures::WorkersAlive(), 1) << "the same icon is fetched once";
    EXPECT_FALSE(PumpUntil([&] { return arrivals > 0; }, std::chrono::milliseconds(100))) << "nothing comes while the file holds";

    SetEvent(release.Get());
    ASSERT_TRUE(PumpUntil([&] { return arrivals > 0; }));
    EXPECT_EQ(arrivals, 1);
    EXPECT_EQ(icons.ImageFor(program, 0, true, shell), 3);
    EXPECT_EQ(icons.ImageFor(program, 1, true, shell), 3);
    EXPECT_GT(OpaquePixels(icons.Active(), 3), 50);
    EXPECT_TRUE(PumpUntil([] { return Win32Pictures::WorkersAlive() == 0; }));
}

// A share that does not answer holds two workers; what waits behind them
// is let go once they are stuck. The stuck ones' answers still come when
// the share does, and it is asked again.
TEST(Win32Pictures, AShareThatDoesNotAnswerHoldsTwoWorkersAndBlindsNoOther) {
    using namespace std::chrono_literals;
    const OwnedHandle release(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    Win32Pictures pictures(PictureLimits{2, 16, 200ms, 4096}, [&](const PictureRequest& request) {
        if (request.path.starts_with("\\\\dead")) WaitForSingleObject(release.Get(), 20000);
    });
    struct Told final : PictureListener {
        std::vector<std::string> keys;
        void PictureArrived(const std::string& key, const PictureAnswer&) override { keys.push_back(key); }
    } told;
    PictureFetches& fetches = pictures.Fetches();
    const auto ask = [&](const std::string& path) {
        PictureRequest request;
        request.path = path;
        request.size = 32;
        return fetches.Ask(told, path, request, PictureFetches::Clock::now());
    };
    const auto started = PictureFetches::Clock::now();
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(ask("\\\\dead\\s\\" + std::to_string(i) + ".lnk"),
                  i < 2 ? PictureFetches::Asked::Started : PictureFetches::Asked::Waiting)
            << i;
    EXPECT_EQ(Win32Pictures::WorkersAlive(), 2);
    const std::string notepad = WindowsFile("notepad.exe");
    EXPECT_EQ(ask(notepad), PictureFetches::Asked::Started);
    ASSERT_TRUE(PumpUntil([&] { return !told.keys.empty(); }));
    EXPECT_EQ(told.keys, std::vector<std::string>{notepad});

    ASSERT_TRUE(PumpUntil([&] { return PictureFetches::Clock::now() - started > 250ms; }));
    EXPECT_EQ(ask("\\\\dead\\s\\new.lnk"), PictureFetches::Asked::NoAnswer) << "the share is stuck";
    EXPECT_EQ(ask("\\\\DEAD\\S\\0.lnk"), PictureFetches::Asked::NoAnswer);
    EXPECT_EQ(Win32Pictures::WorkersAlive(), 2);

    SetEvent(release.Get());
    EXPECT_TRUE(PumpUntil([&] { return told.keys.size() == 3; })) << "the two stuck";
    EXPECT_EQ(fetches.WaitingCount(), 0u) << "the four waiting were let go";
    EXPECT_EQ(ask("\\\\dead\\s\\5.lnk"), PictureFetches::Asked::Started);
    EXPECT_TRUE(PumpUntil([&] { return told.keys.size() == 4; }));
    EXPECT_TRUE(PumpUntil([] { return Win32Pictures::WorkersAlive() == 0; }));
}

TEST(Win32Pictures, ShortcutsTypesAndFoldersAreDrawnForMenusAndButtons) {
    TempFolder folder;
    const std::string notepad = WindowsFile("notepad.exe");
    const std::string link = folder.PathOf("Notepad.lnk");
    {
        IShellLinkW* shellLink = nullptr;
        (void)CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                               reinterpret_cast<void**>(&shellLink))));
        shellLink->SetPath(Widen(notepad).c_str());
        IPersistFile* file = nullptr;
        shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        ASSERT_TRUE(file && SUCCEEDED(file->Save(Widen(link).c_str(), TRUE)));
        file->Release();
        shellLink->Release();
    }
    using Source = PictureRequest::Source;
    using Finish = PictureRequest::Finish;
    const struct {
        const char* name;
        PictureRequest request;
        PictureAnswer::Outcome outcome;
    } rows[] = {
        {"a program's icon for a button", {Source::FileIcon, Finish::ButtonList, notepad, 0, 24}, PictureAnswer::Outcome::Drawn},
        {"a shortcut as a button's icon file", {Source::FileIcon, Finish::ButtonList, link, 0, 32}, PictureAnswer::Outcome::Drawn},
        {"a shortcut in a menu", {Source::ShellPicture, Finish::MenuBitmap, link, 0, 16}, PictureAnswer::Outcome::Drawn},
        {"a document type in a menu", {Source::TypePicture, Finish::MenuBitmap, ".txt", 0, 16}, PictureAnswer::Outcome::Drawn},
        {"a folder in a menu", {Source::FolderPicture, Finish::MenuBitmap, "", 0, 20}, PictureAnswer::Outcome::Drawn},
        {"a file that is not there", {Source::FileIcon, Finish::ButtonList, folder.PathOf("gone.exe"), 0, 32}, PictureAnswer::Outcome::NoPicture},
    };
    for (const auto& row : rows) {
        const PictureAnswer answer = FetchPictureHere(row.request);
        EXPECT_EQ(answer.outcome, row.outcome) << row.name;
        if (row.outcome != PictureAnswer::Outcome::Drawn) continue;
        ASSERT_EQ(answer.pixels.size(), static_cast<size_t>(row.request.size * row.request.size)) << row.name;
        EXPECT_GT(std::count_if(answer.pixels.begin(), answer.pixels.end(), [](uint32_t p) { return p >> 24; }), 20)
            << row.name << ": opaque pixels";
        if (row.request.finish == Finish::MenuBitmap) EXPECT_TRUE(MenuBitmapOf(answer, row.request.size)) << row.name;
    }
}
