// The dialog templates of every language, as compiled into the program's
// resources: each dialog in each language, with the same controls, and the
// template the run's language picks.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>

#include "platform/dialog_templates_win.h"
#include "platform/ui_text.h"
#include "platform/wide_win.h"

using namespace tavi;

namespace {

// A control as a template declares it: its id, its class (a name, or the
// number of a predefined one) and whether it carries a text of its own.
using Control = std::tuple<int, std::wstring, bool>;

// A menu, class or title field: none, an ordinal or a string.
std::wstring ReadField(const WORD*& at) {
    if (*at == 0) return ++at, std::wstring();
    if (*at == 0xFFFF) {
        const std::wstring ordinal = L"#" + std::to_wstring(at[1]);
        at += 2;
        return ordinal;
    }
    std::wstring text(reinterpret_cast<const wchar_t*>(at));
    at += text.size() + 1;
    return text;
}

const WORD* AlignToDword(const WORD* at) {
    return reinterpret_cast<const WORD*>((reinterpret_cast<uintptr_t>(at) + 3) & ~uintptr_t{3});
}

// The controls of an extended template (DIALOGEX), which every template of ours is.
std::multiset<Control> ControlsOf(const DLGTEMPLATE* dialog) {
    const auto* words = reinterpret_cast<const WORD*>(dialog);
    std::multiset<Control> controls;
    if (words[0] != 1 || words[1] != 0xFFFF) return controls;
    DWORD style = 0;
    CopyMemory(&style, words + 6, sizeof style);
    const WORD count = words[8];
    const WORD* at = words + 13;
    for (int field = 0; field < 3; ++field) (void)ReadField(at);  // menu, class, title
    if (style & DS_SETFONT) {
        at += 3;  // point size, weight, italic and charset
        (void)ReadField(at);
    }
    for (WORD i = 0; i < count; ++i) {
        at = AlignToDword(at);
        DWORD id = 0;
        CopyMemory(&id, at + 10, sizeof id);  // after help id, styles and the rectangle
        at += 12;
        const std::wstring windowClass = ReadField(at);
        const bool titled = !ReadField(at).empty();
        at = reinterpret_cast<const WORD*>(reinterpret_cast<const BYTE*>(at + 1) + *at);  // creation data
        controls.emplace(static_cast<int>(id), windowClass, titled);
    }
    return controls;
}

BOOL CALLBACK CollectDialog(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<int>*>(found)->insert(static_cast<int>(reinterpret_cast<uintptr_t>(name)));
    return TRUE;
}

std::set<int> DialogIds() {
    std::set<int> ids;
    EnumResourceNamesW(GetModuleHandleW(nullptr), RT_DIALOG, CollectDialog, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

std::string Describe(const std::multiset<Control>& controls) {
    std::ostringstream out;
    for (const auto& [id, windowClass, titled] : controls)
        out << id << ":" << Narrow(windowClass) << (titled ? "(text)" : "") << " ";
    return out.str();
}

}  // namespace

// What the test command asks of the templates: every dialog in every
// language of the tables, each with the controls of the Japanese one.
TEST(DialogLanguages, EveryDialogInEveryLanguageWithTheSameControls) {
    const std::set<int> ids = DialogIds();
    ASSERT_GE(ids.size(), 10u) << "the program's dialogs";
    for (const int id : ids) {
        const DialogTemplate japanese = DialogIn(id, LanguageTables()[0].windowsLanguage);
        ASSERT_NE(japanese.data, nullptr) << "dialog " << id << " has no Japanese template";
        const std::multiset<Control> expected = ControlsOf(japanese.data);
        EXPECT_FALSE(expected.empty()) << "dialog " << id;
        for (const LanguageTable& language : LanguageTables()) {
            const DialogTemplate own = DialogIn(id, language.windowsLanguage);
            ASSERT_NE(own.data, nullptr) << "dialog " << id << " has no template in " << language.code;
            const std::multiset<Control> controls = ControlsOf(own.data);
            EXPECT_EQ(controls, expected) << "dialog " << id << " in " << language.code << ":\n  "
                                          << Describe(controls) << "\nin ja:\n  " << Describe(expected);
        }
    }
}

TEST(DialogLanguages, TheRunsLanguagePicksItsTemplateAndItsFontsCharset) {
    const int id = *DialogIds().begin();
    const struct {
        const char* code;
        BYTE charset;
    } cases[] = {{"ja", SHIFTJIS_CHARSET}, {"en", DEFAULT_CHARSET}};
    for (const auto& c : cases) {
        UseLanguage(*LanguageNamed(c.code));
        const DialogTemplate picked = LanguageDialog(id);
        EXPECT_EQ(picked.data, DialogIn(id, CurrentLanguage().windowsLanguage).data) << c.code;
        EXPECT_EQ(picked.charset, c.charset) << c.code;
    }
    UseLanguage(LanguageFor(GetUserDefaultUILanguage(), ""));
}
