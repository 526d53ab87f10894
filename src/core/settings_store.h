// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The per-user settings store as the dialogs see it: text values under the
// library's application "Tolvane" and section "Kestrix", one per key.

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/settings_keys.h"
#include "kxsimlib/status.h"

namespace kxsim::core {

/// Stored texts by key.
using SettingsValues = std::map<std::u16string, std::u16string>;

/// Where a dialog reads its settings.
class SettingsReader {
public:
    virtual ~SettingsReader() = default;
    /// The stored text, or nothing when the key is absent or the store unreadable.
    virtual std::optional<std::u16string> value(const std::u16string& key) const = 0;
};

class SettingsStore : public SettingsReader {
public:
    /// The stored texts of \a keys, from one read of the store (none when unreadable).
    virtual SettingsValues readKeys(std::initializer_list<std::u16string_view> keys) const = 0;
    /// Stores \a text; a failure says why the value could not be kept.
    virtual Status setValue(const std::u16string& key, const std::u16string& text) = 0;
};

/// The dialog's keys as one read of the store found them. A dialog takes one
/// when it opens, so all its settings cost one read and come from one state
/// of the store; nothing outlives it, so the next opening sees what was
/// stored meanwhile. A key not named here is read from the store itself.
class SettingsSnapshot : public SettingsReader {
public:
    SettingsSnapshot(const SettingsStore& store, std::initializer_list<std::u16string_view> keys)
        : store_(store), keys_(keys.begin(), keys.end()), values_(store.readKeys(keys)) {}
    std::optional<std::u16string> value(const std::u16string& key) const override;

private:
    const SettingsStore& store_;
    std::vector<std::u16string_view> keys_;
    SettingsValues values_;
};

/// A store in memory, for tests and tools.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::u16string> value(const std::u16string& key) const override;
    SettingsValues readKeys(std::initializer_list<std::u16string_view> keys) const override;
    Status setValue(const std::u16string& key, const std::u16string& text) override;

    SettingsValues values;
    /// When set, every write fails with this status.
    std::optional<Status> failWrites;
};

/// The stored text of \a key, or \a fallback when there is none.
std::u16string ReadSetting(const SettingsReader& store, const std::u16string& key,
                           const std::u16string& fallback = {});
/// The stored text of \a key, or \a fallback as decimal digits when there is none.
std::u16string ReadSetting(const SettingsReader& store, const std::u16string& key, int32_t fallback);
/// The stored text of \a setting, or its fallback when there is none.
std::u16string ReadSetting(const SettingsReader& store, const settings::TextSetting& setting);
/// The stored text of \a setting, or its fallback as decimal digits when there is none.
std::u16string ReadSetting(const SettingsReader& store, const settings::NumberSetting& setting);
/// Stores \a text under \a key.
Status WriteSetting(SettingsStore& store, const std::u16string& key, const std::u16string& text);

/// Decimal text of a number, as settings and fields store numbers.
std::u16string DecimalText(int64_t value);

}  // namespace kxsim::core
