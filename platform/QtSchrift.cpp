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
    // the others are taken as text.
    switch (wert & 0xFF) {
    case 4:  // menu
    case 15: // button face
        return palette.color(QPalette::Button);
    case 5: // window background
        return palette.color(QPalette::Base);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlighted text
        return palette.color(QPalette::HighlightedText);
    case 16: // button shadow
        return palette.color(QPalette::Dark);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 20: // button highlight
        return palette.color(QPalette::Light);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip background
        return palette.color(QPalette::ToolTipBase);
    default: // 8, window text, among them
        return palette.color(QPalette::Text);
    }
}

} // namespace zw
