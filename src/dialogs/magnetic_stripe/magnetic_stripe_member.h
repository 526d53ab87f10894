// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// MagnetOptions, described once (see call_meter/call_meter_member.h).

#include "core/buttons.h"
#include "core/help_context.h"
#include "kxsimlib/member_description.h"

namespace kxsim::dialogs {

inline const MemberDescription& magnetOptionsMember() {
    static const MemberDescription member{
        .name = u"MagnetOptions",
        .dispatchId = 5,
        .role = MemberRole::Call,
        .about = u"The magnetic stripe options: prefix, suffix and track identifiers, kept in the user's settings.",
        .params = {},
        .form = u"WMagnet",
        .helpContext = help::kMagneticStripe,
        .buttonArray = u"Button",
        .confirm = {buttons::kOk},
        .help = {buttons::kHelp},
        .resultKind = ParamKind::Text,
        .result = u"the three track identifier characters",
    };
    return member;
}

}  // namespace kxsim::dialogs
