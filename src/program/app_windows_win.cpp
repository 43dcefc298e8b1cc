#include "program/app_windows_win.h"

#include "platform/folder_identity_win.h"
#include "platform/up_check_win.h"
#include "program/command_windows_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

std::string LastErrorText() {
    const DWORD error = GetLastError();
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"Error " + std::to_wstring(error);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.pop_back();
    return Narrow(text);
}

}  // namespace

Win32AppWindows::Win32AppWindows(MenuMain& state, Platform& platform, BarTools& tools, AlarmCheck& alarm)
    : state_(state), platform_(platform), tools_(tools), alarm_(alarm) {}

Win32AppWindows::~Win32AppWindows() = default;

bool Win32AppWindows::AnotherInstanceRunning() {
    // The mutex lives as long as this copy of the program; a second copy finds it.
    // One bar per program folder: bars from other folders run beside it.
    // The lock spans logon sessions (another user, a remote desktop): two
    // bars writing one folder's files would each overwrite the other.
    instanceMutex_.Reset(
        CreateMutexW(nullptr, FALSE, Widen(BarLockName(ResolvedFolder(state_.ApplicationPath))).c_str()));
    // Another user's lock is there but not ours to open.
    if (!instanceMutex_) return GetLastError() == ERROR_ACCESS_DENIED;
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

void Win32AppWindows::ShowSplash() {
    if (!splash_.Show()) return;
    // Let the splash paint before the bar's load keeps the thread busy.
    MSG message;
    while (PeekMessageW(&message, splash_.Handle(), 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

void Win32AppWindows::CloseSplash() { splash_.Close(); }

AppWindows::BarLoadResult Win32AppWindows::ShowBar() {
    BarWiring wiring{[this](BarServices& services) -> std::unique_ptr<CommandWindows> {
                         return std::make_unique<Win32CommandWindows>(state_, platform_, services, tools_);
                     },
                     alarm_};
    bar_ = std::make_unique<TaviMenu2>(state_, platform_, tools_, wiring);
    if (!bar_->Load()) return {true, LastErrorText(), false};
    return {false, {}, bar_->LaidOut()};
}

void Win32AppWindows::HideBar() {
    if (bar_ && bar_->Handle()) ShowWindow(bar_->Handle(), SW_HIDE);
}

void Win32AppWindows::UnloadBar() { bar_.reset(); }

void Win32AppWindows::ApplyStartTopMost(bool topMost) {
    if (bar_ && bar_->Handle()) bar_->ApplyStartTopMost(topMost);
}

void Win32AppWindows::StartTimers(bool wallpaperTimer) {
    if (bar_) bar_->StartTimers(wallpaperTimer);
}

void Win32AppWindows::BuildWallpaperMenu() {
    if (bar_) bar_->BuildWallpaperMenu();
}

void Win32AppWindows::AfterFirstPaint(std::function<void()> work) {
    if (bar_) bar_->AfterFirstPaint(std::move(work));
}

void Win32AppWindows::FinishBar() {
    // The drop target needs the apartment; the library loads only now.
    if (FAILED(ole_.result)) ole_.result = OleInitialize(nullptr);
    if (bar_) bar_->FinishStart();
}

void Win32AppWindows::RegisterUpCheck() { RegisterUpCheckAtStart(platform_.messages, state_.ApplicationPath); }

}  // namespace tavi
