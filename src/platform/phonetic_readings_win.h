#pragma once
#include <windows.h>

#include <objbase.h>

#include <string>

#include "platform/phonetic_readings.h"

namespace tavi {

struct IFELanguage;

// Readings from the Japanese input method: its phonetic conversion
// (IFELanguage of "MSIME.Japan") where it offers one, otherwise the reverse
// conversion of the Japanese keyboard layout's IME (ImmGetConversionList
// with GCL_REVERSECONVERSION). Available only when one of them reads a
// known word, so a system whose IME answers nothing asks nothing.
class Win32PhoneticReadings final : public PhoneticReadings {
public:
    Win32PhoneticReadings() = default;
    ~Win32PhoneticReadings() override;
    Win32PhoneticReadings(const Win32PhoneticReadings&) = delete;
    Win32PhoneticReadings& operator=(const Win32PhoneticReadings&) = delete;

    bool Available() override;
    std::string ReadingOf(const std::string& text) override;

private:
    std::wstring FromLanguage(const std::wstring& text);
    std::wstring FromImm(const std::wstring& text);

    int available_ = -1;  // -1: not asked yet
    IFELanguage* language_ = nullptr;
    bool languageOpen_ = false;
    HKL japaneseIme_ = nullptr;
};

}  // namespace tavi
