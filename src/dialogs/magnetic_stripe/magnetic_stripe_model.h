// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The magnetic stripe framing: a prefix before the data, a suffix after it,
// and for each of the three tracks its identifier character and whether the
// data holds that track.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "kxsimlib/status.h"
#include "core/settings_store.h"

namespace kxsim::dialogs {

inline constexpr size_t kTrackCount = 3;

/// What the dialog shows and edits; the controls mirror it.
struct MagnetState {
    std::u16string magsIds;  ///< form member MagsIds: the identifiers handed back
    int32_t magsMask = 0;    ///< form member MagsMask: bit 0 track 1, bit 1 track 2, bit 2 track 3
    std::u16string prefix;   ///< text box MagsPref
    std::u16string suffix;   ///< text box MagsSuff
    std::array<std::u16string, kTrackCount> trackIds;  ///< text boxes TrackId1..3
    std::array<int, kTrackCount> present{};            ///< Check1..3: 0 cleared, 1 checked, 2 greyed
};

/// The check box states of a mask: box k is (mask / 2^(k-1), truncated toward
/// zero) AND 1. For the masks OK writes (0 to 7) these are its three low bits;
/// a negative mask keeps the truncating division ("-1" checks box 1 only).
std::array<int, kTrackCount> PresenceOfMask(int32_t mask);

/// The mask of the check box states: state 1 + 2 × state 2 + 4 × state 3, a
/// greyed box counting 2.
int32_t MaskOfPresence(const std::array<int, kTrackCount>& present);

/// The text of identifier box \a track (0-based): that character of \a ids, or
/// empty text beyond its end.
std::u16string IdentifierOf(std::u16string_view ids, size_t track);

/// The identifier string OK builds: "***" with each box's text laid over it
/// from the box's position on, cut at the end, so an empty box leaves its "*".
std::u16string OverlayIdentifiers(const std::array<std::u16string, kTrackCount>& boxes);

/// The stored presence mask: "MagsMask" read as a leading number and rounded
/// (halves to even). A value that does not fit a signed 32-bit number counts
/// as absent, giving 15.
int32_t StoredMagsMask(const core::SettingsReader& store);

/// Opens the dialog from the stored "MagsMask", "MagsIds", "MagsPref" and
/// "MagsSuff" (defaults 15, "{|}", empty, empty), all from one read of \a store.
MagnetState OpenMagnet(const core::SettingsStore& store);

/// OK: rebuilds MagsIds and MagsMask from the controls' values in \a state and
/// stores all four settings. Every write is tried even when one before it
/// failed; a failure names the settings that were not stored and carries the
/// first failure's number and reason.
Status ConfirmMagnet(MagnetState& state, core::SettingsStore& store);

}  // namespace kxsim::dialogs
