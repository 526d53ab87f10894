// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "surface/cdialogs_object.h"

#include "platform/guarded.h"
#include "surface/cdialogs_members.h"
#include "surface/dispatch_table.h"

namespace kxsim::surface {
namespace {

// The _CDialogs interface: one row per member, from its description.
const DispatchTable<CDialogs>& cdialogsTable() {
    static const DispatchTable<CDialogs> t = [] {
        std::vector<DispatchRow<CDialogs>> rows;
        forEachCDialogsMember([&]<auto Fn>(const MemberDescription& member) { rows.push_back(described<Fn>(member)); });
        return DispatchTable<CDialogs>(u"CDialogs", std::move(rows));
    }();
    return t;
}

}  // namespace

const ClassIdentity& CDialogsObject::identity() const { return kClasses[0]; }
const std::vector<MemberInfo>& CDialogsObject::members() const { return cdialogsTable().members(); }

Status CDialogsObject::GetIDsOfNames(std::u16string_view name, DispId& id) const {
    return platform::guarded([&] { return cdialogsTable().idOfName(name, id); });
}

Status CDialogsObject::Invoke(DispId id, uint16_t flags, std::vector<Variant>& args, Variant& result) {
    return platform::guarded([&] { return cdialogsTable().invoke(dialogs_, id, flags, args, result); });
}

}  // namespace kxsim::surface
