#pragma once
// The subcommands of kxsim that are not dialog calls (profile, screenshot, ...).

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

namespace kxsim::tool {

struct Command {
    QString name;
    QString usage;  ///< one line: "profile get FILE SECTION KEY [--default TEXT] [--size N]"
    std::function<int(const QStringList& args)> run;  ///< args after the name
};

std::vector<Command>& commands();

struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

/// A mistake on the command line: main prints it on one line and exits with 2.
struct UsageError : std::runtime_error {
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

/// Writes \a text as UTF-8 to standard output or standard error.
void printOut(const QString& text);
void printErr(const QString& text);

/// Makes sure a QApplication exists, choosing the offscreen platform when
/// there is no display (for commands that only render).
void ensureRenderingApplication();

}  // namespace kxsim::tool
