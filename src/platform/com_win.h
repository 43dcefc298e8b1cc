#pragma once
#include <objbase.h>

namespace tavi {

// Releases a COM interface when it goes out of scope.
template <typename T>
struct ComPtr {
    T* p = nullptr;
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (p) p->Release();
    }
    T* operator->() const { return p; }
    // Where a call that hands out an interface puts it.
    void** Out() { return reinterpret_cast<void**>(&p); }
};

// COM on this thread for the scope's length, joining whatever is there
// already; the shell's objects (shortcuts, the browser, drive names) need it.
class ComApartment {
public:
    explicit ComApartment(DWORD flags = COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)
        : initialised_(SUCCEEDED(CoInitializeEx(nullptr, flags))) {}
    ~ComApartment() {
        if (initialised_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialised_;
};

}  // namespace tavi
