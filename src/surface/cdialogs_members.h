// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The CDialogs members in dispatch order, each as its member function and its
// description (src/dialogs/<role>/<role>_member.h). Call by name and the
// tools' typed calls walk this one list.

#include "dialogs/call_meter/call_meter_member.h"
#include "dialogs/card_reader/card_reader_member.h"
#include "dialogs/clone_options/clone_options_member.h"
#include "dialogs/magnetic_stripe/magnetic_stripe_member.h"
#include "dialogs/network_list/network_list_member.h"
#include "dialogs/number_converter/number_converter_member.h"
#include "kxsimlib/cdialogs.h"
#include "kxsimlib/member_description.h"

namespace kxsim::surface {

/// Language shows no window; its code is surface/cdialogs.cpp.
inline const MemberDescription& languageMember() {
    static const MemberDescription member{
        .name = u"Language",
        .dispatchId = 4,
        .role = MemberRole::PropertyPut,
        .about = u"Write-only: the language file of the dialogs shown afterwards on this thread.",
        .params = {{u"File", ParamKind::File, Direction::In, u"Language file", u""}},
    };
    return member;
}

/// Calls `visit.template operator()<&CDialogs::Member>(description)` for every
/// member, in dispatch order.
template <class Visit>
void forEachCDialogsMember(Visit&& visit) {
    visit.template operator()<&CDialogs::CloneOptions>(dialogs::cloneOptionsMember());
    visit.template operator()<&CDialogs::Converter>(dialogs::converterMember());
    visit.template operator()<&CDialogs::Kartenleser>(dialogs::kartenleserMember());
    visit.template operator()<&CDialogs::Language>(languageMember());
    visit.template operator()<&CDialogs::MagnetOptions>(dialogs::magnetOptionsMember());
    visit.template operator()<&CDialogs::SelectMeter>(dialogs::selectMeterMember());
    visit.template operator()<&CDialogs::SelectNetwork>(dialogs::selectNetworkMember());
}

}  // namespace kxsim::surface
