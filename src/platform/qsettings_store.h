#pragma once
// The per-user settings store on QSettings: $XDG_CONFIG_HOME/Tolvane/Kestrix.conf.

#include "services/settings_store.h"

namespace kxsim::platform {

class QSettingsStore : public tools::SettingsStore {
public:
    std::optional<std::u16string> value(const std::u16string& key) const override;
    Status setValue(const std::u16string& key, const std::u16string& text) override;
};

}  // namespace kxsim::platform
