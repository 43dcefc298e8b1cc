#include "tools/start_with_windows.h"

#include <algorithm>

#include "platform/messages.h"
#include "platform/text.h"

namespace tavi {
namespace {

// The program a command line starts: the quoted text, or without quotes the
// text up to its first blank after ".exe" (the system's own reading of an
// unquoted Run command with blanks in its path).
std::string_view ProgramOfCommand(std::string_view command) {
    const size_t start = command.find_first_not_of(' ');
    if (start == std::string_view::npos) return {};
    command.remove_prefix(start);
    if (command.front() == '"') {
        const size_t close = command.find('"', 1);
        return command.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
    }
    const std::string upper = ToUpperAscii(command);
    const size_t exe = upper.find(".EXE");
    if (exe != std::string::npos && (exe + 4 == upper.size() || upper[exe + 4] == ' ')) return command.substr(0, exe + 4);
    return command.substr(0, command.find(' '));
}

// "TaviMenu2", or "TaviMenu2 (n)" for a number of 2 or more, in any case.
bool IsOurName(std::string_view name) {
    const std::string upper = ToUpperAscii(name), base = ToUpperAscii(kRunValue);
    if (upper == base) return true;
    if (!upper.starts_with(base + " (") || !upper.ends_with(")")) return false;
    const std::string_view digits = std::string_view(upper).substr(base.size() + 2, upper.size() - base.size() - 3);
    return !digits.empty() && digits.size() < 6 && digits.front() != '0' &&
           std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) && digits != "1";
}

std::string NameNumbered(int number) {
    return number == 1 ? std::string(kRunValue) : std::string(kRunValue) + " (" + std::to_string(number) + ")";
}

}  // namespace

std::vector<std::string> OwnRunValues(Registry& registry, std::string_view programPath) {
    std::vector<std::string> own;
    if (programPath.empty()) return own;
    const std::string key(kRunKey);
    for (const std::string& name : registry.ValueNames(RegistryRoot::CurrentUser, key)) {
        if (!IsOurName(name)) continue;
        const std::optional<std::string> command = registry.ReadText(RegistryRoot::CurrentUser, key, name);
        if (command && SamePathText(ProgramOfCommand(*command), programPath)) own.push_back(name);
    }
    return own;
}

bool StartsWithWindows(Registry& registry, std::string_view programPath) {
    return !OwnRunValues(registry, programPath).empty();
}

void OptionSetStartWithWindows(Registry& registry, MessageBoxes& messages, std::string_view programPath,
                               bool ticked) {
    if (programPath.empty()) return;
    const std::vector<std::string> own = OwnRunValues(registry, programPath);
    if (ticked == !own.empty()) return;
    const std::string key(kRunKey);
    bool done = true;
    if (ticked) {
        // Any value of that name, ours or not, another folder's or one we cannot read, keeps its name.
        const std::vector<std::string> taken = registry.ValueNames(RegistryRoot::CurrentUser, key);
        int number = 1;
        while (std::any_of(taken.begin(), taken.end(),
                           [&](const std::string& name) { return ToUpperAscii(name) == ToUpperAscii(NameNumbered(number)); }))
            ++number;
        done = registry.CreateKey(RegistryRoot::CurrentUser, key) &&
               registry.WriteText(RegistryRoot::CurrentUser, key, NameNumbered(number),
                                  "\"" + std::string(programPath) + "\"");
    } else {
        for (const std::string& name : own) done = registry.DeleteValue(RegistryRoot::CurrentUser, key, name) && done;
    }
    if (!done)
        (void)messages.Show({std::string(text::kStartWithWindowsFailed), std::string(text::kMessageCaption),
                             MessageIcon::Warning, MessageButtons::Ok});
}

}  // namespace tavi
