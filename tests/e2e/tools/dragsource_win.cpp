// dragsource: drags files onto a point of the screen the way the shell does.
//
//   dragsource.exe [--text] [--press-first | --at-once] [--timeout MS] X Y FILE...
//   dragsource.exe --make-shortcut LINK TARGET [ARGUMENTS [WORKING-FOLDER]]
//
// Offers a data object with a CF_HDROP list of the files (with --text only
// CF_UNICODETEXT of them, which a file target must refuse), calls
// DoDragDrop, and from its own IDropSource moves the pointer onto (X, Y) and
// drops there once the target under it has answered.
//
// A user's pointer comes to a target before the drop, and a target may wait
// for that to ready itself, so the pointer first rests on (X, Y) until the
// window there is a drop target (at most half the time limit; --at-once does
// not wait, for a point where no target can be). With --press-first
// it rests on a small window of this program instead, which it presses with
// the left button held through the drag, as the shell's drags begin; when
// (X, Y) is a drop target already before the press it exits with 4 at once.
//
// Prints "result=<drop|cancel|error> effect=<n>" and exits with
//   0  the target took the drop with the copy effect
//   1  the drop was made but refused (effect none)
//   2  no drop within the time limit (default 10000 ms)
//   3  bad arguments or a failing system call
//   4  with --press-first, (X, Y) was a drop target before the press
// --make-shortcut writes a shortcut file to drop (exit code 0, else 3).
#include <windows.h>

#include <ole2.h>
#include <shlobj.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// Files as the shell hands them over: DROPFILES, then each wide path with its
// NUL, then one more NUL.
HGLOBAL FileList(const std::vector<std::wstring>& files) {
    size_t chars = 1;
    for (const std::wstring& f : files) chars += f.size() + 1;
    const SIZE_T bytes = sizeof(DROPFILES) + chars * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    if (!memory) return nullptr;
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    if (!header) {
        GlobalFree(memory);
        return nullptr;
    }
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* text = reinterpret_cast<wchar_t*>(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES));
    for (const std::wstring& f : files) {
        wmemcpy(text, f.c_str(), f.size() + 1);
        text += f.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

HGLOBAL Text(const std::wstring& value) {
    const SIZE_T bytes = (value.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) return nullptr;
    if (void* target = GlobalLock(memory)) {
        memcpy(target, value.c_str(), bytes);
        GlobalUnlock(memory);
    }
    return memory;
}

class DataObject final : public IDataObject {
public:
    DataObject(std::vector<std::wstring> files, bool asText) : files_(std::move(files)), asText_(asText) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *object = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (!format || !medium) return E_INVALIDARG;
        const HRESULT offered = QueryGetData(format);
        if (offered != S_OK) return offered;
        HGLOBAL memory = asText_ ? Text(Joined()) : FileList(files_);
        if (!memory) return E_OUTOFMEMORY;
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (!format) return E_INVALIDARG;
        if (format->cfFormat != Format().cfFormat) return DV_E_FORMATETC;
        if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        if (out) out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** formats) override {
        if (!formats) return E_INVALIDARG;
        if (direction != DATADIR_GET) return E_NOTIMPL;
        FORMATETC format = Format();
        return SHCreateStdEnumFmtEtc(1, &format, formats);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    FORMATETC Format() const {
        return {static_cast<CLIPFORMAT>(asText_ ? CF_UNICODETEXT : CF_HDROP), nullptr, DVASPECT_CONTENT, -1,
                TYMED_HGLOBAL};
    }
    std::wstring Joined() const {
        std::wstring all;
        for (const std::wstring& f : files_) all += f + L"\r\n";
        return all;
    }

    LONG references_ = 1;
    std::vector<std::wstring> files_;
    bool asText_;
};

// Moves the pointer onto the target itself, waits until the drag loop has
// shown the target what is dragged over it, then drops.
class DropSource final : public IDropSource {
public:
    DropSource(POINT target, ULONGLONG deadline) : target_(target), deadline_(deadline) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
            *object = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override {
        if (GetTickCount64() > deadline_) return DRAGDROP_S_CANCEL;
        SetCursorPos(target_.x, target_.y);
        if (!placed_) {
            placed_ = true;
            return S_OK;
        }
        // Two answers after the move: the target has had DragEnter and DragOver.
        // A target that keeps refusing gets the drop anyway, to say so.
        if ((feedback_ >= 2 && lastEffect_ != DROPEFFECT_NONE) || feedback_ >= 10) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override {
        if (placed_) {
            ++feedback_;
            lastEffect_ = effect;
        }
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    LONG references_ = 1;
    POINT target_;
    ULONGLONG deadline_;
    bool placed_ = false;
    int feedback_ = 0;
    DWORD lastEffect_ = DROPEFFECT_NONE;
};

// Whether the window at a point, or one of its ancestors, has registered a
// drop target: the system keeps it in this property.
bool DropTargetAt(POINT point) {
    for (HWND window = WindowFromPoint(point); window; window = GetParent(window))
        if (GetPropW(window, L"OleDropTargetInterface")) return true;
    return false;
}

void WaitForDropTarget(POINT point, ULONGLONG deadline) {
    while (!DropTargetAt(point) && GetTickCount64() < deadline) Sleep(20);
}

void PressLeft(bool down) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    SendInput(1, &input, sizeof input);
}

// A window away from (X, Y) to hold the press on, so that it reaches nothing else.
HWND PressWindow(POINT target) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    windowClass.lpszClassName = L"DragSourcePress";
    RegisterClassW(&windowClass);
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    const int x = target.x < width / 2 ? width - 120 : 40, y = height / 2;
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"DragSourcePress", L"press", WS_POPUP | WS_VISIBLE,
                                  x, y, 80, 80, nullptr, nullptr, windowClass.hInstance, nullptr);
    UpdateWindow(window);
    return window;
}

void PointerToCentreOf(HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    SetCursorPos((area.left + area.right) / 2, (area.top + area.bottom) / 2);
}

int MakeShortcut(const wchar_t* link, const wchar_t* target, const wchar_t* arguments, const wchar_t* folder) {
    IShellLinkW* shellLink = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink))))
        return 3;
    shellLink->SetPath(target);
    shellLink->SetArguments(arguments);
    if (*folder) shellLink->SetWorkingDirectory(folder);
    IPersistFile* file = nullptr;
    HRESULT saved = E_FAIL;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        saved = file->Save(link, TRUE);
        file->Release();
    }
    shellLink->Release();
    return SUCCEEDED(saved) ? 0 : 3;
}

int Usage() {
    std::fputs("usage: dragsource.exe [--text] [--press-first | --at-once] [--timeout MS] X Y FILE...\n"
               "       dragsource.exe --make-shortcut LINK TARGET [ARGUMENTS [WORKING-FOLDER]]\n",
               stderr);
    return 3;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 4 && std::wcscmp(argv[1], L"--make-shortcut") == 0) {
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
        const int code = MakeShortcut(argv[2], argv[3], argc >= 5 ? argv[4] : L"", argc >= 6 ? argv[5] : L"");
        CoUninitialize();
        return code;
    }
    bool asText = false, pressFirst = false, atOnce = false;
    ULONGLONG timeout = 10000;
    int next = 1;
    for (; next < argc && std::wcsncmp(argv[next], L"--", 2) == 0; ++next) {
        if (std::wcscmp(argv[next], L"--text") == 0) {
            asText = true;
        } else if (std::wcscmp(argv[next], L"--press-first") == 0) {
            pressFirst = true;
        } else if (std::wcscmp(argv[next], L"--at-once") == 0) {
            atOnce = true;
        } else if (std::wcscmp(argv[next], L"--timeout") == 0 && next + 1 < argc) {
            timeout = std::wcstoull(argv[++next], nullptr, 10);
        } else {
            return Usage();
        }
    }
    if (argc - next < 3) return Usage();
    const POINT target{static_cast<LONG>(std::wcstol(argv[next], nullptr, 10)),
                       static_cast<LONG>(std::wcstol(argv[next + 1], nullptr, 10))};
    std::vector<std::wstring> files(argv + next + 2, argv + argc);

    if (FAILED(OleInitialize(nullptr))) {
        std::puts("result=error effect=0");
        return 3;
    }
    const ULONGLONG deadline = GetTickCount64() + timeout;
    HWND pressWindow = nullptr;
    if (pressFirst) {
        pressWindow = PressWindow(target);
        PointerToCentreOf(pressWindow);
        if (DropTargetAt(target)) {
            std::puts("result=ready-before-press effect=0");
            DestroyWindow(pressWindow);
            OleUninitialize();
            return 4;
        }
        PressLeft(true);
    } else {
        SetCursorPos(target.x, target.y);
    }
    if (!atOnce) WaitForDropTarget(target, GetTickCount64() + timeout / 2);
    auto* data = new DataObject(std::move(files), asText);
    auto* source = new DropSource(target, deadline);
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT result =
        DoDragDrop(data, source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    if (pressWindow) {
        // Released where it was pressed: an unmatched release is not the target's business.
        PointerToCentreOf(pressWindow);
        PressLeft(false);
        DestroyWindow(pressWindow);
    }
    source->Release();
    data->Release();
    OleUninitialize();

    if (result == DRAGDROP_S_DROP) {
        std::printf("result=drop effect=%lu\n", static_cast<unsigned long>(effect));
        return effect == DROPEFFECT_COPY ? 0 : 1;
    }
    if (result == DRAGDROP_S_CANCEL) {
        std::puts("result=cancel effect=0");
        return 2;
    }
    std::printf("result=error effect=0 hr=0x%08lx\n", static_cast<unsigned long>(result));
    return 3;
}
