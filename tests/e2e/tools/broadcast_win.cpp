// broadcast [TEXT]: sends WM_SETTINGCHANGE naming TEXT ("TaviE2E" when not
// given; "ImmersiveColorSet" is the system's word for a new app mode) to
// every top-level window with plain SendMessage, as SystemParametersInfo(...,
// SPIF_SENDCHANGE) does, then exits 0. It only returns once every window's
// thread has answered.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
  const wchar_t* text = commandLine && *commandLine ? commandLine : L"TaviE2E";
  SendMessageW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(text));
  return 0;
}
