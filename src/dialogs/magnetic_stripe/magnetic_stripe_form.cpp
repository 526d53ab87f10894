// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/magnetic_stripe/magnetic_stripe_form.h"

#include "dialogs/magnetic_stripe/magnetic_stripe_member.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/buttons.h"
#include "core/help_context.h"
#include "platform/accelerators.h"
#include "platform/design.h"
#include "services/help.h"
#include "services/settings.h"

namespace kxsim::dialogs {
namespace {

constexpr platform::FormFont kMagnetFont = platform::kLucida975;

}  // namespace

MagneticStripeForm::MagneticStripeForm() : Form(QStringView(magnetOptionsMember().form).toString()) {}

void MagneticStripeForm::build(QDialog& w) {
    QVBoxLayout* root = platform::openForm(w, QStringLiteral("Magnetic Stripe Options"), kMagnetFont);
    w.setProperty(platform::kTagProperty, QStringLiteral("Magnetstreifen-Optionen"));

    QLabel* image = add(platform::makeImage(&w, 32), QStringLiteral("Image2"));
    heading_ = add(new QLabel(QStringLiteral("The Magnetic Stripe Data contains:"), &w),
                   QStringLiteral("Label1"));
    heading_->setProperty(platform::kTagProperty, QStringLiteral("Die Magnetstreifen-Daten enthalten:"));
    platform::styleHeading(heading_, kMagnetFont);
    QFrame* band = platform::makeHeadingBand(&w, image, heading_);
    root->addWidget(band);

    // Label, box and (for the tracks) presence check box, row by row.
    auto* grid = new QGridLayout;
    grid->setContentsMargins(platform::kFormMargin, platform::kFormMargin, platform::kFormMargin, platform::kFormMargin);
    grid->setHorizontalSpacing(platform::kFormSpacing);
    grid->setVerticalSpacing(platform::kFormSpacing);
    grid->setColumnStretch(2, 1);

    auto* prefixLabel = add(new QLabel(QStringLiteral("Magstripe Prefix:"), &w), QStringLiteral("LBP"));
    grid->addWidget(prefixLabel, 0, 0);
    prefix_ = add(new QLineEdit(&w), QStringLiteral("MagsPref"));
    prefixLabel->setBuddy(prefix_);
    grid->addWidget(prefix_, 0, 1, 1, 2);

    const QString trackLabels[kTrackCount] = {QStringLiteral("Label1b"), QStringLiteral("Label2"),
                                              QStringLiteral("Label3")};
    const QString designIds[kTrackCount] = {QStringLiteral("{"), QStringLiteral("|"), QStringLiteral("}")};
    for (size_t k = 0; k < kTrackCount; ++k) {
        const int row = static_cast<int>(k) + 1;
        const QString number = QString::number(row);
        auto* trackLabel = add(new QLabel(QStringLiteral("Track-%1 Identifier:").arg(number), &w), trackLabels[k]);
        grid->addWidget(trackLabel, row, 0);
        QLineEdit* id = add(new QLineEdit(designIds[k], &w), QStringLiteral("TrackId") + number);
        trackLabel->setBuddy(id);
        id->setMaxLength(1);
        id->setAlignment(Qt::AlignCenter);
        id->setFixedWidth(id->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 14);
        trackIds_[k] = id;
        grid->addWidget(id, row, 1);
        QCheckBox* check = add(new QCheckBox(QStringLiteral("present:"), &w), QStringLiteral("Check") + number);
        check->setProperty(platform::kTagProperty, QStringLiteral("vorhanden:"));
        // Three boxes read alike; each is named after its track as well.
        platform::nameAfter(check, {trackLabels[k], check->objectName()});
        present_[k] = check;
        grid->addWidget(check, row, 2, Qt::AlignLeft);
    }

    auto* suffixLabel = add(new QLabel(QStringLiteral("Magstripe Suffix:"), &w), QStringLiteral("LBS"));
    grid->addWidget(suffixLabel, 4, 0);
    suffix_ = add(new QLineEdit(&w), QStringLiteral("MagsSuff"));
    suffixLabel->setBuddy(suffix_);
    grid->addWidget(suffix_, 4, 1, 1, 2);
    root->addLayout(grid);
    root->addStretch(1);

    auto* ok = add(new QPushButton(QStringLiteral("OK"), &w), QStringLiteral("Button"), buttons::kOk);
    auto* help = add(new QPushButton(QStringLiteral("?"), &w), QStringLiteral("Button"), buttons::kHelp);
    root->addWidget(platform::makeButtonBand(&w, help, {ok}));
    ok->setDefault(true);
    // The window takes the size of its layout; the band holds it to at least
    // the designed width so longer translations still get room.
    band->setMinimumWidth(platform::twips(6360));

    // Prefix, identifiers, suffix, OK, "?", then the check boxes.
    platform::setTabChain({prefix_, trackIds_[0], trackIds_[1], trackIds_[2], suffix_, ok, help,
                        present_[0], present_[1], present_[2]});

    QObject::connect(ok, &QPushButton::clicked, [this] { confirm(); });
    QObject::connect(help, &QPushButton::clicked, [this] { services::ShowHelp(*this); });
}

void MagneticStripeForm::Uebersetze() {
    QDialog& w = window();
    w.setWindowTitle(w.property(platform::kTagProperty).toString());
    if (heading_) heading_->setText(heading_->property(platform::kTagProperty).toString());
    for (const auto& check : present_)
        if (check) check->setText(check->property(platform::kTagProperty).toString());
}

void MagneticStripeForm::displayed() {
    confirmStatus_ = {};
    setHelpContextId(help::kMagneticStripe);
    Uebersetze();
    state_ = OpenMagnet(services::currentSettingsStore());
    showState();
}

void MagneticStripeForm::showState() {
    prefix_->setText(QString::fromStdU16String(state_.prefix));
    suffix_->setText(QString::fromStdU16String(state_.suffix));
    for (size_t k = 0; k < kTrackCount; ++k) {
        trackIds_[k]->setText(QString::fromStdU16String(state_.trackIds[k]));
        platform::setCheckValue(present_[k], state_.present[k]);
    }
}

void MagneticStripeForm::confirm() {
    state_.prefix = prefix_->text().toStdU16String();
    state_.suffix = suffix_->text().toStdU16String();
    for (size_t k = 0; k < kTrackCount; ++k) {
        state_.trackIds[k] = trackIds_[k]->text().toStdU16String();
        state_.present[k] = platform::checkValue(present_[k]);
    }
    // A store that cannot be written does not keep the user in the dialog:
    // it closes as usual and the member reports the loss.
    confirmStatus_ = ConfirmMagnet(state_, services::currentSettingsStore());
    hide();
}

}  // namespace kxsim::dialogs
