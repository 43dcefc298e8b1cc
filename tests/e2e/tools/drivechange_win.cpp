// drivechange: a removable drive comes or goes while programs run, as a
// stick put in or pulled out does:
//   drivechange.exe add LETTER UNIX_FOLDER
//   drivechange.exe remove LETTER
// Wine's mount manager is asked to define or forget the drive (what winecfg
// does; the prefix's dosdevices link and registry value follow). Then every
// top-level window gets WM_DEVICECHANGE with DBT_DEVICEARRIVAL or
// DBT_DEVICEREMOVECOMPLETE and a DEV_BROADCAST_VOLUME for the letter, as the
// system sends it. Exits 0 when the drive is there (add) or gone (remove),
// 1 when the mount manager refused, 3 on bad arguments.
#include <windows.h>
#include <dbt.h>
#include <shellapi.h>
#include <winioctl.h>

#include <cwctype>
#include <string>
#include <vector>

namespace {

// Wine's own mount manager control (include/ddk/mountmgr.h, Wine 8).
constexpr DWORD kDefineUnixDrive = CTL_CODE(0x6D, 32, METHOD_BUFFERED, FILE_READ_ACCESS | FILE_WRITE_ACCESS);

struct MountManagerUnixDrive {
  ULONG size;
  ULONG type;
  ULONG fs_type;
  DWORD serial;
  ULONGLONG unix_dev;
  WCHAR letter;
  USHORT mount_point_offset;  // a NUL-terminated Unix path after the record; 0 for none
  USHORT device_offset;
  USHORT label_offset;
};

// A removable drive on `unixFolder`, or with no folder the letter forgotten.
bool DefineDrive(wchar_t letter, const std::string& unixFolder) {
  HANDLE manager = CreateFileW(L"\\\\.\\MountPointManager", GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (manager == INVALID_HANDLE_VALUE) return false;
  std::vector<char> buffer(sizeof(MountManagerUnixDrive) + unixFolder.size() + 1, '\0');
  auto* drive = reinterpret_cast<MountManagerUnixDrive*>(buffer.data());
  drive->size = static_cast<ULONG>(buffer.size());
  drive->letter = static_cast<WCHAR>(std::towlower(letter));
  if (unixFolder.empty()) {
    drive->type = DRIVE_NO_ROOT_DIR;
  } else {
    drive->type = DRIVE_REMOVABLE;
    drive->mount_point_offset = static_cast<USHORT>(sizeof(MountManagerUnixDrive));
    unixFolder.copy(buffer.data() + sizeof(MountManagerUnixDrive), unixFolder.size());
  }
  DWORD returned = 0;
  const BOOL ok = DeviceIoControl(manager, kDefineUnixDrive, buffer.data(), static_cast<DWORD>(buffer.size()),
                                  nullptr, 0, &returned, nullptr);
  CloseHandle(manager);
  return ok != FALSE;
}

std::string Utf8(const wchar_t* wide) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 1), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), n, nullptr, nullptr);
  out.resize(out.size() - 1);
  return out;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 3) return 3;
  const bool add = lstrcmpiW(argv[1], L"add") == 0 && argc == 4;
  const bool remove = lstrcmpiW(argv[1], L"remove") == 0 && argc == 3;
  const wchar_t letter = static_cast<wchar_t>(std::towupper(argv[2][0]));
  const std::string folder = add ? Utf8(argv[3]) : std::string();
  LocalFree(argv);
  if ((!add && !remove) || letter < L'A' || letter > L'Z' || (add && folder.empty())) return 3;
  if (!DefineDrive(letter, folder)) return 1;

  DEV_BROADCAST_VOLUME volume{};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << (letter - L'A');
  DWORD_PTR answer = 0;
  // The system copies the volume record into each receiving process.
  SendMessageTimeoutW(HWND_BROADCAST, WM_DEVICECHANGE, add ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE,
                      reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, 5000, &answer);
  const bool there = (GetLogicalDrives() & (1u << (letter - L'A'))) != 0;
  return there == add ? 0 : 1;
}
