// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// CloneOptions, described once (see call_meter/call_meter_member.h).

#include "core/buttons.h"
#include "core/help_context.h"
#include "kxsimlib/member_description.h"

namespace kxsim::dialogs {

inline const MemberDescription& cloneOptionsMember() {
    static const MemberDescription member{
        .name = u"CloneOptions",
        .dispatchId = 1,
        .role = MemberRole::Call,
        .about = u"The clone options: which files of a SIM card to clone.",
        .params = {},
        .form = u"WCopysim",
        .helpContext = help::kCloneOptions,
        .buttonArray = u"CBAction",
        .confirm = {buttons::kOk},
        .cancel = {buttons::kCancel},
        .help = {buttons::kHelp},
        .resultKind = ParamKind::Number,
        .result = u"the bit mask of the files to clone (0 after Cancel)",
    };
    return member;
}

}  // namespace kxsim::dialogs
