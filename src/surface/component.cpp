// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The registration file's place.

#include "kxsimlib/component.h"
#include "platform/component_registry.h"

namespace kxsim {

std::string registrationFile() { return platform::registrationFilePath(); }

}  // namespace kxsim
