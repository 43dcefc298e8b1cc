#include <iconv.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/host_adapters.h"
#include "platform/unicode.h"

namespace tavi {
namespace {

// What Windows makes of a double-byte sequence it cannot decode: "・".
constexpr char32_t kBadSequence = 0x30FB;
constexpr uint16_t kUnmappable = 0xFFFF;

// Windows writes these characters, which code page 932 lacks, as look-alikes
// ("best fit") instead of "?". Single bytes below 0x100, else lead << 8 | trail.
constexpr std::pair<char16_t, uint16_t> kBestFit[] = {
    {0x00A1, 0x21}, {0x00A6, 0x7C}, {0x00A9, 0x63}, {0x00AA, 0x61}, {0x00AB, 0x81E1}, {0x00AD, 0x2D},
    {0x00AE, 0x52}, {0x00AF, 0x8150}, {0x00B2, 0x32}, {0x00B3, 0x33}, {0x00B5, 0x83CA}, {0x00B7, 0x8145},
    {0x00B8, 0x8143}, {0x00B9, 0x31}, {0x00BA, 0x6F}, {0x00BB, 0x81E2}, {0x00C0, 0x41}, {0x00C1, 0x41},
    {0x00C2, 0x41}, {0x00C3, 0x41}, {0x00C4, 0x41}, {0x00C5, 0x41}, {0x00C6, 0x41}, {0x00C7, 0x43},
    {0x00C8, 0x45}, {0x00C9, 0x45}, {0x00CA, 0x45}, {0x00CB, 0x45}, {0x00CC, 0x49}, {0x00CD, 0x49},
    {0x00CE, 0x49}, {0x00CF, 0x49}, {0x00D0, 0x44}, {0x00D1, 0x4E}, {0x00D2, 0x4F}, {0x00D3, 0x4F},
    {0x00D4, 0x4F}, {0x00D5, 0x4F}, {0x00D6, 0x4F}, {0x00D8, 0x4F}, {0x00D9, 0x55}, {0x00DA, 0x55},
    {0x00DB, 0x55}, {0x00DC, 0x55}, {0x00DD, 0x59}, {0x00DE, 0x54}, {0x00DF, 0x73}, {0x00E0, 0x61},
    {0x00E1, 0x61}, {0x00E2, 0x61}, {0x00E3, 0x61}, {0x00E4, 0x61}, {0x00E5, 0x61}, {0x00E6, 0x61},
    {0x00E7, 0x63}, {0x00E8, 0x65}, {0x00E9, 0x65}, {0x00EA, 0x65}, {0x00EB, 0x65}, {0x00EC, 0x69},
    {0x00ED, 0x69}, {0x00EE, 0x69}, {0x00EF, 0x69}, {0x00F0, 0x64}, {0x00F1, 0x6E}, {0x00F2, 0x6F},
    {0x00F3, 0x6F}, {0x00F4, 0x6F}, {0x00F5, 0x6F}, {0x00F6, 0x6F}, {0x00F8, 0x6F}, {0x00F9, 0x75},
    {0x00FA, 0x75}, {0x00FB, 0x75}, {0x00FC, 0x75}, {0x00FD, 0x79}, {0x00FE, 0x74}, {0x00FF, 0x79},
    {0x3094, 0x8394},
};

// glibc's CP932 also takes the JIS forms of these; Windows writes them as "?".
constexpr char16_t kOnlyInGlibc[] = {0x2014, 0x2016, 0x203E, 0x2212, 0x301C};

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Both directions as tables, filled once through iconv for the characters the
// two agree on; the bytes Windows maps on its own are handled in the code.
struct Cp932Tables {
    std::vector<char16_t> doubleBytes = std::vector<char16_t>(0x10000, 0);  // lead << 8 | trail; 0 = undefined
    std::vector<uint16_t> encode = std::vector<uint16_t>(0x10000, kUnmappable);
};

bool ConvertOne(iconv_t cd, std::string_view in, std::string& out) {
    char buffer[8];
    char* inPointer = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPointer = buffer;
    size_t outLeft = sizeof buffer;
    const bool ok = iconv(cd, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<size_t>(-1) && inLeft == 0;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.assign(buffer, static_cast<size_t>(outPointer - buffer));
    return ok;
}

Cp932Tables BuildTables() {
    Cp932Tables tables;
    std::string converted;
    if (iconv_t decoder = iconv_open("UTF-8", "CP932"); decoder != reinterpret_cast<iconv_t>(-1)) {
        for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                if (!ConvertOne(decoder, std::string_view(pair, 2), converted)) continue;
                size_t offset = 0;
                const char32_t c = NextCodePoint(converted, offset);
                if (offset == converted.size() && c < 0x10000) tables.doubleBytes[lead << 8 | trail] = static_cast<char16_t>(c);
            }
        }
        iconv_close(decoder);
    }
    if (iconv_t encoder = iconv_open("CP932", "UTF-8"); encoder != reinterpret_cast<iconv_t>(-1)) {
        std::string utf8;
        for (char32_t c = 0; c < 0x10000; ++c) {
            if (c >= 0xD800 && c <= 0xDFFF) continue;
            utf8.clear();
            AppendUtf8(utf8, c);
            if (!ConvertOne(encoder, utf8, converted) || converted.empty() || converted.size() > 2) continue;
            const auto first = static_cast<unsigned char>(converted[0]);
            tables.encode[c] = converted.size() == 1
                                   ? first
                                   : static_cast<uint16_t>(first << 8 | static_cast<unsigned char>(converted[1]));
        }
        iconv_close(encoder);
    }
    for (const auto& [c, bytes] : kBestFit) tables.encode[c] = bytes;
    for (char16_t c : kOnlyInGlibc) tables.encode[c] = kUnmappable;
    // Bytes that are no character in the code page still round-trip through
    // these code points on Windows.
    tables.encode[0x0080] = 0x80;
    tables.encode[0xF8F0] = 0xA0;
    tables.encode[0xF8F1] = 0xFD;
    tables.encode[0xF8F2] = 0xFE;
    tables.encode[0xF8F3] = 0xFF;
    return tables;
}

const Cp932Tables& Tables() {
    static const Cp932Tables tables = BuildTables();
    return tables;
}

}  // namespace

std::string IconvCodePage::ToUtf8(std::string_view ansi) {
    const Cp932Tables& tables = Tables();
    std::string utf8;
    utf8.reserve(ansi.size() * 2);
    for (size_t i = 0; i < ansi.size();) {
        const auto b = static_cast<unsigned char>(ansi[i]);
        char32_t c = b;
        size_t used = 1;
        if (b == 0xA0) {
            c = 0xF8F0;
        } else if (b >= 0xA1 && b <= 0xDF) {
            c = 0xFF61 + (b - 0xA1u);
        } else if (b >= 0xFD) {
            c = 0xF8F1 + (b - 0xFDu);
        } else if (IsLeadByte(b)) {
            // Windows takes any byte but NUL as the trail, even a line feed, and
            // turns a pair it cannot decode into one "・".
            c = kBadSequence;
            if (i + 1 < ansi.size() && ansi[i + 1] != '\0') {
                const char16_t decoded = tables.doubleBytes[b << 8 | static_cast<unsigned char>(ansi[i + 1])];
                if (decoded != 0) c = decoded;
                used = 2;
            }
        }
        AppendUtf8(utf8, c);
        i += used;
    }
    return utf8;
}

std::string IconvCodePage::FromUtf8(std::string_view utf8) {
    const Cp932Tables& tables = Tables();
    std::string ansi;
    ansi.reserve(utf8.size());
    for (size_t offset = 0; offset < utf8.size();) {
        const char32_t c = NextCodePoint(utf8, offset);
        if (c >= 0x10000) {
            // Windows converts UTF-16, where this is two units and two "?".
            ansi += "??";
            continue;
        }
        const uint16_t bytes = tables.encode[c];
        if (bytes == kUnmappable) {
            ansi += '?';
        } else if (bytes > 0xFF) {
            ansi += static_cast<char>(bytes >> 8);
            ansi += static_cast<char>(bytes & 0xFF);
        } else {
            ansi += static_cast<char>(bytes);
        }
    }
    return ansi;
}

}  // namespace tavi
