#include "platform/design.h"

#include <QCheckBox>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QWidget>
#include <QLabel>
#include <QPalette>
#include <QPixmap>

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

QColor headingColor() { return QColor(0, 51, 153); }

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
        if (file.outcome == OrdinaryFile::Outcome::Read)
            pixmap.loadFromData(reinterpret_cast<const uchar*>(file.bytes.data()), static_cast<uint>(file.bytes.size()));
        break;
    }
    }
    image->setPixmap(pixmap);
}

namespace {

QFrame* makeBand(QWidget* parent, QPalette::ColorRole role) {
    auto* band = new QFrame(parent);
    setControlType(band, "Shape");
    band->setAutoFillBackground(true);
    QPalette palette = band->palette();
    palette.setColor(QPalette::Window, role == QPalette::Base ? QColor(Qt::white)
                                                              : palette.color(QPalette::Button));
    band->setPalette(palette);
    return band;
}

}  // namespace

QFrame* makeButtonBand(QWidget* parent) { return makeBand(parent, QPalette::Button); }
QFrame* makeHeadingBand(QWidget* parent) { return makeBand(parent, QPalette::Base); }

QFrame* makeHeadingBand(QWidget* parent, QLabel* image, QLabel* heading) {
    QFrame* band = makeHeadingBand(parent);
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(12, 8, 12, 8);
    row->setSpacing(12);
    row->addWidget(image);
    row->addWidget(heading, 1);
    return band;
}

QFrame* makeSeparator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
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

QVBoxLayout* openForm(QDialog& window, const QString& title, const FormFont& font) {
    window.setWindowTitle(title);
    window.setFont(designFont(font, font.pointSize));
    return makeFormLayout(&window);
}

void styleHeading(QLabel* label, const FormFont& font, qreal pointSize) {
    label->setFont(designFont(font, pointSize));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, headingColor());
    label->setPalette(palette);
}

}  // namespace kxsim::platform
