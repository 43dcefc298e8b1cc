#include "platform/described_window_win.h"

#include <commctrl.h>
#include <oleacc.h>

#include <new>

namespace tavi {
namespace {

constexpr UINT_PTR kSubclassId = 0x7D5C;

LRESULT CALLBACK DescribedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);

// The description given last, or nothing once the control has gone.
const std::wstring* DescriptionOf(HWND window) {
    DWORD_PTR data = 0;
    if (!GetWindowSubclass(window, DescribedProc, kSubclassId, &data) || data == 0) return nullptr;
    return reinterpret_cast<const std::wstring*>(data);
}

// The system's object for the control, with the description in place of its
// own (read afresh at every asking, so a client that keeps it hears a
// change), and its role where one is given.
class DescribedAccessible final : public IAccessible {
public:
    DescribedAccessible(HWND window, IAccessible* standard, LONG role = 0)
        : window_(window), standard_(standard), role_(role) {}
    DescribedAccessible(const DescribedAccessible&) = delete;
    DescribedAccessible& operator=(const DescribedAccessible&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
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

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_->GetIDsOfNames(riid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argument) override {
        return standard_->Invoke(id, riid, locale, flags, parameters, result, exception, argument);
    }

    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!description) return E_INVALIDARG;
        *description = nullptr;
        // A window given a role of its own is no described control (and asks no common controls).
        const std::wstring* own =
            !role_ && child.vt == VT_I4 && child.lVal == CHILDID_SELF ? DescriptionOf(window_) : nullptr;
        if (!own || own->empty()) return standard_->get_accDescription(child, description);
        *description = SysAllocStringLen(own->data(), static_cast<UINT>(own->size()));
        return *description ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        return standard_->get_accChild(child, dispatch);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role_ || child.vt != VT_I4 || child.lVal != CHILDID_SELF || !role)
            return standard_->get_accRole(child, role);
        VariantInit(role);
        role->vt = VT_I4;
        role->lVal = role_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return standard_->get_accFocus(focus); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        return standard_->accHitTest(x, y, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

private:
    ~DescribedAccessible() { standard_->Release(); }

    HWND window_;
    IAccessible* standard_;
    LONG role_;  // 0: the system's
    LONG references_ = 1;
};

// WM_GETOBJECT for the client object: the system's, described and with `role`; 0 when none could be made.
LRESULT AnswerClientObject(HWND window, WPARAM wParam, LONG role) {
    IAccessible* standard = nullptr;
    if (FAILED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&standard))) ||
        !standard)
        return 0;
    auto* accessible = new (std::nothrow) DescribedAccessible(window, standard, role);
    if (!accessible) {
        standard->Release();
        return 0;
    }
    const LRESULT answer = LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(accessible));
    accessible->Release();
    return answer > 0 ? answer : 0;
}

LRESULT CALLBACK DescribedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (const LRESULT answer = AnswerClientObject(window, wParam, 0)) return answer;
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, DescribedProc, kSubclassId);
        delete reinterpret_cast<std::wstring*>(data);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void SetAccessibleDescription(HWND control, const std::wstring& description) {
    if (!control) return;
    DWORD_PTR data = 0;
    if (GetWindowSubclass(control, DescribedProc, kSubclassId, &data) && data != 0) {
        *reinterpret_cast<std::wstring*>(data) = description;
    } else if (!description.empty()) {
        auto* own = new (std::nothrow) std::wstring(description);
        if (!own) return;
        if (!SetWindowSubclass(control, DescribedProc, kSubclassId, reinterpret_cast<DWORD_PTR>(own))) {
            delete own;
            return;
        }
    } else {
        return;
    }
    NotifyWinEvent(EVENT_OBJECT_DESCRIPTIONCHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}

LRESULT AnswerAsTooltip(HWND window, WPARAM wParam) { return AnswerClientObject(window, wParam, ROLE_SYSTEM_TOOLTIP); }

}  // namespace tavi
