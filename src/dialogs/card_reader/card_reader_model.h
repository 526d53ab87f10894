// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The card reader setup: which reader, how often to ask it for a card, how
// long to wait before the first command, and PIN entry on its keypad.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kxsimlib/status.h"
#include "core/settings_store.h"

namespace kxsim::dialogs {

inline constexpr int32_t kReaderSliderMax = 3000;     // milliseconds
inline constexpr int32_t kReaderSliderStep = 250;
inline constexpr int32_t kMinRequestInterval = 300;   // raised to this on OK

/// What the dialog shows and edits; the controls mirror it.
struct CardReaderState {
    std::u16string prefName;          ///< the reader name handed back
    int32_t requestInterval = 0;      ///< slider PrefTime, milliseconds
    int32_t waitBeforeFirst = 0;      ///< slider PrefWait, milliseconds
    int pinpad = 0;                   ///< check box PrefPinp: 0 cleared, 1 checked, 2 greyed
    std::vector<std::u16string> readers;  ///< PrefList entries, in order
    std::optional<size_t> selected;       ///< the selected entry
};

/// The reader names of a NUL-separated list. An empty list has none; otherwise
/// n separators give n + 1 names, empty ones (from adjacent, leading or
/// trailing separators) included.
std::vector<std::u16string> SplitReaderList(std::u16string_view list);

/// The entry to select: the last one equal to \a name (exact, case-sensitive),
/// else 0.
size_t PreferredReader(const std::vector<std::u16string>& readers, std::u16string_view name);

/// Loads the dialog from the stored "LeserName", "LeserTimer", "LeserPause" and
/// "LeserPinpad" (one read of \a store) and the reader list. A stored number that does not fit its
/// control fails the load: the steps after it are skipped and \a state keeps
/// what the steps before it set. Slider values are held within 0..3000.
Status LoadCardReader(CardReaderState& state, std::u16string_view readerList,
                      const core::SettingsStore& store);

/// OK: takes the selected entry as the name, raises the request interval to
/// 300, and stores the four values. Each write is tried even when one before
/// it failed; the first failure is returned.
Status ConfirmCardReader(CardReaderState& state, core::SettingsStore& store);

}  // namespace kxsim::dialogs
