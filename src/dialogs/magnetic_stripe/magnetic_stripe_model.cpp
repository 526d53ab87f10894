#include "dialogs/magnetic_stripe/magnetic_stripe_model.h"

#include <algorithm>

#include "services/leading_number.h"

namespace kxsim::dialogs {
namespace {

const std::u16string kKeyIds = u"MagsIds";
const std::u16string kKeyMask = u"MagsMask";
const std::u16string kKeyPrefix = u"MagsPref";
const std::u16string kKeySuffix = u"MagsSuff";

}  // namespace

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

int32_t StoredMagsMask(const tools::SettingsStore& store) {
    return tools::LongOfText(tools::ReadSetting(store, kKeyMask, kDefaultMagsMask))
        .value_or(kDefaultMagsMask);
}

MagnetState OpenMagnet(const tools::SettingsStore& store) {
    MagnetState state;
    state.magsMask = StoredMagsMask(store);
    state.magsIds = tools::ReadSetting(store, kKeyIds, kDefaultMagsIds);
    state.prefix = tools::ReadSetting(store, kKeyPrefix);
    state.suffix = tools::ReadSetting(store, kKeySuffix);
    state.present = PresenceOfMask(state.magsMask);
    for (size_t k = 0; k < kTrackCount; ++k) state.trackIds[k] = IdentifierOf(state.magsIds, k);
    return state;
}

Status ConfirmMagnet(MagnetState& state, tools::SettingsStore& store) {
    state.magsIds = OverlayIdentifiers(state.trackIds);
    state.magsMask = MaskOfPresence(state.present);

    Status first;
    std::u16string failedKeys;
    const auto write = [&](const std::u16string& key, const std::u16string& text) {
        const Status s = tools::WriteSetting(store, key, text);
        if (s) return;
        if (first) first = s;
        failedKeys += (failedKeys.empty() ? u"" : u", ") + key;
    };
    write(kKeyIds, state.magsIds);
    write(kKeyMask, tools::DecimalText(state.magsMask));
    write(kKeyPrefix, state.prefix);
    write(kKeySuffix, state.suffix);
    if (first) return {};
    return Status::error(first.number(), u"The magnetic stripe settings could not be stored (" +
                                             failedKeys + u"): " + first.description());
}

}  // namespace kxsim::dialogs
