// modechange: the screen really changes size under a running program.
//   explorer.exe /desktop=NAME,WxH modechange.exe PROGRAM REPORT
// Run inside one of Wine's virtual desktops, where a display mode change is
// real (GetSystemMetrics and the desktop follow) and harmless to the X screen.
// Starts PROGRAM, waits for its top-level window of class "TaviMenu2", changes
// to another size at the same depth, waits for the window to follow, changes
// back, closes the program and writes what it saw to REPORT as UTF-8
// "key=value" lines (rectangles as "left,top,right,bottom"):
//   screen_before, rect_before, screen_changed, rect_changed, reserved_changed
//   (what a new appbar on the left is left of the changed screen),
//   answered_changed (1 when the program answered a sent message), rect_back,
//   exit_code, error (what went wrong, when something did).
// Each wait is bounded (30 s); the tool exits 0 once the report is written.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kLimitMs = 30000;
constexpr DWORD kPollMs = 50;

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

std::string ScreenText() {
  return std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" + std::to_string(GetSystemMetrics(SM_CYSCREEN));
}

struct Search {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindBar(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t name[64] = {};
  GetClassNameW(window, name, static_cast<int>(std::size(name)));
  if (pid == search->pid && lstrcmpW(name, L"TaviMenu2") == 0 && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

// Polls `done` until it holds or the limit passes.
template <typename Condition>
bool WaitFor(Condition done) {
  for (DWORD waited = 0; waited < kLimitMs; waited += kPollMs) {
    if (done()) return true;
    Sleep(kPollMs);
  }
  return done();
}

bool SetMode(DWORD width, DWORD height, DWORD bits) {
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  mode.dmBitsPerPel = bits;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  return ChangeDisplaySettingsW(&mode, CDS_UPDATEREGISTRY) == DISP_CHANGE_SUCCESSFUL;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 3) return 3;
  const std::wstring program = argv[1];
  const std::wstring reportPath = argv[2];
  LocalFree(argv);

  std::string report;
  auto note = [&](const std::string& key, const std::string& value) { report += key + "=" + value + "\n"; };
  auto write = [&] {
    HANDLE file = CreateFileW(reportPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return 2;
    DWORD written = 0;
    WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
  };

  DEVMODEW before{};
  before.dmSize = sizeof before;
  EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &before);
  DEVMODEW other{};
  other.dmSize = sizeof other;
  bool found = false;
  for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &other); ++i) {
    if (other.dmBitsPerPel == before.dmBitsPerPel && other.dmPelsWidth >= 800 &&
        other.dmPelsWidth != before.dmPelsWidth && other.dmPelsHeight != before.dmPelsHeight) {
      found = true;
      break;
    }
  }
  if (!found) {
    note("error", "no other display mode");
    return write();
  }

  const size_t slash = program.find_last_of(L'\\');
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : program.substr(0, slash);
  std::wstring line = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    note("error", "could not start the program: " + std::to_string(GetLastError()));
    return write();
  }
  CloseHandle(process.hThread);

  Search search{process.dwProcessId, nullptr};
  RECT rect{};
  const bool shown = WaitFor([&] {
    search.found = nullptr;
    EnumWindows(FindBar, reinterpret_cast<LPARAM>(&search));
    return search.found && GetWindowRect(search.found, &rect) && rect.bottom > rect.top;
  });
  if (!shown) {
    note("error", "the program's window did not show");
  } else {
    HWND bar = search.found;
    note("screen_before", ScreenText());
    note("rect_before", RectText(rect));
    const LONG beforeBottom = rect.bottom;
    if (!SetMode(other.dmPelsWidth, other.dmPelsHeight, other.dmBitsPerPel)) {
      note("error", "the mode change was refused");
    } else {
      note("screen_changed", ScreenText());
      WaitFor([&] { return GetWindowRect(bar, &rect) && rect.bottom != beforeBottom; });
      note("rect_changed", RectText(rect));
      DWORD_PTR answer = 0;
      note("answered_changed",
           SendMessageTimeoutW(bar, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) ? "1" : "0");
      APPBARDATA probe{};
      probe.cbSize = sizeof probe;
      probe.uEdge = ABE_LEFT;
      probe.rc = RECT{0, 0, 100, GetSystemMetrics(SM_CYSCREEN)};
      SHAppBarMessage(ABM_QUERYPOS, &probe);
      note("reserved_changed", RectText(probe.rc));
    }
    SetMode(before.dmPelsWidth, before.dmPelsHeight, before.dmBitsPerPel);
    WaitFor([&] { return GetWindowRect(bar, &rect) && rect.bottom == beforeBottom; });
    note("rect_back", RectText(rect));
    PostMessageW(bar, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, kLimitMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    note("error", "the program did not end");
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  note("exit_code", std::to_string(exitCode));
  return write();
}
