// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The settings routines of the Tools module, on the store in force.

#include "core/settings_store.h"

namespace kxsim::services {

/// The store the dialogs use: the per-user store, unless a test put another in place.
core::SettingsStore& currentSettingsStore();

/// Puts \a store in place of the per-user store while it lives (tests, tools).
class ScopedSettingsStore {
public:
    explicit ScopedSettingsStore(core::SettingsStore& store);
    ~ScopedSettingsStore();
    ScopedSettingsStore(const ScopedSettingsStore&) = delete;
    ScopedSettingsStore& operator=(const ScopedSettingsStore&) = delete;

private:
    core::SettingsStore* previous_;
};

}  // namespace kxsim::services
