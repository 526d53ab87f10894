// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Choosing the Qt platform plugin before Qt does: Qt ends the whole process
// when the platform it picks cannot start, which a library must never let
// happen to its host.

#include <string>

#include "kxsimlib/status.h"

namespace kxsim::platform {

/// The platform to start Qt with (the value for "-platform", options
/// included): the first entry of QT_QPA_PLATFORM (entries are separated by
/// ";"), or of the desktop's default, whose plugin exists and which can start
/// here. Fails with error 429 naming each platform tried and why it cannot
/// start.
Status choosePlatform(std::string& chosen);

}  // namespace kxsim::platform
