#pragma once
#include <string_view>

namespace tavi {

// Told of every entry and group member the user starts, from the bar, a
// group's box or the search; the search ranks what is used by it.
class StartLog {
public:
    virtual ~StartLog() = default;
    virtual void Started(std::string_view path, std::string_view parameters) = 0;
};

}  // namespace tavi
