// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The short message form WSms, which no CDialogs member shows, described as a
// member would be so that kxsim and the benchmarks treat it alike. Its
// "parameters" are the contents kxsim can fill in.

#include "core/buttons.h"
#include "core/help_context.h"
#include "kxsimlib/member_description.h"

namespace kxsim::dialogs {

inline const MemberDescription& shortMessageFormMember() {
    static const MemberDescription member{
        .name = u"WSms",
        .dispatchId = 0,  // not in any interface
        .role = MemberRole::Call,
        .about = u"The short message form, which no CDialogs member shows; a name opens it in name mode.",
        .params = {{u"name", ParamKind::Text, Direction::InOut, u"Name (opens name mode)", u""},
                   {u"address", ParamKind::Text, Direction::InOut, u"Dialling number", u"+49 170 1234567"},
                   {u"center", ParamKind::Text, Direction::InOut, u"Service centre", u"+49 172 2270000"},
                   {u"text", ParamKind::Text, Direction::InOut, u"Message text",
                    u"The meeting moves to 10:30 in room 4. See you there!"}},
        .form = u"WSms",
        .helpContext = help::kShortMessage,
        .buttonArray = u"CBAction",
        .confirm = {buttons::kOk},
        .cancel = {buttons::kCancel},
        .help = {buttons::kHelp},
        .resultKind = ParamKind::Number,
        .result = u"the button pressed (1 OK, 2 Cancel, 0 the close box)",
    };
    return member;
}

}  // namespace kxsim::dialogs
