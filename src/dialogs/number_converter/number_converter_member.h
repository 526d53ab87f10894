// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Converter, described once (see call_meter/call_meter_member.h).

#include "core/buttons.h"
#include "core/help_context.h"
#include "kxsimlib/member_description.h"

namespace kxsim::dialogs {

inline const MemberDescription& converterMember() {
    static const MemberDescription member{
        .name = u"Converter",
        .dispatchId = 2,
        .role = MemberRole::Call,
        .about = u"The number converter: a number in hexadecimal, decimal, octal and binary until closed.",
        .params = {},
        .form = u"WConvert",
        .helpContext = help::kConverter,
        .buttonArray = u"CBAction",
        .confirm = {buttons::kOk},  // Close
        .help = {buttons::kHelp},
        .resultKind = ParamKind::Text,
        .result = u"always empty",
    };
    return member;
}

}  // namespace kxsim::dialogs
