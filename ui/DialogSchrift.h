#pragma once
// The program font and the text background on the controls of a dialog:
// labels, edits, lists and radio groups take all of the font and the
// background, buttons only face, size and style.

#include "core/Schrift.h"

#include <QAbstractButton>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QWidget>

#include <cstdint>
#include <initializer_list>

namespace zw {

inline QFont AlsQFont(const TSchrift& schrift) {
    QFont f(QString::fromStdU16String(schrift.Name));
    f.setPointSize(schrift.Groesse > 0 ? schrift.Groesse : 12);
    f.setItalic(schrift.Stil & StilKursiv);
    f.setBold(schrift.Stil & StilFett);
    f.setUnderline(schrift.Stil & StilUnterstrichen);
    f.setStrikeOut(schrift.Stil & StilDurchgestrichen);
    return f;
}

// A colour value 0x00BBGGRR; a system colour (0xFF0000nn) keeps the
// palette's own.
inline bool AlsQColor(std::uint32_t wert, QColor& farbe) {
    if (wert & 0xFF000000u)
        return false;
    farbe = QColor(int(wert & 0xFF), int((wert >> 8) & 0xFF), int((wert >> 16) & 0xFF));
    return true;
}

inline void SchriftUndHintergrund(std::initializer_list<QWidget*> steuerelemente,
                                  const TSchrift& schrift, std::uint32_t hintergrund) {
    const QFont voll = AlsQFont(schrift);
    for (QWidget* w : steuerelemente) {
        w->setFont(voll);
        QPalette p = w->palette();
        QColor farbe;
        if (AlsQColor(schrift.Farbe, farbe)) {
            p.setColor(QPalette::WindowText, farbe);
            p.setColor(QPalette::Text, farbe);
            p.setColor(QPalette::ButtonText, farbe);
        }
        if (AlsQColor(hintergrund, farbe)) {
            p.setColor(QPalette::Window, farbe);
            p.setColor(QPalette::Base, farbe);
            w->setAutoFillBackground(true);
        }
        w->setPalette(p);
    }
}

inline void SchriftFuerKnoepfe(std::initializer_list<QAbstractButton*> knoepfe,
                               const TSchrift& schrift) {
    const QFont voll = AlsQFont(schrift);
    for (QAbstractButton* k : knoepfe) {
        QFont f = k->font();
        f.setFamily(voll.family());
        f.setPointSize(voll.pointSize());
        f.setItalic(voll.italic());
        f.setBold(voll.bold());
        f.setUnderline(voll.underline());
        f.setStrikeOut(voll.strikeOut());
        k->setFont(f);
    }
}

} // namespace zw
