// marker: records how it was started, then exits.
// Appends one record of UTF-8 "key=value" lines to marker.txt beside the exe:
//   [marker]
//   pid=1234
//   exe=C:\...\marker.exe
//   command_line=<GetCommandLineW, whole>
//   args=<the command line after the program name>
//   arg=<each argument as CommandLineToArgvW splits it, one line each>
//   long_arg=<each argument with its short (8.3) names made long, one line each>
//   show_window=<STARTUPINFO.wShowWindow>
//   startup_flags=<STARTUPINFO.dwFlags>
//   cwd=<current directory>
//   long_cwd=<the current directory with its short names made long>
//   end
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// Skips the program name the way the C runtime does: a quoted name ends at
// the next quote, an unquoted one at the first blank.
std::wstring ArgumentsAfterProgram(const wchar_t* p) {
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"') ++p;
    if (*p == L'"') ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t') ++p;
  }
  while (*p == L' ' || *p == L'\t') ++p;
  return p;
}

std::wstring ModulePath() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return std::wstring(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

// A path given by its short (8.3) names, made long again one name at a time
// (FindFirstFileW answers with the long name of what it finds; Wine's
// GetLongPathNameW gives up on results past MAX_PATH): a program started
// from a path past MAX_PATH sees short names. Anything else comes back as it is.
std::wstring LongPath(const std::wstring& path) {
  if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return path;
  std::wstring result = path.substr(0, 2);
  size_t start = 3;
  while (start <= path.size()) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    const std::wstring name = path.substr(start, end - start);
    if (!name.empty()) {
      WIN32_FIND_DATAW found{};
      HANDLE search = FindFirstFileW((L"\\\\?\\" + result + L"\\" + name).c_str(), &found);
      if (search == INVALID_HANDLE_VALUE) return path;
      FindClose(search);
      result += L"\\";
      result += found.cFileName;
    }
    start = end + 1;
  }
  return result;
}

std::wstring CurrentDirectory() {
  DWORD n = GetCurrentDirectoryW(0, nullptr);
  std::wstring dir(n, L'\0');
  n = GetCurrentDirectoryW(n, dir.data());
  dir.resize(n);
  return dir;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  GetStartupInfoW(&si);
  const wchar_t* command_line = GetCommandLineW();

  std::string record = "[marker]\n";
  record += "pid=" + std::to_string(GetCurrentProcessId()) + "\n";
  std::wstring exe = ModulePath();
  record += "exe=" + Utf8(exe) + "\n";
  record += "command_line=" + Utf8(command_line) + "\n";
  record += "args=" + Utf8(ArgumentsAfterProgram(command_line)) + "\n";
  int argc = 0;
  if (wchar_t** argv = CommandLineToArgvW(command_line, &argc)) {
    for (int i = 1; i < argc; ++i) record += "arg=" + Utf8(argv[i]) + "\n";
    for (int i = 1; i < argc; ++i) record += "long_arg=" + Utf8(LongPath(argv[i])) + "\n";
    LocalFree(argv);
  }
  record += "show_window=" + std::to_string(si.wShowWindow) + "\n";
  record += "startup_flags=" + std::to_string(si.dwFlags) + "\n";
  record += "cwd=" + Utf8(CurrentDirectory()) + "\n";
  record += "long_cwd=" + Utf8(LongPath(CurrentDirectory())) + "\n";
  record += "end\n";

  std::wstring folder = exe.substr(0, exe.find_last_of(L'\\') + 1);
  HANDLE file = CreateFileW((folder + L"marker.txt").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 2;
  // One write per record, so records of markers started together do not interleave.
  DWORD written = 0;
  BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == record.size() ? 0 : 3;
}
