// msgbox: shows one MessageBoxW and exits with the button pressed (IDOK, IDYES, ...).
// Usage: msgbox.exe [--icon=none|error|warning|info|question]
//                   [--buttons=ok|okcancel|yesno|yesnocancel|retrycancel|abortretryignore]
//                   [--caption=TEXT] TEXT
// In TEXT the two characters \n stand for a line break.
#include <windows.h>
#include <shellapi.h>

#include <map>
#include <string>

namespace {

bool TakeOption(const std::wstring& arg, const wchar_t* name, std::wstring& value) {
  std::wstring prefix = std::wstring(L"--") + name + L"=";
  if (arg.compare(0, prefix.size(), prefix) != 0) return false;
  value = arg.substr(prefix.size());
  return true;
}

std::wstring UnescapeLineBreaks(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n') {
      out += L'\n';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  static const std::map<std::wstring, UINT> icons = {
      {L"none", 0}, {L"error", MB_ICONERROR}, {L"warning", MB_ICONWARNING},
      {L"info", MB_ICONINFORMATION}, {L"question", MB_ICONQUESTION}};
  static const std::map<std::wstring, UINT> buttons = {
      {L"ok", MB_OK}, {L"okcancel", MB_OKCANCEL}, {L"yesno", MB_YESNO},
      {L"yesnocancel", MB_YESNOCANCEL}, {L"retrycancel", MB_RETRYCANCEL},
      {L"abortretryignore", MB_ABORTRETRYIGNORE}};

  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv) return 100;
  UINT icon = 0;
  UINT button_set = MB_OK;
  std::wstring caption = L"msgbox";
  std::wstring text;
  int result = 0;
  for (int i = 1; i < argc && result == 0; ++i) {
    std::wstring arg = argv[i];
    std::wstring value;
    if (TakeOption(arg, L"icon", value)) {
      auto it = icons.find(value);
      if (it == icons.end()) result = 101;
      else icon = it->second;
    } else if (TakeOption(arg, L"buttons", value)) {
      auto it = buttons.find(value);
      if (it == buttons.end()) result = 102;
      else button_set = it->second;
    } else if (TakeOption(arg, L"caption", value)) {
      caption = value;
    } else {
      text = UnescapeLineBreaks(arg);
    }
  }
  LocalFree(argv);
  if (result != 0) return result;
  return MessageBoxW(nullptr, text.c_str(), caption.c_str(), icon | button_set);
}
