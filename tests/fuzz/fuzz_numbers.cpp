// Number reading as the old run time did it (LeadingNumber, IsNumeric,
// LeadingInt) and the character-counting text helpers every settings and
// entry value passes through.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/number_format.h"
#include "platform/text.h"
#include "fuzz/fuzz_support.h"
#include "tools/alarm.h"

using namespace tavi;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const uint64_t number = input.ConsumeIntegral<uint64_t>();
    const size_t width = input.ConsumeIntegralInRange<size_t>(0, 64);
    const size_t start = input.ConsumeIntegralInRange<size_t>(0, 64);
    const std::string with = input.ConsumeRandomLengthString(8);
    const std::string text = input.ConsumeRemainingBytesAsString();

    const double value = LeadingNumber(text);
    fuzz::Check(std::isfinite(value), "a leading number is finite", text);
    if (IsNumeric(text)) fuzz::Check(!IsBlank(text), "a blank text is no number", text);
    int32_t rounded = 0;
    const int32_t leading = LeadingInt(text, 12345);
    if (RoundToInt32(value, rounded))
        fuzz::Check(leading == rounded, "LeadingInt is the rounded leading number", text);
    else
        fuzz::Check(leading == 12345, "a number past 32 bits gives the fallback", text);

    std::string grouped = GroupThousands(number);
    std::erase(grouped, ',');
    fuzz::Check(grouped == std::to_string(number), "grouping keeps the digits");
    fuzz::Check(GroupThousandsBlankZero(number).empty() == (number == 0), "only zero is blank");

    const size_t count = CharCount(text);
    fuzz::Check(CharCount(FixedWidth(text, width)) == width, "a fixed-width text has its width", text);
    fuzz::Check(CharCount(AlignRight(text, width)) == std::max(count, width), "aligned text is padded to its width");
    const std::string mid = CharMid(text, start, width);
    fuzz::Check(CharCount(mid) <= width, "CharMid takes no more than asked");
    fuzz::Check(CharMid(text, 0, start) + CharMid(text, start) == text, "the two halves of a text make the text");
    const std::string replaced = ReplaceChar(text, start, with);
    if (fuzz::IsWellFormedUtf8(text) && fuzz::IsWellFormedUtf8(with))
        fuzz::Check(CharCount(replaced) == count, "replacing a character keeps the count", text);

    const std::string trimmed = TrimSpaces(text);
    fuzz::Check(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '), "trimmed text has no edge spaces");
    (void)TrimLeadingSpaces(text);
    (void)ToUpperAscii(text);
    (void)GetExtension(text);
    (void)GetFileName(text);
    (void)GetFolderName(text, "C:\\Work");
    (void)QuoteIfSpaced(text);
    if (const std::optional<int> minute = AlarmSlotMinute(text))
        fuzz::Check(*minute > 0 && *minute < 24 * 60, "an alarm slot is a minute of the day", text);
    return 0;
}
