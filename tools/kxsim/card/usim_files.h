// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The USIM's files this tool reads and writes (3GPP TS 31.102), the services
// of EF UST that offer them, and which file each CloneOptions bit copies on
// a USIM.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "transport.h"

namespace kxsim::card {

// Under ADF.USIM (the call meter and EF FPLMN have the GSM identifiers).
inline constexpr uint16_t kEfUst = 0x6F38, kEfPlmnWact = 0x6F60, kEfOplmnWact = 0x6F61, kEfLi = 0x6F05,
                          kEfCcp2 = 0x6F4F;
// The phonebook: DF PHONEBOOK under ADF.USIM (local) or under DF TELECOM (global), found through EF PBR.
inline constexpr uint16_t kDfPhonebook = 0x5F3A, kEfPbr = 0x4F30;
inline constexpr uint8_t kPbrAdn = 0xC0, kPbrExt1 = 0xC2;

/// EF UST's service numbers.
namespace service {
inline constexpr int kLocalPhonebook = 1, kFdn = 2, kExt2 = 3, kSms = 10, kSmsr = 11, kSmsp = 12, kAdviceOfCharge = 13,
                     kCcp2 = 14, kCbmi = 15, kPlmnWact = 20, kMsisdn = 21, kOplmnWact = 42;
}

/// Whether EF UST (\a table) offers service \a number: bit b1 of byte 1 is service 1.
bool serviceAvailable(const Bytes& table, int number);

/// How a file's content changes between a GSM SIM and a USIM.
enum class Conversion {
    None,
    Networks,    ///< EF PLMNsel (3 bytes an entry) and EF PLMNwAcT (5, with access technologies)
    Languages,   ///< EF LP (one cell broadcast language code each) and EF LI (two ISO 639 letters)
    Capability,  ///< EF CCP (14-byte records, 10 of them the bearer capability) and EF CCP2
};

/// Where a CloneOptions bit's file lies on a USIM.
struct UsimCounterpart {
    int bit;
    enum class Where { Application, Phonebook, None } where;
    uint16_t id;     ///< the EF under ADF.USIM, or its tag in EF PBR
    int service;     ///< the EF UST service that offers it; 0: always there
    Conversion conversion;
    const char* name;  ///< "PLMNwAcT"; for None the reason it has no counterpart
};

/// The counterpart of CloneOptions bit \a bit.
const UsimCounterpart& usimCounterpart(int bit);

/// A file's content converted from the GSM SIM's coding to the USIM's
/// (\a toUsim) or back, as records of \a recordLength bytes (or one
/// transparent body of \a size). Nothing, with \a why, when it does not fit.
std::optional<std::vector<Bytes>> convertContent(Conversion conversion, bool toUsim, const std::vector<Bytes>& source,
                                                 uint32_t size, uint8_t recordLength, const Bytes& targetBefore,
                                                 std::string& why);

/// An EF PBR record's first phonebook set: the identifier of the file with \a tag, or nothing.
std::optional<uint16_t> phonebookFile(const Bytes& pbrRecord, uint8_t tag);

}  // namespace kxsim::card
