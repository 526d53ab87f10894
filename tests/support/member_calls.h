// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Every CDialogs member that shows a form, called with arguments of its own,
// for tests that hold for each dialog alike. The form and the arguments (each
// parameter's sample) come from the members' descriptions, so a member or
// parameter added is tested without an edit.

#include <QStringList>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "kxsimlib/cdialogs.h"
#include "kxsimlib/member_description.h"
#include "surface/tooling.h"

namespace kxsim::test {

/// Every argument of one call joined by "|" (the result last), as passed and as the call left them.
struct Arguments {
    std::u16string passed, returned;
};

struct MemberCall {
    const char* form;  ///< the window it shows
    /// Calls the member with arguments made from \a tag (the result's starting value).
    std::function<Status(const std::u16string& tag, Arguments& arguments)> call;
};

/// Whether the form takes its texts from the language file; WLeser and WMagnet
/// show fixed German texts of their own.
inline bool translates(const MemberCall& member) {
    return std::string_view(member.form) != "WLeser" && std::string_view(member.form) != "WMagnet";
}

/// \a text as a lasting C string (test names and window names are ASCII).
inline const char* lasting(std::u16string_view text) {
    static std::set<std::string> kept;
    return kept.insert(QStringView(text).toString().toStdString()).first->c_str();
}

inline std::u16string joinArguments(const std::vector<tooling::Argument>& values) {
    QStringList parts;
    for (const tooling::Argument& v : values) {
        if (const auto* number = std::get_if<int32_t>(&v)) parts << QString::number(*number);
        if (const auto* text = std::get_if<std::u16string>(&v)) parts << QString::fromStdU16String(*text);
    }
    return parts.join(QLatin1Char('|')).toStdU16String();
}

/// The argument a test passes for \a param: its sample, but the INI file
/// \a ini and the language file \a language where the member takes a file of that name.
inline tooling::Argument sampleArgument(const ParamDescription& param, const std::u16string& ini,
                                        const std::u16string& language) {
    if (param.name == u"InitFile") return ini;
    if (param.name == u"Language") return language;
    switch (param.kind) {
    case ParamKind::Number: return QStringView(param.sample).toInt();
    case ParamKind::Picture: return Picture();
    case ParamKind::NameList: return QStringView(param.sample).toString().replace(u'\n', u'\0').toStdU16String();
    default: return std::u16string(param.sample);
    }
}

/// The members in dispatch order. SelectNetwork reads the networks of \a ini and
/// takes \a language as its language file (it sets the language itself).
inline std::vector<MemberCall> memberCalls(const std::u16string& ini = {}, const std::u16string& language = {}) {
    std::vector<MemberCall> calls;
    for (const MemberDescription* member : tooling::cdialogsMembers()) {
        if (member->form.empty()) continue;
        calls.push_back({lasting(member->form), [member, ini, language](const std::u16string& tag, Arguments& a) {
            std::vector<tooling::Argument> args;
            for (const ParamDescription& p : member->params) args.push_back(sampleArgument(p, ini, language));
            tooling::Argument result =
                member->resultKind == ParamKind::Number ? tooling::Argument(-7) : tooling::Argument(tag);
            args.push_back(result);
            a.passed = joinArguments(args);
            args.pop_back();
            CDialogs dialogs;
            const Status s = tooling::callMember(dialogs, *member, args, result);
            args.push_back(result);
            a.returned = joinArguments(args);
            return s;
        }});
    }
    return calls;
}

}  // namespace kxsim::test
