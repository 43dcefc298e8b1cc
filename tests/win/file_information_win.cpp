#include <windows.h>

#include <gtest/gtest.h>

#include "app/menu_main.h"
#include "platform/text.h"
#include "dialog_driver_win.h"
#include "dialogs/file_information.h"
#include "dialogs/file_information_ids.h"
#include "dialogs/file_information_win.h"
#include "platform/file_details_win.h"
#include "platform/icon_files_win.h"
#include "platform/picture_workers_win.h"
#include "platform/registry_win.h"
#include "platform/win32_adapters_win.h"
#include "temp_folder_win.h"

using namespace tavi;
using namespace dialog_driver;

namespace {

// A file type registered for the test, removed afterwards.
class RegisteredType {
public:
    RegisteredType() {
        Set(L".tavitype", L"TaviTestFile");
        Set(L"TaviTestFile", L"たびテスト文書");
    }
    ~RegisteredType() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".tavitype");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TaviTestFile");
    }
    RegisteredType(const RegisteredType&) = delete;
    RegisteredType& operator=(const RegisteredType&) = delete;

private:
    static void Set(const wchar_t* key, const std::wstring& value) {
        HKEY created = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, KEY_WRITE, nullptr, &created, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(created, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(created);
    }
};

// A file of `size` bytes; sizes past what is written are left as a hole.
void MakeFile(const std::string& path, int64_t size) {
    const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER end{};
    end.QuadPart = size;
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

// Sets a file's times to local times, and gives back what the dialog will show.
FILETIME LocalToFileTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    SYSTEMTIME local{year, month, 0, day, hour, minute, second, 0};
    FILETIME localFile{}, universal{};
    SystemTimeToFileTime(&local, &localFile);
    LocalFileTimeToFileTime(&localFile, &universal);
    return universal;
}

// A file time as the dialog writes it, read by the test on its own.
std::string Shown(const FILETIME& universal) {
    FILETIME local{};
    SYSTEMTIME t{};
    FileTimeToLocalFileTime(&universal, &local);
    FileTimeToSystemTime(&local, &t);
    return FormatFileTime({t.wYear, t.wMonth, t.wDay, t.wDayOfWeek, t.wHour, t.wMinute, t.wSecond});
}

std::string CreatedAsShown(const std::string& path) {
    const HANDLE file = CreateFileW(Widen(path).c_str(), 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME created{};
    GetFileTime(file, &created, nullptr, nullptr);
    CloseHandle(file);
    return Shown(created);
}

std::string ShortNameOf(const std::string& path) {
    wchar_t buffer[MAX_PATH] = {};
    if (!GetShortPathNameW(Widen(path).c_str(), buffer, MAX_PATH)) return "<none>";
    return GetFileName(Narrow(buffer));
}

LaunchEntry EntryFor(const std::string& path) { return LaunchEntry{"t", path, "", "0", path, "0"}; }

}  // namespace

TEST(FileInformationWin, AJapaneseNamedFileShowsItsExactTypeSizeTimesAndAttributes) {
    TempFolder folder;
    RegisteredType type;
    const std::string path = folder.PathOf("日本語のﾃｽﾄ.tavitype");
    MakeFile(path, 1234567);
    {
        const HANDLE file = CreateFileW(Widen(path).c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0,
                                        nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        const FILETIME created = LocalToFileTime(2003, 4, 5, 9, 5, 7);
        const FILETIME written = LocalToFileTime(2024, 12, 31, 23, 59, 58);
        const FILETIME accessed = LocalToFileTime(2025, 1, 2, 0, 0, 0);
        ASSERT_TRUE(SetFileTime(file, &created, &accessed, &written));
        CloseHandle(file);
    }
    ASSERT_TRUE(SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

    Win32Profile profile;
    Win32FileSystem files;
    Win32CodePage codePage;
    Win32SystemInfo system;
    Win32Shell shell;
    Win32MessageBoxes messages;
    Platform platform{profile, files, codePage, system, shell, messages};
    MenuMain state;
    state.ApplicationPath = folder.PathOf("");
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    LaunchEntry entry = EntryFor(path);
    entry.IconPath = Narrow(windows) + "\\notepad.exe";
    ASSERT_TRUE(OpenListWith(state, platform, {EntryFor("C:\\other.exe"), entry}));
    // The file answers only once the dialog is up, as one on a slow share would.
    struct HeldDetails final : FileDetails {
        Win32FileDetails real;
        HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ~HeldDetails() override { CloseHandle(release); }
        std::optional<uint32_t> Attributes(const std::string& path) override {
            WaitForSingleObject(release, 20000);
            return real.Attributes(path);
        }
        std::string ShortPath(const std::string& path) override { return real.ShortPath(path); }
        std::optional<FileFacts> Open(const std::string& path) override { return real.Open(path); }
        void Wait(int milliseconds) override { real.Wait(milliseconds); }
    } details;
    Win32Registry registry;
    const std::wstring caption = Widen("日本語のﾃｽﾄ.tavitypeのﾌﾟﾛﾊﾟﾃｨ");
    struct Seen {
        std::vector<std::string> texts;
        std::string sizeAtFirst;
        std::vector<bool> enabled;
        int iconPixels = 0;
    } seen;
    WhileShown shown(caption, [&](HWND dialog) {
        seen.sizeAtFirst = ItemText(dialog, IDC_FILEINFO_PLACE0 + 2);
        SetEvent(details.release);
        WaitUntil([&] { return ItemText(dialog, IDC_FILEINFO_PLACE0 + 2) != seen.sizeAtFirst; });
        for (int id = IDC_FILEINFO_NAME; id <= IDC_FILEINFO_ATTRIBUTE0 + 4; ++id)
            seen.texts.push_back(ItemText(dialog, id));
        for (int i = 0; i < 5; ++i) seen.enabled.push_back(Enabled(dialog, IDC_FILEINFO_ATTRIBUTE0 + i));
        seen.texts.push_back(ItemText(dialog, IDOK));
        // The icon is counted and drawn by a worker, and comes after the dialog shows.
        WaitUntil([&] {
            const auto icon = Render(GetDlgItem(dialog, IDC_FILEINFO_ICON));
            seen.iconPixels = 0;
            for (int y = 0; y < icon->Height(); ++y)
                for (int x = 0; x < icon->Width(); ++x)
                    if (Pixel(*icon, x, y) != SystemColour(COLOR_BTNFACE)) ++seen.iconPixels;
            return seen.iconPixels > 100;
        });
        Click(dialog, IDOK);
    });
    const std::string created = CreatedAsShown(path);
    Win32Pictures pictures;
    Win32IconFiles icons(&pictures.Fetches());
    ShowFileInformation(0, state, details, registry, icons, 1);
    ASSERT_TRUE(shown.Join()) << "the dialog did not appear";
    SetFileAttributesW(Widen(path).c_str(), FILE_ATTRIBUTE_NORMAL);

    const std::vector<std::string> expected = {
        "日本語のﾃｽﾄ.tavitype",
        "種類：", "場所：", "ｻｲｽﾟ：",
        "たびテスト文書", GetFolderName(path, ""), "1,234,567ﾊﾞｲﾄ",
        "MS-DOS ﾌｧｲﾙ名：", "作成日時：", "更新日時：", "ｱｸｾｽ日時：",
        // Wine keeps no creation time of its own: it reports another of the file's times.
        ShortNameOf(path), created, "2024年12月31日 火曜日 23:59:58", "2025年1月2日 木曜日 0:0:0",
        "属性：", "読み取り専用", "隠しﾌｧｲﾙ", "ｱｰｶｲﾌﾞ", "ｼｽﾃﾑ", "圧縮",
        "&OK",
    };
    EXPECT_EQ(seen.sizeAtFirst, "<不明>") << "shown before the file answered";
    EXPECT_EQ(seen.texts, expected) << "filled in when it answered";
    EXPECT_EQ(seen.enabled, (std::vector<bool>{true, true, true, false, false}));
    EXPECT_GT(seen.iconPixels, 100) << "the entry's icon is drawn";
}

TEST(FileInformationWin, AFileOverFourGigabytesShowsItsFullSize) {
    TempFolder folder;
    const std::string path = folder.PathOf("大きい.bin");
    const int64_t size = 5LL * 1073741824 + 12345;  // a sparse file: the hole takes no disk
    MakeFile(path, size);
    Win32FileDetails details;
    const auto facts = details.Open(path);
    ASSERT_TRUE(facts);
    EXPECT_EQ(facts->size, static_cast<uint64_t>(size));
    Win32Registry registry;
    EXPECT_EQ(FileInformationLoad(EntryFor(path), details, registry).place[2], "5,368,721,465ﾊﾞｲﾄ");
}

TEST(FileInformationWin, AFolderHasItsTypeAndNoTimes) {
    TempFolder folder;
    const std::string path = folder.PathOf("ﾌｫﾙﾀﾞ") + "\\";
    ASSERT_TRUE(CreateDirectoryW(Widen(path).c_str(), nullptr));
    Win32FileDetails details;
    Win32Registry registry;
    const FileInformationView view = FileInformationLoad(EntryFor(path), details, registry);
    EXPECT_EQ(view.caption, "のﾌﾟﾛﾊﾟﾃｨ");
    EXPECT_EQ(view.place[0], "ﾌｧｲﾙ ﾌｫﾙﾀﾞ");
    EXPECT_EQ(view.place[2], "<不明>");
    EXPECT_EQ(view.access[1], "<不明>");
}

TEST(FileInformationWin, TheRegistryGivesTypeNamesAndNothingForMissingOnes) {
    RegisteredType type;
    Win32Registry registry;
    EXPECT_EQ(registry.ReadText(RegistryRoot::ClassesRoot, ".tavitype", ""), "TaviTestFile");
    EXPECT_EQ(registry.ReadText(RegistryRoot::ClassesRoot, "TaviTestFile", ""), "たびテスト文書");
    EXPECT_FALSE(registry.ReadText(RegistryRoot::ClassesRoot, ".tavi-none", ""));
    Win32FileDetails details;
    EXPECT_EQ(GetTypeName("C:\\x.tavi-none", details, registry), "TAVI-NONE ﾌｧｲﾙ");
}
