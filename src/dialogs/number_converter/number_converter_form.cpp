// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "dialogs/number_converter/number_converter_form.h"

#include "dialogs/number_converter/number_converter_member.h"

#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <limits>

#include "core/buttons.h"
#include "core/help_context.h"
#include "dialogs/number_converter/number_converter_model.h"
#include "platform/design.h"
#include "services/help.h"
#include "services/translation.h"

namespace kxsim::dialogs {
namespace {

constexpr platform::FormFont kConverterFont = platform::kMsSansSerif975;

QLineEdit* makeOutput(QWidget* parent, int width) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Not a tab stop, but the user may still click in to select and copy.
    field->setFocusPolicy(Qt::ClickFocus);
    field->setMinimumWidth(width);
    return field;
}

}  // namespace

NumberConverterForm::NumberConverterForm() : Form(QStringView(converterMember().form).toString()) {}

std::u16string NumberConverterForm::Bin(int32_t d) const { return dialogs::Bin(d); }
std::u16string NumberConverterForm::Okt(int32_t d) const { return dialogs::Okt(d); }

void NumberConverterForm::build(QDialog& w) {
    QVBoxLayout* root = platform::openForm(w, QStringLiteral("Convert numbers"), kConverterFont);

    auto* intro = add(new QLabel(QStringLiteral("Type decimal or hexadecimal number with leading 'h' to "
                                                "convert into the various numbering systems."),
                                 &w),
                      QStringLiteral("LB1"), 5);
    platform::styleHeading(intro, kConverterFont, kConverterFont.pointSize);
    intro->setWordWrap(true);
    root->addWidget(platform::makeHeadingBand(&w, nullptr, intro));

    auto* body = new QVBoxLayout;
    body->setContentsMargins(platform::kFormMargin, platform::kFormMargin, platform::kFormMargin, platform::kFormMargin);
    body->setSpacing(platform::kFormSpacing);

    // Wide enough for the longest field text: the 32 binary digits of a
    // negative value with their padding group and separators.
    const QString widest = QString::fromStdU16String(ConvertNumber(u"-1").bin);
    const int outputWidth = w.fontMetrics().horizontalAdvance(widest) + 16;

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(platform::kFormSpacing);
    grid->setVerticalSpacing(platform::kFormSpacing);
    grid->setColumnStretch(1, 1);
    auto addRow = [&](int row, int labelIndex, const QString& text, QLineEdit* field, const QString& name) {
        QLabel* label = add(new QLabel(text, &w), QStringLiteral("LB1"), labelIndex);
        add(field, name);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        return field;
    };
    input_ = addRow(0, 0, QStringLiteral("Input:"), new QLineEdit(&w), QStringLiteral("TBIn"));
    input_->setMaxLength(std::numeric_limits<int>::max());  // the input has no length limit
    input_->setMinimumWidth(outputWidth);
    hex_ = addRow(1, 1, QStringLiteral("Hexadecimal:"), makeOutput(&w, outputWidth), QStringLiteral("TBHex"));
    dec_ = addRow(2, 2, QStringLiteral("Decimal:"), makeOutput(&w, outputWidth), QStringLiteral("TBDez"));
    oct_ = addRow(3, 3, QStringLiteral("Octal:"), makeOutput(&w, outputWidth), QStringLiteral("TBOkt"));
    bin_ = addRow(4, 4, QStringLiteral("Binary:"), makeOutput(&w, outputWidth), QStringLiteral("TBBin"));
    body->addLayout(grid);
    root->addLayout(body);

    auto* help = add(new QPushButton(QStringLiteral("?"), &w), QStringLiteral("CBAction"), buttons::kHelp);
    auto* close = add(new QPushButton(QStringLiteral("Close"), &w), QStringLiteral("CBAction"), buttons::kOk);
    // No default button: "Close" answers to Esc, and to Enter only when it has the focus.
    root->addWidget(add(platform::makeButtonBand(&w, help, {close}), QStringLiteral("Shape1")));
    setCancelButton(close);

    platform::setTabChain({input_, close, help});

    QObject::connect(input_, &QLineEdit::textChanged, [this] { convert(); });
    QObject::connect(close, &QPushButton::clicked, [this] { unload(); });
    QObject::connect(help, &QPushButton::clicked, [this] { services::ShowHelp(*this); });
}

void NumberConverterForm::displayed() {
    setHelpContextId(help::kConverter);
    services::TranslateForm(*this);
    input_->setFocus();
}

void NumberConverterForm::convert() {
    const ConverterFields fields = ConvertNumber(input_->text().toStdU16String());
    hex_->setText(QString::fromStdU16String(fields.hex));
    dec_->setText(QString::fromStdU16String(fields.dec));
    oct_->setText(QString::fromStdU16String(fields.oct));
    bin_->setText(QString::fromStdU16String(fields.bin));
}

}  // namespace kxsim::dialogs
