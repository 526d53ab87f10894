// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The command line's way of asking: prompts on standard error, answers from
// the terminal with echo off, or from standard input when that is no terminal.

#include "card_session.h"

namespace kxsim::card {

class TerminalInteraction : public Interaction {
public:
    std::string askPin(const std::string& prompt) override;
    bool confirm(const std::string& question) override;
};

}  // namespace kxsim::card
