// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "transport.h"

namespace kxsim::card {

Bytes Transport::verifyOnKeypad(const Bytes&) {
    throw CardError(CardError::Kind::Refused, name() + " offers no PIN entry on a keypad");
}

std::string hex(const Bytes& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (uint8_t b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 0x0F];
    }
    return text;
}

namespace {
template <class T>
void zero(T& buffer) {
    volatile auto* p = reinterpret_cast<volatile unsigned char*>(buffer.data());
    for (size_t i = 0; i < buffer.size() * sizeof(buffer[0]); ++i) p[i] = 0;
    buffer.clear();
    buffer.shrink_to_fit();
}
}  // namespace

void wipe(std::string& secret) { zero(secret); }
void wipe(Bytes& secret) { zero(secret); }

}  // namespace kxsim::card
