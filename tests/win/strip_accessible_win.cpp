// The button strip as screen readers read it, through the system's own
// AccessibleObjectFromWindow.
#include <windows.h>

#include <gtest/gtest.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "platform/messages.h"
#include "bar/button_strip_win.h"
#include "bar/command_button_win.h"
#include "platform/wide_win.h"

using namespace tavi;

namespace {

// Records the commands its children send.
class Parent {
public:
    Parent() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"AccessibleTestParent";
        RegisterClassW(&windowClass);
        hwnd = CreateWindowExW(0, L"AccessibleTestParent", L"", WS_POPUP | WS_VISIBLE, 120, 80, 300, 200, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Parent() { DestroyWindow(hwnd); }

    HWND hwnd = nullptr;
    std::vector<int> clicked;  // ids of BN_CLICKED from the strip

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Parent*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) self->clicked.push_back(LOWORD(wParam));
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
};

class Apartment {
public:
    Apartment() : ok_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~Apartment() {
        if (ok_) CoUninitialize();
    }

private:
    bool ok_;
};

VARIANT Child(LONG id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::wstring Take(BSTR text) {
    std::wstring copy = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    return copy;
}

std::wstring NameOf(IAccessible* object, LONG id) {
    BSTR name = nullptr;
    object->get_accName(Child(id), &name);
    return Take(name);
}

LONG I4Of(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), IAccessible* object, LONG id) {
    VARIANT value;
    VariantInit(&value);
    if (FAILED((object->*get)(Child(id), &value)) || value.vt != VT_I4) return -1;
    return value.lVal;
}

// What the posted clicks have sent by now.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

struct Strip {
    Parent parent;
    ButtonStrip strip;
    std::vector<ButtonDescription> buttons;

    explicit Strip(std::vector<ButtonDescription> described) : buttons(std::move(described)) {
        strip.Create(parent.hwnd, true, nullptr);
        MoveWindow(strip.Handle(), 7, 5, 90, 100, FALSE);
        std::vector<int> commands;
        for (size_t i = 0; i < buttons.size(); ++i) commands.push_back(static_cast<int>(i) + 1);
        strip.Append(commands, false);
        strip.SetButtonSize(40);
        strip.SetDescriber([this](int position, int focused) {
            ButtonDescription button = buttons[static_cast<size_t>(position)];
            button.focused = position == focused;
            return button;
        });
    }

    IAccessible* Read() const {
        IAccessible* object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(strip.Handle(), static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                              reinterpret_cast<void**>(&object))))
            return nullptr;
        return object;
    }
};

const std::string kStart(text::kActionStartEntry);
const std::string kOpen(text::kActionOpenGroup);

}  // namespace

TEST(StripAccessible, AToolbarOfTheButtonsWithTheirNamesRolesStatesAndPlaces) {
    Apartment apartment;
    Strip s({{"メモ帳", AccessibleRole::PushButton, false, false, kStart},
             {"", AccessibleRole::PushButton, false, true, ""},
             {"ゲーム", AccessibleRole::ButtonMenu, false, false, kOpen},
             {"calc.exe", AccessibleRole::PushButton, false, false, kStart}});
    IAccessible* object = s.Read();
    ASSERT_NE(object, nullptr);

    LONG count = 0;
    ASSERT_EQ(object->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, 4);
    EXPECT_EQ(I4Of(&IAccessible::get_accRole, object, CHILDID_SELF), ROLE_SYSTEM_TOOLBAR);
    EXPECT_EQ(NameOf(object, CHILDID_SELF), Widen(text::kAppTitle));

    const struct {
        const wchar_t* name;
        LONG role;
        bool unavailable;
        const wchar_t* action;  // null: none
    } expected[] = {
        {L"メモ帳", ROLE_SYSTEM_PUSHBUTTON, false, L"起動"},
        {L"", ROLE_SYSTEM_PUSHBUTTON, true, nullptr},
        {L"ゲーム", ROLE_SYSTEM_BUTTONMENU, false, L"開く"},
        {L"calc.exe", ROLE_SYSTEM_PUSHBUTTON, false, L"起動"},
    };
    for (LONG id = 1; id <= 4; ++id) {
        const auto& e = expected[id - 1];
        EXPECT_EQ(NameOf(object, id), e.name) << id;
        EXPECT_EQ(I4Of(&IAccessible::get_accRole, object, id), e.role) << id;
        const LONG state = I4Of(&IAccessible::get_accState, object, id);
        EXPECT_EQ((state & STATE_SYSTEM_UNAVAILABLE) != 0, e.unavailable) << id;
        EXPECT_EQ(state & STATE_SYSTEM_FOCUSED, 0) << id;
        BSTR action = nullptr;
        const HRESULT asked = object->get_accDefaultAction(Child(id), &action);
        EXPECT_EQ(SUCCEEDED(asked) && action, e.action != nullptr) << id;
        EXPECT_EQ(Take(action), e.action ? e.action : L"") << id;

        // Where the strip draws the button, in screen pixels.
        RECT rect = *s.strip.ButtonRect(id - 1);
        MapWindowPoints(s.strip.Handle(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
        LONG left = 0, top = 0, width = 0, height = 0;
        ASSERT_EQ(object->accLocation(&left, &top, &width, &height, Child(id)), S_OK) << id;
        EXPECT_EQ(left, rect.left) << id;
        EXPECT_EQ(top, rect.top) << id;
        EXPECT_EQ(width, 40) << id;
        EXPECT_EQ(height, 40) << id;
        VARIANT hit;
        VariantInit(&hit);
        ASSERT_EQ(object->accHitTest(rect.left + 20, rect.top + 20, &hit), S_OK) << id;
        EXPECT_EQ(hit.vt, VT_I4);
        EXPECT_EQ(hit.lVal, id);
    }
    // The 90-pixel strip holds two buttons a row.
    LONG left = 0, top = 0, width = 0, height = 0;
    object->accLocation(&left, &top, &width, &height, Child(3));
    EXPECT_EQ(top, 80 + 5 + 40);

    VARIANT next;
    VariantInit(&next);
    ASSERT_EQ(object->accNavigate(NAVDIR_NEXT, Child(2), &next), S_OK);
    EXPECT_EQ(next.lVal, 3);
    EXPECT_EQ(object->accNavigate(NAVDIR_NEXT, Child(4), &next), S_FALSE) << "past the last button";
    ASSERT_EQ(object->accNavigate(NAVDIR_LASTCHILD, Child(CHILDID_SELF), &next), S_OK);
    EXPECT_EQ(next.lVal, 4);

    BSTR name = nullptr;
    EXPECT_EQ(object->get_accName(Child(5), &name), E_INVALIDARG) << "no fifth button";
    EXPECT_EQ(name, nullptr);
    object->Release();
}

TEST(StripAccessible, TheDefaultActionClicksAsThePointerDoes) {
    Apartment apartment;
    Strip s({{"A", AccessibleRole::PushButton, false, false, kStart},
             {"", AccessibleRole::PushButton, false, true, ""},
             {"G", AccessibleRole::ButtonMenu, false, false, kOpen}});
    IAccessible* object = s.Read();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->accDoDefaultAction(Child(3)), S_OK);
    EXPECT_TRUE(s.parent.clicked.empty()) << "the click waits for the message loop, not inside the caller's call";
    Pump();
    EXPECT_EQ(s.parent.clicked, std::vector<int>{3});
    EXPECT_EQ(object->accDoDefaultAction(Child(1)), S_OK);
    EXPECT_HRESULT_FAILED(object->accDoDefaultAction(Child(2))) << "an empty slot has nothing to start";
    EXPECT_HRESULT_FAILED(object->accDoDefaultAction(Child(CHILDID_SELF)));
    Pump();
    EXPECT_EQ(s.parent.clicked, (std::vector<int>{3, 1}));
    object->Release();
}

TEST(StripAccessible, TheFocusedButtonIsReportedAndAnnounced) {
    Apartment apartment;
    Strip s({{"A", AccessibleRole::PushButton, false, false, kStart},
             {"B", AccessibleRole::PushButton, false, false, kStart},
             {"C", AccessibleRole::PushButton, false, false, kStart}});
    static std::vector<LONG> announced;
    announced.clear();
    const HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr,
        [](HWINEVENTHOOK, DWORD, HWND, LONG object, LONG child, DWORD, DWORD) {
            // The window's own focus (child 0) is the system's to announce.
            if (object == OBJID_CLIENT && child != CHILDID_SELF) announced.push_back(child);
        },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    IAccessible* object = s.Read();
    ASSERT_NE(object, nullptr);

    VARIANT focus;
    VariantInit(&focus);
    EXPECT_EQ(object->get_accFocus(&focus), S_FALSE);
    EXPECT_EQ(focus.vt, VT_EMPTY);

    s.strip.SetFocused(1);
    s.strip.SetFocused(1);  // no change, nothing new to announce
    ASSERT_EQ(object->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.vt, VT_I4);
    EXPECT_EQ(focus.lVal, 2);
    EXPECT_NE(I4Of(&IAccessible::get_accState, object, 2) & STATE_SYSTEM_FOCUSED, 0);
    EXPECT_EQ(I4Of(&IAccessible::get_accState, object, 1) & STATE_SYSTEM_FOCUSED, 0);

    s.strip.SetFocused(2);
    ASSERT_EQ(object->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, 3);
    // A button taken away with the focus on it takes the focus along.
    s.strip.Remove(2);
    EXPECT_EQ(s.strip.Focused(), -1);
    EXPECT_EQ(object->get_accFocus(&focus), S_FALSE);

    EXPECT_EQ(object->accSelect(SELFLAG_TAKEFOCUS, Child(1)), S_OK);
    EXPECT_EQ(s.strip.Focused(), 0);
    if (hook) {
        Pump();
        UnhookWinEvent(hook);
        EXPECT_EQ(announced, (std::vector<LONG>{2, 3, 1}));
    }
    object->Release();
}

TEST(StripAccessible, ANewDescriptionIsAnnouncedForThatButtonOnly) {
    Strip s({{"A", AccessibleRole::PushButton, false, false, kStart},
             {"B", AccessibleRole::PushButton, false, false, kStart}});
    static std::vector<std::pair<DWORD, LONG>> announced;
    announced.clear();
    const HWINEVENTHOOK hook = SetWinEventHook(
        EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr,
        [](HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
            if (object == OBJID_CLIENT) announced.emplace_back(event, child);
        },
        GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    s.buttons[1].name = "C";
    s.strip.DescriptionChanged(1);
    s.strip.DescriptionChanged(2);  // no third button
    Pump();
    UnhookWinEvent(hook);
    EXPECT_EQ(announced, (std::vector<std::pair<DWORD, LONG>>{{EVENT_OBJECT_NAMECHANGE, 2},
                                                              {EVENT_OBJECT_STATECHANGE, 2}}));
}

TEST(StripAccessible, AnObjectKeptPastItsStripAnswersWithoutTheStrip) {
    Apartment apartment;
    IAccessible* object = nullptr;
    {
        Strip s({{"A", AccessibleRole::PushButton, false, false, kStart}});
        object = s.Read();
        ASSERT_NE(object, nullptr);
    }
    LONG count = 7;
    EXPECT_HRESULT_FAILED(object->get_accChildCount(&count));
    EXPECT_EQ(count, 0);
    EXPECT_HRESULT_FAILED(object->accDoDefaultAction(Child(1)));
    object->Release();
}

TEST(StripAccessible, ThePagingButtonsAreNamedByTheirCaptions) {
    Apartment apartment;
    Parent parent;
    for (const std::string_view caption : {text::kCloseButton, text::kNextButton, text::kPreviousButton}) {
        CommandButton button;
        ASSERT_TRUE(button.Create(parent.hwnd, 101, Widen(caption), nullptr));
        IAccessible* object = nullptr;
        ASSERT_TRUE(SUCCEEDED(AccessibleObjectFromWindow(button.Handle(), static_cast<DWORD>(OBJID_CLIENT),
                                                         IID_IAccessible, reinterpret_cast<void**>(&object))));
        EXPECT_EQ(NameOf(object, CHILDID_SELF), Widen(caption));
        object->Release();
        DestroyWindow(button.Handle());
    }
}
