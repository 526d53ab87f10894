// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Running the built kxsim (KXSIM_PROGRAM) offscreen, as a script would.

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

namespace kxsim::test {

struct KxsimRun {
    int exitCode = -1;  ///< -1: crashed or killed
    QString out, err;
};

/// Runs kxsim with \a args; \a dataHome, when given, becomes its XDG_DATA_HOME.
inline KxsimRun runKxsim(const QStringList& args, const QString& dataHome = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!dataHome.isEmpty()) env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(KXSIM_PROGRAM), args);
    if (!p.waitForFinished(60'000)) p.kill(), p.waitForFinished();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace kxsim::test
