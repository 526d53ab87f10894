// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "services/settings.h"

#include "platform/settings_file_store.h"

namespace kxsim::services {
namespace {

core::SettingsStore* g_override = nullptr;

}  // namespace

core::SettingsStore& currentSettingsStore() {
    static platform::SettingsFileStore perUser;
    return g_override ? *g_override : perUser;
}

ScopedSettingsStore::ScopedSettingsStore(core::SettingsStore& store) : previous_(g_override) {
    g_override = &store;
}

ScopedSettingsStore::~ScopedSettingsStore() { g_override = previous_; }

}  // namespace kxsim::services
