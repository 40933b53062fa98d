#pragma once
// Small, portable pseudo-random helpers: the same seed gives the same
// catalogue on every platform and standard library (std:: distributions
// are not specified bit for bit).
#include <cstdint>
#include <iterator>
#include <string_view>

namespace sim {

inline std::uint64_t mix64(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

inline std::uint64_t hash_text(std::string_view text) {
    std::uint64_t h = 0xCBF29CE484222325ULL;
    for (unsigned char c : text) {
        h = (h ^ c) * 0x100000001B3ULL;
    }
    return h;
}

class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() { return mix64(state_++); }
    // Uniform enough in [0, bound) for bounds far below 2^32.
    int below(int bound) { return bound <= 0 ? 0 : static_cast<int>(next() % bound); }
    template <typename List>
    const auto& pick(const List& list) {
        return list[below(static_cast<int>(std::size(list)))];
    }

  private:
    std::uint64_t state_;
};

}  // namespace sim
