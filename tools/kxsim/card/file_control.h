// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// What a UICC tells of a file when it is selected (ETSI TS 102 221): the
// FCP template with its descriptor, identifier, size, life cycle, security
// attributes and, for a directory, the PIN status template.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "file_commands.h"
#include "tlv.h"

namespace kxsim::card {

/// A PIN's key reference (01 the application's PIN, 81 its PIN2, 11 the
/// universal PIN) and whether the card has it enabled.
struct KeyStatus {
    uint8_t key = 0;
    bool enabled = false;
    bool universalUsed = false;  ///< usage qualifier 08 before the universal PIN
};

/// Where the security attributes point or what they hold.
struct Security {
    enum class Form { None, Compact, Expanded, Referenced } form = Form::None;
    Bytes rule;          ///< compact (8C) or expanded (AB) contents
    uint16_t arr = 0;    ///< referenced (8B): EF ARR's identifier
    uint8_t record = 0;  ///< and its record for the security environment in use
};

struct FileControl {
    bool directory = false;
    EfInfo ef;                 ///< for an elementary file: identifier, size, structure, records
    Bytes aid;                 ///< an ADF's name (84)
    uint8_t lifeCycle = 0;     ///< 8A: 05/07 activated, 04/06 deactivated (invalidated)
    Security security;
    std::vector<KeyStatus> pins;  ///< C6 of a directory
    bool deactivated() const { return (lifeCycle & 0xFD) == 0x04; }
};

/// Reads an FCP template (tag 62); throws CardError (Answer) naming \a file
/// when it is none or lacks what a file needs.
FileControl parseFcp(const Bytes& fcp, const std::string& file);

/// The access levels (0 always, 1 PIN, 2 PIN2, 4 administrative, 15 never)
/// an access rule grants READ and UPDATE with: an expanded rule (EF ARR
/// record, AB) or a compact one (8C).
struct AccessLevels {
    Access read = 15, update = 15;
};
AccessLevels expandedAccess(const Bytes& rule);
AccessLevels compactAccess(const Bytes& rule);

/// The level a key reference stands for: 01-08 and 11 the PIN (1), 81-88 PIN2 (2), others administrative.
Access keyLevel(uint8_t key);

}  // namespace kxsim::card
