// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "card_app.h"

#include "gsm_sim.h"
#include "usim_app.h"

namespace kxsim::card {

std::unique_ptr<CardApp> openApplication(Transport& transport, AppChoice choice) {
    if (choice == AppChoice::Gsm) return std::make_unique<SimCard>(transport);
    if (choice == AppChoice::Usim) return std::make_unique<UsimApp>(transport);
    try {
        return std::make_unique<UsimApp>(transport);
    } catch (const NoUsim&) {
        // A card without a USIM is a GSM SIM; any other failure stays an error.
    }
    return std::make_unique<SimCard>(transport);
}

}  // namespace kxsim::card
