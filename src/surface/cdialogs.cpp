// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "kxsimlib/cdialogs.h"

#include "core/module_data.h"
#include "platform/guarded.h"

namespace kxsim {

// The dialogs keep their state per thread in the module data; an object of its
// own leaves room for the class to grow without breaking hosts.
class CDialogsPrivate {};

CDialogs::CDialogs() : d(std::make_unique<CDialogsPrivate>()) {}
CDialogs::~CDialogs() = default;

Status CDialogs::Language(std::u16string& File) {
    return platform::guarded([&] {
        core::languageFile() = File;
        return Status();
    });
}

}  // namespace kxsim
