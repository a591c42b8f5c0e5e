#pragma once
// The print dialog: shows the port, asks for the number of copies and writes
// the text raw to the port once per copy, asking again while the printer is
// not ready.

#include "core/BrailleSatz.h"
#include "core/Schrift.h"
#include "platform/Dialoge.h"
#include "platform/Druckausgabe.h"
#include "ui/DialogFenster.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

class QFontMetrics;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zw {

class DruckLauf;

class TDruckenForm : public TDialogFenster {
    Q_OBJECT
public:
    // druckTextStr is the trimmed text; the dialog appends the form feed.
    TDruckenForm(QWidget* owner, Dialoge& dialoge, const QString& druckerPortStr,
                 std::u16string_view druckTextStr, const BrailleEinstellung& braille = {});

    QLabel* LabelPort;
    QLabel* LabelPortText;
    QLabel* LabelKopien;
    QLineEdit* EditKopien;
    QLabel* LabelSeiten;
    QSpinBox* EditSeitenVon;
    QLabel* LabelSeitenBis;
    QSpinBox* EditSeitenBis;
    QLabel* LabelSeitenAnzahl;
    QLabel* LabelStatus;
    QLabel* LabelStatusText;
    // What the embosser cannot emboss, and whether the text still waits
    // for its conversion; hidden when there is nothing to say.
    QLabel* LabelPruefung;
    QPushButton* ButtonDrucken;
    QPushButton* ButtonVorschau;
    QPushButton* ButtonAbbrechen;

    const QString& DruckerPortStr() const { return FDruckerPortStr; }
    const std::u16string& DruckTextStr() const { return FDruckTextStr; }
    int Kopien() const { return FKopien; }
    void SetKopien(int n);

    // The embosser's code and page size: the check and the page range
    // follow them.
    void SetBraille(const BrailleEinstellung& braille);
    const BrailleEinstellung& Braille() const { return braille_; }
    // Characters the code table would still replace in the text; 0 when it
    // has been converted or the table changes nothing.
    void SetNichtKonvertiert(std::int64_t anzahl);
    int SeitenAnzahl() const { return int(seiten_.size()); }
    // True while copies are being written.
    bool Druckt() const { return druckt_; }

    // The longest the port may take no byte.
    std::chrono::milliseconds StockLimit = DruckZeitLimit;
    // Told when the preview has changed the code or the page size.
    std::function<void(const BrailleEinstellung&)> BrailleGeaendert;

    void SchriftartZuweisen(const TSchrift& schrift, std::uint32_t hintergrund);
    void SchalterEinrichten() override;
    void FormShow() override;
    // True when the typed character may go into the copies field.
    bool EditKopienKeyPress(QChar zeichen);
    void EditKopienChange();
    void ButtonDruckenClick();
    void ButtonVorschauClick();
    // While printing: ends the job between two pieces. Otherwise closes.
    void reject() override;

    // The default system beep of the key filter; tests listen to it here.
    std::function<void()> Signalton;

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void PruefungZeigen();
    void SeitenEinrichten();
    void KopieBeginnen();
    void KopieFertig(const DruckErgebnis& ergebnis);
    void StatusZeigen(std::size_t gesendet, std::size_t groesse);
    void Schluss();

    Dialoge& dialoge_;
    QString FDruckerPortStr;
    std::u16string FDruckTextStr;
    int FKopien = 1;
    TSchrift schrift_;
    std::uint32_t hintergrund_ = 0xFFFFFF;
    BrailleEinstellung braille_;
    // The check of the text in the embosser's code, kept for the label.
    QString pruefMeldung_;
    std::int64_t nichtKonvertiert_ = 0;
    std::string bytes_;
    std::vector<BrailleSeite> seiten_;
    // The print job under way.
    DruckLauf* lauf_ = nullptr;
    std::string auftrag_;
    int geschrieben_ = 0;
    bool druckt_ = false;
    std::chrono::steady_clock::time_point statusZeit_;
};

// A port string shortened to a width as a path is: the folders after the
// drive or the root are replaced one by one by "...", then the drive is
// dropped, and at the end only the last part remains, whichever first fits.
QString PortKuerzen(const QString& port, const QFontMetrics& metrik, int breite);

} // namespace zw
