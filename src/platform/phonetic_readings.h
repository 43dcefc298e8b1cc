#pragma once
#include <string>

namespace tavi {

// What the system's Japanese input method can tell of a text: how its kanji
// are read. Systems without one (and Wine) have nothing to tell.
class PhoneticReadings {
public:
    virtual ~PhoneticReadings() = default;
    // Whether an input method that gives readings is there; asked once.
    virtual bool Available() = 0;
    // The reading of `text` in kana (other characters as they were), or
    // empty text when none could be had.
    virtual std::string ReadingOf(const std::string& text) = 0;
};

}  // namespace tavi
