// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/seconds_slider.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <algorithm>
#include <cmath>

namespace kxsim::platform {
namespace {

constexpr double kMillisecondsPerSecond = 1000.0;

// Qt's own slider interface gives the bare milliseconds; this one gives
// seconds, as the scale under the slider reads, and says them as "0.5 s".
class SecondsSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SecondsSliderAccessible(SecondsSlider* slider) : QAccessibleWidget(slider, QAccessible::Slider) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return slider()->spokenValue();
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return seconds(slider()->value()); }
    // Seconds from the tool, to the nearest step the slider can take.
    void setCurrentValue(const QVariant& value) override {
        bool ok = false;
        const double wanted = value.toDouble(&ok) * kMillisecondsPerSecond;
        if (!ok || !std::isfinite(wanted)) return;
        const int step = std::max(1, slider()->singleStep());
        const double steps = std::round((wanted - slider()->minimum()) / step);
        const double clamped = std::clamp(slider()->minimum() + steps * step, double(slider()->minimum()),
                                          double(slider()->maximum()));
        slider()->setValue(static_cast<int>(clamped));
    }
    QVariant maximumValue() const override { return seconds(slider()->maximum()); }
    QVariant minimumValue() const override { return seconds(slider()->minimum()); }
    QVariant minimumStepSize() const override { return seconds(slider()->singleStep()); }

private:
    static double seconds(int milliseconds) { return milliseconds / kMillisecondsPerSecond; }
    SecondsSlider* slider() const { return static_cast<SecondsSlider*>(widget()); }
};

QAccessibleInterface* secondsSliderFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(SecondsSlider::staticMetaObject.className()))
        if (auto* slider = qobject_cast<SecondsSlider*>(object)) return new SecondsSliderAccessible(slider);
    return nullptr;
}

}  // namespace

SecondsSlider::SecondsSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    static const bool installed = (QAccessible::installFactory(secondsSliderFactory), true);
    Q_UNUSED(installed);
}

QString SecondsSlider::spokenValue() const { return QStringLiteral("%1 s").arg(value() / kMillisecondsPerSecond); }

}  // namespace kxsim::platform
