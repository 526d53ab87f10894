// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The application on a card the tasks work with: the GSM SIM (class A0,
// 3GPP TS 51.011) or the USIM on a UICC (class 00, ETSI TS 102 221 and
// 3GPP TS 31.102). Both offer the same file commands and PIN levels.

#include <memory>
#include <string>
#include <vector>

#include "transport.h"

namespace kxsim::card {

struct EfInfo;

/// Which application a command uses: the USIM where the card has one (what
/// phones read), else the GSM SIM; or the one the user named with --app.
enum class AppChoice { Auto, Gsm, Usim };

/// A PIN level's state: whether the card asks for it at all, whether it is
/// set up, and the tries left.
struct CodeState {
    bool needed = true;
    bool initialised = true;
    int tries = 0;  // -1: the card gives no count (a USIM whose PIN is disabled or verified)
};

/// The directory that stands for the application in a path: DF GSM (7F20)
/// on a GSM SIM, the USIM's ADF (7FFF, its reserved identifier) on a UICC.
inline constexpr uint16_t kApplicationDir = 0x7FFF;

class CardApp {
public:
    virtual ~CardApp() = default;
    /// "GSM" or "USIM".
    virtual std::string name() const = 0;
    bool usim() const { return name() == "USIM"; }

    /// Selects the MF (or, for kApplicationDir, the application), each
    /// directory of \a dirs and then \a ef; what the card tells of it, its
    /// access levels included.
    virtual EfInfo selectPath(const std::vector<uint16_t>& dirs, uint16_t ef) = 0;
    virtual Bytes readBinary(uint32_t offset, uint32_t length) = 0;
    virtual void updateBinary(uint32_t offset, const Bytes& data) = 0;
    /// READ RECORD in absolute mode (record 1 of a cyclic file is the one updated last).
    virtual Bytes readRecord(uint8_t number, uint8_t length) = 0;
    /// UPDATE RECORD in absolute mode (linear fixed files).
    virtual void updateRecord(uint8_t number, const Bytes& data) = 0;
    /// UPDATE RECORD in previous mode: the oldest record of a cyclic file takes \a data and becomes record 1.
    virtual void updateCyclic(const Bytes& data) = 0;

    /// The state of level 1 (PIN) or 2 (PIN2), read from the card now.
    virtual CodeState codeState(int level) = 0;
    /// Verifies level \a level with \a pin, which is wiped whatever happens.
    /// True when accepted, false for a wrong PIN; throws CardError otherwise.
    virtual bool verify(int level, std::string& pin) = 0;
    /// The same with the PIN typed on the reader's keypad.
    virtual bool verifyOnKeypad(int level) = 0;
    /// The last file's name for messages ("EF 6F39").
    virtual const std::string& current() const = 0;
};

/// The application \a choice asks for on the card behind \a transport.
/// Throws CardError (Card) naming what the card lacks.
std::unique_ptr<CardApp> openApplication(Transport& transport, AppChoice choice);

}  // namespace kxsim::card
