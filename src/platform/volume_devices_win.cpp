#include <windows.h>

#include <winioctl.h>

#include "platform/tool_adapters_win.h"

namespace tavi {
namespace {

class Win32Volume final : public VolumeDevice {
public:
    explicit Win32Volume(HANDLE handle) : handle_(handle) {}
    ~Win32Volume() override { CloseHandle(handle_); }
    Win32Volume(const Win32Volume&) = delete;
    Win32Volume& operator=(const Win32Volume&) = delete;

    bool Control(VolumeControl control) override {
        DWORD returned = 0;
        switch (control) {
            case VolumeControl::Lock: return Issue(FSCTL_LOCK_VOLUME, nullptr, 0, returned);
            case VolumeControl::Dismount: return Issue(FSCTL_DISMOUNT_VOLUME, nullptr, 0, returned);
            case VolumeControl::AllowRemoval: {
                PREVENT_MEDIA_REMOVAL removal{};
                removal.PreventMediaRemoval = FALSE;
                return Issue(IOCTL_STORAGE_MEDIA_REMOVAL, &removal, sizeof removal, returned);
            }
            case VolumeControl::Eject: return Issue(IOCTL_STORAGE_EJECT_MEDIA, nullptr, 0, returned);
        }
        return false;
    }

private:
    bool Issue(DWORD code, void* input, DWORD inputSize, DWORD& returned) {
        return DeviceIoControl(handle_, code, input, inputSize, nullptr, 0, &returned, nullptr) != FALSE;
    }

    HANDLE handle_;
};

}  // namespace

std::unique_ptr<VolumeDevice> Win32VolumeDevices::Open(char letter, VolumeAccess access) {
    if (letter < 'A' || letter > 'Z') return nullptr;
    const wchar_t path[] = {L'\\', L'\\', L'.', L'\\', static_cast<wchar_t>(letter), L':', L'\0'};
    const DWORD rights = access == VolumeAccess::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    QuietDriveErrors quiet;
    const HANDLE handle =
        CreateFileW(path, rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32Volume>(handle);
}

}  // namespace tavi
