// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Making sure a dialog can be shown: a QApplication on this thread, created on
// first need, and a display it can reach.

#include <string>
#include <vector>

#include "kxsimlib/status.h"

namespace kxsim::platform {

/// Success when widgets may be used on the calling thread now. Creates the
/// QApplication when the host has none, on the platform choosePlatform
/// picked. Fails with error 429, without touching Qt, when no platform can
/// start or when called off the application's thread.
Status ensureGuiThread();

/// Options for Qt ("-style", "Fusion", ...) that the QApplication
/// ensureGuiThread creates is given after the program name. A program that
/// hands its users' Qt options on calls this before the first dialog.
void setApplicationArguments(std::vector<std::string> arguments);

}  // namespace kxsim::platform
