// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim magnet: the magnetic stripe options dialog, made from MagnetOptions' description.

#include "member_command.h"

namespace kxsim::tool {
namespace {

const ToolRegistration magnetToolRegistration{
    memberTool(MemberCommand{.command = QStringLiteral("magnet"), .member = u"MagnetOptions"})};

}  // namespace
}  // namespace kxsim::tool
