// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// WAcm, the call meter window: binds its fields to CallMeterFields.

#include <QPointer>
#include <array>
#include <cstdint>
#include <string>

#include "dialogs/call_meter/call_meter_model.h"
#include "kxsimlib/picture.h"
#include "platform/form.h"

class QLabel;
class QLineEdit;

namespace kxsim::dialogs {

class CallMeterForm : public platform::Form {
public:
    CallMeterForm();

    /// The index of the button that closed the window: 1 OK, 2 Cancel; 0 until one did.
    int32_t Action = 0;

    /// Shows \a icon in IMIcon.
    void showIcon(const Picture& icon);
    /// Puts the host's texts into TBAcm, TBAmv, TBCcu and TBPpu, cut to their limits.
    void putHostTexts(std::u16string_view acm, std::u16string_view amv, std::u16string_view ccu,
                      std::u16string_view ppu);
    /// Fills the available row and the amounts from the units and the price.
    Status computeOpening();
    /// The text of \a field (loads the window when it is not loaded).
    std::u16string fieldText(MeterField field);

protected:
    void build(QDialog& window) override;
    void displayed() override;

private:
    QLineEdit* box(MeterField field) const;
    CallMeterFields readFields() const;
    void writeFields(const CallMeterFields& fields);
    void keyReleased(MeterField field);
    void priceEdited();
    void clearRow(int row);
    void action(int index);

    std::array<QPointer<QLineEdit>, 8> boxes_;
    QPointer<QLabel> icon_;
    bool writing_ = false;  // the fields are being filled from the model
};

}  // namespace kxsim::dialogs
