// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The object Commons hands out through its PCB field.

#include <memory>

#include "kxsimlib/component.h"
#include "kxsimlib/kxsimlib_export.h"
#include "kxsimlib/status.h"
#include "kxsimlib/variant.h"

namespace kxsim {

/*!
  \brief An object a host receives from Commons (setting Commons::hDC puts a
  new one into Commons::PCB). Hosts cannot create it. It holds no state.

  \code
  kxsim::Commons commons;
  int32_t dc = 0;
  commons.hDC(dc);
  std::shared_ptr<kxsim::CCB> ccb;
  commons.PCB(ccb);
  kxsim::Variant v;
  ccb->XXX(v);   // the Integer 12
  \endcode
*/
class KXSIMLIB_EXPORT CCB final : public IDispatchable {
public:
    ~CCB() override;

    /// A Variant holding the Integer (16-bit) 12, always.
    Status XXX(Variant& result);

    const ClassIdentity& identity() const override;
    const std::vector<MemberInfo>& members() const override;
    Status GetIDsOfNames(std::u16string_view name, DispId& id) const override;
    Status Invoke(DispId id, uint16_t flags, std::vector<Variant>& args, Variant& result) override;

private:
    friend class Commons;
    CCB();
};

}  // namespace kxsim
