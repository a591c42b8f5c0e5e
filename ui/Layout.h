#pragma once
// What every window needs to lay itself out from the program font: the
// measuring helpers, the font as Qt knows it, and the font and background
// colour put on the controls. Windows place their controls themselves from
// these numbers, so a large font makes them grow instead of clipping.

#include "core/Schrift.h"
#include "platform/QtSchrift.h"

#include <QFont>
#include <QSize>
#include <QString>

#include <cstdint>
#include <initializer_list>

class QAbstractButton;
class QPushButton;
class QWidget;

namespace zw {

// Spacing between controls and margin at the window's edge.
inline constexpr int kLayoutAbstand = 10;
// Every button except those of the background colour dialog.
inline constexpr int kLayoutKnopfBreite = 125;

// Height of an auto-sized label that shows "M": the font's line height.
int SchriftHoehe(const QFont& schrift);

// SchriftHoehe plus the room the kind of control needs around its text:
// one-line edit 8, push button 12, status bar 6, radio group (a group box)
// 8, anything else 0.
int SteuerelementHoehe(const QFont& schrift, const QWidget* steuerelement);

// Width of an auto-sized label that shows the text followed by one space.
int TextBreite(const QFont& schrift, const QString& text);

// The caption without its "&" marks: "O&K" gives "OK".
QString UndZeichenEntfernen(QString caption);

// A button as wide as kLayoutKnopfBreite or, when its caption needs more,
// as the caption with room for two more letters, so it is read whole.
int KnopfBreite(const QAbstractButton* knopf);

// Labels, edits, list boxes, text controls and radio groups: the whole
// font with its colour, and the background colour.
void SchriftUndHintergrundZuweisen(QWidget* steuerelement, const TSchrift& schrift,
                                   std::uint32_t hintergrund);

// Buttons take face, size and style only; their text colour, character set
// and background stay their own.
void KnopfSchriftZuweisen(QAbstractButton* knopf, const TSchrift& schrift);

// Both at once, as every window's SchriftartZuweisen applies them: the
// whole font and the background to the controls, face, size and style to
// the buttons.
void SchriftartAnwenden(std::initializer_list<QWidget*> steuerelemente,
                        std::initializer_list<QAbstractButton*> knoepfe, const TSchrift& schrift,
                        std::uint32_t hintergrund);

// Places a dialog or viewer centred on its screen, one pixel up and left,
// never above or left of the screen's corner.
void DialogMittig(QWidget* fenster);

// Gives a window a fixed size that makes it, with its frame, as large as its
// screen. The frame counts as far as the window system has added it; it is
// written to `rahmen`, so a window can lay itself out again when it
// changes. False, and nothing changed, without a screen.
bool BildschirmGross(QWidget* fenster, QSize* rahmen = nullptr);

} // namespace zw
