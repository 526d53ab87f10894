// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "member_command.h"

#include <stdexcept>

#include "command.h"
#include "json_line.h"
#include "kxsimlib/cdialogs.h"

namespace kxsim::tool {
namespace {

QString valueName(ParamKind kind) {
    switch (kind) {
    case ParamKind::Number: return QStringLiteral("N");
    case ParamKind::Picture:
    case ParamKind::File: return QStringLiteral("FILE");
    case ParamKind::NameList: return QStringLiteral("NAME");
    default: return {};  // TEXT
    }
}

ParamOption optionOf(const MemberCommand& command, const ParamDescription& param) {
    for (const ParamOption& o : command.options)
        if (o.param == param.name) return o;
    return ParamOption{param.name};
}

QString optionName(const ParamOption& o) { return o.option.isEmpty() ? qs(o.param).toLower() : o.option; }

int32_t wholeNumber(const QString& option, const QString& text) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok) throw UsageError(QStringLiteral("--%1 needs a whole number, not %2").arg(option, text));
    return number;
}

// The argument of \a param from the options, by the parameter's kind.
tooling::Argument argumentOf(const ParamDescription& param, const ParamOption& o, const Inputs& inputs) {
    const QString option = optionName(o);
    const bool given = inputs.contains(option);
    const QString text = given ? value(inputs, option) : o.fallback;
    switch (param.kind) {
    case ParamKind::Number: return text.isEmpty() && !given ? 0 : wholeNumber(option, text);
    case ParamKind::Picture: return text.isEmpty() ? Picture() : Picture::fromFile(text.toStdU16String());
    case ParamKind::NameList: {
        // The names joined by NUL characters; an empty name stays an empty piece.
        const QStringList names = inputs.value(option);
        return (names.isEmpty() ? text : names.join(QChar(u'\0'))).toStdU16String();
    }
    default: return text.toStdU16String();
    }
}

// {"result": N, "acm": "...", ...}: the result, then what the member writes back.
QString jsonShape(const MemberDescription& member) {
    QString shape = QStringLiteral("{\"result\": %1").arg(member.resultKind == ParamKind::Number ? QLatin1String("N") : QLatin1String("\"...\""));
    for (const ParamDescription& p : member.params)
        if (p.direction != Direction::In) shape += QStringLiteral(", \"%1\": \"...\"").arg(qs(p.name).toLower());
    return shape + QLatin1Char('}');
}

JsonLine outputs(const MemberDescription& member, const Arguments& args, const tooling::Argument& result) {
    JsonLine json;
    const auto add = [&json](const QString& name, const tooling::Argument& value) {
        if (const auto* number = std::get_if<int32_t>(&value)) json.add(name, int64_t{*number});
        if (const auto* text = std::get_if<std::u16string>(&value)) json.add(name, *text);
    };
    add(QStringLiteral("result"), result);
    for (size_t i = 0; i < member.params.size(); ++i)
        if (member.params[i].direction != Direction::In) add(qs(member.params[i].name).toLower(), args[i]);
    return json;
}

}  // namespace

const MemberDescription& describedMember(std::u16string_view name) {
    const MemberDescription* member = tooling::findMember(name);
    if (!member) throw std::logic_error("kxsim names a member the library does not describe");
    return *member;
}

DialogTool memberTool(const MemberCommand& command) {
    const MemberDescription& member = describedMember(command.member);
    DialogTool tool{command.command, qs(member.form),
                    QStringLiteral("%1 (%2)").arg(qs(member.about).section(QLatin1Char(':'), 0, 0).mid(4), qs(member.name)),
                    command.ownFields, {}};
    tool.title[0] = tool.title[0].toUpper();
    for (const ParamDescription& p : member.params) {
        const ParamOption o = optionOf(command, p);
        if (o.hidden) continue;
        const QString sample = !o.sample.isEmpty() ? o.sample : p.sample.empty() ? QString() : qs(p.sample);
        tool.fields.push_back(Field{optionName(o), QStringLiteral("%1 (%2)").arg(qs(p.about), qs(p.name)), sample,
                                    p.kind == ParamKind::NameList, false, false, o.required,
                                    o.value.isEmpty() ? valueName(p.kind) : o.value});
    }
    tool.call = [command, &member](const Inputs& inputs) {
        Arguments args;
        for (const ParamDescription& p : member.params) args.push_back(argumentOf(p, optionOf(command, p), inputs));
        std::shared_ptr<void> keep;
        if (command.prepare)
            if (const QString why = command.prepare(inputs, args, keep); !why.isEmpty()) return problem(why);
        CDialogs dialogs;
        tooling::Argument result;
        const Status status = tooling::callMember(dialogs, member, args, result);
        return outcome(status, outputs(member, args, result));
    };
    for (const auto& [suffix, inputs] : command.states)
        tool.extraShots.emplace_back(suffix, [call = tool.call, inputs = inputs] { call(inputs); });
    tool.okButton = QString::fromStdU16String(member.buttonName(member.confirm));
    tool.description = QStringLiteral("%1 Prints %2: %3.").arg(qs(member.about), jsonShape(member), qs(member.result));
    if (!command.note.isEmpty()) tool.description += QLatin1Char(' ') + command.note;
    return tool;
}

}  // namespace kxsim::tool
