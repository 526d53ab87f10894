// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
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
    /// A piece of at most \a max bytes whose length takes two bytes of the input,
    /// for pieces longer than 255 bytes.
    std::string_view longPiece(size_t max) {
        const size_t high = byte();
        const size_t wanted = (high << 8 | byte()) % (max + 1);
        const size_t n = std::min<size_t>(rest_.size(), wanted);
        const std::string_view out = rest_.substr(0, n);
        rest_.remove_prefix(n);
        return out;
    }
    /// UTF-16 text made of the next piece, two bytes a character.
    std::u16string text(size_t maxChars) { return utf16(piece(maxChars * 2)); }
    /// UTF-16 text made of the next long piece.
    std::u16string longText(size_t maxChars) { return utf16(longPiece(maxChars * 2)); }
    std::string_view rest() const { return rest_; }

private:
    static std::u16string utf16(std::string_view bytes) {
        std::u16string out;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            out += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
        return out;
    }

    std::string_view rest_;
};

}  // namespace kxsim::fuzz
