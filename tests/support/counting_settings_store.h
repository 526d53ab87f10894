// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A settings store in memory that counts its reads, so a test can hold a
// dialog opening to one read of the store.

#include "core/settings_store.h"

namespace kxsim::test {

struct CountingSettingsStore : core::MemorySettingsStore {
    std::optional<std::u16string> value(const std::u16string& key) const override {
        ++reads;
        return MemorySettingsStore::value(key);
    }
    core::SettingsValues readKeys(std::initializer_list<std::u16string_view> keys) const override {
        ++reads;
        return MemorySettingsStore::readKeys(keys);
    }
    mutable int reads = 0;
};

}  // namespace kxsim::test
