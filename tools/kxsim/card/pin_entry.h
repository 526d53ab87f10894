// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The workbench's PIN entry. A line edit would keep the digits in strings it
// grows and frees as they are typed; this field keeps them in a fixed buffer
// that is wiped, and shows only bullets.

#include <QString>
#include <string>

class QWidget;

namespace kxsim::tool {

/// Asks for a PIN in a modal window ("card-pin", its field "card-pin-field",
/// a password field taking up to eight digits). The PIN, or empty when the
/// window was cancelled; the caller wipes it.
std::string askPinInWindow(QWidget* parent, const QString& prompt);

}  // namespace kxsim::tool
