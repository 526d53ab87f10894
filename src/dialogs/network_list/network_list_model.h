// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The network list: an ordered list of numeric keys, such as the network codes
// of a SIM card's preferred networks list, picked from the keys of an INI
// section whose values are their display texts.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "kxsimlib/status.h"

namespace kxsim::dialogs {

/// The key names of a section are read into a buffer of this many characters.
inline constexpr size_t kKeyNameBuffer = 20000;
/// Each value is read into a buffer of this many characters.
inline constexpr size_t kValueBuffer = 80;
/// So a display text holds at most this many characters.
inline constexpr size_t kDisplayLimit = kValueBuffer - 1;

/// One entry of either list: the text shown and the numeric key beside it.
/// Every output is built from the keys; the text is only shown.
struct NetworkEntry {
    std::u16string text;
    int32_t key = 0;
    friend bool operator==(const NetworkEntry&, const NetworkEntry&) = default;
};

/// The INI section the lists are filled from.
class NetworkSection {
public:
    virtual ~NetworkSection() = default;
    /// The key names in file order, as many as fit \a bufferSize characters
    /// (each name and a NUL, plus a final NUL).
    virtual std::vector<std::u16string> keyNames(size_t bufferSize) const = 0;
    /// The value of \a key, at most \a bufferSize - 1 characters, or \a fallback
    /// when the file, the section or the key is missing.
    virtual std::u16string value(std::u16string_view key, std::u16string_view fallback,
                                 size_t bufferSize) const = 0;
};

/// The two lists and their selected entries.
struct NetworkLists {
    std::vector<NetworkEntry> available;  ///< List1: every key of the section, in file order
    std::vector<NetworkEntry> selected;   ///< List2: the list being edited, in its order
    std::optional<size_t> availableRow;   ///< the selected entry of List1
    std::optional<size_t> selectedRow;    ///< the selected entry of List2
};

/// One token of a key list: the INI key name exactly as given, and its number.
struct KeyToken {
    std::u16string name;
    int32_t key = 0;
    friend bool operator==(const KeyToken&, const KeyToken&) = default;
};

/// The numeric key of a key name, token or typed number: the number at its
/// start, rounded halves to even ("00101" is 101, "12.5" is 12, "abc" is 0);
/// nothing when it does not fit a signed 32-bit number.
std::optional<int32_t> NumericKey(std::u16string_view text);

/// The tokens of a ";"-separated key list, up to the first empty token (a
/// trailing ";" is harmless, whatever follows ";;" is ignored). A token whose
/// number does not fit a signed 32-bit number fails with error 6 (Overflow)
/// and leaves \a tokens empty.
Status ReadKeyList(const std::u16string& keys, std::vector<KeyToken>& tokens);

/// The key list of \a entries, top to bottom: each key in decimal followed by
/// ";" ("12345;678;"); no entries give the empty string.
std::u16string KeyListText(const std::vector<NetworkEntry>& entries);

/// Fills both lists afresh, with no entry selected. Available: every key name
/// up to the first empty one, with its value (empty when it has none); a name
/// whose number does not fit a signed 32-bit number is skipped. Selected: each
/// token of \a selectedKeys with its value, or "? " and the token when the
/// section does not list it. Texts are cut to 79 characters. Fails as
/// ReadKeyList does, leaving \a lists empty.
Status FillNetworkLists(NetworkLists& lists, const NetworkSection& section,
                        const std::u16string& selectedKeys);
/// As FillNetworkLists, with the key list already read by ReadKeyList.
void FillNetworkLists(NetworkLists& lists, const NetworkSection& section, const std::vector<KeyToken>& selected);

/// What an operation did to the Selected list, for the view to follow.
struct ListChange {
    enum class Kind {
        None,      ///< nothing changed
        Full,      ///< Add refused: the list holds the maximum (sound the beep)
        Appended,  ///< an entry was appended at the end
        Removed,   ///< the entry at `from` was deleted; none is selected
        Moved,     ///< the entry at `from` now stands, selected, at `to`
    };
    Kind kind = Kind::None;
    size_t from = 0;
    size_t to = 0;
    friend bool operator==(const ListChange&, const ListChange&) = default;
};

/// Add: a copy of the selected Available entry at the end of the Selected
/// list. A Selected list of \a maxSelect or more entries refuses (Full), even
/// without a selection; with no Available entry selected nothing happens.
ListChange AddNetwork(NetworkLists& lists, int32_t maxSelect);

/// Remove: deletes the selected Selected entry.
ListChange RemoveNetwork(NetworkLists& lists);

/// Higher: moves the selected Selected entry up one place, unless it is the top one.
ListChange MoveNetworkHigher(NetworkLists& lists);

/// Lower: moves the selected Selected entry down one place, unless it is the last one.
ListChange MoveNetworkLower(NetworkLists& lists);

/// What the system's number format adds to a typed number.
struct NumberFormat {
    std::u16string groupSeparator = u",";
    std::u16string currencySymbol = u"$";
};

/// True when \a reply as a whole reads as a number: blanks around an optional
/// sign, digits (with digit-group separators after the first digit), an
/// optional decimal part after "." and an optional exponent (E or D, optional
/// sign, digits); a currency symbol may stand before or after the sign or at
/// the end.
bool IsNumberReply(std::u16string_view reply, const NumberFormat& format = {});

/// Input...: appends "? " and \a reply exactly as typed, with the reply's
/// numeric key. An empty reply, one that does not read as a number as a whole
/// and one whose number does not fit a signed 32-bit number append nothing.
/// Neither the maximum nor duplicates are checked.
ListChange InputNetwork(NetworkLists& lists, std::u16string_view reply, const NumberFormat& format = {});

}  // namespace kxsim::dialogs
