// trayicon: adds one notification-area icon and keeps it until its window is closed.
// Usage: trayicon.exe [--caption=TEXT] TIP
// The (hidden) window has class "TaviTrayIconTest" and the given caption;
// WM_CLOSE removes the icon and exits with 0.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {

const UINT kTrayCallback = WM_APP + 1;
UINT g_taskbar_created = 0;
std::wstring g_tip;

bool AddIcon(HWND hwnd) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd;
  nid.uID = 1;
  nid.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
  nid.uCallbackMessage = kTrayCallback;
  nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(nid.szTip, g_tip.c_str(), ARRAYSIZE(nid.szTip));
  return Shell_NotifyIconW(NIM_ADD, &nid) != FALSE;
}

void RemoveIcon(HWND hwnd) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof nid;
  nid.hWnd = hwnd;
  nid.uID = 1;
  Shell_NotifyIconW(NIM_DELETE, &nid);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == g_taskbar_created && g_taskbar_created != 0) {
    AddIcon(hwnd);  // the shell restarted and forgot its icons
    return 0;
  }
  switch (msg) {
    case WM_CLOSE:
      RemoveIcon(hwnd);
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  std::wstring caption = L"trayicon";
  int argc = 0;
  if (wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc)) {
    for (int i = 1; i < argc; ++i) {
      std::wstring arg = argv[i];
      if (arg.rfind(L"--caption=", 0) == 0) caption = arg.substr(10);
      else g_tip = arg;
    }
    LocalFree(argv);
  }
  g_taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"TaviTrayIconTest";
  if (!RegisterClassW(&wc)) return 2;
  HWND hwnd = CreateWindowW(wc.lpszClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                            nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 3;
  if (!AddIcon(hwnd)) return 4;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
