#include <windows.h>

#include <gtest/gtest.h>

#include "code_page_cases.h"
#include "platform/folder_identity_win.h"
#include "platform/wide_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"

using namespace tavi;

TEST(Win32FileSystem, ReplaceAllSwapsInTheWholeFile) {
    TempFolder folder;
    Win32FileSystem files;
    const std::string path = folder.PathOf("設定.ini");
    std::string large(3 << 20, '\0');
    for (size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>(i * 7 % 251);

    ASSERT_TRUE(files.ReplaceAll(path, "old"));
    EXPECT_EQ(files.ReadAll(path), "old") << "a new file";
    ASSERT_TRUE(files.ReplaceAll(path, large));
    EXPECT_EQ(files.ReadAll(path), large) << "larger than one write";
    ASSERT_TRUE(files.ReplaceAll(path, ""));
    EXPECT_EQ(files.ReadAll(path), "") << "an empty file";
    EXPECT_FALSE(files.FileExists(path + ".new")) << "no temporary file is left";
}

TEST(Win32FileSystem, AFailedReplaceKeepsTheOldFile) {
    TempFolder folder;
    Win32FileSystem files;
    const std::string path = folder.PathOf("locked.ini");
    ASSERT_TRUE(files.ReplaceAll(path, "old"));
    {
        // Another program holding the file without sharing blocks the move.
        const HANDLE held = CreateFileW(Widen(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(files.ReplaceAll(path, "new")) << "replace while the file is held";
        CloseHandle(held);
    }
    EXPECT_EQ(files.ReadAll(path), "old") << "old contents survive";
    EXPECT_FALSE(files.FileExists(path + ".new")) << "the temporary file is removed";
}

TEST(Win32FileSystem, MissingFilesAndFolders) {
    TempFolder folder;
    Win32FileSystem files;
    const std::string missing = folder.PathOf("missing.ini");
    const std::string subfolder = folder.PathOf("sub");
    ASSERT_TRUE(CreateDirectoryW(Widen(subfolder).c_str(), nullptr));
    EXPECT_EQ(files.ReadAll(missing), std::nullopt) << "reading a missing file";
    EXPECT_FALSE(files.FileExists(missing)) << "a missing file";
    EXPECT_FALSE(files.FileExists(subfolder)) << "a folder is no file";
    EXPECT_EQ(files.ReadAll(subfolder), std::nullopt) << "reading a folder";
    EXPECT_FALSE(files.ReplaceAll(folder.PathOf("no folder\\x.ini"), "x")) << "writing into a missing folder";
}

TEST(Win32CodePage, ConvertsCodePage932) {
    Win32CodePage codePage;
    for (const auto& c : code_page_cases::kRoundTrips) {
        EXPECT_EQ(codePage.ToUtf8(c.ansi), c.utf8) << "to UTF-8: " << c.what;
        EXPECT_EQ(codePage.FromUtf8(c.utf8), c.ansi) << "from UTF-8: " << c.what;
    }
    for (const auto& c : code_page_cases::kBadBytes) EXPECT_EQ(codePage.ToUtf8(c.ansi), c.utf8) << c.what;
    for (const auto& c : code_page_cases::kUnmappable) EXPECT_EQ(codePage.FromUtf8(c.utf8), c.ansi) << c.what;
}

TEST(Win32Profile, ReadsLongValuesWhole) {
    TempFolder folder;
    Win32Profile profile;
    const std::string file = folder.PathOf("long.ini");
    // Lengths around the sizes the adapter's buffer grows through.
    for (const size_t length : {254u, 255u, 256u, 1022u, 1023u, 5000u}) {
        const std::string value = "ｴ" + std::string(length - 1, 'x');
        ASSERT_TRUE(profile.WriteString(file, "s", "plain", value));
        ASSERT_TRUE(profile.WriteString(file, "s", "quoted", "\"" + value + "\""));
        EXPECT_EQ(profile.GetString(file, "s", "plain"), value) << length << " characters";
        EXPECT_EQ(profile.GetString(file, "s", "quoted"), value) << length << " characters in quotes";
    }
}

TEST(FolderIdentity, EveryPathToOneFolderResolvesAlike) {
    TempFolder folder;
    const std::string path = folder.PathOf("");
    const std::string resolved = ResolvedFolder(path);
    ASSERT_FALSE(resolved.empty());
    std::wstring upper = Widen(path);
    CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    EXPECT_EQ(ResolvedFolder(Narrow(upper)), resolved) << "another case";
    EXPECT_EQ(ResolvedFolder(path + "\\."), resolved) << "a path through the folder itself";
    const std::wstring shortName = GrowingWideString(
        [&](wchar_t* buffer, DWORD size) { return GetShortPathNameW(Widen(path).c_str(), buffer, size); });
    ASSERT_FALSE(shortName.empty());
    EXPECT_EQ(ResolvedFolder(Narrow(shortName)), resolved) << "the short name";
    EXPECT_NE(ResolvedFolder(folder.PathOf("other")), resolved);
}
