// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The help context number of each dialog's topic. The numbers are written
// once, in the help project's map (help/context_map.h), which the help
// compiler reads too.

#include <cstdint>

#include "../../help/context_map.h"

namespace kxsim::help {

inline constexpr int32_t kCallMeter = IDH_CALL_METER;
inline constexpr int32_t kCloneOptions = IDH_CLONE_OPTIONS;
inline constexpr int32_t kShortMessage = IDH_SHORT_MESSAGE;
inline constexpr int32_t kNetworkList = IDH_NETWORK_LIST;
inline constexpr int32_t kCardReader = IDH_CARD_READER;
inline constexpr int32_t kMagneticStripe = IDH_MAGNETIC_STRIPE;
inline constexpr int32_t kConverter = IDH_CONVERTER;

}  // namespace kxsim::help
