// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// EF DIR (2F00 in the MF of a UICC): one record per application, its AID
// (4F) and label (50) inside an application template (61).

#include <optional>
#include <string>
#include <vector>

#include "transport.h"

namespace kxsim::card {

inline constexpr uint16_t kEfDir = 0x2F00;

struct Application {
    Bytes aid;
    std::string label;
};

/// The application of one record, or nothing for an empty one (all FF).
std::optional<Application> applicationRecord(const Bytes& record);

/// Whether \a aid names a USIM: RID A000000087 (3GPP), application code 1002.
bool isUsim(const Bytes& aid);

}  // namespace kxsim::card
