// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A dialog command made from its member's description: one option per
// parameter (its name in lower case, its label, sample and value name from the
// description), the call through tooling::callMember, and a JSON line of the
// result and the parameters the member writes back. A command adds only what
// the member has not: other option names, options of its own, set-up before
// the call, further screenshots.

#include <QString>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "dialog_tool.h"
#include "surface/tooling.h"

namespace kxsim::tool {

/// How the command offers one parameter, where the description's defaults will not do.
struct ParamOption {
    std::u16string_view param;  ///< "InitFile"
    QString option = {};        ///< "ini"; empty: the parameter's name in lower case
    QString value = {};         ///< the value's name in the usage ("FILE"); empty: from the kind
    bool required = false;
    bool hidden = false;        ///< no option; the command's prepare fills it
    QString fallback = {};      ///< the value when the option is not given
    QString sample = {};        ///< replaces the description's sample
};

using Arguments = std::vector<tooling::Argument>;

struct MemberCommand {
    QString command;             ///< "meter"
    std::u16string_view member;  ///< "SelectMeter"
    std::vector<ParamOption> options = {};
    std::vector<Field> ownFields = {};  ///< options that are no parameter ("--pcsc"), listed first
    /// Before the call, with the arguments made from the options: fills what
    /// the options do not, and keeps in \a keep what must live during the call.
    /// A text returned is a problem: the dialog is not shown.
    std::function<QString(const Inputs&, Arguments&, std::shared_ptr<void>& keep)> prepare = {};
    /// Further screenshots: the file name's suffix and the options of that state.
    std::vector<std::pair<QString, Inputs>> states = {};
    QString note = {};  ///< what --help says besides the member's description
};

/// The dialog tool of \a command.
DialogTool memberTool(const MemberCommand& command);

/// The description of \a name (tooling::findMember); a missing one is a fault of kxsim itself.
const MemberDescription& describedMember(std::u16string_view name);

/// A Qt string of a description's text.
inline QString qs(std::u16string_view text) { return QStringView(text).toString(); }

}  // namespace kxsim::tool
