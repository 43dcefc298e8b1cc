// Code page 932 both ways and the UTF-8 reader beneath every text helper.
// Decoding any bytes gives well-formed UTF-8; what was decoded encodes to
// bytes that decode to the same text; bad UTF-8 never stops a loop.
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/unicode.h"

using namespace tavi;

namespace {

std::string Sanitized(std::string_view bytes) {
    std::string text;
    for (size_t offset = 0; offset < bytes.size();) {
        const size_t before = offset;
        const char32_t c = NextCodePoint(bytes, offset);
        fuzz::Check(offset > before && offset <= bytes.size(), "each code point moves forward within the text");
        fuzz::Check(c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF), "a code point is a character");
        AppendUtf8(text, c);
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CodePage& cp = fuzz::Cp932();

    const std::string decoded = cp.ToUtf8(bytes);
    fuzz::Check(fuzz::IsWellFormedUtf8(decoded), "decoded text is UTF-8");
    const std::string encoded = cp.FromUtf8(decoded);
    fuzz::Check(cp.ToUtf8(encoded) == decoded, "decoded text survives a save", decoded);

    // The same bytes taken as UTF-8 from inside the program.
    const std::string sanitized = Sanitized(bytes);
    fuzz::Check(fuzz::IsWellFormedUtf8(sanitized), "sanitized text is UTF-8");
    fuzz::Check(Sanitized(sanitized) == sanitized, "sanitizing twice changes nothing");
    if (fuzz::IsWellFormedUtf8(bytes)) fuzz::Check(sanitized == bytes, "well-formed UTF-8 is kept as it is");
    const std::string written = cp.FromUtf8(bytes);
    fuzz::Check(written.size() <= bytes.size(), "encoding never makes the text longer");
    fuzz::Check(fuzz::IsWellFormedUtf8(cp.ToUtf8(written)), "encoded text decodes to UTF-8");
    return 0;
}
