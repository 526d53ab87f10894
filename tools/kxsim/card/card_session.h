#pragma once
// One card in use: its commands, how the user is asked for PINs and
// confirmations, and the secret codes verified so far.

#include <set>
#include <string>

#include "gsm_sim.h"

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
};

class CardSession {
public:
    CardSession(Transport& transport, Interaction& user, SessionOptions options)
        : transport_(transport), sim_(transport), user_(user), options_(options) {}

    SimCard& sim() { return sim_; }
    /// Asks the user \a question.
    bool confirm(const std::string& question) { return user_.confirm(question); }
    Transport& transport() { return transport_; }
    /// The MF's answer: whether CHV1 is enabled, each code's tries left.
    DirInfo status() { return sim_.selectDir(0x3F00); }

    /// Checks that \a level can be met at all (not ADM, NEV or RFU); throws
    /// CardError (Refused) naming \a file and \a action ("update") otherwise.
    static void checkReachable(Access level, const std::string& file, const std::string& action);
    /// Verifies the code \a level asks for unless it is verified already or
    /// not needed (ALW, CHV1 disabled). Reads the tries left first and refuses
    /// at one unless lastTry; a wrong PIN stops with the tries left. Selects
    /// the MF: the caller selects its file again afterwards.
    void unlock(Access level, const std::string& file, const std::string& action);

private:
    Transport& transport_;
    SimCard sim_;
    Interaction& user_;
    SessionOptions options_;
    std::set<int> verified_;
};

}  // namespace kxsim::card
