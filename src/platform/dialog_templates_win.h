#pragma once
#include <windows.h>

namespace tavi {

// A dialog template of this program in the language of the run.
struct DialogTemplate {
    const DLGTEMPLATE* data = nullptr;  // null when the program has no such dialog
    BYTE charset = DEFAULT_CHARSET;     // of the template's font, which the dialog manager drops
};

// The template `id` under the LANGID of the run's language; a language that
// lacks it shows the English one, else the Japanese one.
DialogTemplate LanguageDialog(int id);
// The template `id` under one LANGID only.
DialogTemplate DialogIn(int id, LANGID language);

}  // namespace tavi
