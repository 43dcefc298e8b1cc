#include <iconv.h>

#include <cerrno>

#include "platform/host_adapters.h"

namespace tavi {
namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";

// Converts with iconv; a sequence the source code page cannot decode costs one
// byte and becomes `replacement`, so one bad byte never ends the text.
std::string Convert(const char* to, const char* from, std::string_view input, std::string_view replacement,
                    bool inputIsUtf8) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(input);
    std::string output;
    char buffer[1024];
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, static_cast<size_t>(out - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            output += replacement;
            size_t skip = 1;
            if (inputIsUtf8) {
                const auto lead = static_cast<unsigned char>(*in);
                skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
                if (skip > inLeft) skip = inLeft;
            }
            in += skip;
            inLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return output;
}

}  // namespace

std::string IconvCodePage::ToUtf8(std::string_view ansi) { return Convert("UTF-8", "CP932", ansi, kReplacementUtf8, false); }

// Characters that code page 932 cannot hold become "?", as the system does.
std::string IconvCodePage::FromUtf8(std::string_view utf8) { return Convert("CP932", "UTF-8", utf8, "?", true); }

}  // namespace tavi
