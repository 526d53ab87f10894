// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "core/settings_store.h"

#include <algorithm>
#include <string>

namespace kxsim::core {

std::optional<std::u16string> MemorySettingsStore::value(const std::u16string& key) const {
    auto it = values.find(key);
    if (it == values.end()) return std::nullopt;
    return it->second;
}

SettingsValues MemorySettingsStore::readKeys(std::initializer_list<std::u16string_view> keys) const {
    SettingsValues found;
    for (std::u16string_view key : keys)
        if (auto it = values.find(std::u16string(key)); it != values.end()) found.insert(*it);
    return found;
}

std::optional<std::u16string> SettingsSnapshot::value(const std::u16string& key) const {
    if (std::find(keys_.begin(), keys_.end(), key) == keys_.end()) return store_.value(key);
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

Status MemorySettingsStore::setValue(const std::u16string& key, const std::u16string& text) {
    if (failWrites) return *failWrites;
    values[key] = text;
    return {};
}

std::u16string ReadSetting(const SettingsReader& store, const std::u16string& key,
                           const std::u16string& fallback) {
    return store.value(key).value_or(fallback);
}

std::u16string ReadSetting(const SettingsReader& store, const std::u16string& key, int32_t fallback) {
    return store.value(key).value_or(DecimalText(fallback));
}

std::u16string ReadSetting(const SettingsReader& store, const settings::TextSetting& setting) {
    return ReadSetting(store, std::u16string(setting.key), std::u16string(setting.fallback));
}

std::u16string ReadSetting(const SettingsReader& store, const settings::NumberSetting& setting) {
    return ReadSetting(store, std::u16string(setting.key), setting.fallback);
}

Status WriteSetting(SettingsStore& store, const std::u16string& key, const std::u16string& text) {
    return store.setValue(key, text);
}

std::u16string DecimalText(int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace kxsim::core
