#include "ui/DialogFenster.h"

#include "ui/Layout.h"

#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

namespace zw {

TDialogFenster::TDialogFenster(QWidget* owner, const char* name, const QString& titel,
                               Rahmen rahmen)
    : QDialog(owner) {
    setObjectName(QLatin1String(name));
    setWindowTitle(titel);
    Qt::WindowFlags flaggen =
        Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (rahmen == Rahmen::Fest)
        flaggen |= Qt::MSWindowsFixedSizeDialogHint;
    setWindowFlags(flaggen);
}

void TDialogFenster::FensterEinrichten() {
    DialogMittig(this);
}

void TDialogFenster::FormShow() {
    SchalterEinrichten();
}

QLabel* TDialogFenster::Beschriftung(const char* name, const QString& text) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QLatin1String(name));
    return l;
}

QPushButton* TDialogFenster::Knopf(const char* name, const QString& text, bool standard) {
    auto* k = new QPushButton(text, this);
    k->setObjectName(QLatin1String(name));
    if (standard)
        k->setDefault(true);
    else
        k->setAutoDefault(false);
    return k;
}

void TDialogFenster::showEvent(QShowEvent* ereignis) {
    QDialog::showEvent(ereignis);
    if (!ereignis->spontaneous())
        FormShow();
}

} // namespace zw
