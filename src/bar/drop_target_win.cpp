#include "bar/drop_target_win.h"

#include <shellapi.h>

#include "platform/wide_win.h"

namespace tavi {
namespace {

FORMATETC FileListFormat() { return {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

// Nothing a handler throws may reach the system's drag loop.
template <typename Call>
void Guarded(const Call& call) {
    try {
        call();
    } catch (...) {
    }
}

}  // namespace

bool OffersFiles(IDataObject* data) {
    FORMATETC format = FileListFormat();
    return data && data->QueryGetData(&format) == S_OK;
}

std::vector<std::string> DroppedFiles(IDataObject* data) {
    std::vector<std::string> files;
    if (!data) return files;
    FORMATETC format = FileListFormat();
    STGMEDIUM medium{};
    if (FAILED(data->GetData(&format, &medium))) return files;
    if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
        if (auto drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
            const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
            for (UINT i = 0; i < count; ++i) {
                const UINT length = DragQueryFileW(drop, i, nullptr, 0);
                std::wstring name(static_cast<size_t>(length) + 1, L'\0');
                const UINT copied = DragQueryFileW(drop, i, name.data(), length + 1);
                name.resize(copied);
                if (!name.empty()) files.push_back(Narrow(name));
            }
            GlobalUnlock(medium.hGlobal);
        }
    }
    ReleaseStgMedium(&medium);
    return files;
}

FileDropTarget* FileDropTarget::Create(Handlers handlers) { return new FileDropTarget(std::move(handlers)); }

HRESULT STDMETHODCALLTYPE FileDropTarget::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE FileDropTarget::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG STDMETHODCALLTYPE FileDropTarget::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

DWORD FileDropTarget::EffectAt(POINTL point, DWORD allowed) {
    if (!files_ || !(allowed & DROPEFFECT_COPY) || !handlers_.drop) return DROPEFFECT_NONE;
    bool accepted = false;
    Guarded([&] { accepted = !handlers_.accepts || handlers_.accepts({point.x, point.y}); });
    return accepted ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

HRESULT STDMETHODCALLTYPE FileDropTarget::DragEnter(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    files_ = OffersFiles(data);
    *effect = EffectAt(point, *effect);
    if (files_ && handlers_.hover) Guarded([&] { handlers_.hover({point.x, point.y}); });
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FileDropTarget::DragOver(DWORD, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    *effect = EffectAt(point, *effect);
    if (files_ && handlers_.hover) Guarded([&] { handlers_.hover({point.x, point.y}); });
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FileDropTarget::DragLeave() {
    files_ = false;
    if (handlers_.leave) Guarded([&] { handlers_.leave(); });
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FileDropTarget::Drop(IDataObject* data, DWORD, POINTL point, DWORD* effect) {
    if (!effect) return E_INVALIDARG;
    files_ = OffersFiles(data);
    *effect = EffectAt(point, *effect);
    if (handlers_.leave) Guarded([&] { handlers_.leave(); });
    if (*effect == DROPEFFECT_NONE) return S_OK;
    std::vector<std::string> files = DroppedFiles(data);
    files_ = false;
    if (files.empty()) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    if (handlers_.drop) Guarded([&] { handlers_.drop(std::move(files), {point.x, point.y}); });
    return S_OK;
}

bool DropRegistration::Register(HWND window, IDropTarget* target) {
    Revoke();
    if (!window || !target || FAILED(RegisterDragDrop(window, target))) return false;
    window_ = window;
    return true;
}

void DropRegistration::Revoke() {
    if (window_) RevokeDragDrop(window_);
    window_ = nullptr;
}

}  // namespace tavi
