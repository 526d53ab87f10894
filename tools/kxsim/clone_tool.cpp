// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim clone: the clone options dialog, made from CloneOptions' description.

#include <QAbstractButton>

#include "member_command.h"

namespace kxsim::tool {
namespace {

// The mask alone cannot tell OK with nothing chosen from Cancel; the command
// line tells them by the button pressed (the description's confirm button).
DialogTool cloneTool() {
    DialogTool tool = memberTool(MemberCommand{.command = QStringLiteral("clone"), .member = u"CloneOptions"});
    // The dialog with files checked, so the greyed followers show their tick.
    tool.extraShots.emplace_back(QStringLiteral("_checked"), [form = tool.form, call = tool.call] {
        auto guard = tooling::observeDisplayedDialogs([form](QDialog& window) {
            if (window.objectName() != form) return;
            for (const char* name : {"CBFile(1)", "CBFile(2)", "CBFile(5)", "CBFile(14)"})
                if (auto* box = window.findChild<QAbstractButton*>(QLatin1String(name))) box->click();
        });
        call({});
    });
    return tool;
}

const ToolRegistration cloneToolRegistration{cloneTool()};

}  // namespace
}  // namespace kxsim::tool
