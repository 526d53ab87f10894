// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim converter [--input TEXT]: the number converter dialog, made from
// Converter's description, with TEXT typed into its input field once it is displayed.

#include <QLineEdit>

#include "member_command.h"

namespace kxsim::tool {
namespace {

const QString kForm = qs(describedMember(u"Converter").form);

QString typeInput(const Inputs& inputs, Arguments&, std::shared_ptr<void>& keep) {
    const QString input = value(inputs, QStringLiteral("input"));
    keep = tooling::observeDisplayedDialogs([input](QDialog& window) {
        if (window.objectName() != kForm || input.isEmpty()) return;
        if (auto* field = window.findChild<QLineEdit*>(QStringLiteral("TBIn"))) field->setText(input);
    });
    return {};
}

const ToolRegistration converterToolRegistration{memberTool(MemberCommand{
    .command = QStringLiteral("converter"),
    .member = u"Converter",
    .ownFields = {Field{QStringLiteral("input"), QStringLiteral("Typed into the input field"),
                        QStringLiteral("-1234")}},
    .prepare = typeInput,
    .states = {{QStringLiteral("_error"), {{QStringLiteral("input"), {QStringLiteral("12abc")}}}}},
    .note = QStringLiteral("--input is typed into its input field; its Close button confirms."),
})};

}  // namespace
}  // namespace kxsim::tool
