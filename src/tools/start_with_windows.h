#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_box.h"
#include "platform/registry.h"

// Start with Windows, one value per program folder under the user's Run key,
// each naming its own program in quotes: "TaviMenu2" for the first folder,
// "TaviMenu2 (2)", "TaviMenu2 (3)" ... for the others. A value that names
// another program, or that is not ours, is never changed or removed.
namespace tavi {

inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValue = "TaviMenu2";

// Our values that start the program at `programPath`: the program part of
// each command, quoted or not, names it as the file system would.
std::vector<std::string> OwnRunValues(Registry& registry, std::string_view programPath);
bool StartsWithWindows(Registry& registry, std::string_view programPath);
// OK with the box `ticked`: the registry is changed only where it differs
// from the box. Ticked, the first of our names no value holds gets the
// quoted path; unticked, every value of ours that starts this program goes.
// A refusal is told once.
void OptionSetStartWithWindows(Registry& registry, MessageBoxes& messages, std::string_view programPath,
                               bool ticked);

}  // namespace tavi
