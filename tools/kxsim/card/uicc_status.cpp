// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "uicc_status.h"

#include <cstdio>

namespace kxsim::card {

std::string uiccStatusText(uint16_t sw) {
    char code[8];
    std::snprintf(code, sizeof code, "%04X", unsigned(sw));
    const uint8_t sw1 = sw >> 8, sw2 = sw & 0xFF;
    std::string text;
    switch (sw) {
    case 0x6281: text = "part of the returned data may be corrupted"; break;
    case 0x6282: text = "the end of the file or record came before the bytes asked for"; break;
    case 0x6283: text = "the selected file is invalidated (deactivated)"; break;
    case 0x6581: text = "memory problem: the card could not store the data"; break;
    case 0x6700: text = "wrong length"; break;
    case 0x6981: text = "the command does not fit the file's structure"; break;
    case 0x6982: text = "security status not satisfied: the file needs a PIN that was not verified"; break;
    case 0x6983: text = "the PIN is blocked; only its unblocking code (PUK) frees it"; break;
    case 0x6984: text = "the referenced data is invalidated"; break;
    case 0x6985: text = "the conditions of use are not satisfied"; break;
    case 0x6986: text = "command not allowed: no file is selected"; break;
    case 0x6A80: text = "the data sent is wrong"; break;
    case 0x6A81: text = "the card does not offer this function"; break;
    case 0x6A82: text = "file or application not found"; break;
    case 0x6A83: text = "record not found"; break;
    case 0x6A84: text = "not enough memory space in the file"; break;
    case 0x6A86: text = "wrong parameter P1 or P2"; break;
    case 0x6A88: text = "the referenced data (a PIN) is not on the card"; break;
    case 0x6B00: text = "wrong parameter P1 or P2 (out of the file)"; break;
    case 0x6D00: text = "the card does not know this instruction"; break;
    case 0x6E00: text = "the card does not take this class of command"; break;
    case 0x6F00: text = "technical problem, no diagnosis given"; break;
    case 0x9862: text = "authentication error"; break;
    default: break;
    }
    if (text.empty()) {
        if (sw1 == 0x63 && (sw2 & 0xF0) == 0xC0)
            text = "verification failed, " + std::to_string(sw2 & 0x0F) + ((sw2 & 0x0F) == 1 ? " try" : " tries") + " left";
        else if (sw1 == 0x6C)
            text = "wrong length; the card has " + std::to_string(sw2) + " bytes";
        else if (sw1 == 0x61)
            text = std::to_string(sw2) + " response bytes wait to be fetched";
        else
            text = "a status word this tool does not know";
    }
    return std::string(code) + ": " + text;
}

}  // namespace kxsim::card
