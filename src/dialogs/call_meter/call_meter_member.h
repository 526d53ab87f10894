// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// SelectMeter, described once: call by name, the Python module, kxsim, the
// tests and the benchmarks read this. The member itself is call_meter_member.cpp.

#include "core/buttons.h"
#include "core/help_context.h"
#include "kxsimlib/member_description.h"

namespace kxsim::dialogs {

inline const MemberDescription& selectMeterMember() {
    static const MemberDescription member{
        .name = u"SelectMeter",
        .dispatchId = 6,
        .role = MemberRole::Call,
        .about = u"The call meter: units used and their price, edited in the host's texts.",
        .params = {{u"Acm", ParamKind::Digits, Direction::InOut, u"Units used", u"200"},
                   {u"Amv", ParamKind::Digits, Direction::InOut, u"Maximum units", u"1000"},
                   {u"Ccu", ParamKind::Text, Direction::InOut, u"Currency", u"EUR"},
                   {u"Ppu", ParamKind::Digits, Direction::InOut, u"Price per unit, 1/100", u"12"},
                   {u"Icon", ParamKind::Picture, Direction::In, u"Icon file", u""}},
        .form = u"WAcm",
        .helpContext = help::kCallMeter,
        .buttonArray = u"CBAction",
        .confirm = {buttons::kOk},
        .cancel = {buttons::kCancel},
        .help = {buttons::kHelp},
        .resultKind = ParamKind::Number,
        .result = u"1 after OK, 2 after Cancel, 0 after the close box",
    };
    return member;
}

}  // namespace kxsim::dialogs
