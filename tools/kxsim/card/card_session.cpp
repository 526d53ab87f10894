// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "card_session.h"

namespace kxsim::card {

namespace {
std::string pinName(int chv) { return chv == 1 ? "PIN" : "PIN2"; }
}  // namespace

void CardSession::checkReachable(Access level, const std::string& file, const std::string& action) {
    if (level <= 2) return;
    throw refused("the card allows no " + action + " of " + file + " (access " + accessName(level) +
                  ", for the issuer only); nothing was written");
}

void CardSession::unlock(Access level, const std::string& file, const std::string& action) {
    checkReachable(level, file, action);
    const int chv = level;
    if (chv == 0 || verified_.count(chv)) return;
    const CodeState state = app_->codeState(chv);
    if (!state.needed) return;
    const std::string reader = transport_.name();
    if (!state.initialised) throw refused(pinName(chv) + " is not set up on the card in \"" + reader + "\"");
    if (state.tries == 0)
        throw refused(pinName(chv) + " of the card in \"" + reader +
                      "\" is blocked; only its unblocking code (PUK) frees it. Nothing was written");
    if (state.tries == 1 && !options_.lastTry)
        throw refused("only one try is left for " + pinName(chv) + " of the card in \"" + reader +
                      "\": a wrong PIN would block it. Nothing was sent; give --last-try to try anyway");
    bool accepted = false;
    if (options_.keypad) {
        accepted = app_->verifyOnKeypad(chv);
    } else {
        std::string pin = user_.askPin(pinName(chv) + " of the card in \"" + reader + "\" (to " + action + " " + file +
                                       ", " + std::to_string(state.tries) + " tries left)");
        if (pin.empty()) throw refused("no " + pinName(chv) + " given; nothing was written");
        accepted = app_->verify(chv, pin);  // wipes pin
    }
    if (!accepted) {
        const int left = app_->codeState(chv).tries;
        throw refused("wrong " + pinName(chv) + " for the card in \"" + reader + "\": " + std::to_string(left) +
                      (left == 1 ? " try" : " tries") + " left. Nothing was written");
    }
    verified_.insert(chv);
}

}  // namespace kxsim::card
