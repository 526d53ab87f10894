// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/short_message/short_message_form.h"

#include "dialogs/short_message/short_message_member.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/buttons.h"
#include "core/help_context.h"
#include "platform/design.h"
#include "services/help.h"
#include "services/profile.h"
#include "services/translation.h"

namespace kxsim::dialogs {
namespace {

constexpr platform::FormFont kMessageFont = platform::kLucida975;

// The design's validity entries, replaced when the window is displayed.
const char16_t* const kDesignValidity[] = {u"10 min", u"60 min", u"24 hours", u"7 day", u"52 weeks"};

QString qs(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ShortMessageForm::ShortMessageForm() : Form(QStringView(shortMessageFormMember().form).toString()) {}

void ShortMessageForm::build(QDialog& w) {
    mode_ = {};  // every load starts from the design: status mode
    QVBoxLayout* root = platform::openForm(w, QStringLiteral("Short Message"), kMessageFont);
    auto* info = add(new QLabel(QStringLiteral("Edit the item:"), &w), QStringLiteral("LBInfo"));
    platform::styleHeading(info, kMessageFont);
    QLabel* image = platform::makeImage(&w, 32);  // registered below, in the table's order
    root->addWidget(platform::makeHeadingBand(&w, image, info));

    auto* grid = new QGridLayout;
    grid->setContentsMargins(platform::kFormMargin, platform::kFormMargin, platform::kFormMargin, platform::kFormMargin);
    grid->setHorizontalSpacing(platform::kFormSpacing);
    grid->setVerticalSpacing(platform::kFormSpacing);
    grid->setColumnStretch(1, 1);

    // Row 0 holds the status in status mode and the name in name mode, in one place.
    auto* statusLabel = add(new QLabel(QStringLiteral("Status:"), &w), QStringLiteral("LblStatus"));
    status_ = add(new QComboBox(&w), QStringLiteral("CboStatus"));
    for (std::u16string_view item : kStatusItems) status_->addItem(qs(item));
    auto* nameLabel = add(new QLabel(QStringLiteral("Name:"), &w), QStringLiteral("LblName"));
    name_ = add(new QLineEdit(&w), QStringLiteral("TxtName"));
    statusLabel->setBuddy(status_);
    nameLabel->setBuddy(name_);
    grid->addWidget(statusLabel, 0, 0);
    grid->addWidget(status_, 0, 1);
    grid->addWidget(nameLabel, 0, 0);
    grid->addWidget(name_, 0, 1);

    auto* label4 = add(new QLabel(QStringLiteral("Dialling number:"), &w), QStringLiteral("Label4"));
    grid->addWidget(label4, 1, 0);
    address_ = add(new QLineEdit(&w), QStringLiteral("TxtAddress"));
    label4->setBuddy(address_);
    grid->addWidget(address_, 1, 1);

    auto* label3 = add(new QLabel(QStringLiteral("Validity/Date:"), &w), QStringLiteral("Label3"));
    grid->addWidget(label3, 2, 0);
    validity_ = add(new QComboBox(&w), QStringLiteral("CboValid"));
    label3->setBuddy(validity_);
    for (const char16_t* item : kDesignValidity) validity_->addItem(qs(item), int32_t(0));
    grid->addWidget(validity_, 2, 1);

    auto* label5 = add(new QLabel(QStringLiteral("Service-Center:"), &w), QStringLiteral("Label5"));
    grid->addWidget(label5, 3, 0);
    center_ = add(new QLineEdit(&w), QStringLiteral("TxtCenter"));
    label5->setBuddy(center_);
    grid->addWidget(center_, 3, 1);

    auto* dataLabel = add(new QLabel(QStringLiteral("Text:"), &w), QStringLiteral("LblData"));
    grid->addWidget(dataLabel, 4, 0, 1, 2);
    text_ = add(new QPlainTextEdit(&w), QStringLiteral("TxtData"));
    dataLabel->setBuddy(text_);
    text_->setTabChangesFocus(true);
    text_->setFixedHeight(text_->fontMetrics().lineSpacing() * 6 + 12);
    grid->addWidget(text_, 5, 0, 1, 2);
    report_ = add(new QCheckBox(QStringLiteral("Confirm receipt"), &w), QStringLiteral("ChkReport"));
    grid->addWidget(report_, 6, 0, 1, 2);
    root->addLayout(grid);

    add(image, QStringLiteral("IMIcon"));

    auto* ok = add(new QPushButton(QStringLiteral("OK"), &w), QStringLiteral("CBAction"), buttons::kOk);
    auto* cancel = add(new QPushButton(QStringLiteral("Cancel"), &w), QStringLiteral("CBAction"), buttons::kCancel);
    auto* help = add(new QPushButton(QStringLiteral("?"), &w), QStringLiteral("CBAction"), buttons::kHelp);
    root->addWidget(platform::makeButtonBand(&w, help, {ok, cancel}));
    ok->setDefault(true);
    setCancelButton(cancel);
    root->addStrut(platform::twips(5400));  // the layout fixes the size; this is its least width

    platform::setTabChain({status_, name_, address_, validity_, center_, text_, report_, ok, cancel, help});

    for (auto [button, index] : {std::pair{ok, buttons::kOk}, std::pair{cancel, buttons::kCancel}, std::pair{help, buttons::kHelp}})
        QObject::connect(button, &QPushButton::clicked, [this, index = index] { buttonClicked(index); });
    QObject::connect(name_, &QLineEdit::textChanged, [this] { nameChanged(); });
    showMode();
}

// Runs once per display, not on every resize, so resizing the window keeps
// the user's choice in the two combo boxes.
void ShortMessageForm::displayed() {
    setHelpContextId(help::kShortMessage);
    services::TranslateForm(*this);
    status_->setCurrentIndex(0);

    const std::u16string file = services::MobileProfileFile();
    const std::vector<ValidityEntry> entries = ReadValidityList([&file](const std::u16string& key) {
        return services::ReadProfile(key, std::u16string(), std::u16string(kValiditySection), file);
    });
    validity_->clear();
    for (const ValidityEntry& entry : entries) validity_->addItem(qs(entry.label), entry.value);
    validity_->setCurrentIndex(entries.empty() ? -1 : 0);
}

void ShortMessageForm::buttonClicked(int32_t index) {
    action_ = index;
    switch (index) {
    case buttons::kOk: hide(); break;    // stays loaded: the controls keep the user's input
    case buttons::kCancel: unload(); break;  // the input is discarded
    case buttons::kHelp: services::ShowHelp(*this); break;
    default: break;
    }
}

void ShortMessageForm::nameChanged() {
    if (mode_.nameChanged()) showMode();
}

void ShortMessageForm::showMode() {
    const auto apply = [this](const auto& names) {
        for (std::u16string_view name : names)
            if (auto* widget = window().findChild<QWidget*>(qs(name))) widget->setVisible(mode_.shows(name));
    };
    apply(kStatusModeControls);
    apply(kNameModeControls);
}

ShortMessageContents ShortMessageForm::contents() {
    window();  // reading a control loads the form
    ShortMessageContents c;
    c.name = name_->text().toStdU16String();
    c.statusIndex = status_->currentIndex();
    c.address = address_->text().toStdU16String();
    c.validityIndex = validity_->currentIndex();
    if (c.validityIndex >= 0)
        c.validity = {validity_->currentText().toStdU16String(), validity_->currentData().toInt()};
    c.center = center_->text().toStdU16String();
    c.text = text_->toPlainText().toStdU16String();
    c.report = platform::checkValue(report_);
    return c;
}

void ShortMessageForm::setContents(const ShortMessageContents& c) {
    window();
    name_->setText(qs(c.name));
    address_->setText(qs(c.address));
    center_->setText(qs(c.center));
    text_->setPlainText(qs(c.text));
    platform::setCheckValue(report_, c.report);
}

}  // namespace kxsim::dialogs
