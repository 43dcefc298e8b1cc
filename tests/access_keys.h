#pragma once
// Access keys: the character after a single "&" of a caption ("&&" shows an
// ampersand). Two items of one menu level or one dialog page that share a
// key leave the keyboard guessing which one it reaches. Shared by the menu
// tests (over the menu models) and the Windows tests (over each dialog page
// as it is shown), whatever language the captions are in.
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace access_keys {

// The key, upper-cased when it is an ASCII letter; empty when there is none.
inline std::string KeyOf(std::string_view caption) {
    for (size_t at = caption.find('&'); at != std::string_view::npos && at + 1 < caption.size();
         at = caption.find('&', at + 2)) {
        const unsigned char next = static_cast<unsigned char>(caption[at + 1]);
        if (next == '&') continue;
        size_t length = next < 0x80 ? 1 : next < 0xE0 ? 2 : next < 0xF0 ? 3 : 4;  // one UTF-8 character
        std::string key(caption.substr(at + 1, length));
        if (key.size() == 1 && key[0] >= 'a' && key[0] <= 'z') key[0] = static_cast<char>(key[0] - 'a' + 'A');
        return key;
    }
    return {};
}

// One line for each key two or more captions share, naming them.
inline std::vector<std::string> Clashes(const std::vector<std::string>& captions) {
    std::map<std::string, std::vector<std::string>> byKey;
    for (const std::string& caption : captions)
        if (std::string key = KeyOf(caption); !key.empty()) byKey[key].push_back(caption);
    std::vector<std::string> clashes;
    for (const auto& [key, sharing] : byKey) {
        if (sharing.size() < 2) continue;
        std::string line = "&" + key + ":";
        for (const std::string& caption : sharing) line += " \"" + caption + "\"";
        clashes.push_back(line);
    }
    return clashes;
}

}  // namespace access_keys
