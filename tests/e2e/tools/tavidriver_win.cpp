// tavidriver: serves window and process commands to the end-to-end harness.
// One JSON object per line on stdin, one JSON reply per line on stdout.
#include <windows.h>
#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "menuprobe.h"
#include "mini_json.h"

using minijson::Value;

namespace {

struct CommandError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// ---- text -------------------------------------------------------------------

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0) throw CommandError("text is not valid UTF-8");
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string LastErrorText(const char* what) {
  return std::string(what) + " failed, error " + std::to_string(GetLastError());
}

// ---- arguments --------------------------------------------------------------

const Value& Required(const Value& req, const char* key) {
  const Value* v = req.Find(key);
  if (!v || v->IsNull()) throw CommandError(std::string("missing argument '") + key + "'");
  return *v;
}

int64_t IntArg(const Value& req, const char* key) {
  const Value& v = Required(req, key);
  if (!v.IsInt()) throw CommandError(std::string("argument '") + key + "' must be an integer");
  return v.AsInt();
}

int64_t OptInt(const Value& req, const char* key, int64_t fallback) {
  const Value* v = req.Find(key);
  if (!v || v->IsNull()) return fallback;
  if (!v->IsInt()) throw CommandError(std::string("argument '") + key + "' must be an integer");
  return v->AsInt();
}

bool OptBool(const Value& req, const char* key, bool fallback) {
  const Value* v = req.Find(key);
  if (!v || v->IsNull()) return fallback;
  if (!v->IsBool()) throw CommandError(std::string("argument '") + key + "' must be true or false");
  return v->AsBool();
}

std::string StrArg(const Value& req, const char* key) {
  const Value& v = Required(req, key);
  if (!v.IsString()) throw CommandError(std::string("argument '") + key + "' must be a string");
  return v.AsString();
}

const Value* OptStr(const Value& req, const char* key) {
  const Value* v = req.Find(key);
  if (!v || v->IsNull()) return nullptr;
  if (!v->IsString()) throw CommandError(std::string("argument '") + key + "' must be a string");
  return v;
}

DWORD PidArg(const Value& req) {
  int64_t pid = IntArg(req, "pid");
  if (pid <= 0 || pid > 0xFFFFFFFFll) throw CommandError("argument 'pid' is out of range");
  return static_cast<DWORD>(pid);
}

HWND HwndArg(const Value& req, const char* key = "hwnd") {
  HWND hwnd = reinterpret_cast<HWND>(static_cast<intptr_t>(IntArg(req, key)));
  if (!IsWindow(hwnd)) throw CommandError("no such window");
  return hwnd;
}

RECT RectArg(const Value& req, const char* key) {
  const Value& v = Required(req, key);
  if (!v.IsArray() || v.Items().size() != 4) throw CommandError(std::string("argument '") + key + "' must be [left, top, right, bottom]");
  long c[4];
  for (size_t i = 0; i < 4; ++i) {
    if (!v.Items()[i].IsInt()) throw CommandError(std::string("argument '") + key + "' must hold integers");
    c[i] = static_cast<long>(v.Items()[i].AsInt());
  }
  return RECT{c[0], c[1], c[2], c[3]};
}

UINT EdgeArg(const Value& req) {
  const Value& v = Required(req, "edge");
  if (v.IsInt() && v.AsInt() >= ABE_LEFT && v.AsInt() <= ABE_BOTTOM) return static_cast<UINT>(v.AsInt());
  if (v.IsString()) {
    static const std::map<std::string, UINT> names = {
        {"left", ABE_LEFT}, {"top", ABE_TOP}, {"right", ABE_RIGHT}, {"bottom", ABE_BOTTOM}};
    auto it = names.find(v.AsString());
    if (it != names.end()) return it->second;
  }
  throw CommandError("argument 'edge' must be left, top, right, bottom or 0..3");
}

int ShowArg(const Value& req) {
  const Value* v = req.Find("show");
  if (!v || v->IsNull()) return -1;
  if (v->IsInt()) return static_cast<int>(v->AsInt());
  if (v->IsString()) {
    static const std::map<std::string, int> names = {
        {"SW_HIDE", SW_HIDE}, {"SW_SHOWNORMAL", SW_SHOWNORMAL}, {"SW_NORMAL", SW_NORMAL},
        {"SW_SHOWMINIMIZED", SW_SHOWMINIMIZED}, {"SW_SHOWMAXIMIZED", SW_SHOWMAXIMIZED},
        {"SW_MAXIMIZE", SW_MAXIMIZE}, {"SW_SHOWNOACTIVATE", SW_SHOWNOACTIVATE}, {"SW_SHOW", SW_SHOW},
        {"SW_MINIMIZE", SW_MINIMIZE}, {"SW_SHOWMINNOACTIVE", SW_SHOWMINNOACTIVE}, {"SW_SHOWNA", SW_SHOWNA},
        {"SW_RESTORE", SW_RESTORE}, {"SW_SHOWDEFAULT", SW_SHOWDEFAULT}};
    auto it = names.find(v->AsString());
    if (it != names.end()) return it->second;
  }
  throw CommandError("argument 'show' must be an SW_ name or an integer");
}

// ---- values -----------------------------------------------------------------

Value RectValue(const RECT& r) {
  return Value::Array().Push(Value::Int(r.left)).Push(Value::Int(r.top)).Push(Value::Int(r.right)).Push(Value::Int(r.bottom));
}

Value HwndValue(HWND hwnd) { return Value::Int(static_cast<int64_t>(reinterpret_cast<intptr_t>(hwnd))); }

std::wstring WindowClass(HWND hwnd) {
  wchar_t buf[256] = {};
  int n = GetClassNameW(hwnd, buf, 256);
  return std::wstring(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

// Reads a window's text without sending to a hung window for long.
std::wstring WindowText(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return {};
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000, &copied)) {
    return {};
  }
  text.resize(std::min<size_t>(copied, length));
  return text;
}

Value WindowValue(HWND hwnd) {
  RECT window{}, client{};
  GetWindowRect(hwnd, &window);
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  OffsetRect(&client, origin.x, origin.y);
  DWORD pid = 0;
  DWORD tid = GetWindowThreadProcessId(hwnd, &pid);
  LONG style = GetWindowLongW(hwnd, GWL_STYLE);
  LONG exstyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
  Value v = Value::Object();
  v.Set("hwnd", HwndValue(hwnd))
      .Set("class", Value::String(Narrow(WindowClass(hwnd))))
      .Set("caption", Value::String(Narrow(WindowText(hwnd))))
      .Set("rect", RectValue(window))
      .Set("client", RectValue(client))
      .Set("visible", Value::Bool(IsWindowVisible(hwnd) != FALSE))
      .Set("minimized", Value::Bool(IsIconic(hwnd) != FALSE))
      .Set("maximized", Value::Bool(IsZoomed(hwnd) != FALSE))
      .Set("enabled", Value::Bool(IsWindowEnabled(hwnd) != FALSE))
      .Set("pid", Value::Int(pid))
      .Set("tid", Value::Int(tid))
      .Set("owner", HwndValue(GetWindow(hwnd, GW_OWNER)))
      .Set("parent", HwndValue(GetAncestor(hwnd, GA_PARENT) == GetDesktopWindow() ? nullptr : GetAncestor(hwnd, GA_PARENT)))
      .Set("id", Value::Int((style & WS_CHILD) ? GetDlgCtrlID(hwnd) : 0))
      .Set("style", Value::Int(static_cast<uint32_t>(style)))
      .Set("exstyle", Value::Int(static_cast<uint32_t>(exstyle)))
      .Set("topmost", Value::Bool((exstyle & WS_EX_TOPMOST) != 0));
  return v;
}

std::vector<HWND> TopLevelWindows() {
  std::vector<HWND> found;
  EnumWindows([](HWND hwnd, LPARAM lp) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, [](HWND hwnd, LPARAM lp) -> BOOL {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
  }, reinterpret_cast<LPARAM>(&found));
  return found;
}

// ---- state kept across commands ---------------------------------------------

struct Handle {
  HANDLE h = nullptr;
  explicit Handle(HANDLE handle) : h(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { if (h) CloseHandle(h); }
};

// Processes this driver started: the handle keeps the exit code readable after exit.
std::map<DWORD, std::unique_ptr<Handle>> g_started;

const wchar_t kProbeClass[] = L"TaviDriverAppBar";
const UINT kAppBarCallback = WM_APP + 1;

// Appbars this driver holds on behalf of a test.
std::map<HWND, UINT> g_held_appbars;

LRESULT CALLBACK ProbeWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void RegisterProbeClass() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = ProbeWndProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kProbeClass;
  RegisterClassW(&wc);
}

HWND CreateProbeWindow() {
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, kProbeClass, L"tavidriver appbar", WS_POPUP, 0, 0, 0, 0,
                              nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!hwnd) throw CommandError(LastErrorText("CreateWindowEx"));
  return hwnd;
}

// Handles messages for the driver's own windows (its IME window, appbars):
// a program under test that broadcasts with SendMessage waits for them.
void PumpMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Waits for a handle while still answering messages; WAIT_OBJECT_0 or WAIT_TIMEOUT.
DWORD WaitPumping(HANDLE handle, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  for (;;) {
    ULONGLONG now = GetTickCount64();
    DWORD remaining = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
    DWORD wait = MsgWaitForMultipleObjects(1, &handle, FALSE, remaining, QS_ALLINPUT);
    if (wait == WAIT_OBJECT_0 + 1) {
      PumpMessages();
      continue;
    }
    return wait == WAIT_OBJECT_0 ? WAIT_OBJECT_0 : wait == WAIT_TIMEOUT ? WAIT_TIMEOUT : WAIT_FAILED;
  }
}

bool OwnedByDriver(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid == GetCurrentProcessId();
}

// Messages whose parameters are pointers: Wine marshals them by reading the
// sender's memory, so an integer from a test would crash the driver.
bool IsPointerMessage(UINT msg) {
  static const UINT pointer_messages[] = {
      WM_CREATE, WM_SETTEXT, WM_GETTEXT, WM_WININICHANGE, WM_DEVMODECHANGE, WM_GETMINMAXINFO,
      WM_DRAWITEM, WM_MEASUREITEM, WM_DELETEITEM, WM_COMPAREITEM, WM_WINDOWPOSCHANGING,
      WM_WINDOWPOSCHANGED, WM_COPYDATA, WM_NOTIFY, WM_HELP, WM_STYLECHANGING, WM_STYLECHANGED,
      WM_NCCREATE, WM_NCCALCSIZE, WM_GETDLGCODE, EM_GETSEL, EM_GETRECT, EM_SETRECT, EM_SETRECTNP,
      EM_REPLACESEL, EM_GETLINE, EM_SETTABSTOPS, SBM_GETRANGE, SBM_SETSCROLLINFO, SBM_GETSCROLLINFO,
      SBM_GETSCROLLBARINFO, CB_GETEDITSEL, CB_ADDSTRING, CB_DIR, CB_GETLBTEXT, CB_INSERTSTRING,
      CB_FINDSTRING, CB_SELECTSTRING, CB_GETDROPPEDCONTROLRECT, CB_FINDSTRINGEXACT, LB_ADDSTRING,
      LB_INSERTSTRING, LB_GETTEXT, LB_SELECTSTRING, LB_DIR, LB_FINDSTRING, LB_GETSELITEMS,
      LB_SETTABSTOPS, LB_ADDFILE, LB_GETITEMRECT, LB_FINDSTRINGEXACT, WM_NEXTMENU, WM_SIZING,
      WM_MOVING, WM_DEVICECHANGE, WM_MDICREATE, WM_MDIGETACTIVE, 0x022A, 0x022B, 0x022D, 0x022E,
      0x022F, WM_ASKCBFORMATNAME};
  for (UINT m : pointer_messages) {
    if (m == msg) return true;
  }
  return false;
}

// ---- commands ---------------------------------------------------------------

Value Ok() { return Value::Object().Set("ok", Value::Bool(true)); }

Value CmdAcp(const Value&) {
  return Ok()
      .Set("acp", Value::Int(GetACP()))
      .Set("oemcp", Value::Int(GetOEMCP()))
      .Set("ui_language", Value::Int(GetUserDefaultUILanguage()));
}

Value CmdScreen(const Value&) {
  Value reply = Ok();
  reply.Set("width", Value::Int(GetSystemMetrics(SM_CXSCREEN)))
      .Set("height", Value::Int(GetSystemMetrics(SM_CYSCREEN)));
  RECT work{};
  if (SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) reply.Set("work_area", RectValue(work));
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &abd)) {
    reply.Set("taskbar", Value::Object().Set("rect", RectValue(abd.rc)).Set("edge", Value::Int(abd.uEdge)));
  } else {
    reply.Set("taskbar", Value::Null());
  }
  HDC screen = GetDC(nullptr);
  reply.Set("dpi", Value::Int(GetDeviceCaps(screen, LOGPIXELSX)));
  ReleaseDC(nullptr, screen);
  return reply;
}

// The driver's environment block with the given variables set; a block of
// "NAME=value" strings, each ended by a zero, the whole ended by one more.
std::vector<wchar_t> EnvironmentWith(const Value& extra) {
  std::map<std::wstring, std::wstring> variables;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* p = block; *p; p += wcslen(p) + 1) {
      const std::wstring_view line(p);
      // Drive variables ("=C:") start with '='; their name ends at the second one.
      const size_t equals = line.find(L'=', 1);
      if (equals != std::wstring_view::npos)
        variables[std::wstring(line.substr(0, equals))] = std::wstring(line.substr(equals + 1));
    }
    FreeEnvironmentStringsW(block);
  }
  for (const auto& [name, value] : extra.Members()) {
    if (!value.IsString()) throw CommandError("env values must be strings");
    variables[Widen(name)] = Widen(value.AsString());
  }
  std::vector<wchar_t> environment;
  for (const auto& [name, value] : variables) {
    environment.insert(environment.end(), name.begin(), name.end());
    environment.push_back(L'=');
    environment.insert(environment.end(), value.begin(), value.end());
    environment.push_back(L'\0');
  }
  environment.push_back(L'\0');
  return environment;
}

Value CmdStart(const Value& req) {
  std::wstring exe = Widen(StrArg(req, "exe"));
  std::wstring command_line;
  if (const Value* raw = OptStr(req, "command_line")) {
    command_line = Widen(raw->AsString());
  } else {
    command_line = L"\"" + exe + L"\"";
    if (const Value* args = OptStr(req, "args")) {
      if (!args->AsString().empty()) command_line += L" " + Widen(args->AsString());
    }
  }
  std::wstring cwd;
  if (const Value* dir = OptStr(req, "cwd")) cwd = Widen(dir->AsString());
  STARTUPINFOW si{};
  si.cb = sizeof si;
  int show = ShowArg(req);
  if (show >= 0) {
    si.dwFlags |= STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(show);
  }
  PROCESS_INFORMATION pi{};
  std::vector<wchar_t> buffer(command_line.begin(), command_line.end());
  buffer.push_back(L'\0');
  // `env`: variables added to (or replacing those of) the driver's own environment.
  std::vector<wchar_t> environment;
  if (const Value* extra = req.Find("env"); extra && extra->IsObject()) environment = EnvironmentWith(*extra);
  // A console child must not share the driver's console: its output would
  // land in the reply stream. GUI children ignore the flag.
  const DWORD flags = CREATE_NEW_CONSOLE | (environment.empty() ? 0 : CREATE_UNICODE_ENVIRONMENT);
  if (!CreateProcessW(exe.c_str(), buffer.data(), nullptr, nullptr, FALSE, flags,
                      environment.empty() ? nullptr : environment.data(), cwd.empty() ? nullptr : cwd.c_str(), &si,
                      &pi)) {
    throw CommandError(LastErrorText("CreateProcess"));
  }
  CloseHandle(pi.hThread);
  g_started[pi.dwProcessId] = std::make_unique<Handle>(pi.hProcess);
  return Ok().Set("pid", Value::Int(pi.dwProcessId));
}

// A handle to wait on: the one kept from `start`, else opened now.
HANDLE ProcessHandle(DWORD pid, std::unique_ptr<Handle>& opened) {
  auto it = g_started.find(pid);
  if (it != g_started.end()) return it->second->h;
  HANDLE h = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!h) throw CommandError("no such process");
  opened = std::make_unique<Handle>(h);
  return h;
}

Value CmdWaitExit(const Value& req) {
  DWORD pid = PidArg(req);
  int64_t timeout = OptInt(req, "timeout_ms", 10000);
  if (timeout < 0 || timeout > 600000) throw CommandError("argument 'timeout_ms' must be 0..600000");
  std::unique_ptr<Handle> opened;
  HANDLE h = ProcessHandle(pid, opened);
  DWORD wait = WaitPumping(h, static_cast<DWORD>(timeout));
  if (wait == WAIT_TIMEOUT) return Ok().Set("exited", Value::Bool(false));
  if (wait != WAIT_OBJECT_0) throw CommandError(LastErrorText("MsgWaitForMultipleObjects"));
  DWORD code = 0;
  if (!GetExitCodeProcess(h, &code)) throw CommandError(LastErrorText("GetExitCodeProcess"));
  return Ok().Set("exited", Value::Bool(true)).Set("exit_code", Value::Int(code));
}

Value CmdAlive(const Value& req) {
  DWORD pid = PidArg(req);
  auto it = g_started.find(pid);
  if (it != g_started.end()) {
    return Ok().Set("alive", Value::Bool(WaitForSingleObject(it->second->h, 0) == WAIT_TIMEOUT));
  }
  Handle h(OpenProcess(SYNCHRONIZE, FALSE, pid));
  return Ok().Set("alive", Value::Bool(h.h && WaitForSingleObject(h.h, 0) == WAIT_TIMEOUT));
}

Value CmdKill(const Value& req) {
  DWORD pid = PidArg(req);
  auto it = g_started.find(pid);
  if (it == g_started.end()) throw CommandError("only processes started by this driver can be killed");
  if (!TerminateProcess(it->second->h, static_cast<UINT>(OptInt(req, "exit_code", 1)))) {
    throw CommandError(LastErrorText("TerminateProcess"));
  }
  return Ok();
}

Value CmdWindows(const Value& req) {
  int64_t pid_filter = OptInt(req, "pid", 0);
  bool hidden = OptBool(req, "hidden", false);
  bool children = OptBool(req, "children", false);
  Value list = Value::Array();
  for (HWND top : TopLevelWindows()) {
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    if (pid_filter && pid != pid_filter) continue;
    if (!hidden && !IsWindowVisible(top)) continue;
    list.Push(WindowValue(top));
    if (!children) continue;
    for (HWND child : ChildWindows(top)) {
      if (!hidden && !IsWindowVisible(child)) continue;
      list.Push(WindowValue(child));
    }
  }
  return Ok().Set("windows", std::move(list));
}

Value CmdWindow(const Value& req) {
  return Ok().Set("window", WindowValue(HwndArg(req)));
}

// A 32-bit top-down DIB section of w x h pixels, selected into its own DC.
struct Canvas {
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  uint32_t* bits = nullptr;
  int width = 0, height = 0;
  Canvas(int w, int h) : width(w), height(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    dc = CreateCompatibleDC(nullptr);
    void* p = nullptr;
    bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
    if (dc && bitmap) {
      old = SelectObject(dc, bitmap);
      bits = static_cast<uint32_t*>(p);
    }
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() {
    if (old) SelectObject(dc, old);
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
  }
};

// Names the standard icon a message box shows by comparing the icon
// control's pixels on screen with each standard icon drawn the same way
// (another process's HICON cannot be inspected under Wine).
Value MessageBoxIcon(HWND dialog) {
  HWND icon_control = nullptr;
  for (HWND child : ChildWindows(dialog)) {
    LONG style = GetWindowLongW(child, GWL_STYLE);
    if (_wcsicmp(WindowClass(child).c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && IsWindowVisible(child)) {
      icon_control = child;
      break;
    }
  }
  if (!icon_control) return Value::String("none");
  // Wine keeps an empty icon control for MB_ICON-less boxes. Its handle says
  // so at once, where the screen may still show the last box's icon there.
  DWORD_PTR handle = 0;
  if (SendMessageTimeoutW(icon_control, STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &handle) && handle == 0)
    return Value::String("none");
  // Paint now, so the screen shows the icon even if the box has just opened.
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(dialog, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &ignored)) return Value::String("unknown");
  RedrawWindow(icon_control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  RECT client{};
  GetClientRect(icon_control, &client);
  POINT origin{0, 0};
  ClientToScreen(icon_control, &origin);
  int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0 || w > 256 || h > 256) return Value::String("unknown");
  Canvas shown(w, h);
  if (!shown.bits) return Value::String("unknown");
  HDC screen = GetDC(nullptr);
  BOOL copied = BitBlt(shown.dc, 0, 0, w, h, screen, origin.x, origin.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  if (!copied) return Value::String("unknown");
  GdiFlush();
  const uint32_t background = shown.bits[0] & 0xFFFFFF;
  bool blank = true;
  for (int i = 0; i < w * h && blank; ++i) blank = (shown.bits[i] & 0xFFFFFF) == background;
  if (blank) return Value::String("none");  // Wine keeps an empty icon control for MB_ICON-less boxes
  struct Candidate { const char* name; LPCWSTR id; };
  static const Candidate candidates[] = {
      {"error", IDI_HAND}, {"warning", IDI_EXCLAMATION}, {"information", IDI_ASTERISK}, {"question", IDI_QUESTION}};
  const char* best = "unknown";
  long best_diff = static_cast<long>(w) * h;
  for (const Candidate& c : candidates) {
    Canvas drawn(w, h);
    if (!drawn.bits) continue;
    for (int i = 0; i < w * h; ++i) drawn.bits[i] = background;
    DrawIconEx(drawn.dc, 0, 0, LoadIconW(nullptr, c.id), w, h, 0, nullptr, DI_NORMAL);
    GdiFlush();
    long diff = 0;
    for (int i = 0; i < w * h; ++i) {
      if ((drawn.bits[i] & 0xFFFFFF) != (shown.bits[i] & 0xFFFFFF)) ++diff;
    }
    if (diff < best_diff) {
      best_diff = diff;
      best = c.name;
    }
  }
  // Allow a few pixels of difference (e.g. a focus or blending artefact), no more.
  if (best_diff * 20 > static_cast<long>(w) * h) return Value::String("unknown");
  return Value::String(best);
}

Value CmdDialogTexts(const Value& req) {
  HWND dialog = HwndArg(req);
  Value controls = Value::Array();
  Value buttons = Value::Array();
  Value message = Value::Null();
  for (HWND child : ChildWindows(dialog)) {
    if (GetAncestor(child, GA_PARENT) != dialog) continue;
    std::string cls = Narrow(WindowClass(child));
    std::string text = Narrow(WindowText(child));
    int id = GetDlgCtrlID(child);
    bool visible = IsWindowVisible(child) != FALSE;
    controls.Push(Value::Object()
                      .Set("hwnd", HwndValue(child))
                      .Set("id", Value::Int(id))
                      .Set("class", Value::String(cls))
                      .Set("text", Value::String(text))
                      .Set("visible", Value::Bool(visible))
                      .Set("style", Value::Int(static_cast<uint32_t>(GetWindowLongW(child, GWL_STYLE)))));
    // The message text of a message box is the static control with id 0xFFFF.
    if (id == 0xFFFF && _stricmp(cls.c_str(), "Static") == 0) message = Value::String(text);
    if (_stricmp(cls.c_str(), "Button") == 0 && visible) {
      buttons.Push(Value::Object().Set("id", Value::Int(id)).Set("text", Value::String(text)).Set("hwnd", HwndValue(child)));
    }
  }
  return Ok()
      .Set("class", Value::String(Narrow(WindowClass(dialog))))
      .Set("caption", Value::String(Narrow(WindowText(dialog))))
      .Set("message", std::move(message))
      .Set("icon", MessageBoxIcon(dialog))
      .Set("buttons", std::move(buttons))
      .Set("controls", std::move(controls));
}

// "はい(&Y)" and "&Yes" are named as "はい" and "Yes".
std::wstring PlainButtonText(std::wstring text) {
  if (text.size() >= 4 && text.back() == L')' && text[text.size() - 4] == L'(' && text[text.size() - 3] == L'&') {
    text.resize(text.size() - 4);
  }
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&') {
      if (i + 1 < text.size() && text[i + 1] == L'&') { out += L'&'; ++i; }
      continue;
    }
    out += text[i];
  }
  return out;
}

Value CmdPress(const Value& req) {
  HWND dialog = HwndArg(req);
  const Value* text_arg = OptStr(req, "text");
  int64_t id_arg = OptInt(req, "id", -1);
  if (!text_arg && id_arg < 0) throw CommandError("give 'text' or 'id' of the button");
  std::wstring wanted = text_arg ? Widen(text_arg->AsString()) : std::wstring();
  for (HWND child : ChildWindows(dialog)) {
    if (GetAncestor(child, GA_PARENT) != dialog) continue;
    if (_wcsicmp(WindowClass(child).c_str(), L"Button") != 0) continue;
    int id = GetDlgCtrlID(child);
    std::wstring text = WindowText(child);
    bool match = text_arg ? (text == wanted || PlainButtonText(text) == wanted) : id == id_arg;
    if (!match) continue;
    // Posted, so a handler that opens another modal window cannot block the driver.
    if (!PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(child))) {
      throw CommandError(LastErrorText("PostMessage"));
    }
    return Ok().Set("id", Value::Int(id)).Set("text", Value::String(Narrow(text)));
  }
  throw CommandError("no such button");
}

Value CmdClose(const Value& req) {
  HWND hwnd = HwndArg(req);
  if (!PostMessageW(hwnd, WM_CLOSE, 0, 0)) throw CommandError(LastErrorText("PostMessage"));
  return Ok();
}

// Moves another window, keeping its size and place in the z-order: Wine's
// own tray window can stand over what a test reads off the screen.
Value CmdMove(const Value& req) {
  HWND hwnd = HwndArg(req);
  if (OwnedByDriver(hwnd)) throw CommandError("refusing to move the driver's own window");
  if (!SetWindowPos(hwnd, nullptr, static_cast<int>(IntArg(req, "x")), static_cast<int>(IntArg(req, "y")), 0, 0,
                    SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
    throw CommandError(LastErrorText("SetWindowPos"));
  return Ok();
}

void CheckMessageTarget(HWND hwnd, UINT msg, LPARAM lparam) {
  if (OwnedByDriver(hwnd)) throw CommandError("refusing to message the driver's own window");
  // A settings notice without its section name is common and carries nothing.
  if (msg == WM_SETTINGCHANGE && lparam == 0) return;
  if (IsPointerMessage(msg)) throw CommandError("message carries pointers; use a dedicated command");
}

Value CmdPost(const Value& req) {
  HWND hwnd = HwndArg(req);
  UINT msg = static_cast<UINT>(IntArg(req, "msg"));
  CheckMessageTarget(hwnd, msg, static_cast<LPARAM>(OptInt(req, "lparam", 0)));
  if (!PostMessageW(hwnd, msg, static_cast<WPARAM>(OptInt(req, "wparam", 0)), static_cast<LPARAM>(OptInt(req, "lparam", 0)))) {
    throw CommandError(LastErrorText("PostMessage"));
  }
  return Ok();
}

Value CmdSend(const Value& req) {
  HWND hwnd = HwndArg(req);
  UINT msg = static_cast<UINT>(IntArg(req, "msg"));
  CheckMessageTarget(hwnd, msg, static_cast<LPARAM>(OptInt(req, "lparam", 0)));
  int64_t timeout = OptInt(req, "timeout_ms", 5000);
  if (timeout < 0 || timeout > 600000) throw CommandError("argument 'timeout_ms' must be 0..600000");
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, msg, static_cast<WPARAM>(OptInt(req, "wparam", 0)), static_cast<LPARAM>(OptInt(req, "lparam", 0)),
                           SMTO_ABORTIFHUNG, static_cast<UINT>(timeout), &result)) {
    throw CommandError(LastErrorText("SendMessageTimeout"));
  }
  return Ok().Set("result", Value::Int(static_cast<int64_t>(result)));
}

Value CmdGetText(const Value& req) {
  return Ok().Set("text", Value::String(Narrow(WindowText(HwndArg(req)))));
}

Value CmdSetText(const Value& req) {
  HWND hwnd = HwndArg(req);
  std::wstring text = Widen(StrArg(req, "text"));
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG, 5000, &result)) {
    throw CommandError(LastErrorText("SendMessageTimeout"));
  }
  return Ok().Set("result", Value::Int(static_cast<int64_t>(result)));
}

Value CmdCursor(const Value& req) {
  int x = static_cast<int>(IntArg(req, "x"));
  int y = static_cast<int>(IntArg(req, "y"));
  if (!SetCursorPos(x, y)) throw CommandError(LastErrorText("SetCursorPos"));
  return Ok();
}

Value CmdGetCursor(const Value&) {
  POINT pt{};
  if (!GetCursorPos(&pt)) throw CommandError(LastErrorText("GetCursorPos"));
  return Ok().Set("x", Value::Int(pt.x)).Set("y", Value::Int(pt.y));
}

// The foreground window and, for the thread `tid`, its focus and active window.
Value CmdFocus(const Value& req) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(static_cast<DWORD>(IntArg(req, "tid")), &info))
    throw CommandError(LastErrorText("GetGUIThreadInfo"));
  return Ok()
      .Set("foreground", HwndValue(GetForegroundWindow()))
      .Set("focus", HwndValue(info.hwndFocus))
      .Set("active", HwndValue(info.hwndActive));
}

Value CmdGuiResources(const Value& req) {
  Handle h(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, PidArg(req)));
  if (!h.h) throw CommandError(LastErrorText("OpenProcess"));
  SetLastError(0);
  DWORD gdi = GetGuiResources(h.h, GR_GDIOBJECTS);
  DWORD user = GetGuiResources(h.h, GR_USEROBJECTS);
  // Wine 8 stubs it (0, ERROR_CALL_NOT_IMPLEMENTED): say so rather than report no objects.
  if (gdi == 0 && user == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) {
    throw CommandError("GetGuiResources is not implemented on this system");
  }
  return Ok().Set("gdi", Value::Int(gdi)).Set("user", Value::Int(user));
}

Value CmdWorkingSet(const Value& req) {
  Handle h(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, PidArg(req)));
  if (!h.h) throw CommandError(LastErrorText("OpenProcess"));
  PROCESS_MEMORY_COUNTERS_EX pmc{};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(h.h, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc)) {
    throw CommandError(LastErrorText("GetProcessMemoryInfo"));
  }
  return Ok()
      .Set("working_set", Value::Int(static_cast<int64_t>(pmc.WorkingSetSize)))
      .Set("peak_working_set", Value::Int(static_cast<int64_t>(pmc.PeakWorkingSetSize)))
      .Set("pagefile_usage", Value::Int(static_cast<int64_t>(pmc.PagefileUsage)))
      // Wine leaves PrivateUsage at 0; no real process has no private bytes.
      .Set("private_usage", pmc.PrivateUsage ? Value::Int(static_cast<int64_t>(pmc.PrivateUsage)) : Value::Null());
}

// The file names of the modules loaded in a process, lower case.
Value CmdModules(const Value& req) {
  Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, PidArg(req)));
  if (!process.h) throw CommandError(LastErrorText("OpenProcess"));
  HMODULE modules[512];
  DWORD needed = 0;
  if (!EnumProcessModules(process.h, modules, sizeof modules, &needed)) throw CommandError(LastErrorText("EnumProcessModules"));
  Value list = Value::Array();
  for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
    wchar_t name[MAX_PATH];
    if (GetModuleBaseNameW(process.h, modules[i], name, MAX_PATH)) {
      CharLowerW(name);
      list.Push(Value::String(Narrow(name)));
    }
  }
  return Ok().Set("modules", list);
}

// The system's memory as every program sees it, to compare a program's figures with.
Value CmdMemoryStatus(const Value&) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  if (!GlobalMemoryStatusEx(&status)) throw CommandError(LastErrorText("GlobalMemoryStatusEx"));
  return Ok()
      .Set("load", Value::Int(static_cast<int64_t>(status.dwMemoryLoad)))
      .Set("total_phys", Value::Int(static_cast<int64_t>(status.ullTotalPhys)))
      .Set("avail_phys", Value::Int(static_cast<int64_t>(status.ullAvailPhys)));
}

APPBARDATA AppBarData(HWND hwnd, UINT edge, const RECT& rc) {
  APPBARDATA abd{};
  abd.cbSize = sizeof abd;
  abd.hWnd = hwnd;
  abd.uCallbackMessage = kAppBarCallback;
  abd.uEdge = edge;
  abd.rc = rc;
  return abd;
}

Value CmdAppBarQuery(const Value& req) {
  UINT edge = EdgeArg(req);
  RECT rc = RectArg(req, "rect");
  HWND probe = CreateProbeWindow();
  APPBARDATA abd = AppBarData(probe, edge, rc);
  if (!SHAppBarMessage(ABM_NEW, &abd)) {
    DestroyWindow(probe);
    throw CommandError("ABM_NEW failed (no shell appbar service?)");
  }
  abd = AppBarData(probe, edge, rc);
  UINT_PTR queried = SHAppBarMessage(ABM_QUERYPOS, &abd);
  RECT adjusted = abd.rc;
  APPBARDATA remove = AppBarData(probe, edge, rc);
  SHAppBarMessage(ABM_REMOVE, &remove);
  DestroyWindow(probe);
  PumpMessages();
  if (!queried) throw CommandError("ABM_QUERYPOS failed");
  return Ok().Set("rect", RectValue(adjusted)).Set("changed", Value::Bool(!EqualRect(&adjusted, &rc)));
}

Value CmdAppBarHold(const Value& req) {
  UINT edge = EdgeArg(req);
  RECT rc = RectArg(req, "rect");
  HWND hwnd = CreateProbeWindow();
  APPBARDATA abd = AppBarData(hwnd, edge, rc);
  if (!SHAppBarMessage(ABM_NEW, &abd)) {
    DestroyWindow(hwnd);
    throw CommandError("ABM_NEW failed (no shell appbar service?)");
  }
  abd = AppBarData(hwnd, edge, rc);
  SHAppBarMessage(ABM_QUERYPOS, &abd);
  SHAppBarMessage(ABM_SETPOS, &abd);
  g_held_appbars[hwnd] = edge;
  PumpMessages();
  return Ok().Set("hwnd", HwndValue(hwnd)).Set("rect", RectValue(abd.rc));
}

Value CmdAppBarRelease(const Value& req) {
  HWND hwnd = reinterpret_cast<HWND>(static_cast<intptr_t>(IntArg(req, "hwnd")));
  auto it = g_held_appbars.find(hwnd);
  if (it == g_held_appbars.end()) throw CommandError("not an appbar held by this driver");
  APPBARDATA abd = AppBarData(hwnd, it->second, RECT{});
  SHAppBarMessage(ABM_REMOVE, &abd);
  DestroyWindow(hwnd);
  g_held_appbars.erase(it);
  PumpMessages();
  return Ok();
}

// Holds a file open with no sharing, as another program that locks it would,
// until file_release; returns the handle.
Value CmdFileHold(const Value& req) {
  HANDLE file = CreateFileW(Widen(StrArg(req, "path")).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw CommandError(LastErrorText("CreateFile"));
  return Ok().Set("handle", Value::Int(reinterpret_cast<intptr_t>(file)));
}

Value CmdFileRelease(const Value& req) {
  if (!CloseHandle(reinterpret_cast<HANDLE>(static_cast<intptr_t>(IntArg(req, "handle")))))
    throw CommandError(LastErrorText("CloseHandle"));
  return Ok();
}

// The number a registered window message ("TaskbarCreated") has in this session.
Value CmdRegisterMessage(const Value& req) {
  const UINT id = RegisterWindowMessageW(Widen(StrArg(req, "name")).c_str());
  if (!id) throw CommandError(LastErrorText("RegisterWindowMessage"));
  return Ok().Set("id", Value::Int(id));
}

// Asks a program's window for a WM_NULL round trip every 20 ms from a thread
// of the driver, from before the window exists until watch_answers_stop,
// and keeps the slowest answer: "answers within 200 ms throughout".
struct AnswerWatch {
  std::thread thread;
  std::atomic<bool> stop{false};
  std::mutex mutex;
  int64_t asked = 0, late = 0;
  double slowest_ms = 0;
};
AnswerWatch* g_watch = nullptr;

Value CmdWatchAnswers(const Value& req) {
  if (g_watch) throw CommandError("answers are watched already");
  const DWORD pid = static_cast<DWORD>(IntArg(req, "pid"));
  const std::wstring cls = Widen(StrArg(req, "class"));
  const double limit_ms = static_cast<double>(OptInt(req, "limit_ms", 200));
  g_watch = new AnswerWatch;
  AnswerWatch* watch = g_watch;
  watch->thread = std::thread([watch, pid, cls, limit_ms] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    while (!watch->stop) {
      HWND target = nullptr;
      for (HWND top : TopLevelWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(top, &owner);
        if (owner == pid && WindowClass(top) == cls) target = top;
      }
      if (target) {
        LARGE_INTEGER began, ended;
        QueryPerformanceCounter(&began);
        DWORD_PTR ignored = 0;
        // Waits well past the limit, so that a late answer is measured, not just missed.
        const bool answered = SendMessageTimeoutW(target, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0;
        QueryPerformanceCounter(&ended);
        const double ms = 1000.0 * static_cast<double>(ended.QuadPart - began.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        const bool gone = !answered && !IsWindow(target);
        std::lock_guard<std::mutex> lock(watch->mutex);
        if (!gone) {
          ++watch->asked;
          if (!answered || ms > limit_ms) ++watch->late;
          if (ms > watch->slowest_ms) watch->slowest_ms = ms;
        }
      }
      Sleep(20);
    }
  });
  return Ok();
}

Value CmdWatchAnswersStop(const Value&) {
  if (!g_watch) throw CommandError("answers are not watched");
  g_watch->stop = true;
  g_watch->thread.join();
  Value reply = Ok()
                    .Set("asked", Value::Int(g_watch->asked))
                    .Set("late", Value::Int(g_watch->late))
                    .Set("slowest_ms", Value::Int(static_cast<int64_t>(g_watch->slowest_ms + 0.5)));
  delete g_watch;
  g_watch = nullptr;
  return reply;
}

// Starts a program and waits, polling every millisecond, until it shows a
// window of the given class; returns the time that took. A start-up
// benchmark, so the polling happens here rather than across the pipe.
Value CmdStartTimed(const Value& req) {
  const std::wstring cls = Widen(StrArg(req, "class"));
  const int64_t timeout_ms = IntArg(req, "timeout_ms");
  LARGE_INTEGER frequency, began, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&began);
  Value started = CmdStart(req);
  const DWORD pid = static_cast<DWORD>(started.Find("pid")->AsInt());
  for (;;) {
    for (HWND top : TopLevelWindows()) {
      DWORD owner = 0;
      GetWindowThreadProcessId(top, &owner);
      if (owner == pid && IsWindowVisible(top) && WindowClass(top) == cls) {
        QueryPerformanceCounter(&now);
        const double ms = 1000.0 * static_cast<double>(now.QuadPart - began.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        return Ok()
            .Set("pid", Value::Int(pid))
            .Set("hwnd", HwndValue(top))
            .Set("ms", Value::Double(ms))
            .Set("began", Value::Int(began.QuadPart))
            .Set("frequency", Value::Int(frequency.QuadPart));
      }
    }
    QueryPerformanceCounter(&now);
    if ((now.QuadPart - began.QuadPart) * 1000 / frequency.QuadPart > timeout_ms)
      throw CommandError("no window of that class in time");
    Sleep(1);
  }
}

// Posts a left press and release at a client point of a window (a toolbar
// button) and returns the performance counter reading taken just before, so
// a program's own trace can tell how long the click took to act.
Value CmdTimeClick(const Value& req) {
  HWND hwnd = reinterpret_cast<HWND>(static_cast<intptr_t>(IntArg(req, "hwnd")));
  if (!IsWindow(hwnd)) throw CommandError("no such window");
  const LPARAM point = MAKELPARAM(static_cast<WORD>(IntArg(req, "x")), static_cast<WORD>(IntArg(req, "y")));
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  if (!PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, point) || !PostMessageW(hwnd, WM_LBUTTONUP, 0, point))
    throw CommandError(LastErrorText("PostMessage"));
  return Ok().Set("ticks", Value::Int(now.QuadPart)).Set("frequency", Value::Int(frequency.QuadPart));
}

// The display modes the system reports, in its order, and the current one.
Value CmdDisplayModes(const Value&) {
  auto mode = [](const DEVMODEW& m) {
    return Value::Object()
        .Set("width", Value::Int(m.dmPelsWidth))
        .Set("height", Value::Int(m.dmPelsHeight))
        .Set("bits", Value::Int(m.dmBitsPerPel))
        .Set("frequency", Value::Int(m.dmDisplayFrequency));
  };
  Value modes = Value::Array();
  DEVMODEW m{};
  m.dmSize = sizeof m;
  for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &m); ++i) modes.Push(mode(m));
  DEVMODEW current{};
  current.dmSize = sizeof current;
  if (!EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &current)) throw CommandError(LastErrorText("EnumDisplaySettings"));
  return Ok().Set("modes", modes).Set("current", mode(current));
}

// The desktop wallpaper as the system tells it, and setting it.
Value CmdWallpaper(const Value& req) {
  if (const Value* set = OptStr(req, "set")) {
    std::wstring path = Widen(set->AsString());
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE))
      throw CommandError(LastErrorText("SPI_SETDESKWALLPAPER"));
  }
  // Read where the system keeps it: SPI_GETDESKWALLPAPER answers from a copy
  // this process made when it last set or read the value.
  wchar_t path[MAX_PATH] = {};
  DWORD size = sizeof path;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", RRF_RT_REG_SZ, nullptr, path, &size) !=
      ERROR_SUCCESS)
    path[0] = L'\0';
  return Ok().Set("path", Value::String(Narrow(path)));
}

// A program file's icons: how many the shell finds, and the sizes of the
// first icon group, the one Explorer shows.
Value CmdIcons(const Value& req) {
  const std::wstring file = Widen(StrArg(req, "file"));
  const UINT count = ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0);
  Value sizes = Value::Array();
  if (HMODULE module = LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
    HRSRC group = nullptr;
    EnumResourceNamesW(module, RT_GROUP_ICON, [](HMODULE m, LPCWSTR type, LPWSTR name, LONG_PTR found) -> BOOL {
      *reinterpret_cast<HRSRC*>(found) = FindResourceW(m, name, type);
      return FALSE;  // the first group only
    }, reinterpret_cast<LONG_PTR>(&group));
    if (const auto* data = group ? static_cast<const BYTE*>(LockResource(LoadResource(module, group))) : nullptr) {
      const WORD entries = *reinterpret_cast<const WORD*>(data + 4);
      for (WORD i = 0; i < entries; ++i) sizes.Push(Value::Int(data[6 + 14 * i] == 0 ? 256 : data[6 + 14 * i]));
    }
    FreeLibrary(module);
  }
  return Ok().Set("count", Value::Int(count)).Set("sizes", sizes);
}

// What a shortcut (.lnk) starts and which icon it shows, read through the
// shell's link object.
Value CmdShortcut(const Value& req) {
  const std::wstring file = Widen(StrArg(req, "file"));
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::string target, iconPath;
  int iconIndex = 0;
  IShellLinkW* link = nullptr;
  HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    reinterpret_cast<void**>(&link));
  if (SUCCEEDED(result)) {
    IPersistFile* persist = nullptr;
    result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    if (SUCCEEDED(result)) {
      result = persist->Load(file.c_str(), STGM_READ);
      persist->Release();
    }
    wchar_t text[MAX_PATH * 4] = {};
    if (SUCCEEDED(result) && SUCCEEDED(link->GetPath(text, MAX_PATH * 4, nullptr, SLGP_RAWPATH))) target = Narrow(text);
    text[0] = L'\0';
    if (SUCCEEDED(result) && SUCCEEDED(link->GetIconLocation(text, MAX_PATH * 4, &iconIndex))) iconPath = Narrow(text);
    link->Release();
  }
  if (SUCCEEDED(com)) CoUninitialize();
  if (FAILED(result)) throw CommandError("the shortcut could not be read");
  return Ok().Set("target", Value::String(target)).Set("icon_path", Value::String(iconPath))
      .Set("icon_index", Value::Int(iconIndex));
}

// Posts a right press (or with "button": "left" a left click) at client
// point (x, y) of `hwnd` and times it until a popup menu of that window's
// process is on screen: from the press to the menu.
Value CmdTimePopup(const Value& req) {
  HWND target = HwndArg(req);
  const LPARAM point = MAKELPARAM(static_cast<WORD>(IntArg(req, "x")), static_cast<WORD>(IntArg(req, "y")));
  const int64_t timeout_ms = OptInt(req, "timeout_ms", 10000);
  const Value* button = OptStr(req, "button");
  const bool left = button && button->AsString() == "left";
  DWORD pid = 0;
  GetWindowThreadProcessId(target, &pid);
  LARGE_INTEGER frequency, began, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&began);
  if (left) {
    // A left button acts on its release: the whole click, before the menu.
    PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(target, WM_LBUTTONUP, 0, point);
  } else {
    PostMessageW(target, WM_RBUTTONDOWN, MK_RBUTTON, point);
  }
  for (;;) {
    for (HWND top : TopLevelWindows()) {
      DWORD owner = 0;
      GetWindowThreadProcessId(top, &owner);
      if (owner == pid && IsWindowVisible(top) && WindowClass(top) == L"#32768") {
        QueryPerformanceCounter(&now);
        const double ms = 1000.0 * static_cast<double>(now.QuadPart - began.QuadPart) /
                          static_cast<double>(frequency.QuadPart);
        if (!left) PostMessageW(target, WM_RBUTTONUP, 0, point);
        return Ok()
            .Set("hwnd", HwndValue(top))
            .Set("ms", Value::Double(ms))
            .Set("pressed", Value::Int(began.QuadPart))
            .Set("shown", Value::Int(now.QuadPart))
            .Set("frequency", Value::Int(frequency.QuadPart));
      }
    }
    QueryPerformanceCounter(&now);
    if ((now.QuadPart - began.QuadPart) * 1000 / frequency.QuadPart > timeout_ms)
      throw CommandError("no popup menu in time");
  }
}

// The buttons of a toolbar in another process: command id, rectangle in
// screen pixels, image index and tooltip text ("tips": false leaves the
// texts out, and the tooltip window unasked for). TB_GETBUTTON and
// TB_GETITEMRECT take pointers, so their structures live in that process.
Value CmdToolbarButtons(const Value& req) {
  HWND toolbar = HwndArg(req);
  DWORD pid = 0;
  GetWindowThreadProcessId(toolbar, &pid);
  Handle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process.h) throw CommandError(LastErrorText("OpenProcess"));
  const size_t size = 4096;
  auto* remote = static_cast<BYTE*>(VirtualAllocEx(process.h, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) throw CommandError(LastErrorText("VirtualAllocEx"));
  DWORD_PTR count = 0;
  SendMessageTimeoutW(toolbar, TB_BUTTONCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count);
  HWND tips = OptBool(req, "tips", true) ? reinterpret_cast<HWND>(SendMessageW(toolbar, TB_GETTOOLTIPS, 0, 0)) : nullptr;
  Value list = Value::Array();
  for (DWORD_PTR i = 0; i < count; ++i) {
    DWORD_PTR ok = 0;
    SIZE_T io = 0;
    TBBUTTON button{};
    RECT rect{};
    if (!SendMessageTimeoutW(toolbar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &ok) ||
        !ok || !ReadProcessMemory(process.h, remote, &button, sizeof button, &io))
      continue;
    if (SendMessageTimeoutW(toolbar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &ok) &&
        ok && ReadProcessMemory(process.h, remote, &rect, sizeof rect, &io))
      MapWindowPoints(toolbar, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    Value tip = Value::Null();
    if (tips) {
      // A tool whose text comes from its owner answers TTM_GETTEXT by asking the owner.
      TTTOOLINFOW info{};
      info.cbSize = sizeof info;
      info.hwnd = toolbar;
      info.uId = static_cast<UINT_PTR>(button.idCommand);
      info.lpszText = reinterpret_cast<wchar_t*>(remote + 1024);
      std::vector<wchar_t> text(1024, L'\0');
      DWORD_PTR ignored = 0;
      if (WriteProcessMemory(process.h, remote, &info, sizeof info, &io) &&
          WriteProcessMemory(process.h, remote + 1024, text.data(), 1024 * sizeof(wchar_t), &io) &&
          SendMessageTimeoutW(tips, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &ignored) &&
          ReadProcessMemory(process.h, remote + 1024, text.data(), 1024 * sizeof(wchar_t), &io)) {
        text.back() = L'\0';
        tip = Value::String(Narrow(text.data()));
      }
    }
    list.Push(Value::Object()
                  .Set("id", Value::Int(button.idCommand))
                  .Set("image", Value::Int(button.iBitmap))
                  .Set("rect", RectValue(rect))
                  .Set("tip", tip));
  }
  VirtualFreeEx(process.h, remote, 0, MEM_RELEASE);
  return Ok().Set("buttons", list);
}

// What a restarted shell forgets: another window's tray icon and appbar
// registration, dropped as the shell would drop them.
Value CmdTrayDelete(const Value& req) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = HwndArg(req);
  data.uID = static_cast<UINT>(IntArg(req, "uid"));
  return Ok().Set("deleted", Value::Bool(Shell_NotifyIconW(NIM_DELETE, &data) != FALSE));
}

Value CmdAppBarRemove(const Value& req) {
  APPBARDATA data{};
  data.cbSize = sizeof data;
  data.hWnd = HwndArg(req);
  SHAppBarMessage(ABM_REMOVE, &data);
  PumpMessages();
  return Ok();
}

// Every popup menu window on screen, with its owner process. Wine keeps a
// menu's items in the process that made it, so only the window is visible here.
Value CmdPopupMenus(const Value&) {
  Value menus = Value::Array();
  for (HWND top : TopLevelWindows()) {
    if (WindowClass(top) != L"#32768" || !IsWindowVisible(top)) continue;
    menus.Push(WindowValue(top));
  }
  return Ok().Set("menus", menus);
}

// The file of this driver's own folder called `name`.
std::wstring BesideDriver(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path.substr(0, path.find_last_of(L'\\') + 1) + name;
}

// The base address of module `file` (full path) in another process.
uintptr_t RemoteModuleBase(HANDLE process, const std::wstring& file) {
  HMODULE modules[512];
  DWORD needed = 0;
  if (!EnumProcessModules(process, modules, sizeof modules, &needed)) return 0;
  for (DWORD i = 0; i < needed / sizeof(HMODULE) && i < 512; ++i) {
    wchar_t name[MAX_PATH];
    if (GetModuleFileNameExW(process, modules[i], name, MAX_PATH) && lstrcmpiW(name, file.c_str()) == 0)
      return reinterpret_cast<uintptr_t>(modules[i]);
  }
  return 0;
}

// Runs `start` in another process with `parameter` and waits for it.
void RunRemoteThread(HANDLE process, uintptr_t start, void* parameter, const char* what) {
  Handle thread(CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(start), parameter, 0, nullptr));
  if (!thread.h) throw CommandError(LastErrorText(what));
  if (WaitForSingleObject(thread.h, 15000) != WAIT_OBJECT_0) throw CommandError(std::string(what) + " did not finish");
}

// The items of a popup menu on screen, read inside its process by
// menuprobe.dll: Wine keeps menus per process, so another process cannot
// ask for them. Submenus are listed too; only the shown items have rects.
Value ProbeInTarget(HWND popup, const char* entry);

Value CmdMenuItems(const Value& req) {
  const Value result = ProbeInTarget(HwndArg(req), "ProbeMenu");
  return Ok().Set("items", *result.Find("items"));
}

// A window's accessible children as a screen reader inside its process reads them.
Value CmdAccessibleTree(const Value& req) {
  Value result = ProbeInTarget(HwndArg(req), "ProbeAccessible");
  Value reply = Ok();
  for (const char* key : {"count", "children", "focus", "description", "role"})
    if (const Value* value = result.Find(key)) reply.Set(key, *value);
  return reply;
}

// Runs `entry` of menuprobe.dll in the process of `popup` and returns what it wrote.
Value ProbeInTarget(HWND popup, const char* entry) {
  DWORD pid = 0;
  GetWindowThreadProcessId(popup, &pid);
  Handle process(OpenProcess(PROCESS_ALL_ACCESS, FALSE, pid));
  if (!process.h) throw CommandError(LastErrorText("OpenProcess"));
  const std::wstring dll = BesideDriver(L"menuprobe.dll");
  HMODULE local = LoadLibraryW(dll.c_str());
  if (!local) throw CommandError(LastErrorText("LoadLibrary menuprobe.dll"));
  const uintptr_t offset = reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(GetProcAddress(local, entry))) -
                           reinterpret_cast<uintptr_t>(local);

  MenuProbeRequest request{};
  request.popup = reinterpret_cast<uintptr_t>(popup);
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring out = std::wstring(temp) + L"menuprobe-" + std::to_wstring(pid) + L".json";
  lstrcpynW(request.out, out.c_str(), static_cast<int>(std::size(request.out)));
  DeleteFileW(out.c_str());

  const size_t size = sizeof request + (dll.size() + 1) * sizeof(wchar_t);
  auto* remote = static_cast<BYTE*>(VirtualAllocEx(process.h, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) throw CommandError(LastErrorText("VirtualAllocEx"));
  SIZE_T io = 0;
  WriteProcessMemory(process.h, remote, &request, sizeof request, &io);
  WriteProcessMemory(process.h, remote + sizeof request, dll.c_str(), (dll.size() + 1) * sizeof(wchar_t), &io);
  uintptr_t base = RemoteModuleBase(process.h, dll);
  if (!base) {
    // kernel32 lies at the same address in every process of the session.
    RunRemoteThread(process.h, reinterpret_cast<uintptr_t>(reinterpret_cast<void*>(&LoadLibraryW)),
                    remote + sizeof request, "LoadLibrary in the target");
    base = RemoteModuleBase(process.h, dll);
  }
  if (!base) throw CommandError("menuprobe.dll did not load in the target");
  RunRemoteThread(process.h, base + offset, remote, entry);
  VirtualFreeEx(process.h, remote, 0, MEM_RELEASE);

  FILE* file = _wfopen(out.c_str(), L"rb");
  if (!file) throw CommandError("menuprobe.dll wrote nothing");
  std::string text;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  fclose(file);
  DeleteFileW(out.c_str());
  Value result = minijson::Parse(text);
  if (const Value* error = result.Find("error")) throw CommandError(error->AsString());
  return result;
}

// Reads the tip of the tool `tool_window` from a tooltip window of another
// process, or null when that tooltip has no such tool. The structures must
// live in the tooltip's process, so they are allocated there.
Value RemoteToolTip(HWND tooltip, HWND tool_window) {
  DWORD pid = 0;
  GetWindowThreadProcessId(tooltip, &pid);
  Handle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process.h) return Value::Null();
  const size_t text_chars = 1024;  // INFOTIPSIZE, the most a tooltip copies out
  const size_t size = sizeof(TTTOOLINFOW) + text_chars * sizeof(wchar_t);
  auto* remote = static_cast<BYTE*>(VirtualAllocEx(process.h, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!remote) return Value::Null();
  TTTOOLINFOW info{};
  info.cbSize = sizeof info;
  info.hwnd = tool_window;
  info.uId = reinterpret_cast<UINT_PTR>(tool_window);
  std::vector<wchar_t> text(text_chars, L'\0');
  SIZE_T io = 0;
  DWORD_PTR has_tool = 0;
  DWORD_PTR ignored = 0;
  Value result = Value::Null();
  bool ok = WriteProcessMemory(process.h, remote, &info, sizeof info, &io) &&
            SendMessageTimeoutW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &has_tool) &&
            has_tool;
  if (ok) {
    info.lpszText = reinterpret_cast<wchar_t*>(remote + sizeof info);
    ok = WriteProcessMemory(process.h, remote, &info, sizeof info, &io) &&
         WriteProcessMemory(process.h, remote + sizeof info, text.data(), text_chars * sizeof(wchar_t), &io) &&
         SendMessageTimeoutW(tooltip, TTM_GETTEXTW, text_chars, reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 2000, &ignored) &&
         ReadProcessMemory(process.h, remote + sizeof info, text.data(), text_chars * sizeof(wchar_t), &io);
    if (ok) {
      text.back() = L'\0';
      result = Value::String(Narrow(text.data()));
    }
  }
  VirtualFreeEx(process.h, remote, 0, MEM_RELEASE);
  return result;
}

bool IsTrayClass(const std::wstring& cls) {
  // Wine 8 draws a tray of its own in the X11 driver when the X server has no
  // system tray; later Wine versions do it in explorer.
  return cls == L"__winex11_standalone_tray" || cls == L"Shell_TrayWnd";
}

bool IsTrayIconClass(const std::wstring& cls) {
  return cls == L"__winex11_tray_icon" || cls == L"__wine_tray_icon";
}

Value CmdTrayIcons(const Value&) {
  std::vector<HWND> tops = TopLevelWindows();
  std::vector<HWND> tooltips;
  for (HWND top : tops) {
    if (_wcsicmp(WindowClass(top).c_str(), TOOLTIPS_CLASSW) == 0) tooltips.push_back(top);
  }
  Value trays = Value::Array();
  Value icons = Value::Array();
  auto add_icon = [&](HWND icon) {
    Value v = WindowValue(icon);
    Value tip = Value::Null();
    // A tooltip created for a child window is owned by that child's top-level window.
    HWND root = GetAncestor(icon, GA_ROOT);
    for (HWND tooltip : tooltips) {
      HWND owner = GetWindow(tooltip, GW_OWNER);
      if (owner != icon && owner != root) continue;
      tip = RemoteToolTip(tooltip, icon);
      if (!tip.IsNull()) {
        v.Set("tooltip", HwndValue(tooltip));
        break;
      }
    }
    v.Set("tip", std::move(tip));
    icons.Push(std::move(v));
  };
  for (HWND top : tops) {
    std::wstring cls = WindowClass(top);
    if (IsTrayClass(cls)) {
      trays.Push(WindowValue(top));
      for (HWND child : ChildWindows(top)) {
        if (IsTrayIconClass(WindowClass(child))) add_icon(child);
      }
    } else if (IsTrayIconClass(cls)) {
      add_icon(top);  // an icon docked elsewhere or not placed in a tray
    }
  }
  return Ok().Set("trays", std::move(trays)).Set("icons", std::move(icons));
}

using Handler = std::function<Value(const Value&)>;

const std::map<std::string, Handler>& Commands() {
  static const std::map<std::string, Handler> commands = {
      {"acp", CmdAcp},
      {"screen", CmdScreen},
      {"start", CmdStart},
      {"wait_exit", CmdWaitExit},
      {"alive", CmdAlive},
      {"kill", CmdKill},
      {"windows", CmdWindows},
      {"window", CmdWindow},
      {"dialog_texts", CmdDialogTexts},
      {"press", CmdPress},
      {"close", CmdClose},
      {"move", CmdMove},
      {"post", CmdPost},
      {"send", CmdSend},
      {"get_text", CmdGetText},
      {"set_text", CmdSetText},
      {"cursor", CmdCursor},
      {"get_cursor", CmdGetCursor},
      {"focus", CmdFocus},
      {"gui_resources", CmdGuiResources},
      {"working_set", CmdWorkingSet},
      {"modules", CmdModules},
      {"memory_status", CmdMemoryStatus},
      {"appbar_query", CmdAppBarQuery},
      {"appbar_hold", CmdAppBarHold},
      {"appbar_release", CmdAppBarRelease},
      {"tray_icons", CmdTrayIcons},
      {"register_message", CmdRegisterMessage},
      {"toolbar_buttons", CmdToolbarButtons},
      {"popup_menus", CmdPopupMenus},
      {"menu_items", CmdMenuItems},
      {"accessible_tree", CmdAccessibleTree},
      {"time_popup", CmdTimePopup},
      {"display_modes", CmdDisplayModes},
      {"wallpaper", CmdWallpaper},
      {"icons", CmdIcons},
      {"shortcut", CmdShortcut},
      {"tray_delete", CmdTrayDelete},
      {"start_timed", CmdStartTimed},
      {"time_click", CmdTimeClick},
      {"appbar_remove", CmdAppBarRemove},
      {"file_hold", CmdFileHold},
      {"file_release", CmdFileRelease},
      {"watch_answers", CmdWatchAnswers},
      {"watch_answers_stop", CmdWatchAnswersStop},
  };
  return commands;
}

Value Error(const std::string& text) {
  return Value::Object().Set("ok", Value::Bool(false)).Set("error", Value::String(text));
}

// Returns false when the driver should stop.
bool HandleLine(const std::string& line, std::string& out) {
  Value reply;
  bool keep_going = true;
  const Value* seq = nullptr;  // echoed, so a client can pair replies with requests
  Value request;
  try {
    request = minijson::Parse(line);
    if (!request.IsObject()) throw CommandError("a request must be a JSON object");
    seq = request.Find("seq");
    const Value* cmd = request.Find("cmd");
    if (!cmd || !cmd->IsString()) throw CommandError("missing 'cmd'");
    if (cmd->AsString() == "quit") {
      reply = Ok();
      keep_going = false;
    } else {
      auto it = Commands().find(cmd->AsString());
      if (it == Commands().end()) throw CommandError("unknown command '" + cmd->AsString() + "'");
      reply = it->second(request);
    }
  } catch (const std::exception& e) {
    reply = Error(e.what());
  } catch (...) {
    reply = Error("unexpected failure");
  }
  if (seq) reply.Set("seq", *seq);
  out = reply.Dump();
  return keep_going;
}

// Request lines read by a thread of their own, so the main (window) thread
// keeps answering messages while no request is pending.
class RequestReader {
 public:
  RequestReader() : ready_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), thread_([this] { Run(); }) {}
  RequestReader(const RequestReader&) = delete;
  RequestReader& operator=(const RequestReader&) = delete;
  ~RequestReader() {
    thread_.detach();  // it may be blocked on stdin; process exit ends it
  }

  // Next line, or false at end of input.
  bool Next(std::string& line) {
    for (;;) {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!lines_.empty()) {
          line = std::move(lines_.front());
          lines_.pop_front();
          return true;
        }
        if (eof_) return false;
      }
      WaitPumping(ready_, INFINITE);
    }
  }

 private:
  void Run() {
    std::string line;
    int c;
    bool more = true;
    while (more) {
      line.clear();
      while ((c = std::fgetc(stdin)) != EOF && c != '\n') line += static_cast<char>(c);
      more = c != EOF;
      std::lock_guard<std::mutex> lock(mutex_);
      if (more || !line.empty()) lines_.push_back(line);
      if (!more) eof_ = true;
      SetEvent(ready_);
    }
  }

  HANDLE ready_;
  std::mutex mutex_;
  std::deque<std::string> lines_;
  bool eof_ = false;
  std::thread thread_;
};

}  // namespace

int wmain(int, wchar_t**) {
  // Binary mode: replies are UTF-8 lines ending in a bare LF.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  RegisterProbeClass();
  RequestReader reader;
  std::string line;
  std::string reply;
  while (reader.Next(line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(" \t") == std::string::npos) continue;
    bool keep_going = HandleLine(line, reply);
    reply += '\n';
    std::fwrite(reply.data(), 1, reply.size(), stdout);
    std::fflush(stdout);
    if (!keep_going) break;
  }
  for (auto& held : g_held_appbars) {
    APPBARDATA abd = AppBarData(held.first, held.second, RECT{});
    SHAppBarMessage(ABM_REMOVE, &abd);
    DestroyWindow(held.first);
  }
  std::fflush(stdout);
  // The reader thread may still be blocked on stdin; end without waiting for it.
  ExitProcess(0);
}
