#include "app/number_format.h"

#include "platform/text.h"

namespace tavi {

std::string GroupThousands(uint64_t value, std::string_view separator) {
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
        grouped += digits[i];
    }
    return grouped;
}

std::string GroupThousandsBlankZero(uint64_t value, std::string_view separator) {
    return value == 0 ? std::string() : GroupThousands(value, separator);
}

std::string AlignRight(std::string_view text, size_t width) {
    const size_t length = CharCount(text);
    return length >= width ? std::string(text) : std::string(width - length, ' ') + std::string(text);
}

}  // namespace tavi
