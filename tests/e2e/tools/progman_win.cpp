// progman: stands in for the shell's program-manager window, which Wine does
// not have. Registers class "Progman", titled "Program Manager", makes itself
// the shell window, and on WM_CLOSE appends "closed" to progman.txt beside
// the exe and exits.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Beside(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring text = path;
  return text.substr(0, text.find_last_of(L'\\') + 1) + name;
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    if (FILE* out = _wfopen(Beside(L"progman.txt").c_str(), L"ab")) {
      fputs("closed\n", out);
      fclose(out);
    }
    DestroyWindow(hwnd);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW cls{};
  cls.lpfnWndProc = Procedure;
  cls.hInstance = instance;
  cls.lpszClassName = L"Progman";
  if (!RegisterClassW(&cls)) return 1;
  HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"Progman", L"Program Manager", WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 2;
  using SetShellWindowFn = BOOL(WINAPI*)(HWND);
  if (auto setShell = reinterpret_cast<SetShellWindowFn>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetShellWindow"))))
    setShell(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
