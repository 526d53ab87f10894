// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// kxsim: the demo host and command line of the Kestrix SIM Lib.

#include <QStringList>
#include <exception>

#include "cli_reference.h"
#include "command.h"
#include "dialog_tool.h"
#include "pcsc.h"
#include "qt_options.h"

using namespace kxsim::tool;

namespace {

// The command being run, for the hint after a mistake.
QString& currentCommand() {
    static QString name;
    return name;
}

// Parses the options of a dialog command into its inputs.
Inputs parseInputs(const DialogTool& tool, const QStringList& args) {
    Inputs inputs;
    std::vector<const Field*> positional;
    for (const Field& f : tool.fields)
        if (f.positional) positional.push_back(&f);
    // --title and --timeout, unless the tool has a field of that name.
    std::vector<Field> common;
    for (const QString& option : {kTitleOption, kTimeoutOption})
        if (std::none_of(tool.fields.begin(), tool.fields.end(), [&](const Field& f) { return f.option == option; }))
            common.push_back(Field{option, {}, {}});
    size_t nextPositional = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg.startsWith(QStringLiteral("--"))) {
            QString name = arg.mid(2);
            // network's caption option kept its first name for the scripts that use it.
            if (name == u"caption" && tool.command == u"network") name = kTitleOption;
            auto known = [&](const Field& f) { return f.option == name && !f.positional; };
            const Field* field = nullptr;
            if (auto it = std::find_if(tool.fields.begin(), tool.fields.end(), known); it != tool.fields.end())
                field = &*it;
            else if (auto c = std::find_if(common.begin(), common.end(), known); c != common.end())
                field = &*c;
            if (!field) throw UsageError(QStringLiteral("unknown option %1 for %2").arg(arg, tool.command));
            if (!field->repeated && inputs.contains(name))
                throw UsageError(QStringLiteral("%1 given twice").arg(arg));
            if (field->flag) {
                inputs[name].append(QStringLiteral("1"));
                continue;
            }
            if (i + 1 >= args.size()) throw UsageError(QStringLiteral("%1 needs a value").arg(arg));
            inputs[name].append(args[++i]);
        } else {
            if (nextPositional >= positional.size())
                throw UsageError(QStringLiteral("unexpected argument %1 for %2").arg(arg, tool.command));
            inputs[positional[nextPositional++]->option].append(arg);
        }
    }
    if (nextPositional < positional.size())
        throw UsageError(QStringLiteral("%1 needs %2").arg(tool.command, positional[nextPositional]->option.toUpper()));
    for (const Field& f : tool.fields)
        if (f.required && !inputs.contains(f.option))
            throw UsageError(QStringLiteral("%1 needs --%2").arg(tool.command, f.option));
    return inputs;
}

// Refuses an option the command did not register, before it runs.
void checkOptions(const Command& command, const QStringList& args) {
    if (command.options.empty()) return;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (!args[i].startsWith(QStringLiteral("--"))) continue;
        auto it = std::find_if(command.options.begin(), command.options.end(),
                               [&](const Option& o) { return o.name == args[i]; });
        if (it == command.options.end())
            throw UsageError(QStringLiteral("unknown option %1 for %2").arg(args[i], command.name));
        if (!it->value.isEmpty()) ++i;  // its value may start with dashes
    }
}

// The reader names of the PC/SC daemon, one per line, for the bash completion;
// silent when there are none.
int listReaders() {
    const kxsim::card::ReaderListing listing = kxsim::card::listReaders();
    if (listing.kind != kxsim::card::ReaderListing::Kind::Readers) return 1;
    for (const std::string& name : listing.names) printOut(printable(QString::fromStdString(name)) + QLatin1Char('\n'));
    return 0;
}

int run(QStringList args) {
    // --language FILE applies to every command.
    if (const qsizetype at = args.indexOf(QStringLiteral("--language")); at >= 0) {
        if (at + 1 >= args.size()) throw UsageError(QStringLiteral("--language needs a file"));
        applyLanguage(args[at + 1]);
        args.remove(at, 2);
    }
    if (args.isEmpty()) args << QStringLiteral("workbench");
    const QString name = args.takeFirst();
    if (name == u"--help" || name == u"-h") {
        printOut(generalHelp());
        return 0;
    }
    if (name == u"--version") {
        printOut(QStringLiteral("kxsim " KXSIM_VERSION "\n"));
        return 0;
    }
    // Hidden: what the build installs as the manual page and the completion.
    if (name == u"--man") return printOut(manualPage()), 0;
    if (name == u"--bash-completion") return printOut(bashCompletion()), 0;
    if (name == u"--list-readers") return listReaders();
    if (name.startsWith(u'-')) throw UsageError(QStringLiteral("unknown option %1").arg(name));

    const std::optional<CommandReference> reference = findCommand(name);
    if (!reference) throw UsageError(QStringLiteral("unknown command %1").arg(name));
    currentCommand() = name;
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        printOut(commandHelp(*reference));
        return 0;
    }
    for (const DialogTool& tool : dialogTools())
        if (tool.command == name) return report(runDialog(tool, parseInputs(tool, args)));
    for (const Command& command : commands()) {
        if (command.name != name) continue;
        checkOptions(command, args);
        return command.run(args);
    }
    return exits::kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args = takeQtOptions(argc, argv);  // Qt's own options go to Qt
    quietQtMessages(args);
    try {
        return run(args);
    } catch (const CallFailure& e) {
        return report(failure(e.status));
    } catch (const UsageError& e) {
        const QString help = currentCommand().isEmpty() ? QStringLiteral("kxsim --help")
                                                        : QStringLiteral("kxsim %1 --help").arg(currentCommand());
        printErr(QStringLiteral("kxsim: %1 (%2 shows the usage)\n").arg(QString::fromUtf8(e.what()), help));
        return exits::kUsage;
    } catch (const std::exception& e) {
        printErr(QStringLiteral("kxsim: %1\n").arg(QString::fromUtf8(e.what())));
        return 1;
    }
}
