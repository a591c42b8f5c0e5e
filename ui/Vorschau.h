#pragma once
// The braille preview: the print text as the embosser embosses it, every
// byte through the embosser's code as a braille cell, lines wrapped and
// pages ended at the embosser's page size, pages numbered. Bytes without a
// cell in the code are marked and listed. Page Up and Page Down move by page.

#include "core/BrailleSatz.h"
#include "core/Schrift.h"
#include "ui/DialogFenster.h"

#include <cstdint>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace zw {

class TVorschauForm : public TDialogFenster {
    Q_OBJECT
public:
    // druckBytes: what printing sends, form feed included.
    TVorschauForm(QWidget* owner, std::string druckBytes, const BrailleEinstellung& einstellung);

    QLabel* LabelCode;
    QComboBox* ComboCode;
    QLabel* LabelZeichen;
    QSpinBox* EditZeichen;
    QLabel* LabelZeilen;
    QSpinBox* EditZeilen;
    QPlainTextEdit* TextVorschau;
    QLabel* LabelSeite;
    QLabel* LabelOhneZelle;
    QPushButton* ButtonSchliessen;

    // Code and page size as the user left them.
    BrailleEinstellung Einstellung() const;
    // The line of the text where each page's heading stands.
    const std::vector<int>& SeitenZeilen() const { return seitenZeilen_; }
    // The page the cursor is on, 1-based.
    int AktuelleSeite() const;

    void SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund);
    void SchalterEinrichten() override;
    void FormShow() override;

    // Lays the text out again for the chosen code and page size.
    void Aktualisieren();
    // Moves to the page before or after the cursor's.
    void SeiteBlaettern(int richtung);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void SeiteAnzeigen();

    std::string bytes_;
    BrailleSatz satz_;
    std::vector<int> seitenZeilen_;
};

} // namespace zw
