// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// WLeser, the card reader setup window: binds its controls to CardReaderState.

#include <QPointer>
#include <string>

#include "dialogs/card_reader/card_reader_model.h"
#include "platform/form.h"

class QCheckBox;
class QListWidget;
class QSlider;

namespace kxsim::dialogs {

class CardReaderForm : public platform::Form {
public:
    CardReaderForm();

    /// The reader names, NUL-separated; read at load. Setting it does not load the form.
    void setReaderList(std::u16string list) { readerList_ = std::move(list); }
    /// The reader name handed back: the stored one after load, the chosen one after OK.
    const std::u16string& prefName() const { return state_.prefName; }
    /// What storing the choices on the last OK gave.
    const Status& confirmStatus() const { return confirmStatus_; }

    /// Puts the German texts of the form's Tags into the labels and the check box.
    void Uebersetze();

protected:
    void build(QDialog& window) override;
    void loaded() override;

private:
    void showState();
    void confirm();

    std::u16string readerList_;
    CardReaderState state_;
    Status confirmStatus_;
    QPointer<QListWidget> list_;
    QPointer<QSlider> requestInterval_;
    QPointer<QSlider> waitBeforeFirst_;
    QPointer<QCheckBox> pinpad_;
};

}  // namespace kxsim::dialogs
