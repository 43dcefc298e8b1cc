#include "search/kana_fold.h"

namespace tavi {
namespace {

// Full-width forms of U+FF61..U+FF9F, in order.
constexpr char16_t kHalfWidthKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};
constexpr char32_t kHiraganaFirst = 0x3041, kHiraganaLast = 0x3096, kKatakanaFirst = 0x30A1;

}  // namespace

char32_t FoldForMatch(char32_t c) {
    if (c >= 0xFF01 && c <= 0xFF5E) c -= 0xFF01 - 0x21;
    if (c >= 0xFF61 && c <= 0xFF9F) c = kHalfWidthKana[c - 0xFF61];
    // ぁ..ゖ and the iteration marks ゝゞ sit 0x60 below their katakana.
    if ((c >= kHiraganaFirst && c <= kHiraganaLast) || c == 0x309D || c == 0x309E)
        c += kKatakanaFirst - kHiraganaFirst;
    if (c >= 'A' && c <= 'Z') c += 'a' - 'A';
    return c;
}

char32_t JoinVoicedMark(char32_t kana, char32_t mark) {
    // Half-width, spacing and combining forms of each mark.
    const bool voiced = mark == 0xFF9E || mark == 0x309B || mark == 0x3099;
    const bool semiVoiced = mark == 0xFF9F || mark == 0x309C || mark == 0x309A;
    if (voiced) {
        if (kana == 0x30A6) return 0x30F4;  // ウ゛ is ヴ
        if ((kana >= 0x30AB && kana <= 0x30C1 && (kana - 0x30AB) % 2 == 0) || kana == 0x30C4 || kana == 0x30C6 ||
            kana == 0x30C8)
            return kana + 1;
    }
    if (voiced || semiVoiced)
        if (kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0) return kana + (voiced ? 1 : 2);
    return kana;
}

}  // namespace tavi
