// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The status words of a UICC (class 00, ETSI TS 102 221) as sentences for the user.

#include <cstdint>
#include <string>

namespace kxsim::card {

/// "6982: security status not satisfied: the file needs a PIN that was not verified".
std::string uiccStatusText(uint16_t sw);

}  // namespace kxsim::card
