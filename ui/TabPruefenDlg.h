#pragma once
// The table editor's check: a list of the lines that are no entries and the
// entries that never take effect. The user picks one and the editor jumps to
// its line.

#include "core/Schrift.h"
#include "core/Tabelle.h"
#include "ui/DialogFenster.h"

#include <cstdint>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace zw {

class TTabPruefenForm : public TDialogFenster {
    Q_OBJECT
public:
    TTabPruefenForm(QWidget* owner, const std::vector<TabBefund>& befunde);

    QLabel* LabelBefunde;
    QListWidget* ListBefunde;
    QPushButton* ButtonZeile;
    QPushButton* ButtonSchliessen;

    // The line of the chosen finding, counted from 1; 0 when none is chosen.
    std::size_t Zeile() const;

    void SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund);
    void SchalterEinrichten() override;
    void FormShow() override;
};

} // namespace zw
