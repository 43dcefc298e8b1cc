#pragma once
// Shared by the fuzz targets: in-memory files, the real code page, and a way
// to stop at once with a message when a property does not hold (libFuzzer
// then keeps the input as a crash).
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/host_adapters.h"
#include "platform/unicode.h"

namespace tavi::fuzz {

[[noreturn]] inline void Fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "property failed: %s\n%.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

inline void Check(bool condition, const char* what, std::string_view detail = {}) {
    if (!condition) Fail(what, detail);
}

// Files in memory; a write replaces the whole file, as the real one does.
class MemoryFiles final : public FileSystem {
public:
    std::map<std::string, std::string> files;

    FileContents Read(const std::string& path) override {
        const auto found = files.find(path);
        if (found == files.end()) return {};
        return {ReadOutcome::Whole, found->second};
    }
    [[nodiscard]] bool ReplaceAll(const std::string& path, std::string_view bytes) override {
        files[path] = std::string(bytes);
        return true;
    }
    bool FileExists(const std::string& path) override { return files.count(path) != 0; }
    bool RemoveFile(const std::string& path) override {
        files.erase(path);
        return true;
    }
    std::string CurrentDirectory() override { return "C:\\Work"; }
};

// Code page 932 as the program converts it on the host; its tables are built
// once per process.
inline CodePage& Cp932() {
    static IconvCodePage codePage;
    return codePage;
}

inline bool IsWellFormedUtf8(std::string_view text) {
    for (size_t offset = 0; offset < text.size();) {
        const size_t before = offset;
        const char32_t c = NextCodePoint(text, offset);
        // U+FFFD written out in full is a character; the one-byte skip is not.
        if (c == 0xFFFD && offset - before != 3) return false;
    }
    return true;
}

// Two quirks the INI reader shares with the system's profile functions, where
// a file does not read back as it was saved: an ANSI file whose text starts,
// once leading blanks and blank lines are gone, with the bytes of a byte
// order mark is read as Unicode the next time; and a name cut at a NUL keeps
// blanks before the NUL that are trimmed once the file is rewritten without
// it. Round-trip checks leave such files out.
inline bool RereadsDifferently(std::string_view original, std::string_view saved) {
    const auto marked = [](std::string_view bytes) {
        return bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF" ||
               bytes.substr(0, 3) == "\xEF\xBB\xBF";
    };
    return (!marked(original) && marked(saved)) || original.find('\0') != std::string_view::npos;
}

}  // namespace tavi::fuzz
