// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/magnetic_stripe/magnetic_stripe_model.h"

#include <algorithm>

#include "services/leading_number.h"

namespace kxsim::dialogs {
std::array<int, kTrackCount> PresenceOfMask(int32_t mask) {
    std::array<int, kTrackCount> present{};
    int32_t divisor = 1;
    for (size_t k = 0; k < kTrackCount; ++k, divisor *= 2)
        present[k] = static_cast<int>((mask / divisor) & 1);  // C++ division truncates toward zero
    return present;
}

int32_t MaskOfPresence(const std::array<int, kTrackCount>& present) {
    return present[0] + 2 * present[1] + 4 * present[2];
}

std::u16string IdentifierOf(std::u16string_view ids, size_t track) {
    return track < ids.size() ? std::u16string(1, ids[track]) : std::u16string();
}

std::u16string OverlayIdentifiers(const std::array<std::u16string, kTrackCount>& boxes) {
    std::u16string ids(kTrackCount, u'*');
    for (size_t k = 0; k < kTrackCount; ++k) {
        const size_t count = std::min(boxes[k].size(), ids.size() - k);
        ids.replace(k, count, boxes[k], 0, count);
    }
    return ids;
}

int32_t StoredMagsMask(const core::SettingsReader& store) {
    return services::LongOfText(core::ReadSetting(store, settings::kMagnetMask))
        .value_or(settings::kMagnetMask.fallback);
}

MagnetState OpenMagnet(const core::SettingsStore& store) {
    const core::SettingsSnapshot stored(store, {settings::kMagnetMask.key, settings::kMagnetIds.key,
                                                 settings::kMagnetPrefix.key, settings::kMagnetSuffix.key});
    MagnetState state;
    state.magsMask = StoredMagsMask(stored);
    state.magsIds = core::ReadSetting(stored, settings::kMagnetIds);
    state.prefix = core::ReadSetting(stored, settings::kMagnetPrefix);
    state.suffix = core::ReadSetting(stored, settings::kMagnetSuffix);
    state.present = PresenceOfMask(state.magsMask);
    for (size_t k = 0; k < kTrackCount; ++k) state.trackIds[k] = IdentifierOf(state.magsIds, k);
    return state;
}

Status ConfirmMagnet(MagnetState& state, core::SettingsStore& store) {
    state.magsIds = OverlayIdentifiers(state.trackIds);
    state.magsMask = MaskOfPresence(state.present);

    Status first;
    std::u16string failedKeys;
    const auto write = [&](std::u16string_view key, const std::u16string& text) {
        const Status s = core::WriteSetting(store, std::u16string(key), text);
        if (s) return;
        if (first) first = s;
        if (!failedKeys.empty()) failedKeys += u", ";
        failedKeys += key;
    };
    write(settings::kMagnetIds.key, state.magsIds);
    write(settings::kMagnetMask.key, core::DecimalText(state.magsMask));
    write(settings::kMagnetPrefix.key, state.prefix);
    write(settings::kMagnetSuffix.key, state.suffix);
    if (first) return {};
    return Status::error(first.number(), u"The magnetic stripe settings could not be stored (" +
                                             failedKeys + u"): " + first.description());
}

}  // namespace kxsim::dialogs
