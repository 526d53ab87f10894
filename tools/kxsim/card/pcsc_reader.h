// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A card in a PC/SC reader (pcsc-lite): the transport of the card commands.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "transport.h"

namespace kxsim::card {

/// How the reader is driven, as the reader setup (Kartenleser) stores it.
struct ReaderTiming {
    int pollMs = 500;   ///< LeserTimer: how often the reader is asked for a card
    int pauseMs = 0;    ///< LeserPause: wait between the card's arrival and the first command
    bool keypad = false;  ///< LeserPinpad: PIN on the reader's keypad
};

class PcscReader : public Transport {
public:
    /// Connects to the card in \a reader, asking every pollMs whether one is
    /// there for at most \a waitMs (0: ask once); then waits pauseMs. Throws
    /// CardError (Reader) for an unknown reader or no card; the PC/SC causes
    /// are worded by pcscError (pcsc.h).
    PcscReader(const std::string& reader, const ReaderTiming& timing, int waitMs);
    ~PcscReader() override;
    PcscReader(const PcscReader&) = delete;
    PcscReader& operator=(const PcscReader&) = delete;

    Bytes transmit(const Bytes& command) override;
    Bytes verifyOnKeypad(const Bytes& command) override;
    std::string name() const override { return reader_; }
    const Bytes& atr() const { return atr_; }
    const ReaderTiming& timing() const { return timing_; }

    /// Whether a card is in \a reader now (no connection made).
    static bool cardPresent(const std::string& reader);

private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    std::string reader_;
    ReaderTiming timing_;
    Bytes atr_;
};

}  // namespace kxsim::card
