// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The workbench's page for a SIM card in a PC/SC reader.

class QButtonGroup;
class QPlainTextEdit;
class QStackedWidget;
class QVBoxLayout;

namespace kxsim::tool {

/// Adds the card page to the workbench: a button in \a buttons (checkable, in
/// \a group) and its page in \a pages; each task's outcome goes to \a log.
void addCardPage(QButtonGroup& group, QVBoxLayout& buttons, QStackedWidget& pages, QPlainTextEdit* log);

}  // namespace kxsim::tool
