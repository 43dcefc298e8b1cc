#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/folder_contents_win.h"
#include "platform/wide_win.h"
#include "temp_folder_win.h"

using namespace tavi;
using namespace std::chrono_literals;

namespace {

void MakeFile(const std::string& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    CloseHandle(file);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        SwitchToThread();
    }
    return true;
}

std::vector<FolderEntry> Sorted(std::vector<FolderEntry> entries) {
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    return entries;
}

size_t CountShown(const FolderContents& contents) {
    return std::count_if(contents.entries.begin(), contents.entries.end(),
                         [](const FolderEntry& e) { return !e.hidden && !e.system; });
}

}  // namespace

TEST(Win32FolderContents, ListsNamesWithTheirAttributesUpToTheCap) {
    TempFolder temp;
    MakeFile(temp.PathOf("R&D.txt"));
    MakeFile(temp.PathOf("隠し.txt"), FILE_ATTRIBUTE_HIDDEN);
    MakeFile(temp.PathOf("desktop.ini"), FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(CreateDirectoryW(Widen(temp.PathOf("サブ")).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(Widen(temp.PathOf("空")).c_str(), nullptr));

    Win32FolderContents reader;
    const std::string folder = temp.PathOf("");
    const FolderContents all = reader.Read(folder, 100, 10s);
    ASSERT_EQ(all.outcome, FolderReadOutcome::Listed);
    EXPECT_FALSE(all.cutShort);
    EXPECT_EQ(Sorted(all.entries), (std::vector<FolderEntry>{{"R&D.txt", false, false, false, false},
                                                             {"desktop.ini", false, false, true, false},
                                                             {"サブ", true, false, false, false},
                                                             {"空", true, false, false, false},
                                                             {"隠し.txt", false, true, false, false}}));

    // Three shown entries: a cap of four reads them all, hidden and system
    // ones never counting; a cap of three stops at the third.
    const FolderContents four = reader.Read(folder, 4, 10s);
    EXPECT_EQ(four.entries.size(), 5u);
    EXPECT_FALSE(four.cutShort);
    const FolderContents three = reader.Read(folder, 3, 10s);
    EXPECT_EQ(CountShown(three), 3u);
    EXPECT_TRUE(three.cutShort);

    const FolderContents empty = reader.Read(temp.PathOf("空"), 100, 10s);
    EXPECT_EQ(empty.outcome, FolderReadOutcome::Listed);
    EXPECT_TRUE(empty.entries.empty());

    EXPECT_EQ(reader.Read(temp.PathOf("ない"), 100, 10s).outcome, FolderReadOutcome::Unreadable) << "gone";
    EXPECT_EQ(reader.Read(temp.PathOf("R&D.txt"), 100, 10s).outcome, FolderReadOutcome::Unreadable) << "a file";
}

// Wine reads paths past MAX_PATH without the long form, so the form itself
// is what can be checked here. Wine 8 makes no junctions or symbolic links
// either (FSCTL_SET_REPARSE_POINT answers error 50, CreateSymbolicLinkW does
// nothing): links are read only on Windows itself.
TEST(Win32FolderContents, SearchesLongPathsInTheirLongForm) {
    std::string longFolder = "C:\\長い";
    while (Widen(longFolder).size() < MAX_PATH) longFolder += "\\フォルダー_0123456789";
    const std::wstring wideLong = Widen(longFolder);
    const struct {
        std::string folder;
        std::wstring pattern;
    } cases[] = {
        {"C:\\短い", L"C:\\短い\\*"},
        {"C:", L"C:\\*"},
        {longFolder, L"\\\\?\\" + wideLong + L"\\*"},
        {longFolder + "/x/../y/./", L"\\\\?\\" + wideLong + L"\\y\\*"},
        {"\\\\server\\share" + longFolder.substr(2), L"\\\\?\\UNC\\server\\share" + wideLong.substr(2) + L"\\*"},
        {"\\\\?\\" + longFolder, L"\\\\?\\" + wideLong + L"\\*"},
    };
    for (const auto& c : cases) EXPECT_EQ(Narrow(FolderSearchPattern(c.folder)), Narrow(c.pattern)) << c.folder;
    EXPECT_EQ(Win32FolderContents().Read("", 100, 10s).outcome, FolderReadOutcome::Unreadable)
        << "an empty path names no folder";
}

// A folder that does not answer: the worker is held before it reads until
// the caller has given up, then let go; what it read is handed to the
// listener on this thread's messages, and freed.
TEST(Win32FolderContents, GivesUpOnASlowFolderAndTheWorkerFinishesAlone) {
    TempFolder temp;
    MakeFile(temp.PathOf("a.txt"));
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto held = std::make_shared<std::atomic<int>>(0);
    // The hook keeps its own copies: a worker let go after a failed check
    // still finds them.
    Win32FolderContents reader([release, held] {
        ++*held;
        WaitForSingleObject(release, 30'000);
    });
    struct Heard final : LateListingListener {
        std::vector<std::pair<std::string, FolderContents>> listings;
        void LateListing(const std::string& folder, FolderContents contents) override {
            listings.emplace_back(folder, std::move(contents));
        }
    } heard;
    reader.TellLate(&heard);
    // A worker that has answered may take a moment more to let go of its listing.
    ASSERT_TRUE(WaitUntil([] { return Win32FolderContents::ListingsAlive() == 0; }, 10s));

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(reader.Read(temp.PathOf(""), 100, 50ms).outcome, FolderReadOutcome::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(Win32FolderContents::ListingsAlive(), 1) << "the worker still holds its listing";

    // Workers stuck on one drive do not pile up: while one is stuck there,
    // none is started there, and the answer comes at once.
    const auto again = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(reader.Read(temp.PathOf(""), 100, 10s).outcome, FolderReadOutcome::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - again, 2s) << "no wait on a drive known to be stuck";
    EXPECT_TRUE(WaitUntil([&] { return *held == 1; }, 10s)) << *held;
    EXPECT_EQ(Win32FolderContents::ListingsAlive(), 1);
    // A folder on another drive is listed as ever.
    const std::string elsewhere = FolderRoot(temp.PathOf("")) == "z:" ? "C:\\" : "Z:\\";
    EXPECT_EQ(Win32FolderContents(nullptr).Read(elsewhere, 100, 10s).outcome, FolderReadOutcome::Listed) << elsewhere;

    SetEvent(release);
    ASSERT_TRUE(WaitUntil(
        [&] {
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            return !heard.listings.empty() && Win32FolderContents::ListingsAlive() == 0;
        },
        10s))
        << "every worker ends and frees its listing";
    ASSERT_EQ(heard.listings.size(), 1u) << "the one listing started comes late, on this thread";
    EXPECT_EQ(heard.listings[0].first, temp.PathOf(""));
    EXPECT_EQ(heard.listings[0].second.outcome, FolderReadOutcome::Listed);
    EXPECT_EQ(heard.listings[0].second.entries, (std::vector<FolderEntry>{{"a.txt", false, false, false, false}}));
    CloseHandle(release);
    EXPECT_EQ(Win32FolderContents(nullptr).Read(temp.PathOf(""), 100, 10s).entries.size(), 1u)
        << "listing works again once the stuck workers are gone";
}
