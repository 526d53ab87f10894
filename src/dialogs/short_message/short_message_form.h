// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// WSms, the short message record window: binds its controls to the validity
// list and the mode of short_message_model.h. No public member shows it; the
// library's own code, its tests and kxsim use it through this class.

#include <QPointer>
#include <cstdint>

#include "dialogs/short_message/short_message_model.h"
#include "platform/form.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace kxsim::dialogs {

class ShortMessageForm : public platform::Form {
public:
    ShortMessageForm();

    /// The index of the last CBAction button pressed; 0 until one is.
    int32_t action() const { return action_; }
    /// The mode of the loaded window (status mode when it is not loaded).
    ShortMessageMode mode() const { return isLoaded() ? mode_.mode() : ShortMessageMode::Status; }

    /// Reads the controls (loading the window if needed, which gives the design state).
    ShortMessageContents contents();
    /// Writes the text boxes and the check box. A name different from the
    /// current one moves the form to name mode. The combo boxes are chosen
    /// when the window is displayed, so their indexes are not written.
    void setContents(const ShortMessageContents& contents);

protected:
    void build(QDialog& window) override;
    void displayed() override;

private:
    void buttonClicked(int32_t index);
    void nameChanged();
    void showMode();

    int32_t action_ = 0;
    ShortMessageModeState mode_;
    QPointer<QComboBox> status_;
    QPointer<QLineEdit> name_;
    QPointer<QLineEdit> address_;
    QPointer<QComboBox> validity_;
    QPointer<QLineEdit> center_;
    QPointer<QPlainTextEdit> text_;
    QPointer<QCheckBox> report_;
};

}  // namespace kxsim::dialogs
