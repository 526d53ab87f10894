// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim sms [--name TEXT] [--address TEXT] [--center TEXT] [--text TEXT]: the
// short message form, which no CDialogs member shows. A name opens it in name
// mode. Its options, form and buttons come from the form's description.

#include "json_line.h"
#include "member_command.h"

namespace kxsim::tool {
namespace {

Outcome showForm(const Inputs& inputs) {
    tooling::ShortMessageContents contents;
    contents.name = value(inputs, QStringLiteral("name")).toStdU16String();
    contents.address = value(inputs, QStringLiteral("address")).toStdU16String();
    contents.center = value(inputs, QStringLiteral("center")).toStdU16String();
    contents.text = value(inputs, QStringLiteral("text")).toStdU16String();
    int32_t action = 0;
    const Status status = tooling::showShortMessageForm(contents, action);
    JsonLine json;
    json.add(QStringLiteral("action"), int64_t(action));
    if (status && action == 1) {
        json.add(QStringLiteral("name"), contents.name)
            .add(QStringLiteral("status"), int64_t(contents.statusIndex))
            .add(QStringLiteral("address"), contents.address)
            .add(QStringLiteral("validity"), contents.validity.label)
            .add(QStringLiteral("validityValue"), int64_t(contents.validity.value))
            .add(QStringLiteral("center"), contents.center)
            .add(QStringLiteral("text"), contents.text)
            .add(QStringLiteral("report"), int64_t(contents.report));
    }
    return outcome(status, json);
}

DialogTool smsTool() {
    const MemberDescription& form = describedMember(u"WSms");
    DialogTool tool{QStringLiteral("sms"), qs(form.form), QStringLiteral("Short message form (%1)").arg(qs(form.form)),
                    {}, showForm};
    Inputs named{{QStringLiteral("name"), {QStringLiteral("Anna Berger")}}};
    for (const ParamDescription& p : form.params) {
        const QString option = qs(p.name);
        tool.fields.push_back(Field{option, qs(p.about), p.sample.empty() ? QString() : qs(p.sample)});
        if (!p.sample.empty()) named[option] = {qs(p.sample)};
    }
    named.remove(QStringLiteral("text"));
    tool.extraShots = {{QStringLiteral("_name"), [named] { showForm(named); }}};
    tool.okButton = QString::fromStdU16String(form.buttonName(form.confirm));
    tool.description = qs(form.about) + QStringLiteral(
                           " Prints {\"action\": N, ...}: N is the button pressed (1 OK, 2 Cancel, 0 the close box), "
                           "with the form's contents after OK.");
    return tool;
}

const ToolRegistration smsToolRegistration{smsTool()};

}  // namespace
}  // namespace kxsim::tool
