// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim meter [--acm TEXT] [--amv TEXT] [--ccu TEXT] [--ppu TEXT] [--icon FILE]: the call meter dialog,
// made from SelectMeter's description.

#include "member_command.h"

namespace kxsim::tool {
namespace {

const ToolRegistration meterToolRegistration{memberTool(MemberCommand{
    .command = QStringLiteral("meter"),
    .member = u"SelectMeter",
    // The longest amounts: eight-digit meters at a four-digit price.
    .states = {{QStringLiteral("_long"),
                {{QStringLiteral("acm"), {QStringLiteral("99999999")}},
                 {QStringLiteral("amv"), {QStringLiteral("1")}},
                 {QStringLiteral("ccu"), {QStringLiteral("EUR")}},
                 {QStringLiteral("ppu"), {QStringLiteral("9999")}}}}},
    .note = QStringLiteral("Each option fills its field (empty when left out)."),
})};

}  // namespace
}  // namespace kxsim::tool
