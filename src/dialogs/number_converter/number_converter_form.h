// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// WConvert, the number converter window: shows the conversion of TBIn in the
// four output fields on every change of its text.

#include <QPointer>
#include <cstdint>
#include <string>

#include "platform/form.h"

class QLineEdit;

namespace kxsim::dialogs {

class NumberConverterForm : public platform::Form {
public:
    NumberConverterForm();

    /// The binary digits of \a d (32-bit two's complement when negative).
    std::u16string Bin(int32_t d) const;
    /// The octal digits of \a d (32-bit two's complement when negative).
    std::u16string Okt(int32_t d) const;

protected:
    void build(QDialog& window) override;
    void displayed() override;

private:
    void convert();

    QPointer<QLineEdit> input_;
    QPointer<QLineEdit> hex_;
    QPointer<QLineEdit> dec_;
    QPointer<QLineEdit> oct_;
    QPointer<QLineEdit> bin_;
};

}  // namespace kxsim::dialogs
