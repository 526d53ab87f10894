// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The per-user settings store: $XDG_CONFIG_HOME/Tolvane/Kestrix.conf, in
// QSettings' native format (see platform/settings_ini.h).

#include <cstddef>

#include "core/settings_store.h"

namespace kxsim::platform {

/// A larger store is not read: reads give the defaults, writes are refused.
inline constexpr size_t kMaxSettingsFileSize = 1024 * 1024;

/// Every read reads the file (value: one key, readKeys: several at once), so a
/// value another process stored is seen at the next read. A write changes one
/// key under a lock beside the file and replaces the file whole (a new file,
/// then a rename): a crash or a full disk leaves the last complete store, and
/// a refused write changes nothing.
class SettingsFileStore : public core::SettingsStore {
public:
    std::optional<std::u16string> value(const std::u16string& key) const override;
    core::SettingsValues readKeys(std::initializer_list<std::u16string_view> keys) const override;
    Status setValue(const std::u16string& key, const std::u16string& text) override;
};

}  // namespace kxsim::platform
