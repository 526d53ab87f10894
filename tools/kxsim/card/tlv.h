// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The tag-length-value objects of a UICC's answers (FCP template, EF DIR,
// EF ARR, EF PBR): one- or two-byte tags, lengths of one to three bytes.

#include <cstdint>
#include <optional>
#include <vector>

#include "transport.h"

namespace kxsim::card {

struct Tlv {
    uint16_t tag = 0;  ///< one byte, or two when the first has its low five bits set (5F2D)
    Bytes value;
};

/// The objects of \a bytes one after another. Padding (00 or FF where a tag
/// would start) ends the list. Throws CardError (Answer) naming \a what when
/// an object runs past the end.
std::vector<Tlv> parseTlv(const Bytes& bytes, const char* what);

/// The first object tagged \a tag, or nothing.
const Tlv* findTlv(const std::vector<Tlv>& list, uint16_t tag);

}  // namespace kxsim::card
