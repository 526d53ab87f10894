// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "sim_files.h"

namespace kxsim::card {

const std::vector<CloneFile>& cloneFiles() {
    static const std::vector<CloneFile> files{
        {0, kDfTelecom, 0x6F3A, "ADN"},       // abbreviated numbers
        {1, kDfTelecom, 0x6F3B, "FDN"},       // fixed numbers (PIN2)
        {2, kDfTelecom, 0x6F40, "MSISDN"},    // private numbers
        {3, kDfTelecom, 0x6F44, "LND"},       // dialled numbers (cyclic)
        {4, kDfTelecom, 0x6F3C, "SMS"},       // short messages
        {5, kDfTelecom, 0x6F4A, "EXT1"},      // extensions of ADN, MSISDN, LND
        {6, kDfTelecom, 0x6F4B, "EXT2"},      // extensions of FDN
        {7, kDfTelecom, 0x6F3D, "CCP"},       // capability configuration
        {8, kDfTelecom, 0x6F42, "SMSP"},      // SMS parameters
        {9, kDfTelecom, 0x6F47, "SMSR"},      // SMS status reports
        {10, kDfGsm, kEfPlmnSel, "PLMNsel"},  // preferred networks
        {11, kDfGsm, 0x6F45, "CBMI"},         // cell broadcast message identifiers
        {12, kDfGsm, kEfFplmn, "FPLMN"},      // forbidden networks
        {13, kDfGsm, 0x6F05, "LP"},           // language preference
    };
    return files;
}

}  // namespace kxsim::card
