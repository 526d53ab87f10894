// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#include "platform/design.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <cmath>

#include "platform/accelerators.h"
#include "platform/control_types.h"
#include "platform/ordinary_file.h"
#include "platform/text_codec.h"

namespace kxsim::platform {

QFont designFont(const QString& family, qreal pointSize, bool bold) {
    QFont font;
    font.setFamilies({family, QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

namespace {

double luminance(const QColor& c) {
    const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    const QColor rgb = c.toRgb();
    return 0.2126 * channel(rgb.redF()) + 0.7152 * channel(rgb.greenF()) + 0.0722 * channel(rgb.blueF());
}

}  // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool isLightPalette(const QPalette& palette) {
    return luminance(palette.color(QPalette::Window)) > luminance(palette.color(QPalette::WindowText));
}

QColor headingBandColor(const QPalette& palette) {
    return isLightPalette(palette) ? QColor(Qt::white) : palette.color(QPalette::Base);
}

QColor headingColor(const QPalette& palette) {
    const QColor design(0, 51, 153);
    const QColor band = headingBandColor(palette);
    if (contrastRatio(design, band) >= kMinContrast) return design;
    // The same hue, lighter on a dark band and darker on a light one, until it reads.
    const bool lighter = luminance(band) < 0.18;
    QColor c = design.toHsl();
    for (int l = c.lightness(); l >= 0 && l <= 255; l += lighter ? 4 : -4) {
        c.setHsl(design.hslHue(), 255, l);
        if (contrastRatio(c, band) >= kMinContrast) return c;
    }
    return palette.color(QPalette::WindowText);
}

QPalette darkPalette() {
    const QColor window(45, 45, 48), base(30, 30, 32), text(232, 232, 232), button(58, 58, 62);
    QPalette p(window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::ToolTipBase, base);
    p.setColor(QPalette::ToolTipText, text);
    p.setColor(QPalette::PlaceholderText, QColor(160, 160, 160));
    p.setColor(QPalette::Highlight, QColor(61, 126, 214));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, QColor(120, 170, 255));
    for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, QColor(130, 130, 130));
    return p;
}

int twips(int value) { return (value + 7) / 15; }

QLabel* makeImage(QWidget* parent, int size) {
    auto* image = new QLabel(parent);
    setControlType(image, "Image");
    image->setFixedSize(size, size);
    image->setScaledContents(true);
    return image;
}

namespace {
// A picture file larger than this is no picture: a form's icon is small.
constexpr size_t kMaxPictureFileSize = 16 * 1024 * 1024;
}  // namespace

void showPicture(QLabel* image, const Picture& picture) {
    QPixmap pixmap;
    switch (picture.kind()) {
    case Picture::Kind::Empty:
        break;
    case Picture::Kind::Bytes:
        pixmap.loadFromData(picture.bytes().data(), static_cast<uint>(picture.bytes().size()));
        break;
    case Picture::Kind::File: {
        // Read here rather than by QPixmap, whose open would block on a FIFO or device.
        const OrdinaryFile file = readOrdinaryFile(toUtf8(picture.path()), kMaxPictureFileSize);
        if (file.outcome == FileOutcome::Read)
            pixmap.loadFromData(reinterpret_cast<const uchar*>(file.bytes.data()), static_cast<uint>(file.bytes.size()));
        break;
    }
    }
    image->setPixmap(pixmap);
}

namespace {

QFrame* makeBand(QWidget* parent, const QColor& colour) {
    auto* band = new QFrame(parent);
    setControlType(band, "Shape");
    band->setAutoFillBackground(true);
    QPalette palette = band->palette();
    palette.setColor(QPalette::Window, colour);
    band->setPalette(palette);
    return band;
}

}  // namespace

QFrame* makeButtonBand(QWidget* parent, QPushButton* help, std::initializer_list<QPushButton*> right) {
    QFrame* band = makeBand(parent, parent->palette().color(QPalette::Button));
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(kFormMargin, kFormMargin * 2 / 3, kFormMargin, kFormMargin * 2 / 3);
    row->setSpacing(kFormSpacing);
    if (help) {
        help->setFixedWidth(kHelpButtonWidth);
        nameAs(help, QStringLiteral("Help"));
        row->addWidget(help);
    }
    row->addStretch(1);
    for (QPushButton* b : right) {
        b->setMinimumWidth(kButtonMinWidth);
        row->addWidget(b);
    }
    // Only the default button answers to Enter from elsewhere (the form presses a focused one).
    for (QPushButton* b : band->findChildren<QPushButton*>()) b->setAutoDefault(false);
    return band;
}

QFrame* makeHeadingBand(QWidget* parent, QLabel* image, QLabel* heading) {
    QFrame* band = makeBand(parent, headingBandColor(parent->palette()));
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(kFormMargin, kFormMargin * 2 / 3, kFormMargin, kFormMargin * 2 / 3);
    row->setSpacing(kFormMargin);
    if (image) row->addWidget(image, 0, Qt::AlignVCenter);
    row->addWidget(heading, 1);
    return band;
}

QVBoxLayout* makeFormLayout(QWidget* window) {
    auto* root = new QVBoxLayout(window);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    return root;
}

int checkValue(const QCheckBox* box) {
    switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void setCheckValue(QCheckBox* box, int value) {
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

std::optional<int> selectedRow(const QListWidget* list) {
    const QList<QListWidgetItem*> chosen = list->selectedItems();
    if (chosen.isEmpty()) return std::nullopt;
    return list->row(chosen.first());
}

void setTabChain(std::initializer_list<QWidget*> chain) {
    QWidget* previous = nullptr;
    for (QWidget* w : chain) {
        if (previous) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

QFont designFont(const FormFont& font, qreal pointSize, bool bold) {
    return designFont(QString::fromLatin1(font.family), pointSize, bold);
}

QVBoxLayout* openForm(QDialog& window, const QString& title, const FormFont& font, Body body) {
    window.setWindowTitle(title);
    window.setFont(designFont(font, font.pointSize));
    if (body == Body::Window) {
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, palette.color(QPalette::Base));
        palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
        window.setPalette(palette);
    }
    return makeFormLayout(&window);
}

void styleHeading(QLabel* label, const FormFont& font, qreal pointSize) {
    label->setFont(designFont(font, pointSize));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, headingColor(palette));
    label->setPalette(palette);
}

}  // namespace kxsim::platform
