#include "platform/ui_feedback.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace kxsim::platform {
namespace {

thread_local int t_beeps = 0;

}  // namespace

void criticalMessage(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), text, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("MessageBox"));
    box.exec();
}

void beep() {
    ++t_beeps;
    QApplication::beep();
}

int beepCount() { return t_beeps; }

std::optional<QString> inputBox(QWidget* owner, const QString& prompt, const QString& title) {
    QInputDialog box(owner);
    box.setObjectName(QStringLiteral("InputBox"));
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(QString());
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

}  // namespace kxsim::platform
