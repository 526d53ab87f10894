#pragma once
// The settings routines of the Tools module, on the store in force.

#include "core/settings_store.h"

namespace kxsim::tools {

/// The store the dialogs use: the per-user store, unless a test put another in place.
SettingsStore& currentSettingsStore();

/// Puts \a store in place of the per-user store while it lives (tests, tools).
class ScopedSettingsStore {
public:
    explicit ScopedSettingsStore(SettingsStore& store);
    ~ScopedSettingsStore();
    ScopedSettingsStore(const ScopedSettingsStore&) = delete;
    ScopedSettingsStore& operator=(const ScopedSettingsStore&) = delete;

private:
    SettingsStore* previous_;
};

}  // namespace kxsim::tools
