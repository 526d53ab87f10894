#pragma once
// The subcommands of kxsim that are not dialog calls (profile, screenshot, ...).

#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

#include "kxsimlib/status.h"

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

/// A failed library call outside a dialog (no platform can start): main
/// prints it as it prints a failed dialog call and exits with 3.
struct CallFailure : std::runtime_error {
    explicit CallFailure(const kxsim::Status& status);
    kxsim::Status status;
};

/// Writes \a text as UTF-8 to standard output or standard error.
void printOut(const QString& text);
void printErr(const QString& text);

/// Makes sure a QApplication exists, choosing the offscreen platform when
/// there is no display (for commands that only render); throws CallFailure
/// when the platform cannot start.
void ensureRenderingApplication();

/// Starts the QApplication the library would; throws CallFailure when it cannot.
void startApplication();

}  // namespace kxsim::tool
