// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The GSM SIM commands (class A0, 3GPP TS 51.011 section 9) over a transport:
// SELECT with GET RESPONSE and VERIFY CHV; the file commands are FileCommands'.

#include <cstdint>
#include <string>
#include <vector>

#include "file_commands.h"

namespace kxsim::card {

/// A secret code's status from the MF/DF response: initialised and the
/// number of false presentations remaining.
struct ChvState {
    bool initialised = false;
    int tries = 0;
};

/// What SELECT tells of the MF or a DF.
struct DirInfo {
    uint16_t id = 0;
    bool chv1Enabled = true;
    ChvState chv1, chv2;
};

/// A user-facing text for a status word ("9804: access condition not fulfilled, or a wrong PIN").
std::string statusText(uint16_t sw);

class SimCard : public FileCommands {
public:
    explicit SimCard(Transport& transport) : FileCommands(transport, 0xA0) {}

    std::string name() const override { return "GSM"; }
    DirInfo selectDir(uint16_t id);
    EfInfo selectEf(uint16_t id);
    /// Selects the MF, each DF of \a dirs (kApplicationDir is DF GSM) and then \a ef.
    EfInfo selectPath(const std::vector<uint16_t>& dirs, uint16_t ef) override;

    CodeState codeState(int level) override;
    /// VERIFY CHV \a chv (1 or 2) with \a pin, which is wiped whatever happens.
    /// True when accepted; false for a wrong PIN; throws CardError for a
    /// blocked or disabled code or any other answer.
    bool verify(int chv, std::string& pin) override;
    bool verifyOnKeypad(int chv) override;

protected:
    Answer send(const Bytes& command, const char* what) override;
    std::string describe(uint16_t sw) const override { return statusText(sw); }

private:
    Bytes selectRaw(uint16_t id);
};

/// The command VERIFY (PIN) as \a cla, \a ins 20, P2 \a key and the PIN
/// padded with FF to eight bytes, built in a buffer reserved once so that no
/// copy of the PIN is left behind by a reallocation. \a pin is wiped; unless
/// it was 4 to 8 digits, nothing is built and the tool refuses (CardError).
Bytes verifyCommand(uint8_t cla, uint8_t key, std::string& pin);

}  // namespace kxsim::card
