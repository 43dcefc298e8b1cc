#pragma once

namespace tavi {

// The character as type-ahead compares it: half-width katakana as their
// full-width forms (a following voiced mark joined), hiragana as katakana,
// full-width ASCII as ASCII, letters in lower case.
char32_t FoldForMatch(char32_t c);
// A folded katakana with the voiced or semi-voiced mark after it joined (ｶﾞ,
// カ゛ and the combining form all give ガ); unchanged when the pair makes no
// character.
char32_t JoinVoicedMark(char32_t kana, char32_t mark);

}  // namespace tavi
