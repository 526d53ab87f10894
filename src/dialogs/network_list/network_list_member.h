// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// SelectNetwork, described once (see call_meter/call_meter_member.h).

#include "core/buttons.h"
#include "core/help_context.h"
#include "kxsimlib/member_description.h"

namespace kxsim::dialogs {

inline const MemberDescription& selectNetworkMember() {
    static const MemberDescription member{
        .name = u"SelectNetwork",
        .dispatchId = 7,
        .role = MemberRole::Call,
        .about = u"The network list: an ordered list of keys picked from a section of an INI file.",
        .params = {{u"Section", ParamKind::Text, Direction::In, u"Section", u"Networks"},
                   {u"Keys", ParamKind::KeyList, Direction::InOut, u"Keys (each followed by \";\")",
                    u"26202;26201;23415;20801;99999;"},
                   {u"Max", ParamKind::Number, Direction::In, u"Most entries", u"8"},
                   {u"InitFile", ParamKind::File, Direction::In, u"INI file", u"samples/networks.ini"},
                   {u"Caption", ParamKind::Text, Direction::In, u"Caption", u"Preferred Networks"},
                   {u"Icon", ParamKind::Picture, Direction::In, u"Icon file", u""},
                   {u"HelpId", ParamKind::Number, Direction::In, u"Help topic", u"7120"},
                   {u"Language", ParamKind::File, Direction::In, u"Language file", u""}},
        .form = u"WNetze",
        .helpContext = help::kNetworkList,
        .buttonArray = u"CBAction",
        .confirm = {buttons::kOk},
        .cancel = {buttons::kCancel},
        .help = {buttons::kHelp},
        .resultKind = ParamKind::Number,
        .result = u"1 after OK with the new key list, 2 otherwise with the keys as given",
    };
    return member;
}

}  // namespace kxsim::dialogs
