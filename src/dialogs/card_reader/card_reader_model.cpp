// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/card_reader/card_reader_model.h"

#include <algorithm>

#include "services/leading_number.h"

namespace kxsim::dialogs {
namespace {

// The sliders hold any value within their range; a stored value outside it is
// brought to the nearest end rather than refused.
int32_t sliderValue(int32_t value) { return std::clamp(value, 0, kReaderSliderMax); }

}  // namespace

std::vector<std::u16string> SplitReaderList(std::u16string_view list) {
    std::vector<std::u16string> names;
    if (list.empty()) return names;
    size_t start = 0;
    for (;;) {
        const size_t nul = list.find(u'\0', start);
        names.emplace_back(list.substr(start, nul == std::u16string_view::npos ? nul : nul - start));
        if (nul == std::u16string_view::npos) break;
        start = nul + 1;
    }
    return names;
}

size_t PreferredReader(const std::vector<std::u16string>& readers, std::u16string_view name) {
    size_t chosen = 0;
    for (size_t i = 0; i < readers.size(); ++i)
        if (readers[i] == name) chosen = i;
    return chosen;
}

Status LoadCardReader(CardReaderState& state, std::u16string_view readerList,
                      const core::SettingsStore& store) {
    const core::SettingsSnapshot stored(store, {settings::kReaderName.key, settings::kReaderTimer.key,
                                                 settings::kReaderPause.key, settings::kReaderPinpad.key});
    state = CardReaderState{};  // controls whose step does not run keep their design state
    state.prefName = core::ReadSetting(stored, settings::kReaderName);

    const auto interval = services::LongOfText(core::ReadSetting(stored, settings::kReaderTimer));
    if (!interval) return Status::error(errors::Overflow);
    state.requestInterval = sliderValue(*interval);

    const auto wait = services::LongOfText(core::ReadSetting(stored, settings::kReaderPause));
    if (!wait) return Status::error(errors::Overflow);
    state.waitBeforeFirst = sliderValue(*wait);

    const auto pinpad = services::ToInteger(services::LeadingNumber(core::ReadSetting(stored, settings::kReaderPinpad)));
    if (!pinpad) return Status::error(errors::Overflow);
    if (*pinpad < 0 || *pinpad > 2) return Status::error(errors::InvalidPropertyValue);
    state.pinpad = *pinpad;

    state.readers = SplitReaderList(readerList);
    state.selected.reset();
    if (!state.readers.empty()) state.selected = PreferredReader(state.readers, state.prefName);
    return {};
}

Status ConfirmCardReader(CardReaderState& state, core::SettingsStore& store) {
    if (state.selected && *state.selected < state.readers.size())
        state.prefName = state.readers[*state.selected];
    if (state.requestInterval < kMinRequestInterval) state.requestInterval = kMinRequestInterval;

    Status first;
    const auto write = [&](std::u16string_view key, const std::u16string& text) {
        Status s = core::WriteSetting(store, std::u16string(key), text);
        if (!s && first) first = s;
    };
    write(settings::kReaderName.key, state.prefName);
    write(settings::kReaderPinpad.key, core::DecimalText(state.pinpad));
    write(settings::kReaderTimer.key, core::DecimalText(state.requestInterval));
    write(settings::kReaderPause.key, core::DecimalText(state.waitBeforeFirst));
    return first;
}

}  // namespace kxsim::dialogs
