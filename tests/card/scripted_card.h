// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A card that plays answers written as hexadecimal text in the tests' tables.

#include <deque>
#include <string>
#include <vector>

#include "transport.h"

namespace kxsim::card::test {

inline Bytes fromHex(const std::string& text) {
    Bytes bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 2) bytes.push_back(uint8_t(std::stoi(text.substr(i, 2), nullptr, 16)));
    return bytes;
}

// Gives its answers in turn and keeps every command; with none left the card is gone.
struct ScriptedCard : Transport {
    std::deque<std::string> answers;
    std::vector<std::string> sent;
    Bytes transmit(const Bytes& command) override {
        sent.push_back(hex(command));
        if (answers.empty()) throw CardError(CardError::Kind::Removed, "the card was removed");
        Bytes answer = fromHex(answers.front());
        answers.pop_front();
        return answer;
    }
};

inline constexpr char kUsimAdf[] = "62248202782183027FFF840CA0000000871002FF49FF05898A0105C6099001C08301018301819000";

// A UICC opening its USIM: MF, EF DIR naming the USIM, the ADF (PIN and PIN2 enabled).
inline std::deque<std::string> usimOpening() {
    return {"6114", "62128202782183023F008A0105AB0580010190009000",
            "611B", "621982054221001C0183022F008A0105AB0580010190008002001C9000",
            "61144F0CA0000000871002FF49FF058950045553494DFFFFFFFFFFFF9000",
            "6126", kUsimAdf};
}

}  // namespace kxsim::card::test
