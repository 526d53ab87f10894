#include "services/settings.h"

#include "platform/settings_file_store.h"

namespace kxsim::tools {
namespace {

SettingsStore* g_override = nullptr;

}  // namespace

SettingsStore& currentSettingsStore() {
    static platform::SettingsFileStore perUser;
    return g_override ? *g_override : perUser;
}

ScopedSettingsStore::ScopedSettingsStore(SettingsStore& store) : previous_(g_override) {
    g_override = &store;
}

ScopedSettingsStore::~ScopedSettingsStore() { g_override = previous_; }

}  // namespace kxsim::tools
