#include "platform/QtSchrift.h"

#include <QGuiApplication>

#include <cmath>

namespace zw {

QFont QtSchrift(const TSchrift& schrift) {
    QFont f(QString::fromStdU16String(schrift.Name));
    if (schrift.Groesse > 0)
        f.setPointSize(schrift.Groesse);
    else if (schrift.Groesse < 0)
        f.setPixelSize(-schrift.Groesse);
    else
        f.setPointSizeF(QGuiApplication::font().pointSizeF());
    f.setItalic(schrift.Stil & StilKursiv);
    f.setBold(schrift.Stil & StilFett);
    f.setUnderline(schrift.Stil & StilUnterstrichen);
    f.setStrikeOut(schrift.Stil & StilDurchgestrichen);
    return f;
}

int StilBits(const QFont& schrift) {
    return (schrift.italic() ? StilKursiv : 0) | (schrift.bold() ? StilFett : 0) |
           (schrift.underline() ? StilUnterstrichen : 0) |
           (schrift.strikeOut() ? StilDurchgestrichen : 0);
}

void SchriftUebernehmen(const QFont& von, TSchrift& nach) {
    nach.Name = von.family().toStdU16String();
    if (von.pointSizeF() > 0)
        nach.Groesse = int(std::lround(von.pointSizeF()));
    else if (von.pixelSize() > 0)
        nach.Groesse = -von.pixelSize();
    nach.Stil = StilBits(von);
}

QColor FarbeAusWert(std::uint32_t wert, const QPalette& palette) {
    if ((wert >> 24) != 0xFF)
        return QColor(int(wert & 0xFF), int((wert >> 8) & 0xFF), int((wert >> 16) & 0xFF));
    // The Windows system colour numbers that have a role in Qt's palette;
    // the others, 8 (window text) among them, are taken as text.
    struct Systemfarbe {
        std::uint32_t Nummer;
        QPalette::ColorGroup Gruppe;
        QPalette::ColorRole Rolle;
    };
    static constexpr Systemfarbe kSystemfarben[] = {
        {4, QPalette::Active, QPalette::Button},           // menu
        {5, QPalette::Active, QPalette::Base},             // window background
        {13, QPalette::Active, QPalette::Highlight},       // highlight
        {14, QPalette::Active, QPalette::HighlightedText}, // highlighted text
        {15, QPalette::Active, QPalette::Button},          // button face
        {16, QPalette::Active, QPalette::Dark},            // button shadow
        {17, QPalette::Disabled, QPalette::Text},          // grey text
        {18, QPalette::Active, QPalette::ButtonText},      // button text
        {20, QPalette::Active, QPalette::Light},           // button highlight
        {23, QPalette::Active, QPalette::ToolTipText},     // tooltip text
        {24, QPalette::Active, QPalette::ToolTipBase},     // tooltip background
    };
    for (const Systemfarbe& s : kSystemfarben)
        if (s.Nummer == (wert & 0xFF))
            return palette.color(s.Gruppe, s.Rolle);
    return palette.color(QPalette::Active, QPalette::Text);
}

} // namespace zw
