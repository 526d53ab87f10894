// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "kxsimlib/ccb.h"

#include "platform/guarded.h"
#include "surface/dispatch_table.h"

namespace kxsim {
namespace {

const surface::DispatchTable<CCB>& ccbTable() {
    static const surface::DispatchTable<CCB> t(u"CCB", {surface::function<&CCB::XXX>(1, u"XXX", {})});
    return t;
}

}  // namespace

CCB::CCB() = default;
CCB::~CCB() = default;

Status CCB::XXX(Variant& result) {
    result = Variant::fromInteger(12);
    return {};
}

const ClassIdentity& CCB::identity() const { return kClasses[2]; }
const std::vector<MemberInfo>& CCB::members() const { return ccbTable().members(); }

Status CCB::GetIDsOfNames(std::u16string_view name, DispId& id) const {
    return platform::guarded([&] { return ccbTable().idOfName(name, id); });
}

Status CCB::Invoke(DispId id, uint16_t flags, std::vector<Variant>& args, Variant& result) {
    return platform::guarded([&] { return ccbTable().invoke(*this, id, flags, args, result); });
}

}  // namespace kxsim
