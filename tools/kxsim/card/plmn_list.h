// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A network list as a card file holds it: entries of three bytes (EF PLMNsel,
// EF FPLMN) or of five, the network and its access technologies (EF PLMNwAcT,
// EF OPLMNwACT), and the way back from the keys the network dialog returns.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "transport.h"

namespace kxsim::card {

struct PlmnEntry {
    std::string key;   ///< MCC and MNC as digits ("00101")
    uint16_t act = 0;  ///< the two access technology bytes, first byte high
};

/// What a new entry of a list with access technologies gets: UTRAN, E-UTRAN
/// and NG-RAN in the first byte, GSM in the second (C8 80), the terrestrial
/// networks a phone of today selects; a kept entry keeps its own bytes.
inline constexpr uint16_t kDefaultAct = 0xC880;

/// The used entries of \a content (\a entrySize 3 or 5), empty ones skipped;
/// throws CardError (Answer) for an entry that holds no MCC/MNC.
std::vector<PlmnEntry> decodePlmnList(const Bytes& content, size_t entrySize);

/// The access technologies as words ("UTRAN, E-UTRAN, GSM"), or "none".
std::string actText(uint16_t act);

/// The card's key for \a token as the network dialog gives it back. The
/// dialog reads keys as numbers, so "00101" comes back as "101": a token is
/// matched by its number against \a known (the card's keys, then the
/// operator file's), else taken as it is when it has five or six digits.
/// Nothing, with \a why, when it is no network code.
std::optional<std::string> cardKey(std::u16string_view token, const std::vector<std::string>& known, std::string& why);

/// The file's new content: \a keys in order, padded with empty entries to
/// \a size. With access technologies, an entry already in \a before keeps
/// its bytes and a new one gets kDefaultAct. Nothing, with \a why, when a
/// key is no network code or the list does not fit.
std::optional<Bytes> encodePlmnList(const std::vector<std::string>& keys, const std::vector<PlmnEntry>& before,
                                    size_t entrySize, size_t size, std::string& why);

}  // namespace kxsim::card
