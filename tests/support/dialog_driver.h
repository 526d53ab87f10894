// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// Driving a modal dialog from a test: act on its window once it is displayed,
// inside its modal loop, as a user would.

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <functional>
#include <memory>

#include "kxsimlib/status.h"

namespace kxsim::test {

/// Runs \a action on the window of form \a formName when it is next displayed.
/// A dialog still open 5 s after the action is closed and the test fails, so a
/// broken test never hangs.
class WhenShown {
public:
    WhenShown(QString formName, std::function<void(QDialog&)> action);
    ~WhenShown();
    /// How often the action ran.
    int runs() const;

private:
    struct State;
    std::shared_ptr<State> state_;
    std::shared_ptr<void> observer_;
};

/// Makes \a call (a CDialogs member) with \a act run in the window of form
/// \a formName; the call must succeed and the window show once.
void showOnce(const QString& formName, const std::function<void(QDialog&)>& act, const std::function<Status()>& call);

/// The child of \a window named \a name; the test fails when there is none.
template <class T>
T* control(QWidget& window, const QString& name) {
    T* found = window.findChild<T*>(name);
    if (!found) ADD_FAILURE() << "no control " << name.toStdString() << " in " << window.objectName().toStdString();
    return found;
}

/// Clicks the button \a name with the mouse.
void click(QWidget& window, const QString& name);

/// Closes \a window with its close box.
void closeBox(QDialog& window);

/// Replaces the text of \a edit by typing \a text.
void retype(QLineEdit* edit, const QString& text);

QStringList itemTexts(const QListWidget* list);

}  // namespace kxsim::test
