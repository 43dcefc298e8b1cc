#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace tavi {

// UTF-8 inside the program, UTF-16 at every Win32 call.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);

}  // namespace tavi
