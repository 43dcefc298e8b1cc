// broadcast: sends WM_SETTINGCHANGE to every top-level window with plain
// SendMessage, as SystemParametersInfo(..., SPIF_SENDCHANGE) does, then exits 0.
// It only returns once every window's thread has answered.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"TaviE2E"));
  return 0;
}
