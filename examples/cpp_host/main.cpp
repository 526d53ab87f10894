// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
// cpp_host: a small host of the Kestrix SIM Lib. It asks Commons for a free
// temporary file name, takes a CCB from Commons and reads its XXX, then opens
// the clone options dialog and (standing in for its user) presses Cancel.
// Exits 0 when every answer is as the library documents it.

#include <kxsimlib/kxsimlib.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <string>

namespace {

int failures = 0;

void expect(bool ok, const char* what) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what);
    if (!ok) ++failures;
}

std::string narrow(const std::u16string& text) { return QString::fromStdU16String(text).toStdString(); }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);  // a host with a Qt application of its own

    kxsim::Commons commons;
    std::u16string folder = QDir::tempPath().toStdU16String() + u"/", appendix = u".txt", name;
    int32_t triesLeft = 0;
    const kxsim::Status found = commons.NewTempFileName(folder, appendix, 0, name, triesLeft);
    std::printf("NewTempFileName: %d %s\n", triesLeft, narrow(name).c_str());
    expect(found && triesLeft > 0 && name.starts_with(folder + u"tmp") && name.ends_with(appendix),
           "Commons.NewTempFileName gives a free name");

    int32_t dc = 0;
    std::shared_ptr<kxsim::CCB> ccb;
    kxsim::Variant value;
    expect(commons.hDC(dc) && commons.PCB(ccb) && ccb && ccb->XXX(value), "Commons.hDC puts a CCB into PCB");
    expect(value.type() == kxsim::Variant::Type::Integer && value.integer() == 12, "CCB.XXX is the Integer 12");

    // Whoever sits at the dialog: press Cancel once it is up (give up after 30 s).
    QElapsedTimer waited;
    waited.start();
    QTimer user;
    user.setInterval(20);
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && dialog->isVisible()) {
            if (auto* cancel = dialog->findChild<QAbstractButton*>(QStringLiteral("CBAction(2)")))
                cancel->click();
            else
                dialog->close();
        } else if (waited.elapsed() > 30'000) {
            std::fputs("no dialog appeared\n", stderr);
            std::exit(1);
        }
    });
    user.start();
    kxsim::CDialogs dialogs;
    int32_t mask = -2;
    const kxsim::Status shown = dialogs.CloneOptions(mask);
    user.stop();
    expect(shown && mask == 0, "CDialogs.CloneOptions gives 0 after Cancel");

    return failures == 0 ? 0 : 1;
}
