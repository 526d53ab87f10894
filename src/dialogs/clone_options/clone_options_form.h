// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// WCopysim, the clone options window: binds its check boxes and buttons to
// CloneOptionsModel.

#include <QPointer>
#include <array>
#include <cstdint>

#include "dialogs/clone_options/clone_options_model.h"
#include "platform/form.h"

class QCheckBox;

namespace kxsim::dialogs {

class CloneOptionsForm : public platform::Form {
public:
    CloneOptionsForm();

    /// The mask of the chosen files; kept while the window is unloaded.
    int32_t Selection() const { return model_.Selection(); }
    /// The index of the last button pressed.
    int32_t Action() const { return model_.Action(); }

    /// The user closed the window with its close box.
    void closedByCloseBox() { model_.CloseBox(); }

protected:
    void build(QDialog& window) override;
    void loaded() override;
    void displayed() override;

private:
    void showState();
    void press(int32_t index);

    CloneOptionsModel model_;
    std::array<QPointer<QCheckBox>, kCloneFileCount> files_;
    QPointer<QCheckBox> all_;
};

}  // namespace kxsim::dialogs
