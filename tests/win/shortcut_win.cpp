#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <gtest/gtest.h>

#include "bar/shortcut_win.h"
#include "platform/wide_win.h"

using namespace tavi;

namespace {

std::string TempPath(const char* name) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return Narrow(folder) + name;
}

void MakeShortcut(const std::string& path, const std::string& target, const std::string& args, int show,
                  const std::string& folder) {
    IShellLinkW* link = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&link))));
    link->SetPath(Widen(target).c_str());
    link->SetArguments(Widen(args).c_str());
    link->SetShowCmd(show);
    link->SetWorkingDirectory(Widen(folder).c_str());
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    EXPECT_TRUE(SUCCEEDED(file->Save(Widen(path).c_str(), TRUE)));
    file->Release();
    link->Release();
}

struct ComApartment {
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
};

}  // namespace

TEST(ReadShortcut, GivesTargetArgumentsRunTypeAndFolder) {
    ComApartment com;
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::string notepad = Narrow(windows) + "\\notepad.exe";
    const struct {
        int show;
        const char* runType;
    } cases[] = {{SW_SHOWNORMAL, "0"}, {SW_SHOWMINNOACTIVE, "1"}, {SW_SHOWMAXIMIZED, "2"}};
    for (const auto& c : cases) {
        const std::string link = TempPath("メモ帳のショートカット.lnk");
        MakeShortcut(link, notepad, "/p \"日本語 ファイル.txt\"", c.show, Narrow(windows));
        ShortcutTarget target;
        ASSERT_TRUE(ReadShortcut(link, target));
        EXPECT_EQ(target.targetPath, notepad);
        EXPECT_EQ(target.arguments, "/p \"日本語 ファイル.txt\"");
        EXPECT_EQ(target.runType, c.runType) << "show command " << c.show;
        EXPECT_EQ(target.workingDirectory, Narrow(windows));
        DeleteFileW(Widen(link).c_str());
    }
}

TEST(ReadShortcut, AnUnreadableFileLeavesTheOutputsAlone) {
    ComApartment com;
    ShortcutTarget target{"keep", "args", "2", "dir"};
    EXPECT_FALSE(ReadShortcut(TempPath("no-such-shortcut.lnk"), target));
    EXPECT_EQ(target.targetPath, "keep");
    EXPECT_EQ(target.runType, "2");
}

TEST(ReadShortcut, EnvironmentStringsAreExpandedAndATargetThatIsGoneIsReadAsItIs) {
    ComApartment com;
    wchar_t windows[MAX_PATH];
    GetWindowsDirectoryW(windows, MAX_PATH);
    SetEnvironmentVariableW(L"TAVI_TOOLS", windows);
    // What the link object hands back raw for a target kept as an environment string.
    const std::pair<const char*, std::string> raw[] = {
        {"%TAVI_TOOLS%\\notepad.exe", Narrow(windows) + "\\notepad.exe"},
        {"%NO_SUCH_VARIABLE_OF_TAVI%\\x.exe", "%NO_SUCH_VARIABLE_OF_TAVI%\\x.exe"},
        {"C:\\100% sure\\a.exe", "C:\\100% sure\\a.exe"},
        {"", ""},
    };
    for (const auto& [text, expanded] : raw) EXPECT_EQ(ExpandEnvironment(text), expanded) << text;

    // A target that no longer exists is read as the shortcut holds it.
    const std::string gone = TempPath("消えた.lnk");
    MakeShortcut(gone, "C:\\no\\such\\program.exe", "-x", SW_SHOWNORMAL, "C:\\no");
    ShortcutTarget missing;
    ASSERT_TRUE(ReadShortcut(gone, missing));
    EXPECT_EQ(missing.targetPath, "C:\\no\\such\\program.exe");
    EXPECT_EQ(missing.arguments, "-x");
    DeleteFileW(Widen(gone).c_str());
}
