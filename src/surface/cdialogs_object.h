// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// CDialogs as an object of the component model: what DllGetClassObject's
// factory creates and what scripting hosts call by name.

#include "kxsimlib/cdialogs.h"
#include "kxsimlib/component.h"

namespace kxsim::surface {

class CDialogsObject final : public IDispatchable {
public:
    CDialogs& dialogs() { return dialogs_; }

    const ClassIdentity& identity() const override;
    const std::vector<MemberInfo>& members() const override;
    Status GetIDsOfNames(std::u16string_view name, DispId& id) const override;
    Status Invoke(DispId id, uint16_t flags, std::vector<Variant>& args, Variant& result) override;

private:
    CDialogs dialogs_;
};

}  // namespace kxsim::surface
