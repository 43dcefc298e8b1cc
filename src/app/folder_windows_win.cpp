#include "app/folder_windows_win.h"

#include <exdisp.h>
#include <shlguid.h>
#include <shlobj.h>

#include "platform/com_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

// More are not read: the mark is for a launcher's few folders, not a census.
constexpr long kMostFolderWindows = 256;

// Item -> its top-level browser -> the view -> the folder it shows.
bool ReadOne(IShellWindows& windows, long index, FolderWindow& out) {
    VARIANT at{};
    at.vt = VT_I4;
    at.lVal = index;
    ComPtr<IDispatch> item;
    if (windows.Item(at, &item.p) != S_OK || !item.p) return false;
    ComPtr<IServiceProvider> services;
    if (FAILED(item->QueryInterface(IID_IServiceProvider, services.Out()))) return false;
    ComPtr<IShellBrowser> browser;
    if (FAILED(services->QueryService(SID_STopLevelBrowser, IID_IShellBrowser, browser.Out()))) return false;
    if (FAILED(browser->GetWindow(&out.window)) || !out.window) return false;
    ComPtr<IShellView> view;
    if (FAILED(browser->QueryActiveShellView(&view.p)) || !view.p) return true;
    ComPtr<IFolderView> folderView;
    ComPtr<IPersistFolder2> folder;
    if (FAILED(view->QueryInterface(IID_IFolderView, folderView.Out())) ||
        FAILED(folderView->GetFolder(IID_IPersistFolder2, folder.Out())))
        return true;
    PIDLIST_ABSOLUTE shown = nullptr;
    if (FAILED(folder->GetCurFolder(&shown)) || !shown) return true;
    std::wstring path(32768, L'\0');
    if (SHGetPathFromIDListEx(shown, path.data(), static_cast<DWORD>(path.size()), GPFIDL_DEFAULT)) {
        path.resize(wcslen(path.c_str()));
        out.folder = Narrow(path);
    }
    CoTaskMemFree(shown);
    return true;
}

}  // namespace

bool IsFolderWindow(HWND window) {
    wchar_t name[32] = {};
    if (GetClassNameW(window, name, 32) == 0) return false;
    return wcscmp(name, L"CabinetWClass") == 0 || wcscmp(name, L"ExploreWClass") == 0;
}

std::vector<FolderWindow> ReadFolderWindows() {
    std::vector<FolderWindow> found;
    ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.Out())))
        return found;
    long count = 0;
    if (FAILED(windows->get_Count(&count))) return found;
    for (long index = 0; index < count && index < kMostFolderWindows; ++index) {
        FolderWindow one;
        if (ReadOne(*windows.p, index, one)) found.push_back(std::move(one));
    }
    return found;
}

}  // namespace tavi
