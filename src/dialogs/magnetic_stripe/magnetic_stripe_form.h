// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// WMagnet, the magnetic stripe options window: binds its controls to MagnetState.

#include <QPointer>
#include <array>
#include <string>

#include "dialogs/magnetic_stripe/magnetic_stripe_model.h"
#include "platform/form.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace kxsim::dialogs {

class MagneticStripeForm : public platform::Form {
public:
    MagneticStripeForm();

    /// The three track identifiers: the stored ones after opening, the edited ones after OK.
    const std::u16string& magsIds() const { return state_.magsIds; }
    void setMagsIds(std::u16string ids) { state_.magsIds = std::move(ids); }
    /// The presence flags: bit 0 track 1, bit 1 track 2, bit 2 track 3.
    int32_t magsMask() const { return state_.magsMask; }
    void setMagsMask(int32_t mask) { state_.magsMask = mask; }
    /// What storing the settings on the last OK gave.
    const Status& confirmStatus() const { return confirmStatus_; }

    /// Puts the German texts of the Tags into the title, the heading and the check boxes.
    void Uebersetze();

protected:
    void build(QDialog& window) override;
    void displayed() override;

private:
    void showState();
    void confirm();

    MagnetState state_;
    Status confirmStatus_;
    QPointer<QLabel> heading_;
    QPointer<QLineEdit> prefix_;
    QPointer<QLineEdit> suffix_;
    std::array<QPointer<QLineEdit>, kTrackCount> trackIds_;
    std::array<QPointer<QCheckBox>, kTrackCount> present_;
};

}  // namespace kxsim::dialogs
