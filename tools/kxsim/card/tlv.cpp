// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "tlv.h"

#include <string>

namespace kxsim::card {

std::vector<Tlv> parseTlv(const Bytes& bytes, const char* what) {
    std::vector<Tlv> list;
    auto broken = [&](const char* why) {
        return CardError(CardError::Kind::Answer, std::string(what) + " is malformed: " + why + " (" + hex(bytes) + ")");
    };
    size_t at = 0;
    while (at < bytes.size() && bytes[at] != 0x00 && bytes[at] != 0xFF) {
        Tlv tlv;
        tlv.tag = bytes[at++];
        if ((tlv.tag & 0x1F) == 0x1F) {
            if (at >= bytes.size()) throw broken("a tag is cut off");
            tlv.tag = uint16_t(tlv.tag << 8 | bytes[at++]);
        }
        if (at >= bytes.size()) throw broken("a length is missing");
        size_t length = bytes[at++];
        if (length == 0x81 || length == 0x82) {
            const size_t count = length & 0x03;
            if (at + count > bytes.size()) throw broken("a length is cut off");
            length = 0;
            for (size_t i = 0; i < count; ++i) length = length << 8 | bytes[at++];
        } else if (length >= 0x80) {
            throw broken("a length form other than one to three bytes");
        }
        if (at + length > bytes.size()) throw broken("an object runs past the end");
        tlv.value.assign(bytes.begin() + long(at), bytes.begin() + long(at + length));
        at += length;
        list.push_back(std::move(tlv));
    }
    return list;
}

const Tlv* findTlv(const std::vector<Tlv>& list, uint16_t tag) {
    for (const Tlv& t : list)
        if (t.tag == tag) return &t;
    return nullptr;
}

}  // namespace kxsim::card
