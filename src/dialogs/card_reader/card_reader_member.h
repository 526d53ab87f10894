// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Kartenleser, described once (see call_meter_member.h).

#include "core/buttons.h"
#include "core/help_context.h"
#include "kxsimlib/member_description.h"

namespace kxsim::dialogs {

inline const MemberDescription& kartenleserMember() {
    static const MemberDescription member{
        .name = u"Kartenleser",
        .dispatchId = 3,
        .role = MemberRole::Call,
        .about = u"The card reader setup: the reader to use and how to poll it, kept in the user's settings.",
        .params = {{u"Readers", ParamKind::NameList, Direction::In, u"Reader names, one per line",
                    u"Tolvane CardMan 3121 00 00\nTolvane SIM Pocket 01 00\nPC/SC Virtual Reader 02 00"}},
        .form = u"WLeser",
        .helpContext = help::kCardReader,
        .buttonArray = u"BAction",
        .confirm = {buttons::kOk},
        .help = {buttons::kHelp},
        .resultKind = ParamKind::Text,
        .result = u"the chosen reader",
    };
    return member;
}

}  // namespace kxsim::dialogs
