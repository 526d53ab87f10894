// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// The card reader setup: a NUL-separated reader list from the host together
// with stored Leser* values, loaded, confirmed and loaded again.

#include "dialogs/card_reader/card_reader_model.h"
#include "fuzz_input.h"

using namespace kxsim;
using namespace std::string_literals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    core::MemorySettingsStore store;
    for (const char16_t* key : {u"LeserName", u"LeserTimer", u"LeserPause", u"LeserPinpad"})
        if (in.byte() & 1) store.values[key] = in.text(32);
    const uint8_t pick = in.byte();
    const std::u16string list = in.longText(2048);

    const std::vector<std::u16string> readers = dialogs::SplitReaderList(list);
    // n separators give n + 1 names, and joined again they are the list.
    std::u16string joined;
    for (size_t i = 0; i < readers.size(); ++i) joined += (i ? u"\0"s : u""s) + readers[i];
    if (joined != list) __builtin_trap();

    dialogs::CardReaderState state;
    if (!dialogs::LoadCardReader(state, list, store)) return 0;
    if (state.requestInterval < 0 || state.requestInterval > dialogs::kReaderSliderMax) __builtin_trap();
    if (state.waitBeforeFirst < 0 || state.waitBeforeFirst > dialogs::kReaderSliderMax) __builtin_trap();
    if (state.pinpad < 0 || state.pinpad > 2) __builtin_trap();
    if (state.readers != readers || state.selected.has_value() == readers.empty()) __builtin_trap();
    if (state.selected && *state.selected >= readers.size()) __builtin_trap();

    // The user picks an entry and confirms; the next load shows what was stored.
    if (!readers.empty()) state.selected = pick % readers.size();
    if (!dialogs::ConfirmCardReader(state, store)) __builtin_trap();
    dialogs::CardReaderState again;
    if (!dialogs::LoadCardReader(again, list, store)) __builtin_trap();
    if (again.prefName != state.prefName || again.requestInterval != state.requestInterval ||
        again.waitBeforeFirst != state.waitBeforeFirst || again.pinpad != state.pinpad)
        __builtin_trap();
    if (!readers.empty() && readers[*again.selected] != readers[*state.selected]) __builtin_trap();
    return 0;
}
