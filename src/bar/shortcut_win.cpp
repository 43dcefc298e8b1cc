#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "bar/bar_buttons.h"
#include "bar/shortcut_win.h"
#include "platform/com_win.h"
#include "platform/handles_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

// The show command straight from the link header (ShowCommand at 0x3C of the
// 0x4C-byte header): Wine's link object forgets it when it loads a file.
bool ShowCommandFromHeader(const std::string& shortcutPath, int& show) {
    const OwnedFile file(CreateFileW(Widen(shortcutPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
    BYTE header[0x4C] = {};
    DWORD read = 0;
    const bool ok = ReadFile(file.Get(), header, sizeof header, &read, nullptr) && read == sizeof header &&
                    header[0] == 0x4C && header[1] == 0 && header[2] == 0 && header[3] == 0;
    if (ok) show = header[0x3C] | header[0x3D] << 8 | header[0x3E] << 16 | header[0x3F] << 24;
    return ok;
}

}  // namespace

std::string ExpandEnvironment(const std::string& text) {
    if (text.find('%') == std::string::npos) return text;
    const std::wstring wide = Widen(text);
    const DWORD needed = ExpandEnvironmentStringsW(wide.c_str(), nullptr, 0);
    if (needed == 0) return text;
    std::wstring expanded(needed, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(wide.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed) return text;
    expanded.resize(written - 1);
    return Narrow(expanded);
}

bool ReadShortcut(const std::string& shortcutPath, ShortcutTarget& target) {
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.Out())))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out()))) return false;
    if (FAILED(file->Load(Widen(shortcutPath).c_str(), STGM_READ))) return false;

    // Paths and arguments may be longer than MAX_PATH; INFOTIPSIZE covers what links hold.
    std::wstring buffer(INFOTIPSIZE, L'\0');
    if (SUCCEEDED(link->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, SLGP_RAWPATH)))
        target.targetPath = ExpandEnvironment(Narrow(buffer.c_str()));
    if (SUCCEEDED(link->GetArguments(buffer.data(), static_cast<int>(buffer.size()))))
        target.arguments = Narrow(buffer.c_str());
    int show = 0;
    if (ShowCommandFromHeader(shortcutPath, show) || SUCCEEDED(link->GetShowCmd(&show)))
        target.runType = RunTypeForShortcutStyle(show);
    if (SUCCEEDED(link->GetWorkingDirectory(buffer.data(), static_cast<int>(buffer.size()))))
        target.workingDirectory = ExpandEnvironment(Narrow(buffer.c_str()));
    int icon = 0;
    if (SUCCEEDED(link->GetIconLocation(buffer.data(), static_cast<int>(buffer.size()), &icon)) && buffer[0]) {
        target.iconPath = ExpandEnvironment(Narrow(buffer.c_str()));
        target.iconIndex = icon;
    }
    return true;
}

}  // namespace tavi
