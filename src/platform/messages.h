#pragma once
#include <string_view>

// Every text the program shows to its user: text::kName for each key of
// the tables res/lang/<language>/texts.txt, in the language of this run
// (platform/ui_text.h). A new text is a line in each table, Japanese
// first; the texts' test names any language that lacks it.
#include "platform/texts_generated.h"

// What reads the same in every language: numbers and addresses.
namespace tavi::text {

inline constexpr std::string_view kOptionIconSizes[] = {"32×32", "16×16", "24×24"};
inline constexpr std::string_view kOptionAutoHideDelays[] = {"0.5", "1.0", "1.5", "2.0", "2.5",
                                                              "3.0", "3.5", "4.0", "4.5", "5.0"};

}  // namespace tavi::text
