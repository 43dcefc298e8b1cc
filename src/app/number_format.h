#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

// Digits grouped by threes with `separator`, as the patterns "#,##0" (zero
// shows as "0") and "#,###" (zero shows as nothing) format a whole number.
std::string GroupThousands(uint64_t value, std::string_view separator = ",");
std::string GroupThousandsBlankZero(uint64_t value, std::string_view separator = ",");

// The text with spaces put in front up to `width` characters; longer text is kept whole.
std::string AlignRight(std::string_view text, size_t width);

}  // namespace tavi
