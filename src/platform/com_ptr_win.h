#pragma once

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

}  // namespace tavi
