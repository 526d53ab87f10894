#pragma once
// The look the dialog forms share: fonts with fallbacks, the heading colour,
// the icon image, the white heading band and the button band.

#include <QColor>
#include <QFont>
#include <QString>
#include <initializer_list>

#include "kxsimlib/picture.h"

class QCheckBox;
class QDialog;
class QLabel;
class QFrame;
class QVBoxLayout;
class QWidget;

namespace kxsim::platform {

/// A form's design font: the family its designer chose (a sans-serif font
/// stands in where it is not installed) and the point size of its text.
struct FormFont {
    const char* family;
    qreal pointSize;
};
inline constexpr FormFont kArial9{"Arial", 9};
inline constexpr FormFont kTahoma9{"Tahoma", 9};
inline constexpr FormFont kLucida975{"Lucida Sans Unicode", 9.75};
inline constexpr FormFont kMsSansSerif975{"MS Sans Serif", 9.75};
/// The size of a form's heading, in its design font.
inline constexpr qreal kHeadingPointSize = 12;

/// What every form's build starts with: the window's design title and font,
/// and its top-level layout (see makeFormLayout).
QVBoxLayout* openForm(QDialog& window, const QString& title, const FormFont& font);

/// \a family at \a pointSize, falling back to a sans-serif font where the
/// family is not installed.
QFont designFont(const QString& family, qreal pointSize, bool bold = false);

/// The dark blue of the headings (red 0, green 51, blue 153).
QColor headingColor();

/// Pixels for a length in twips (1/1440 inch) at the screen's 96 dots per inch.
int twips(int value);

/// An image control ("Image"): a fixed square showing a picture, scaled.
QLabel* makeImage(QWidget* parent, int size);
/// Shows \a picture in \a image; a picture that does not decode, or a file that
/// is no ordinary file of at most 16 MiB, shows nothing.
void showPicture(QLabel* image, const Picture& picture);

/// A filled band ("Shape") in the button-face colour, holding a row of buttons.
QFrame* makeButtonBand(QWidget* parent);
/// A white band across the top, holding the icon and the heading.
QFrame* makeHeadingBand(QWidget* parent);
/// The white band with \a image at the left and \a heading beside it.
QFrame* makeHeadingBand(QWidget* parent, QLabel* image, QLabel* heading);
/// A sunken horizontal line between a form's body and its button row.
QFrame* makeSeparator(QWidget* parent);
/// The top-level layout of a form: bands reach the window's edges.
QVBoxLayout* makeFormLayout(QWidget* window);

/// A check box's state as the dialogs count it: 0 cleared, 1 checked, 2 greyed.
int checkValue(const QCheckBox* box);
/// Sets a check box to 0 cleared, 1 checked or 2 greyed.
void setCheckValue(QCheckBox* box, int value);

/// Sets the keyboard order: Tab goes from each widget to the next in \a chain.
void setTabChain(std::initializer_list<QWidget*> chain);

/// \a font's family at \a pointSize, bold when asked.
QFont designFont(const FormFont& font, qreal pointSize, bool bold = false);

/// A heading label: \a font's family at \a pointSize, dark blue.
void styleHeading(QLabel* label, const FormFont& font, qreal pointSize = kHeadingPointSize);

}  // namespace kxsim::platform
