// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Every key the dialogs keep in the per-user settings store, with the value a
// read gives when the key is absent.

#include <cstdint>
#include <string_view>

namespace kxsim::settings {

/// A setting stored as text.
struct TextSetting {
    std::u16string_view key;
    std::u16string_view fallback;
};

/// A setting stored as decimal text of a number.
struct NumberSetting {
    std::u16string_view key;
    int32_t fallback;
};

// Card reader (Kartenleser).
inline constexpr TextSetting kReaderName{u"LeserName", u""};
inline constexpr NumberSetting kReaderTimer{u"LeserTimer", 500};
inline constexpr NumberSetting kReaderPause{u"LeserPause", 0};
inline constexpr NumberSetting kReaderPinpad{u"LeserPinpad", 0};

// Magnetic stripe options (MagnetOptions). The identifiers: track 1 "{",
// track 2 "|", track 3 "}"; the mask: bits 0 to 3, only the low three show.
inline constexpr TextSetting kMagnetIds{u"MagsIds", u"{|}"};
inline constexpr NumberSetting kMagnetMask{u"MagsMask", 15};
inline constexpr TextSetting kMagnetPrefix{u"MagsPref", u""};
inline constexpr TextSetting kMagnetSuffix{u"MagsSuff", u""};

}  // namespace kxsim::settings
