#pragma once
#include <cstdint>
#include <string_view>

namespace tavi {

// 64-bit FNV-1a: a fixed-size name for any bytes (not for secrets).
inline uint64_t Fnv1a64(std::string_view bytes) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    return hash;
}

}  // namespace tavi
