// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The SIM's files this tool reads and writes (3GPP TS 51.011, section 10),
// and which elementary file each CloneOptions bit copies.

#include <cstdint>
#include <vector>

namespace kxsim::card {

inline constexpr uint16_t kMf = 0x3F00;
inline constexpr uint16_t kDfTelecom = 0x7F10;
inline constexpr uint16_t kDfGsm = 0x7F20;
inline constexpr uint16_t kEfIccid = 0x2FE2;  // in the MF
inline constexpr uint16_t kEfAcm = 0x6F39, kEfAcmMax = 0x6F37, kEfPuct = 0x6F41;
inline constexpr uint16_t kEfPlmnSel = 0x6F30, kEfFplmn = 0x6F7B;

/// One file of the clone options: its bit (the CloneOptions box index - 1),
/// the DF it lies in, its identifier and its name.
struct CloneFile {
    int bit;
    uint16_t df;
    uint16_t ef;
    const char* name;
};

/// In bit order: box 1 abbreviated numbers ... box 14 language preference.
const std::vector<CloneFile>& cloneFiles();

}  // namespace kxsim::card
