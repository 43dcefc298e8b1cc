#include "platform/win32_adapters_win.h"

#include <shellapi.h>

#include "platform/wide_win.h"

namespace tavi {

int Win32Shell::Open(const ShellOpenRequest& request) {
    const std::wstring verb = Widen(request.verb), file = Widen(request.file),
                       parameters = Widen(request.parameters), directory = Widen(request.directory);
    const HINSTANCE result =
        ShellExecuteW(owner_, verb.empty() ? nullptr : verb.c_str(), file.c_str(),
                      parameters.empty() ? nullptr : parameters.c_str(), directory.empty() ? nullptr : directory.c_str(),
                      static_cast<int>(request.show));
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

Shell::Association Win32Shell::AssociatedProgram(const std::string& document) {
    wchar_t program[MAX_PATH + 2] = {};
    const HINSTANCE result = FindExecutableW(Widen(document).c_str(), L"", program);
    return {static_cast<int>(reinterpret_cast<INT_PTR>(result)), Narrow(program)};
}

}  // namespace tavi
