#pragma once
// The local port dialog: one of the four parallel ports LPT1 to LPT4.

#include "core/Schrift.h"
#include "ui/DialogFenster.h"

#include <array>
#include <cstdint>

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace zw {

class TLptWechselnForm : public TDialogFenster {
    Q_OBJECT
public:
    TLptWechselnForm(QWidget* owner, const QString& druckerPortStr);

    // The radio group "Anschluss" and its items LPT1 to LPT4.
    QGroupBox* RadioGroup;
    std::array<QRadioButton*, 4> RadioItems;
    QPushButton* ButtonOk;
    QPushButton* ButtonAbbrechen;

    // The selected item, 0 to 3, or -1.
    int ItemIndex() const;
    void SetItemIndex(int index);

    // The port the dialog starts from and, after OK, the chosen one.
    const QString& DruckerPortStr() const { return FDruckerPortStr; }

    void SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund);
    void SchalterEinrichten() override;
    void FormShow() override;
    void ButtonOkClick();

private:
    QString FDruckerPortStr;
};

// The item a port string preselects: "LPT" in capitals and one digit 1 to 9
// select that port, 5 to 9 the last one; anything else the first.
int LptVorauswahl(const QString& port);

} // namespace zw
