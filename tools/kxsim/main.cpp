// kxsim: the demo host and command line of the Kestrix SIM Lib.

#include <QStringList>
#include <exception>

#include "command.h"
#include "dialog_tool.h"
#include "qt_options.h"

using namespace kxsim::tool;

namespace {

void printUsage() {
    QString text = QStringLiteral("usage: kxsim [--language FILE] [COMMAND [ARGS]]\n"
                                  "Without a command kxsim opens the workbench.\n\nDialogs:\n");
    for (const DialogTool& tool : dialogTools()) {
        text += QStringLiteral("  %1").arg(tool.command);
        for (const Field& f : tool.fields)
            text += f.positional ? QStringLiteral(" %1").arg(f.option.toUpper())
                    : f.flag     ? QStringLiteral(" [--%1]").arg(f.option)
                                 : QStringLiteral(" [--%1 TEXT]%2").arg(f.option, f.repeated ? QStringLiteral("...") : QString());
        text += QStringLiteral("\n");
    }
    text += QStringLiteral("\nOther commands:\n");
    for (const Command& c : commands()) text += QStringLiteral("  %1\n").arg(c.usage);
    printOut(text);
}

// Parses the options of a dialog command into its inputs.
Inputs parseInputs(const DialogTool& tool, const QStringList& args) {
    Inputs inputs;
    std::vector<const Field*> positional;
    for (const Field& f : tool.fields)
        if (f.positional) positional.push_back(&f);
    size_t nextPositional = 0;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg.startsWith(QStringLiteral("--"))) {
            const QString name = arg.mid(2);
            auto field = std::find_if(tool.fields.begin(), tool.fields.end(),
                                      [&](const Field& f) { return f.option == name && !f.positional; });
            if (field == tool.fields.end())
                throw UsageError(QStringLiteral("unknown option %1 for %2").arg(arg, tool.command));
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
    return inputs;
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
    if (name == u"--help" || name == u"-h" || name == u"help-usage") {
        printUsage();
        return 0;
    }
    for (const DialogTool& tool : dialogTools()) {
        if (tool.command != name) continue;
        return report(tool.call(parseInputs(tool, args)));
    }
    for (const Command& command : commands())
        if (command.name == name) return command.run(args);
    throw UsageError(QStringLiteral("unknown command %1 (kxsim --help lists them)").arg(name));
}

}  // namespace

int main(int argc, char** argv) {
    const QStringList args = takeQtOptions(argc, argv);  // Qt's own options go to Qt
    try {
        return run(args);
    } catch (const CallFailure& e) {
        return report(failure(e.status));
    } catch (const UsageError& e) {
        printErr(QStringLiteral("kxsim: %1\n").arg(QString::fromUtf8(e.what())));
        return 2;
    } catch (const std::exception& e) {
        printErr(QStringLiteral("kxsim: %1\n").arg(QString::fromUtf8(e.what())));
        return 1;
    }
}
