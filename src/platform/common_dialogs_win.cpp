#include "platform/common_dialogs_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <array>
#include <cwchar>
#include <vector>

#include "platform/com_win.h"
#include "platform/current_folder_win.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tavi {

namespace {

HWND WindowOf(NativeWindow window) { return reinterpret_cast<HWND>(window); }

// The open dialog may leave the current folder where the user browsed to
// (OFN_NOCHANGEDIR is documented as ineffective for it), and the program
// resolves bare names against its own: every dialog keeps it.

const wchar_t* NullWhenEmpty(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

std::string NarrowUpToNul(const wchar_t* text, size_t capacity) { return Narrow({text, wcsnlen(text, capacity)}); }

}  // namespace

FileDialogResult Win32CommonDialogs::PickFile(const FileDialogRequest& request) {
    // The converted list's own NUL and c_str()'s make the closing pair.
    const std::wstring filter = Widen(request.filter);
    const std::wstring initialFolder = Widen(request.initialFolder);
    const std::wstring title = Widen(request.title);
    const std::wstring defaultExtension = Widen(request.defaultExtension);

    // At least one character so the dialog always gets a real buffer; a size
    // of 0 is passed on for the system to refuse.
    std::vector<wchar_t> file(std::max<size_t>(request.bufferSize, 1), L'\0');
    const std::wstring initialFile = Widen(request.initialFile);
    std::copy_n(initialFile.begin(), std::min(initialFile.size(), file.size() - 1), file.begin());

    std::wstring fileTitle = Widen(request.fileTitle);
    const DWORD fileTitleSize = static_cast<DWORD>(fileTitle.size());
    fileTitle.push_back(L'\0');

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = WindowOf(request.owner);
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max<int32_t>(request.filterIndex, 0));
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = request.bufferSize;
    ofn.lpstrFileTitle = fileTitleSize > 0 ? fileTitle.data() : nullptr;
    ofn.nMaxFileTitle = fileTitleSize;
    ofn.lpstrInitialDir = NullWhenEmpty(initialFolder);
    ofn.lpstrTitle = NullWhenEmpty(title);
    ofn.Flags = request.flags;
    ofn.lpstrDefExt = defaultExtension.c_str();

    BOOL confirmed = FALSE;
    {
        CurrentFolderKeeper keeper;
        confirmed = request.save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    }
    FileDialogResult result;
    result.confirmed = confirmed != FALSE;
    if (!result.confirmed) {
        result.extendedError = CommDlgExtendedError();
        return result;
    }
    result.fileBuffer = Narrow({file.data(), file.size()});
    result.severalFiles = ofn.nFileOffset > 0 && ofn.nFileOffset < file.size() && file[ofn.nFileOffset - 1] == L'\0';
    result.fileTitleBuffer = Narrow({fileTitle.data(), fileTitle.size()});
    return result;
}

FolderBrowseResult Win32CommonDialogs::BrowseForFolder(const FolderBrowseRequest& request) {
    // The shell's browser needs COM on this thread.
    const ComApartment apartment(COINIT_APARTMENTTHREADED);
    CurrentFolderKeeper keeper;
    const HWND owner = WindowOf(request.owner);

    PIDLIST_ABSOLUTE root = nullptr;
    if (request.rootFolder != 0 && FAILED(SHGetSpecialFolderLocation(owner, request.rootFolder, &root)))
        root = nullptr;

    std::array<wchar_t, MAX_PATH> displayName{};
    const std::wstring prompt = Widen(request.prompt);
    BROWSEINFOW bi{};
    bi.hwndOwner = owner;
    bi.pidlRoot = root;
    bi.pszDisplayName = displayName.data();
    bi.lpszTitle = prompt.c_str();
    bi.ulFlags = request.flags;

    const PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&bi);
    if (root) CoTaskMemFree(root);
    FolderBrowseResult result;
    if (!item) return result;

    std::array<wchar_t, MAX_PATH> path{};
    if (!SHGetPathFromIDListW(item, path.data())) path[0] = L'\0';
    CoTaskMemFree(item);
    result.chosen = true;
    result.displayName = NarrowUpToNul(displayName.data(), displayName.size());
    result.path = NarrowUpToNul(path.data(), path.size());
    return result;
}

}  // namespace tavi
