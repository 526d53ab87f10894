// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// One card in use: its commands, how the user is asked for PINs and
// confirmations, and the secret codes verified so far.

#include <set>
#include <string>

#include "card_app.h"
#include "file_commands.h"

namespace kxsim::card {

/// How a task asks the user (terminal, workbench window, test script).
class Interaction {
public:
    virtual ~Interaction() = default;
    /// The PIN the user gives for \a prompt, or empty when none is given.
    /// The caller wipes it.
    virtual std::string askPin(const std::string& prompt) = 0;
    /// Yes or no to \a question.
    virtual bool confirm(const std::string& question) = 0;
};

struct SessionOptions {
    bool lastTry = false;  ///< VERIFY even when one try is left
    bool keypad = false;   ///< the PIN on the reader's keypad (LeserPinpad)
    AppChoice app = AppChoice::Auto;  ///< the USIM where there is one, else the GSM SIM
};

class CardSession {
public:
    /// Opens the application options.app asks for; throws CardError when the card has none.
    CardSession(Transport& transport, Interaction& user, SessionOptions options)
        : transport_(transport), app_(openApplication(transport, options.app)), user_(user), options_(options) {}

    CardApp& sim() { return *app_; }
    /// Asks the user \a question.
    bool confirm(const std::string& question) { return user_.confirm(question); }
    Transport& transport() { return transport_; }

    /// Checks that \a level can be met at all (not ADM, NEV or RFU); throws
    /// CardError (Refused) naming \a file and \a action ("update") otherwise.
    static void checkReachable(Access level, const std::string& file, const std::string& action);
    /// Verifies the code \a level asks for unless it is verified already or
    /// not needed (ALW, PIN disabled). Reads the tries left first and refuses
    /// at one unless lastTry; a wrong PIN stops with the tries left. Selects
    /// another file: the caller selects its file again afterwards.
    void unlock(Access level, const std::string& file, const std::string& action);

private:
    Transport& transport_;
    std::unique_ptr<CardApp> app_;
    Interaction& user_;
    SessionOptions options_;
    std::set<int> verified_;
};

}  // namespace kxsim::card
