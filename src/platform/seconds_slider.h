// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// A slider whose value is milliseconds and which a screen reader announces in
// seconds ("1.5 s"), as the scale under it reads.

#include <QSlider>

namespace kxsim::platform {

class SecondsSlider : public QSlider {
    Q_OBJECT
public:
    explicit SecondsSlider(QWidget* parent);
    /// The value as a screen reader says it: "0.25 s".
    QString spokenValue() const;
};

}  // namespace kxsim::platform
