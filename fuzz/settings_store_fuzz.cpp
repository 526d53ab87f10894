// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The per-user settings store on a file of arbitrary bytes: the dialogs' keys
// are read, one gets a new value, and a value reported stored reads back as
// it was written while the other keys keep theirs.

#include <stdlib.h>

#include <array>
#include <optional>

#include "fuzz_files.h"
#include "fuzz_input.h"
#include "services/settings.h"

using namespace kxsim;

namespace {

const std::array<std::u16string, 8> kKeys = {u"LeserName", u"LeserTimer", u"LeserPause", u"LeserPinpad",
                                             u"MagsMask",  u"MagsIds",    u"MagsPref",   u"MagsSuff"};

const fuzz::PrivateFolder& configHome() {
    static const fuzz::PrivateFolder folder;
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The store lies in $XDG_CONFIG_HOME/Tolvane/Kestrix.conf; set before Qt
    // first asks for it.
    ::setenv("XDG_CONFIG_HOME", configHome().path().c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const size_t written = in.byte() % kKeys.size();
    const std::u16string value = in.text(64);
    const std::u16string otherKey = in.text(16);
    configHome().write("Tolvane/Kestrix.conf", in.rest());

    core::SettingsStore& store = services::currentSettingsStore();
    std::array<std::optional<std::u16string>, kKeys.size()> before;
    for (size_t i = 0; i < kKeys.size(); ++i) before[i] = store.value(kKeys[i]);
    (void)core::ReadSetting(store, otherKey, u"fallback");

    if (!core::WriteSetting(store, kKeys[written], value)) {
        // A refused write leaves every value as it was.
        for (size_t i = 0; i < kKeys.size(); ++i)
            if (store.value(kKeys[i]) != before[i]) __builtin_trap();
        return 0;
    }
    for (size_t i = 0; i < kKeys.size(); ++i) {
        const std::optional<std::u16string> now = store.value(kKeys[i]);
        // A key a corrupt file hid may show once the write has rewritten it.
        if (i == written ? now != value : before[i] && now != before[i]) __builtin_trap();
    }
    return 0;
}
