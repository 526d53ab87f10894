// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Opening the library's help at a form's topic.

namespace kxsim::platform {
class Form;
}

namespace kxsim::services {

/// Opens the help file "kxhelpd.chm" of the library folder at the help
/// context number of \a form. The form stays open; nothing is reported.
void ShowHelp(platform::Form& form);

}  // namespace kxsim::services
