#include "bar/strip_accessible_win.h"

#include "platform/messages.h"
#include "bar/button_strip_win.h"
#include "platform/wide_win.h"

namespace tavi {
namespace {

HRESULT ToBstr(const std::string& utf8, BSTR* out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (utf8.empty()) return S_FALSE;
    const std::wstring wide = Widen(utf8);
    *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetI4(VARIANT* variant, LONG value) {
    variant->vt = VT_I4;
    variant->lVal = value;
}

LONG RoleOf(AccessibleRole role) {
    switch (role) {
        case AccessibleRole::ButtonMenu: return ROLE_SYSTEM_BUTTONMENU;
        case AccessibleRole::PushButton: break;
    }
    return ROLE_SYSTEM_PUSHBUTTON;
}

}  // namespace

class StripAccessible final : public IAccessible {
public:
    StripAccessible(ButtonStrip& strip, IAccessible* standard) : strip_(&strip), standard_(standard) {}
    StripAccessible(const StripAccessible&) = delete;
    StripAccessible& operator=(const StripAccessible&) = delete;

    void Disconnect() {
        strip_ = nullptr;
        if (standard_) standard_->Release();
        standard_ = nullptr;
    }

    // IUnknown
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
        if (left == 0) {
            Disconnect();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: clients call the methods directly; scripting is not offered.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_INVALIDARG;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!parent) return E_INVALIDARG;
        *parent = nullptr;
        if (!strip_) return CO_E_OBJNOTCONNECTED;
        return standard_ ? standard_->get_accParent(parent) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (!count) return E_INVALIDARG;
        *count = 0;
        if (!strip_) return CO_E_OBJNOTCONNECTED;
        *count = strip_->Count();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        if (!dispatch) return E_INVALIDARG;
        *dispatch = nullptr;
        int position = 0;
        if (const HRESULT checked = Check(child, position); FAILED(checked)) return checked;
        // The buttons are simple elements: their parent answers for them.
        return position < 0 ? E_INVALIDARG : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!name) return E_INVALIDARG;
        *name = nullptr;
        int position = 0;
        if (const HRESULT checked = Check(child, position); FAILED(checked)) return checked;
        return ToBstr(position < 0 ? std::string(text::kAppTitle) : strip_->Describe(position).name, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return NothingFor(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (!description) return E_INVALIDARG;
        *description = nullptr;
        int position = 0;
        if (const HRESULT checked = Check(child, position); FAILED(checked)) return checked;
        if (position < 0 || !strip_->Describe(position).running) return S_FALSE;
        return ToBstr(std::string(text::kRunningDescription), description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_INVALIDARG;
        VariantInit(role);
        int position = 0;
        if (const HRESULT checked = Check(child, position); FAILED(checked)) return checked;
        SetI4(role, position < 0 ? ROLE_SYSTEM_TOOLBAR : RoleOf(strip_->Describe(position).role));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (!state) return E_INVALIDARG;
        VariantInit(state);
        int position = 0;
        if (const HRESULT checked = Check(child, position); FAILED(checked)) return checked;
        if (position < 0) return standard_ ? standard_->get_accState(child, state) : DISP_E_MEMBERNOTFOUND;
        const ButtonDescription button = strip_->Describe(position);
        LONG flags = STATE_SYSTEM_FOCUSABLE;
        if (button.focused) flags |= STATE_SYSTEM_FOCUSED;
        if (button.unavailable) flags |= STATE_SYSTEM_UNAVAILABLE;
        if (position == strip_->Hot()) flags |= STATE_SYSTEM_HOTTRACKED;
        if (!IsWindowVisible(strip_->Handle())) flags |= STATE_SYSTEM_INVISIBLE;
        SetI4(state, flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override { return NothingFor(child, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) override {
        if (file) *file = nullptr;
        if (topic) *topic = 0;
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return NothingFor(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_INVALIDARG;
        VariantInit(focus);
        if (!strip_) return CO_E_OBJNOTCONNECTED;
        if (const int focused = strip_->Focused(); focused >= 0 && focused < strip_->Count()) {
            SetI4(focus, focused + 1);
            return S_OK;
        }
        if (GetFocus() == strip_->Handle()) {
            SetI4(focus, CHILDID_SELF);
            return S_OK;
        }
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_INVALIDARG;
        VariantInit(selection);
        return strip_ ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (!action) return E_INVALIDARG;
        *action = nullptr;
        int position = 0;
        if (const HRESULT checked = Check(child, position); FAILED(checked)) return checked;
        if (position < 0) return DISP_E_MEMBERNOTFOUND;
        const std::string text = strip_->Describe(position).defaultAction;
        return text.empty() ? DISP_E_MEMBERNOTFOUND : ToBstr(text, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        int position = 0;
        if (const HRESULT checked = Check(child, position); FAILED(checked)) return checked;
        if (position < 0) return standard_ ? standard_->accSelect(flags, child) : DISP_E_MEMBERNOTFOUND;
        if (flags != SELFLAG_TAKEFOCUS) return E_INVALIDARG;
        SetFocus(strip_->Handle());
        strip_->SetFocused(position);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_INVALIDARG;
        *left = *top = *width = *height = 0;
        int position = 0;
        if (const HRESULT checked = Check(child, position); FAILED(checked)) return checked;
        if (position < 0)
            return standard_ ? standard_->accLocation(left, top, width, height, child) : DISP_E_MEMBERNOTFOUND;
        const std::optional<RECT> rect = strip_->ButtonRect(position);
        if (!rect) return E_INVALIDARG;
        POINT corner{rect->left, rect->top};
        ClientToScreen(strip_->Handle(), &corner);
        *left = corner.x;
        *top = corner.y;
        *width = rect->right - rect->left;
        *height = rect->bottom - rect->top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_INVALIDARG;
        VariantInit(end);
        int position = 0;
        if (const HRESULT checked = Check(start, position); FAILED(checked)) return checked;
        const int count = strip_->Count();
        int to = -1;
        switch (direction) {
            case NAVDIR_FIRSTCHILD:
            case NAVDIR_LASTCHILD:
                if (position >= 0) return E_INVALIDARG;
                to = direction == NAVDIR_FIRSTCHILD ? 0 : count - 1;
                break;
            case NAVDIR_NEXT:
            case NAVDIR_RIGHT:
            case NAVDIR_DOWN:
            case NAVDIR_PREVIOUS:
            case NAVDIR_LEFT:
            case NAVDIR_UP:
                // The strip's own siblings are its window's.
                if (position < 0) return standard_ ? standard_->accNavigate(direction, start, end) : S_FALSE;
                // Buttons run in one sequence, row after row.
                to = direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT || direction == NAVDIR_DOWN
                         ? position + 1
                         : position - 1;
                break;
            default:
                return E_INVALIDARG;
        }
        if (to < 0 || to >= count) return S_FALSE;
        SetI4(end, to + 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        if (!child) return E_INVALIDARG;
        VariantInit(child);
        if (!strip_) return CO_E_OBJNOTCONNECTED;
        POINT at{x, y};
        ScreenToClient(strip_->Handle(), &at);
        RECT client{};
        GetClientRect(strip_->Handle(), &client);
        if (!PtInRect(&client, at)) return S_FALSE;
        const int hit = strip_->HitTest(at);
        SetI4(child, hit >= 0 ? hit + 1 : CHILDID_SELF);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        int position = 0;
        if (const HRESULT checked = Check(child, position); FAILED(checked)) return checked;
        if (position < 0 || strip_->Describe(position).defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
        strip_->PostClick(position);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~StripAccessible() = default;

    // `position` -1 for the strip itself, else the button's.
    HRESULT Check(const VARIANT& child, int& position) const {
        if (!strip_) return CO_E_OBJNOTCONNECTED;
        if (child.vt != VT_I4) return E_INVALIDARG;
        if (child.lVal == CHILDID_SELF) {
            position = -1;
            return S_OK;
        }
        if (child.lVal < 1 || child.lVal > strip_->Count()) return E_INVALIDARG;
        position = static_cast<int>(child.lVal) - 1;
        return S_OK;
    }

    HRESULT NothingFor(const VARIANT& child, BSTR* text) const {
        if (!text) return E_INVALIDARG;
        *text = nullptr;
        int position = 0;
        const HRESULT checked = Check(child, position);
        return FAILED(checked) ? checked : DISP_E_MEMBERNOTFOUND;
    }

    ButtonStrip* strip_;
    IAccessible* standard_;
    LONG references_ = 1;
};

StripAccessible* NewStripAccessible(ButtonStrip& strip) {
    IAccessible* standard = nullptr;
    // The window's own frame of parent, siblings and state; without it the
    // object still names and places its buttons.
    if (FAILED(CreateStdAccessibleObject(strip.Handle(), OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(&standard))))
        standard = nullptr;
    return new StripAccessible(strip, standard);
}

LRESULT AnswerGetObject(StripAccessible& accessible, WPARAM wParam) {
    const LRESULT answer = LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(&accessible));
    return answer < 0 ? 0 : answer;
}

void Disconnect(StripAccessible& accessible) { accessible.Disconnect(); }

void Release(StripAccessible& accessible) { accessible.Release(); }

}  // namespace tavi
