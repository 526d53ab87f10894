// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The small modal and audible answers a dialog gives: a message box, the
// system beep and an input box.

#include <QString>
#include <optional>

class QWidget;

namespace kxsim::platform {

/// A modal message box with the critical-error icon, an OK button and the default title.
void criticalMessage(const QString& text);

/// The system beep. Counted per thread, so tests can see that it sounded.
void beep();
int beepCount();

/// A modal input box ("InputBox"): \a prompt above a text field ("Text"), OK
/// and Cancel buttons with the texts given (translated by the caller), no
/// icons. Returns the text, or nothing when the user cancels it.
std::optional<QString> inputBox(QWidget* owner, const QString& prompt, const QString& title,
                                const QString& okText, const QString& cancelText);

}  // namespace kxsim::platform
