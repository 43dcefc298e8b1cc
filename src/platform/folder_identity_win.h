#pragma once
#include <windows.h>

#include <string>

namespace tavi {

// The folder as the system resolves it: its long names, links followed, in
// upper case, so that every path to one folder gives the same text. The path
// as given (upper-cased) when the folder cannot be opened.
std::string ResolvedFolder(const std::string& folder);

}  // namespace tavi
