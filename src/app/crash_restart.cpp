#include "app/crash_restart.h"

#include "platform/text.h"

namespace tavi {

bool IsRestartedStart(std::string_view arguments) {
    size_t at = 0;
    while (at < arguments.size()) {
        while (at < arguments.size() && (arguments[at] == ' ' || arguments[at] == '\t')) ++at;
        size_t end = at;
        while (end < arguments.size() && arguments[end] != ' ' && arguments[end] != '\t') ++end;
        const std::string_view word = Unquoted(arguments.substr(at, end - at));
        if (ToUpperAscii(word) == ToUpperAscii(kRestartedArgument)) return true;
        at = end;
    }
    return false;
}

RestartRequest RestartRequestFor(bool restartedStart, bool settled) {
    RestartRequest request;
    request.commandLine = std::string(kRestartedArgument);
    const bool comesBack = !restartedStart || settled;
    request.afterCrash = comesBack;
    request.afterHang = comesBack;
    request.afterUpdate = true;
    return request;
}

}  // namespace tavi
