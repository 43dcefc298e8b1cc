// menuprobe.dll: loaded by tavidriver into a program that shows a popup menu,
// it reads the menu there, where the menu handle is valid (Wine keeps menus
// per process), and writes it as JSON to a file the driver names.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>

#include "mini_json.h"
#include "menuprobe.h"

using minijson::Value;

namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

Value RectValue(const RECT& r) {
  return Value::Array().Push(Value::Int(r.left)).Push(Value::Int(r.top)).Push(Value::Int(r.right)).Push(Value::Int(r.bottom));
}

// Items of `menu`; `shown` when it is the popup on screen, whose item
// rectangles can be clicked.
Value Items(HMENU menu, bool shown, int depth) {
  Value items = Value::Array();
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING | MIIM_BITMAP;
    std::wstring text(1024, L'\0');
    info.dwTypeData = text.data();
    info.cch = static_cast<UINT>(text.size() - 1);
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    text.resize(info.cch);
    Value item = Value::Object();
    item.Set("separator", Value::Bool((info.fType & MFT_SEPARATOR) != 0));
    item.Set("text", Value::String(Utf8(text)));
    item.Set("enabled", Value::Bool((info.fState & (MFS_DISABLED | MFS_GRAYED)) == 0));
    item.Set("checked", Value::Bool((info.fState & MFS_CHECKED) != 0));
    item.Set("hilite", Value::Bool((info.fState & MFS_HILITE) != 0));
    item.Set("id", Value::Int(static_cast<int64_t>(info.wID)));
    // A picture of the item's own beside its text, and its depth; a drawn-by-the-owner item has no text to read.
    BITMAP picture{};
    const bool bitmap =
        reinterpret_cast<INT_PTR>(info.hbmpItem) > 11 && GetObjectW(info.hbmpItem, sizeof picture, &picture);
    item.Set("bitmap_bits", Value::Int(bitmap ? picture.bmBitsPixel : 0));
    item.Set("owner_drawn", Value::Bool((info.fType & MFT_OWNERDRAW) != 0));
    if (shown) {
      RECT rect{};
      if (GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &rect)) item.Set("rect", RectValue(rect));
    }
    if (info.hSubMenu && depth < 8) item.Set("items", Items(info.hSubMenu, false, depth + 1));
    items.Push(std::move(item));
  }
  return items;
}

void WriteReply(const MenuProbeRequest& request, const Value& reply) {
  FILE* out = _wfopen(request.out, L"wb");
  if (!out) return;
  const std::string text = reply.Dump();
  fwrite(text.data(), 1, text.size(), out);
  fclose(out);
}

VARIANT ChildId(LONG id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

// The children of a window's client object as a screen reader in this
// process reads them: names, roles, states, and the focused child; and the
// object's own description and role.
Value AccessibleTree(HWND window) {
  Value reply = Value::Object();
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&object))) || !object) {
    reply.Set("error", Value::String("the window gave no accessible object"));
    return reply;
  }
  // The object's own description, for a window that is itself one button.
  BSTR own = nullptr;
  object->get_accDescription(ChildId(CHILDID_SELF), &own);
  reply.Set("description", Value::String(own ? Utf8(std::wstring(own, SysStringLen(own))) : std::string()));
  SysFreeString(own);
  VARIANT role;
  VariantInit(&role);
  object->get_accRole(ChildId(CHILDID_SELF), &role);
  reply.Set("role", Value::Int(role.vt == VT_I4 ? role.lVal : -1));
  LONG count = 0;
  object->get_accChildCount(&count);
  reply.Set("count", Value::Int(count));
  Value children = Value::Array();
  for (LONG id = 1; id <= count; ++id) {
    Value child = Value::Object();
    BSTR name = nullptr;
    object->get_accName(ChildId(id), &name);
    child.Set("name", Value::String(name ? Utf8(std::wstring(name, SysStringLen(name))) : std::string()));
    SysFreeString(name);
    BSTR description = nullptr;
    object->get_accDescription(ChildId(id), &description);
    child.Set("description",
              Value::String(description ? Utf8(std::wstring(description, SysStringLen(description))) : std::string()));
    SysFreeString(description);
    VARIANT value;
    VariantInit(&value);
    object->get_accRole(ChildId(id), &value);
    child.Set("role", Value::Int(value.vt == VT_I4 ? value.lVal : -1));
    VariantInit(&value);
    object->get_accState(ChildId(id), &value);
    child.Set("state", Value::Int(value.vt == VT_I4 ? value.lVal : -1));
    children.Push(std::move(child));
  }
  reply.Set("children", std::move(children));
  VARIANT focus;
  VariantInit(&focus);
  object->get_accFocus(&focus);
  reply.Set("focus", focus.vt == VT_I4 ? Value::Int(focus.lVal) : Value::Null());
  object->Release();
  return reply;
}

}  // namespace

// The accessible tree of request->popup (any window), read in its process.
extern "C" __declspec(dllexport) DWORD WINAPI ProbeAccessible(void* parameter) {
  auto* request = static_cast<MenuProbeRequest*>(parameter);
  const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
  WriteReply(*request, AccessibleTree(reinterpret_cast<HWND>(static_cast<uintptr_t>(request->popup))));
  if (apartment) CoUninitialize();
  return 1;
}

extern "C" __declspec(dllexport) DWORD WINAPI ProbeMenu(void* parameter) {
  auto* request = static_cast<MenuProbeRequest*>(parameter);
  HWND popup = reinterpret_cast<HWND>(static_cast<uintptr_t>(request->popup));
  DWORD_PTR menu = 0;
  Value reply = Value::Object();
  if (!SendMessageTimeoutW(popup, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 5000, &menu) || !menu) {
    reply.Set("error", Value::String("the window holds no menu"));
  } else {
    reply.Set("items", Items(reinterpret_cast<HMENU>(menu), true, 0));
  }
  WriteReply(*request, reply);
  return 1;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
