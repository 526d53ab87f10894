#pragma once
// Splitting a fuzzer's bytes into the pieces a target needs.

#include <cstddef>
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace kxsim::fuzz {

class Input {
public:
    Input(const uint8_t* data, size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

    /// The next byte, 0 when none is left.
    uint8_t byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    /// A piece of at most \a max bytes (its length taken from the input).
    std::string_view piece(size_t max) {
        const size_t wanted = byte() % (max + 1);  // read before the size is taken
        const size_t n = std::min<size_t>(rest_.size(), wanted);
        const std::string_view out = rest_.substr(0, n);
        rest_.remove_prefix(n);
        return out;
    }
    /// UTF-16 text made of the next piece, two bytes a character.
    std::u16string text(size_t maxChars) {
        const std::string_view bytes = piece(maxChars * 2);
        std::u16string out;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            out += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
        return out;
    }
    std::string_view rest() const { return rest_; }

private:
    std::string_view rest_;
};

}  // namespace kxsim::fuzz
