// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/card_reader/card_reader_form.h"

#include "dialogs/card_reader/card_reader_member.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "core/buttons.h"
#include "core/help_context.h"
#include "platform/design.h"
#include "platform/seconds_slider.h"
#include "platform/ui_feedback.h"
#include "services/settings.h"

namespace kxsim::dialogs {
namespace {

constexpr platform::FormFont kReaderFont = platform::kLucida975;

QSlider* makeSlider(QWidget* parent) {
    auto* slider = new platform::SecondsSlider(parent);
    slider->setRange(0, kReaderSliderMax);
    slider->setSingleStep(kReaderSliderStep);
    slider->setPageStep(kReaderSliderStep);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(kReaderSliderStep);
    return slider;
}

// The "0" to "3" scale in whole seconds under a slider: read-only, borderless
// boxes spread so each stands under its position.
QHBoxLayout* makeScale(QWidget* parent, const std::array<QLineEdit*, 4>& boxes) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    for (size_t i = 0; i < boxes.size(); ++i) {
        QLineEdit* box = boxes[i];
        box->setText(QString::number(i));
        box->setReadOnly(true);
        box->setFrame(false);
        box->setAlignment(Qt::AlignCenter);
        box->setFocusPolicy(Qt::NoFocus);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00")) + 4);
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, parent->palette().color(QPalette::Window));
        box->setPalette(palette);
        if (i > 0) row->addStretch(1);
        row->addWidget(box);
    }
    return row;
}

}  // namespace

CardReaderForm::CardReaderForm() : Form(QStringView(kartenleserMember().form).toString()) { setHelpContextId(help::kCardReader); }

void CardReaderForm::build(QDialog& w) {
    QVBoxLayout* root = platform::openForm(w, QStringLiteral("Cardreader Setup"), kReaderFont);

    QLabel* image = add(platform::makeImage(&w, 32), QStringLiteral("BImage"));
    auto* heading = add(new QLabel(QStringLiteral("Choose Chipcard Reader to use:"), &w),
                        QStringLiteral("Label1"));
    heading->setProperty(platform::kTagProperty, QStringLiteral("Wählen Sie den Chipkartenleser:"));
    platform::styleHeading(heading, kReaderFont);
    root->addWidget(platform::makeHeadingBand(&w, image, heading));

    auto* body = new QVBoxLayout;
    body->setContentsMargins(platform::kFormMargin, platform::kFormMargin, platform::kFormMargin, platform::kFormMargin);
    body->setSpacing(4);
    list_ = add(new QListWidget(&w), QStringLiteral("PrefList"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFixedHeight(list_->fontMetrics().height() * 5 + 8);
    heading->setBuddy(list_);
    body->addWidget(list_);
    body->addSpacing(6);

    auto* timeLabel = add(new QLabel(QStringLiteral("Time interval for request card (sec):"), &w),
                          QStringLiteral("Label2"));
    timeLabel->setProperty(platform::kTagProperty, QStringLiteral("Zeitintervall für Kartenprüfung (s):"));
    body->addWidget(timeLabel);
    requestInterval_ = add(makeSlider(&w), QStringLiteral("PrefTime"));
    timeLabel->setBuddy(requestInterval_);
    body->addWidget(requestInterval_);
    body->addLayout(makeScale(&w, {add(new QLineEdit(&w), QStringLiteral("L11")),
                                   add(new QLineEdit(&w), QStringLiteral("L12")),
                                   add(new QLineEdit(&w), QStringLiteral("L13")),
                                   add(new QLineEdit(&w), QStringLiteral("L14"))}));
    body->addSpacing(6);

    auto* waitLabel = add(new QLabel(QStringLiteral("Waitstates before first command (sec):"), &w),
                          QStringLiteral("Label3"));
    waitLabel->setProperty(platform::kTagProperty, QStringLiteral("Wartezeit vor erstem Kommando"));
    body->addWidget(waitLabel);
    waitBeforeFirst_ = add(makeSlider(&w), QStringLiteral("PrefWait"));
    waitLabel->setBuddy(waitBeforeFirst_);
    body->addWidget(waitBeforeFirst_);
    body->addLayout(makeScale(&w, {add(new QLineEdit(&w), QStringLiteral("L20")),
                                   add(new QLineEdit(&w), QStringLiteral("L21")),
                                   add(new QLineEdit(&w), QStringLiteral("L23")),
                                   add(new QLineEdit(&w), QStringLiteral("L24"))}));
    body->addSpacing(6);

    pinpad_ = add(new QCheckBox(QStringLiteral("PIN entry on card reader"), &w),
                  QStringLiteral("PrefPinp"));
    pinpad_->setProperty(platform::kTagProperty, QStringLiteral("Pin-Eingabe am Kartenleser"));
    body->addWidget(pinpad_);
    root->addLayout(body);

    auto* help = add(new QPushButton(QStringLiteral("?"), &w), QStringLiteral("BAction"), buttons::kHelp);
    auto* ok = add(new QPushButton(QStringLiteral("OK"), &w), QStringLiteral("BAction"), buttons::kOk);
    root->addWidget(platform::makeButtonBand(&w, help, {ok}));
    ok->setDefault(true);
    root->addStrut(platform::twips(6240));  // the designed width; the layout fixes the size

    platform::setTabChain({list_, requestInterval_, waitBeforeFirst_, pinpad_, ok, help});

    QObject::connect(ok, &QPushButton::clicked, [this] { confirm(); });
    // "?" presses F1 in this window, which opens the help topic.
    QObject::connect(help, &QPushButton::clicked, [this] {
        QCoreApplication::postEvent(&window(), new QKeyEvent(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier));
    });
}

void CardReaderForm::Uebersetze() {
    for (const char* name : {"Label1", "Label2", "Label3"})
        if (auto* label = window().findChild<QLabel*>(QLatin1String(name)))
            label->setText(label->property(platform::kTagProperty).toString());
    if (pinpad_) pinpad_->setText(pinpad_->property(platform::kTagProperty).toString());
}

void CardReaderForm::loaded() {
    confirmStatus_ = {};
    Uebersetze();
    const Status load = LoadCardReader(state_, readerList_, services::currentSettingsStore());
    showState();
    if (!load) {
        platform::criticalMessage(QStringLiteral("Error load ReaderDlg\n") +
                                  QString::fromStdU16String(load.description()));
    }
}

// Shows what the load reached; controls of steps that did not run keep their design state.
void CardReaderForm::showState() {
    requestInterval_->setValue(state_.requestInterval);
    waitBeforeFirst_->setValue(state_.waitBeforeFirst);
    platform::setCheckValue(pinpad_, state_.pinpad);
    list_->clear();
    for (const auto& name : state_.readers) list_->addItem(QString::fromStdU16String(name));
    if (state_.selected) list_->setCurrentRow(static_cast<int>(*state_.selected));
}

void CardReaderForm::confirm() {
    const std::optional<int> row = platform::selectedRow(list_);
    state_.selected = row ? std::optional<size_t>(static_cast<size_t>(*row)) : std::nullopt;
    state_.requestInterval = requestInterval_->value();
    state_.waitBeforeFirst = waitBeforeFirst_->value();
    state_.pinpad = platform::checkValue(pinpad_);
    confirmStatus_ = ConfirmCardReader(state_, services::currentSettingsStore());
    requestInterval_->setValue(state_.requestInterval);
    hide();
}

}  // namespace kxsim::dialogs
