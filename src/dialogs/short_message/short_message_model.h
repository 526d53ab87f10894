// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The short message record form: its two modes, its status items and the
// validity list taken from section "SMS_VP" of the mobile profile file.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kxsim::dialogs {

/// The section of the mobile profile file that lists the validity periods.
inline constexpr std::u16string_view kValiditySection = u"SMS_VP";
/// The highest key of the validity list; keys run "1", "2", ... up to it.
inline constexpr int kMaxValidityEntries = 100;

/// The items of CboStatus, in order; list items are never translated.
inline constexpr std::array<std::u16string_view, 4> kStatusItems = {
    u"empfangen", u"zu lesen", u"gesendet", u"zu senden"};

/// One entry of CboValid: the text shown and the item value kept with it.
struct ValidityEntry {
    std::u16string label;
    int32_t value = 0;
    friend bool operator==(const ValidityEntry&, const ValidityEntry&) = default;
};

/// An entry of the validity list from its profile value "label,number". Only
/// the first two comma-separated parts count. The label is the first part as
/// it stands; the value is the second part read as a signed 32-bit decimal
/// integer (blanks around it allowed). Without a comma, or when the second part
/// is not such a number, the label stays and the value is 0.
ValidityEntry ParseValidityEntry(std::u16string_view value);

/// The second part of a validity entry as a number, or nothing when it is not
/// a signed 32-bit decimal integer.
std::optional<int32_t> ParseValidityValue(std::u16string_view text);

/// Reads the value of one profile key ("1" .. "100"); empty when absent.
using ProfileLookup = std::function<std::u16string(const std::u16string& key)>;

/// The validity list: keys "1" to "100" read in turn through \a lookup, the
/// list ending at the first empty value. A missing file or section gives an
/// empty list.
std::vector<ValidityEntry> ReadValidityList(const ProfileLookup& lookup);

/// What the form holds: the record a caller inside the library sets and reads.
struct ShortMessageContents {
    std::u16string name;           ///< TxtName
    int statusIndex = -1;          ///< CboStatus: the chosen item, -1 for none
    std::u16string address;        ///< TxtAddress: the dialling number
    int validityIndex = -1;        ///< CboValid: the chosen entry, -1 for none
    ValidityEntry validity;        ///< CboValid: the chosen entry's label and item value
    std::u16string center;         ///< TxtCenter: the service centre number
    std::u16string text;           ///< TxtData: the message text
    int report = 0;                ///< ChkReport: 0 cleared, 1 checked, 2 greyed
};

/// Status mode edits a received or sent message; name mode a stored number.
enum class ShortMessageMode { Status, Name };

/// The controls only status mode shows.
inline constexpr std::array<std::u16string_view, 5> kStatusModeControls = {
    u"LblData", u"TxtData", u"LblStatus", u"CboStatus", u"ChkReport"};
/// The controls only name mode shows, in the place of LblStatus and CboStatus.
inline constexpr std::array<std::u16string_view, 2> kNameModeControls = {u"LblName", u"TxtName"};

/// The mode of a loaded form: status mode at load, name mode for good once the
/// name has changed.
class ShortMessageModeState {
public:
    ShortMessageMode mode() const { return mode_; }
    /// Any change of the name moves to name mode. True when this changed the mode.
    bool nameChanged() {
        if (mode_ == ShortMessageMode::Name) return false;
        mode_ = ShortMessageMode::Name;
        return true;
    }
    /// Whether the control \a name is shown in the current mode; the controls
    /// of neither list are shown in both.
    bool shows(std::u16string_view name) const;

private:
    ShortMessageMode mode_ = ShortMessageMode::Status;
};

}  // namespace kxsim::dialogs
