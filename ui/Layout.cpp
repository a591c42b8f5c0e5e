#include "ui/Layout.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QWidget>

#include <algorithm>

namespace zw {

namespace {

// Measured with a label of its own, as the windows show their texts, so
// the style's and the platform's idea of a line height is what counts.
QSize LabelGroesse(const QFont& schrift, const QString& text) {
    QLabel label;
    label.setTextFormat(Qt::PlainText);
    label.setFont(schrift);
    label.setText(text);
    return label.sizeHint();
}

} // namespace

int SchriftHoehe(const QFont& schrift) {
    return LabelGroesse(schrift, QStringLiteral("M")).height();
}

int SteuerelementHoehe(const QFont& schrift, const QWidget* steuerelement) {
    int zusatz = 0;
    if (qobject_cast<const QLineEdit*>(steuerelement))
        zusatz = 8;
    else if (qobject_cast<const QPushButton*>(steuerelement))
        zusatz = 12;
    else if (qobject_cast<const QStatusBar*>(steuerelement))
        zusatz = 6;
    else if (qobject_cast<const QGroupBox*>(steuerelement))
        zusatz = 8;
    return SchriftHoehe(schrift) + zusatz;
}

int TextBreite(const QFont& schrift, const QString& text) {
    return LabelGroesse(schrift, text + u' ').width();
}

QString UndZeichenEntfernen(QString caption) {
    return caption.remove(u'&');
}

int KnopfBreite(const QAbstractButton* knopf) {
    return std::max(
        kLayoutKnopfBreite,
        TextBreite(knopf->font(), UndZeichenEntfernen(knopf->text()) + QStringLiteral("MM")));
}

void SchriftUndHintergrundZuweisen(QWidget* steuerelement, const TSchrift& schrift,
                                   std::uint32_t hintergrund) {
    steuerelement->setFont(QtSchrift(schrift));
    // Colours are taken from the style's palette, not from the control's,
    // so a system colour after a red one gives the style's text colour back.
    const QPalette standard = QApplication::palette(steuerelement);
    QPalette p = steuerelement->palette();
    const QColor text = FarbeAusWert(schrift.Farbe, standard);
    const QColor grund = FarbeAusWert(hintergrund, standard);
    // A disabled control keeps the style's grey text, so it still looks
    // disabled.
    for (QPalette::ColorGroup gruppe : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(gruppe, QPalette::WindowText, text);
        p.setColor(gruppe, QPalette::Text, text);
    }
    p.setColor(QPalette::Window, grund);
    p.setColor(QPalette::Base, grund);
    steuerelement->setPalette(p);
    steuerelement->setAutoFillBackground(true);
}

void KnopfSchriftZuweisen(QAbstractButton* knopf, const TSchrift& schrift) {
    const QFont voll = QtSchrift(schrift);
    QFont f = knopf->font();
    f.setFamilies(voll.families());
    if (voll.pixelSize() > 0)
        f.setPixelSize(voll.pixelSize());
    else
        f.setPointSizeF(voll.pointSizeF());
    f.setItalic(voll.italic());
    f.setBold(voll.bold());
    f.setUnderline(voll.underline());
    f.setStrikeOut(voll.strikeOut());
    knopf->setFont(f);
}

void SchriftartAnwenden(std::initializer_list<QWidget*> steuerelemente,
                        std::initializer_list<QAbstractButton*> knoepfe, const TSchrift& schrift,
                        std::uint32_t hintergrund) {
    for (QWidget* w : steuerelemente)
        SchriftUndHintergrundZuweisen(w, schrift, hintergrund);
    for (QAbstractButton* k : knoepfe)
        KnopfSchriftZuweisen(k, schrift);
}

bool BildschirmGross(QWidget* fenster, QSize* rahmen) {
    const QScreen* bildschirm = fenster->screen();
    if (!bildschirm)
        return false;
    const QSize r = fenster->frameGeometry().size() - fenster->geometry().size();
    if (rahmen)
        *rahmen = r;
    fenster->setFixedSize(bildschirm->geometry().size() - r);
    return true;
}

void DialogMittig(QWidget* fenster) {
    const QScreen* bildschirm = fenster->screen();
    if (!bildschirm)
        return;
    const QRect flaeche = bildschirm->geometry();
    // The frame the window system adds counts; before the first showing
    // Qt does not know it and the client size is all there is.
    const QSize rahmen =
        fenster->size() + (fenster->frameGeometry().size() - fenster->geometry().size());
    const int oben = qMax(0, (flaeche.height() - rahmen.height()) / 2 - 1);
    const int links = qMax(0, (flaeche.width() - rahmen.width()) / 2 - 1);
    fenster->move(flaeche.left() + links, flaeche.top() + oben);
}

} // namespace zw
