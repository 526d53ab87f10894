// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The magnetic stripe framing: stored Mags* strings opened, the boxes edited
// with arbitrary text, confirmed and opened again.

#include "dialogs/magnetic_stripe/magnetic_stripe_model.h"
#include "fuzz_input.h"

using namespace kxsim;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    core::MemorySettingsStore store;
    for (const char16_t* key : {u"MagsMask", u"MagsIds", u"MagsPref", u"MagsSuff"})
        if (in.byte() & 1) store.values[key] = in.text(32);

    dialogs::MagnetState state = dialogs::OpenMagnet(store);
    for (size_t k = 0; k < dialogs::kTrackCount; ++k) {
        if (state.present[k] != 0 && state.present[k] != 1) __builtin_trap();
        if (state.trackIds[k].size() > 1) __builtin_trap();
    }

    // The user edits some boxes and confirms.
    const uint8_t edits = in.byte();
    for (size_t k = 0; k < dialogs::kTrackCount; ++k) {
        if (edits >> k & 1) state.trackIds[k] = in.text(4);
        if (edits >> (k + 3) & 1) state.present[k] = in.byte() % 3;
    }
    if (edits & 0x40) state.prefix = in.text(16);
    if (edits & 0x80) state.suffix = in.text(16);
    if (!dialogs::ConfirmMagnet(state, store)) __builtin_trap();
    if (state.magsIds.size() != dialogs::kTrackCount || state.magsMask < 0 || state.magsMask > 14)
        __builtin_trap();

    // Opened again, the dialog shows what was stored.
    const dialogs::MagnetState again = dialogs::OpenMagnet(store);
    if (again.magsIds != state.magsIds || again.magsMask != state.magsMask || again.prefix != state.prefix ||
        again.suffix != state.suffix)
        __builtin_trap();
    if (dialogs::MaskOfPresence(again.present) != (state.magsMask & 7)) __builtin_trap();
    return 0;
}
