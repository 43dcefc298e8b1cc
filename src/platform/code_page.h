#pragma once
#include <string>
#include <string_view>

namespace tavi {

// Converts between UTF-8 (inside the program) and the system's ANSI code
// page (in its files; 932 on Japanese Windows). Bytes that are not valid in
// the code page decode as Windows decodes them (a bad double-byte sequence
// becomes U+30FB) rather than ending the text; characters the code page lacks
// are written as Windows writes them (a look-alike or "?").
class CodePage {
public:
    virtual ~CodePage() = default;
    virtual std::string ToUtf8(std::string_view ansi) = 0;
    virtual std::string FromUtf8(std::string_view utf8) = 0;
};

}  // namespace tavi
