#pragma once
// The choice of the text background colour: a list of 19 named colours in a
// small modal dialog that the main window keeps for the whole run, so the
// list keeps the last confirmed entry between showings.

#include "core/Schrift.h"
#include "ui/DialogFenster.h"

#include <array>
#include <cstdint>

class QListWidget;
class QPushButton;

namespace zw {

inline constexpr int kHintergrundAnzahl = 19;

// Names and colour values (0x00BBGGRR) by list position. "Grau" and
// "Dunkelgrau", "Hellgrau" and "Silber" have the same colour; both entries of
// a pair stay, and the stored position tells which one was chosen.
extern const std::array<const char16_t*, kHintergrundAnzahl> HintergrundNamen;
extern const std::array<std::uint32_t, kHintergrundAnzahl> HintergrundFarben;

class THintergrundForm : public TDialogFenster {
    Q_OBJECT
public:
    THintergrundForm(QWidget* owner, int rand);

    QListWidget* ListBox1;
    QPushButton* Button1; // OK, the default button
    QPushButton* Button2; // Abbrechen, also Esc and the close box

    int MerkItemIndex = -1;
    int Rand;

    // Title, captions, and the 19 names afresh; nothing is selected after.
    void CaptionZuweisen(const QString& aCaption, const QString& aBtn1Caption,
                         const QString& aBtn2Caption);

    // The selected position; writing a number outside 0..18 selects 0.
    int HintergrundNr() const;
    void SetHintergrundNr(int nr);
    // The colour value of the selected position.
    std::uint32_t HintergrundFarbe() const;

    void SchriftartZuweisen(const TSchrift& aFont, std::uint32_t aColor);
    void SchalterEinrichten() override;
    void FormShow() override;

protected:
    void done(int ergebnis) override;
};

} // namespace zw
