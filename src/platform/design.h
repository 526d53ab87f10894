// SPDX-License-Identifier: LGPL-2.1-or-later
// SPDX-FileCopyrightText: kxsimlib contributors
#pragma once
// The look the dialog forms share, in one place: fonts with fallbacks, the
// heading colour and band, the button band with its button sizes, margins and
// spacing, and the colours that follow a light or a dark palette.

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <initializer_list>
#include <optional>

#include "kxsimlib/picture.h"

class QCheckBox;
class QDialog;
class QLabel;
class QListWidget;
class QFrame;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace kxsim::platform {

/// A form's design font: the family its designer chose (a sans-serif font
/// stands in where it is not installed) and the point size of its text.
struct FormFont {
    const char* family;
    qreal pointSize;
};
/// The property that keeps a control's fixed design text (its "Tag"), which
/// the form puts back where a translation must not reach.
inline constexpr const char* kTagProperty = "Tag";

inline constexpr FormFont kArial9{"Arial", 9};
inline constexpr FormFont kTahoma9{"Tahoma", 9};
inline constexpr FormFont kLucida975{"Lucida Sans Unicode", 9.75};
inline constexpr FormFont kMsSansSerif975{"MS Sans Serif", 9.75};
/// The size of a form's heading, in its design font.
inline constexpr qreal kHeadingPointSize = 12;

/// Margin around a form's body and inside its bands, and the spacing between
/// its controls, in pixels at 96 dots per inch.
inline constexpr int kFormMargin = 12;
inline constexpr int kFormSpacing = 8;
/// The width of every "?" button, and the least width of the other buttons of
/// a button band.
inline constexpr int kHelpButtonWidth = 36;
inline constexpr int kButtonMinWidth = 88;

/// The colour of a form's body: the dialog colour, or the system window colour
/// (white on a light palette) where the form's design asks for it.
enum class Body { Dialog, Window };

/// What every form's build starts with: the window's design title, font and
/// body colour, and its top-level layout (see makeFormLayout).
QVBoxLayout* openForm(QDialog& window, const QString& title, const FormFont& font, Body body = Body::Dialog);

/// \a family at \a pointSize, falling back to a sans-serif font where the
/// family is not installed.
QFont designFont(const QString& family, qreal pointSize, bool bold = false);

/// The heading colour on \a palette: the design's dark blue (red 0, green 51,
/// blue 153) where it stands out from the heading band, else a blue of the same
/// hue light or dark enough for a contrast of at least kMinContrast.
QColor headingColor(const QPalette& palette);
/// Behind the heading: white on a light palette, the palette's base colour on a dark one.
QColor headingBandColor(const QPalette& palette);
/// True when \a palette shows dark text on light windows.
bool isLightPalette(const QPalette& palette);
/// The contrast ratio of two colours as WCAG 2 defines it: 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);
/// The least contrast of a text against what is behind it.
inline constexpr double kMinContrast = 4.5;
/// A dark palette (light text on dark grey) for pictures and checks of the dark look.
QPalette darkPalette();

/// Pixels for a length in twips (1/1440 inch) at the screen's 96 dots per inch.
int twips(int value);

/// An image control ("Image"): a fixed square showing a picture, scaled.
QLabel* makeImage(QWidget* parent, int size);
/// Shows \a picture in \a image; a picture that does not decode, or a file that
/// is no ordinary file of at most 16 MiB, shows nothing.
void showPicture(QLabel* image, const Picture& picture);

/// A filled band ("Shape") in the button-face colour across the bottom: \a help
/// ("?", may be null, said "Help") at the left, \a right at the right in that
/// order. Sets the buttons' sizes. None becomes the default button by taking
/// the focus.
QFrame* makeButtonBand(QWidget* parent, QPushButton* help, std::initializer_list<QPushButton*> right);
/// The heading band across the top: \a image (may be null) at the left and
/// \a heading beside it, in the heading colours.
QFrame* makeHeadingBand(QWidget* parent, QLabel* image, QLabel* heading);
/// The top-level layout of a form: bands reach the window's edges.
QVBoxLayout* makeFormLayout(QWidget* window);

/// A check box's state as the dialogs count it: 0 cleared, 1 checked, 2 greyed.
int checkValue(const QCheckBox* box);
/// Sets a check box to 0 cleared, 1 checked or 2 greyed.
void setCheckValue(QCheckBox* box, int value);

/// The row of a single-selection list's selected entry, however it was
/// selected (a click, the keys, an assistive tool selecting without moving the
/// current row); none when nothing is selected.
std::optional<int> selectedRow(const QListWidget* list);

/// Sets the keyboard order: Tab goes from each widget to the next in \a chain.
void setTabChain(std::initializer_list<QWidget*> chain);

/// \a font's family at \a pointSize, bold when asked.
QFont designFont(const FormFont& font, qreal pointSize, bool bold = false);

/// A heading label: \a font's family at \a pointSize, in the heading colour.
void styleHeading(QLabel* label, const FormFont& font, qreal pointSize = kHeadingPointSize);

}  // namespace kxsim::platform
