// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/help.h"

#include "platform/form.h"

namespace kxsim::services {

void ShowHelp(platform::Form& form) { form.showHelp(); }

}  // namespace kxsim::services
