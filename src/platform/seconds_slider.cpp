#include "platform/seconds_slider.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace kxsim::platform {
namespace {

// Qt's own slider interface says the bare value; this one says seconds.
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
    QVariant currentValue() const override { return slider()->value(); }
    void setCurrentValue(const QVariant& value) override { slider()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return slider()->maximum(); }
    QVariant minimumValue() const override { return slider()->minimum(); }
    QVariant minimumStepSize() const override { return slider()->singleStep(); }

private:
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

QString SecondsSlider::spokenValue() const { return QStringLiteral("%1 s").arg(value() / 1000.0); }

}  // namespace kxsim::platform
