#pragma once
#include <windows.h>

#include <utility>

// Owners of the system's handles: each handle is given back once, when its
// owner goes, whatever way the scope is left.
namespace tavi {

template <typename Handle, auto Free>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    // Frees what is held and holds `handle` instead.
    void Reset(Handle handle = nullptr) {
        if (handle_) Free(handle_);
        handle_ = handle;
    }
    // Gives the handle up to a new owner (the system, for one).
    [[nodiscard]] Handle Detach() { return std::exchange(handle_, nullptr); }

private:
    Handle handle_ = nullptr;
};

using OwnedIcon = Owned<HICON, DestroyIcon>;
using OwnedCursor = Owned<HCURSOR, DestroyCursor>;
using OwnedMenu = Owned<HMENU, DestroyMenu>;  // its submenus go with it
using OwnedBrush = Owned<HBRUSH, DeleteObject>;
using OwnedPen = Owned<HPEN, DeleteObject>;
using OwnedFont = Owned<HFONT, DeleteObject>;
using OwnedBitmap = Owned<HBITMAP, DeleteObject>;
using OwnedMemoryDc = Owned<HDC, DeleteDC>;  // from CreateCompatibleDC
using OwnedHandle = Owned<HANDLE, CloseHandle>;  // kernel objects that are null when absent

// A file or device from CreateFile, where no handle is INVALID_HANDLE_VALUE.
class OwnedFile {
public:
    explicit OwnedFile(HANDLE handle) : handle_(handle) {}
    ~OwnedFile() {
        if (Valid()) CloseHandle(handle_);
    }
    OwnedFile(const OwnedFile&) = delete;
    OwnedFile& operator=(const OwnedFile&) = delete;
    HANDLE Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }

private:
    HANDLE handle_;
};

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context for a scope; the one it replaced
// goes back in at the end, so the object can then be deleted.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selected() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace tavi
