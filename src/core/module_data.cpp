// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "core/module_data.h"

namespace kxsim::core {

std::u16string& languageFile() {
    thread_local std::u16string path;
    return path;
}

}  // namespace kxsim::core
