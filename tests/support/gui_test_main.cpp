// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// Main of the window tests: real widgets on the offscreen platform, with
// settings and data folders of their own so no test touches the user's.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QTemporaryDir home;
    ::setenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/config")).toUtf8().constData(), 1);
    ::setenv("XDG_DATA_HOME", (home.path() + QStringLiteral("/data")).toUtf8().constData(), 1);
    ::setenv("XDG_RUNTIME_DIR", home.path().toUtf8().constData(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
