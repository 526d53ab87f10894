// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "cli_reference.h"

#include <QRegularExpression>

#include "dialog_tool.h"

namespace kxsim::tool {
namespace {

struct ExitCode {
    int code;
    const char* meaning;
};

// The dialog commands' exit codes, as --help and the manual page state them.
constexpr ExitCode kExitCodes[] = {
    {exits::kConfirmed, "confirmed (OK)"},
    {exits::kCancelled, "cancelled, or closed with the close box"},
    {exits::kUsage, "a mistake on the command line (also: --pcsc finds no reader)"},
    {exits::kFailed, "the call failed: the error on standard error, nothing on standard output"},
    {exits::kTimedOut, "--timeout closed the dialog"},
};

const std::vector<Option>& globalOptions() {
    static const std::vector<Option> options{
        {QStringLiteral("--language"), QStringLiteral("FILE"), QStringLiteral("the language file of the dialogs")},
        {QStringLiteral("--verbose"), {}, QStringLiteral("also Qt's own warnings and notes on standard error")},
        {QStringLiteral("--help"), {}, QStringLiteral("this text; after a command, that command's usage")},
        {QStringLiteral("--version"), {}, QStringLiteral("the version of kxsim and its library")},
    };
    return options;
}

QString optionSynopsis(const Option& o, bool required) {
    QString text = o.value.isEmpty() ? o.name : o.name + QLatin1Char(' ') + o.value;
    if (!required) text = QLatin1Char('[') + text + QLatin1Char(']');
    return o.repeated ? text + QStringLiteral("...") : text;
}

CommandReference dialogReference(const DialogTool& tool) {
    CommandReference ref{tool.command, tool.command, tool.description.isEmpty() ? tool.title : tool.description,
                         {}, {}, true};
    bool hasTitle = false;
    for (const Field& f : tool.fields) {
        if (f.positional) {
            ref.synopsis += QLatin1Char(' ') + f.option.toUpper();
            continue;
        }
        const Option o{QStringLiteral("--") + f.option, f.flag ? QString() : f.value.isEmpty() ? QStringLiteral("TEXT") : f.value,
                       f.label, f.repeated};
        ref.synopsis += QLatin1Char(' ') + optionSynopsis(o, f.required);
        ref.options.push_back(o);
        hasTitle = hasTitle || f.option == kTitleOption;
    }
    std::vector<Option> common{{QStringLiteral("--timeout"), QStringLiteral("SECONDS"),
                                QStringLiteral("closes the dialog as its close box would after SECONDS; exit code 5")}};
    if (!hasTitle)
        common.insert(common.begin(), Option{QStringLiteral("--title"), QStringLiteral("TEXT"),
                                             QStringLiteral("the window's caption")});
    for (const Option& o : common) {
        ref.synopsis += QLatin1Char(' ') + optionSynopsis(o, false);
        ref.options.push_back(o);
    }
    return ref;
}

QString optionLines(const std::vector<Option>& options) {
    QString text;
    for (const Option& o : options) {
        const QString head = o.value.isEmpty() ? o.name : o.name + QLatin1Char(' ') + o.value;
        text += QStringLiteral("  %1  %2\n").arg(head, -22).arg(o.help);
    }
    return text;
}

// Text for roff: backslashes and hyphens escaped, no line taken for a request.
QString roff(QString text) {
    text.replace(QLatin1Char('\\'), QStringLiteral("\\e")).replace(QLatin1Char('-'), QStringLiteral("\\-"));
    if (text.startsWith(QLatin1Char('.')) || text.startsWith(QLatin1Char('\'')))
        text.prepend(QStringLiteral("\\&"));
    return text;
}

// A synopsis in roff: the command and option names bold, values italic.
QString roffSynopsis(const QString& synopsis) {
    QString out;
    for (const QString& word : synopsis.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        static const QRegularExpression parts(QStringLiteral("^(\\[?)(.*?)(\\]?(\\.\\.\\.)?|\\|)$"));
        const auto m = parts.match(word);
        const QString core = m.captured(2);
        const bool placeholder = !core.isEmpty() && core == core.toUpper() && core.at(0).isLetter();
        out += QStringLiteral("%1%2%3%4 ")
                   .arg(roff(m.captured(1)), placeholder ? QStringLiteral("\\fI") : QStringLiteral("\\fB"), roff(core),
                        QStringLiteral("\\fR") + roff(m.captured(3)));
    }
    return out.trimmed();
}

QString shellWords(const QStringList& words) { return words.join(QLatin1Char(' ')); }

}  // namespace

std::vector<CommandReference> commandReferences() {
    std::vector<CommandReference> all;
    for (const DialogTool& tool : dialogTools()) all.push_back(dialogReference(tool));
    for (const Command& c : commands())
        all.push_back(CommandReference{c.name, c.usage, c.description, c.options, c.words, false});
    return all;
}

std::optional<CommandReference> findCommand(const QString& name) {
    for (CommandReference& ref : commandReferences())
        if (ref.name == name) return std::move(ref);
    return std::nullopt;
}

QString generalHelp() {
    QString text = QStringLiteral("usage: kxsim [--language FILE] [--verbose] [COMMAND [ARGS]]\n"
                                  "The Kestrix SIM Lib's dialogs from the command line; without a command, the "
                                  "workbench.\n\nOptions:\n") +
                   optionLines(globalOptions()) + QStringLiteral("\nDialogs:\n");
    const auto refs = commandReferences();
    for (const CommandReference& ref : refs)
        if (ref.dialog) text += QStringLiteral("  %1\n").arg(ref.synopsis);
    text += QStringLiteral("\nOther commands:\n");
    for (const CommandReference& ref : refs)
        if (!ref.dialog) text += QStringLiteral("  %1\n").arg(ref.synopsis);
    text += QStringLiteral("\nExit codes of the dialog commands:\n");
    for (const ExitCode& e : kExitCodes) text += QStringLiteral("  %1  %2\n").arg(e.code).arg(QLatin1String(e.meaning));
    return text + QStringLiteral("\nkxsim COMMAND --help describes a command.\n");
}

QString commandHelp(const CommandReference& command) {
    QString text = QStringLiteral("usage: kxsim %1\n").arg(command.synopsis);
    if (!command.description.isEmpty()) text += QLatin1Char('\n') + command.description + QLatin1Char('\n');
    if (!command.options.empty()) text += QStringLiteral("\nOptions:\n") + optionLines(command.options);
    if (command.dialog) {
        text += QStringLiteral("\nExit codes:");
        for (const ExitCode& e : kExitCodes) text += QStringLiteral(" %1 %2;").arg(e.code).arg(QLatin1String(e.meaning));
        text.chop(1);
        text += QLatin1Char('\n');
    }
    return text;
}

QString manualPage() {
    QString page = QStringLiteral(
        ".TH KXSIM 1 \"\" \"kxsimlib " KXSIM_VERSION "\" \"User Commands\"\n"
        ".SH NAME\nkxsim \\- the Kestrix SIM Lib's dialogs from the command line\n"
        ".SH SYNOPSIS\n.B kxsim\n[\\fB\\-\\-language\\fR \\fIFILE\\fR] [\\fB\\-\\-verbose\\fR] [\\fICOMMAND\\fR [\\fIARGS\\fR]]\n"
        ".SH DESCRIPTION\n"
        "Shows one dialog of the Kestrix SIM Lib per command, as a host program would, and prints its "
        "outputs as one JSON object on standard output; scripts read the exit code. Without a command, "
        "kxsim opens its workbench. On a terminal, control characters in the values kxsim prints as text "
        "(other than tab) show as \\fB\\ex\\fR\\fIHH\\fR; \\fBprofile\\fR writes its values to a pipe "
        "or file as they are.\n.SH OPTIONS\n");
    for (const Option& o : globalOptions())
        page += QStringLiteral(".TP\n%1\n%2\n").arg(roffSynopsis(o.value.isEmpty() ? o.name : o.name + u' ' + o.value),
                                                  roff(o.help));
    const auto refs = commandReferences();
    for (const bool dialogs : {true, false}) {
        page += dialogs ? QStringLiteral(".SH DIALOG COMMANDS\n") : QStringLiteral(".SH OTHER COMMANDS\n");
        for (const CommandReference& ref : refs) {
            if (ref.dialog != dialogs) continue;
            page += QStringLiteral(".TP\n%1\n").arg(roffSynopsis(ref.synopsis));
            if (!ref.description.isEmpty()) page += roff(ref.description) + QLatin1Char('\n');
            for (const Option& o : ref.options)
                page += QStringLiteral(".RS\n.TP\n%1\n%2\n.RE\n")
                            .arg(roffSynopsis(o.value.isEmpty() ? o.name : o.name + u' ' + o.value), roff(o.help));
        }
    }
    page += QStringLiteral(".SH EXIT STATUS\nEvery dialog command:\n");
    for (const ExitCode& e : kExitCodes)
        page += QStringLiteral(".TP\n.B %1\n%2\n").arg(e.code).arg(roff(QLatin1String(e.meaning)));
    page += QStringLiteral(
        ".SH ENVIRONMENT\n.TP\n.B QT_QPA_PLATFORM\nthe Qt platform; \\fBoffscreen\\fR shows no window\n"
        ".TP\n.B QT_LOGGING_RULES\nQt's logging categories to show (\\fBqt.qpa.*=true\\fR); without it or "
        "\\fB\\-\\-verbose\\fR Qt's own messages are not shown\n"
        ".SH FILES\nThe library reads its help file \\fBkxhelpd.chm\\fR and \\fBkxmobil.ini\\fR from its own "
        "folder; the user's settings go to \\fI$XDG_CONFIG_HOME/Tolvane/Kestrix.conf\\fR.\n");
    return page;
}

QString bashCompletion() {
    QString script = QStringLiteral(
        "# bash completion for kxsim, written by kxsim --bash-completion\n"
        "_kxsim_readers() {\n"
        "    local IFS=$'\\n' names\n"
        "    names=$(\"${COMP_WORDS[0]}\" --list-readers 2>/dev/null) || return 0\n"
        "    COMPREPLY=($(compgen -W \"$names\" -- \"$1\"))\n"
        "    COMPREPLY=(\"${COMPREPLY[@]// /\\\\ }\")\n"
        "}\n"
        "_kxsim() {\n"
        "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]} cmd= at=0 i\n"
        "    COMPREPLY=()\n"
        "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
        "        case ${COMP_WORDS[i]} in\n"
        "            --language) ((i++)) ;;\n"
        "            -*) ;;\n"
        "            *) cmd=${COMP_WORDS[i]}; at=$i; break ;;\n"
        "        esac\n"
        "    done\n"
        "    case $prev in\n"
        "        --language) compopt -o filenames; COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
        "    esac\n"
        "    if [[ -z $cmd ]]; then\n"
        "        COMPREPLY=($(compgen -W \"@COMMANDS@\" -- \"$cur\"))\n"
        "        return\n"
        "    fi\n"
        "    local options= words=\n"
        "    case $cmd in\n");
    QStringList names, globals;
    for (const Option& o : globalOptions()) globals << o.name;
    for (const CommandReference& ref : commandReferences()) {
        names << ref.name;
        QStringList options{QStringLiteral("--help")}, files, folders, readers, values;
        for (const Option& o : ref.options) {
            options << o.name;
            if (o.value == u"FILE") files << o.name;
            else if (o.value == u"DIR") folders << o.name;
            else if (o.value == u"READER") readers << o.name;
            else if (!o.value.isEmpty()) values << o.name;
        }
        script += QStringLiteral("        %1)\n").arg(ref.name);
        auto valueCase = [&](const QStringList& which, const QString& action) {
            if (!which.isEmpty())
                script += QStringLiteral("            case $prev in %1) %2; return ;; esac\n").arg(which.join(u'|'), action);
        };
        valueCase(files, QStringLiteral("compopt -o filenames; COMPREPLY=($(compgen -f -- \"$cur\"))"));
        valueCase(folders, QStringLiteral("compopt -o filenames; COMPREPLY=($(compgen -d -- \"$cur\"))"));
        valueCase(readers, QStringLiteral("_kxsim_readers \"$cur\""));
        valueCase(values, QStringLiteral(":"));
        script += QStringLiteral("            options=\"%1\" words=\"%2\" ;;\n").arg(shellWords(options), shellWords(ref.words));
    }
    script += QStringLiteral(
        "    esac\n"
        "    if [[ $cur == -* ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
        "    elif [[ -n $words && $COMP_CWORD -eq $((at + 1)) ]]; then\n"
        "        COMPREPLY=($(compgen -W \"$words\" -- \"$cur\"))\n"
        "    else\n"
        "        compopt -o filenames; COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        "    fi\n"
        "}\n"
        "complete -F _kxsim kxsim\n");
    return script.replace(QStringLiteral("@COMMANDS@"), shellWords(names + globals));
}

}  // namespace kxsim::tool
