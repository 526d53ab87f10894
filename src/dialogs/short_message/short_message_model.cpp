// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/short_message/short_message_model.h"

#include <algorithm>
#include <limits>
#include <string>

namespace kxsim::dialogs {
namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string decimalKey(int n) {
    std::u16string key;
    for (char c : std::to_string(n)) key += static_cast<char16_t>(c);
    return key;
}

}  // namespace

std::optional<int32_t> ParseValidityValue(std::u16string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == u'+' || text.front() == u'-')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // The magnitude, in 64 bits so -2147483648 can be told from an overflow.
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > kLimit) return std::nullopt;
    }
    if (negative) return static_cast<int32_t>(-value);
    if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(value);
}

ValidityEntry ParseValidityEntry(std::u16string_view value) {
    const size_t comma = value.find(u',');
    if (comma == std::u16string_view::npos) return {std::u16string(value), 0};
    std::u16string_view second = value.substr(comma + 1);
    second = second.substr(0, second.find(u','));  // further parts are ignored
    return {std::u16string(value.substr(0, comma)), ParseValidityValue(second).value_or(0)};
}

std::vector<ValidityEntry> ReadValidityList(const ProfileLookup& lookup) {
    std::vector<ValidityEntry> entries;
    for (int n = 1; n <= kMaxValidityEntries; ++n) {
        const std::u16string value = lookup(decimalKey(n));
        if (value.empty()) break;  // a gap in the numbering ends the list
        entries.push_back(ParseValidityEntry(value));
    }
    return entries;
}

bool ShortMessageModeState::shows(std::u16string_view name) const {
    const auto listed = [name](const auto& list) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    if (listed(kStatusModeControls)) return mode_ == ShortMessageMode::Status;
    if (listed(kNameModeControls)) return mode_ == ShortMessageMode::Name;
    return true;
}

}  // namespace kxsim::dialogs
