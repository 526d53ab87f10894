// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Keeping a translated form within reach: a long translation must not push
// the window off the screen.

class QWidget;

namespace kxsim::platform {

/// The widest a form may grow: its screen's available width, and offscreen
/// (where the screen is only notional) 1.5 times \a designWidth as well.
int widthLimit(const QWidget& window, int designWidth);

/// Shortens the texts of \a window's labels, buttons and frames until its
/// size hint is no wider than \a limit: labels wrap (or are elided when a
/// word does not fit), the others are elided. Every shortened control shows
/// its full text as its tooltip.
void fitToWidth(QWidget& window, int limit);

}  // namespace kxsim::platform
