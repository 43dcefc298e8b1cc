#include "platform/dialog_templates_win.h"

#include <cstdint>

#include "platform/ui_text.h"

namespace tavi {
namespace {

// Steps over a menu, class or title field of an extended template: none,
// an ordinal, or a string.
const WORD* SkipField(const WORD* field) {
    if (*field == 0) return field + 1;
    if (*field == 0xFFFF) return field + 2;
    while (*field) ++field;
    return field + 1;
}

// The charset byte of an extended template's FONT; DEFAULT_CHARSET for a
// template without one.
BYTE CharsetOf(const void* data, DWORD size) {
    const auto* words = static_cast<const WORD*>(data);
    // dlgVer 1 and signature 0xFFFF mark a DIALOGEX; the older form has no charset.
    if (size < 26 || words[0] != 1 || words[1] != 0xFFFF) return DEFAULT_CHARSET;
    DWORD style = 0;
    CopyMemory(&style, static_cast<const BYTE*>(data) + 12, sizeof style);
    if (!(style & DS_SETFONT)) return DEFAULT_CHARSET;
    const WORD* field = words + 13;  // after the fixed header
    const auto* end = reinterpret_cast<const WORD*>(static_cast<const BYTE*>(data) + size);
    for (int i = 0; i < 3 && field < end; ++i) field = SkipField(field);  // menu, class, title
    // pointsize, weight, then italic and charset as bytes
    if (field + 3 > end) return DEFAULT_CHARSET;
    return reinterpret_cast<const BYTE*>(field + 2)[1];
}

}  // namespace

DialogTemplate DialogIn(int id, LANGID language) {
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC found = FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCEW(id), language);
    if (!found) return {};
    const HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return {static_cast<const DLGTEMPLATE*>(data), CharsetOf(data, SizeofResource(module, found))};
}

DialogTemplate LanguageDialog(int id) {
    for (const size_t language : FallbacksOf(LanguageInUse()))
        if (const DialogTemplate found = DialogIn(id, LanguageTables()[language].windowsLanguage); found.data)
            return found;
    return {};
}

}  // namespace tavi
