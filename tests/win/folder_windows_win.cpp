#include <windows.h>

#include <exdisp.h>
#include <objbase.h>
#include <shlguid.h>
#include <gtest/gtest.h>

#include <string>

#include "app/folder_windows_win.h"

using namespace tavi;

namespace {

HWND MakeWindowOfClass(const wchar_t* name) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    RegisterClassW(&windowClass);
    return CreateWindowExW(0, name, L"C:\\Users", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                           windowClass.hInstance, nullptr);
}

}  // namespace

// Only the shell's folder windows are asked for their folder, by their class.
TEST(FolderWindows, OnlyTheShellsFolderClassesAreFolderWindows) {
    const struct {
        const wchar_t* name;
        bool folder;
    } rows[] = {{L"CabinetWClass", true}, {L"ExploreWClass", true}, {L"ExplorerWClass", false},
                {L"CabinetWClassX", false}, {L"Notepad", false}};
    for (const auto& row : rows) {
        const HWND window = MakeWindowOfClass(row.name);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(IsFolderWindow(window), row.folder) << static_cast<const void*>(row.name);
        DestroyWindow(window);
    }
    EXPECT_FALSE(IsFolderWindow(nullptr));
}

// Where the shell keeps no window list (Wine has none registered: the asking
// waits 3 s for a server, 10 s on a loaded machine, which is why it runs on
// a worker), it answers nothing, and a window of ours that only looks like a
// folder window is never taken for one the shell lists.
TEST(FolderWindows, AShellWithoutAWindowListAnswersNothing) {
    wchar_t clsid[40] = {};
    StringFromGUID2(CLSID_ShellWindows, clsid, 40);
    HKEY key = nullptr;
    const bool listKept = RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + clsid).c_str(), 0, KEY_READ,
                                        &key) == ERROR_SUCCESS;
    if (listKept) RegCloseKey(key);
    const HWND lookalike = MakeWindowOfClass(L"CabinetWClass");
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::vector<FolderWindow> found = ReadFolderWindows();
    CoUninitialize();
    DestroyWindow(lookalike);
    if (!listKept) EXPECT_TRUE(found.empty());
    for (const FolderWindow& one : found) EXPECT_NE(one.window, lookalike);
}
