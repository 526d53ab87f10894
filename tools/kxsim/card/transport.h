// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// What the SIM commands need from a card reader: send one command APDU, get
// its response. The PC/SC reader is one; tests put a fake in its place.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kxsim::card {

using Bytes = std::vector<uint8_t>;

/// Why a card operation stopped. The message is for the user and never holds a PIN.
struct CardError : std::runtime_error {
    enum class Kind {
        Reader,   ///< PC/SC or the reader failed; no card answer
        Removed,  ///< the card left the reader (or was reset) during the session
        Card,     ///< the card answered with a status word that stops the command
        Answer,   ///< the card's answer is malformed (too short, wrong structure)
        Refused,  ///< the tool refuses before anything is sent (values, PIN tries)
    };
    CardError(Kind kind, const std::string& message) : std::runtime_error(message), kind(kind) {}
    Kind kind;
};
inline CardError refused(const std::string& why) { return CardError(CardError::Kind::Refused, why); }
inline CardError malformedAnswer(const std::string& what) { return CardError(CardError::Kind::Answer, what); }

class Transport {
public:
    virtual ~Transport() = default;
    /// The response (data and the two status bytes) to \a command; throws
    /// CardError (Reader, Removed) when there is none.
    virtual Bytes transmit(const Bytes& command) = 0;
    /// Has the reader take the PIN on its own keypad and send \a command
    /// (a VERIFY header) with it; the response as transmit gives it. Throws
    /// CardError (Refused) where the reader offers no such entry.
    virtual Bytes verifyOnKeypad(const Bytes& command);
    /// The reader's name for messages.
    virtual std::string name() const { return "the reader"; }
};

/// Bytes as upper-case hexadecimal without separators ("3F00").
std::string hex(const Bytes& bytes);

/// Overwrites \a secret with zeros through a volatile pointer, so the
/// compiler keeps the stores, then empties it.
void wipe(std::string& secret);
void wipe(Bytes& secret);

/// Wipes a secret when the scope ends, by return or by exception.
struct WipeOnExit {
    Bytes& secret;
    ~WipeOnExit() { wipe(secret); }
};

}  // namespace kxsim::card
