#pragma once
#include <string>

namespace tavi {

enum class MessageIcon { None, Error, Question, Warning, Information };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    std::string text;
    std::string caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
};

// Modal message boxes, owned by the bar window when it exists.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer Show(const MessageRequest& request) = 0;
};

}  // namespace tavi
