#pragma once
#include <windows.h>

#include <string>

#include "platform/up_check.h"

namespace tavi {

// The running program's own file, whole however long its path.
std::wstring RunningProgramFile();

// The version resource of the running program: its product name and the
// first three numbers of its file version. Empty when it has none.
ProgramVersion ReadProgramVersion();
// The same of any program file.
ProgramVersion ReadProgramVersionOf(const std::wstring& file);

// The thousands separator of the user's number format ("," in Japan).
std::string ThousandsSeparator();

}  // namespace tavi
