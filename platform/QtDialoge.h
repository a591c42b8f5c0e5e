#pragma once
// The real dialogs: Qt's file dialog and message boxes, in German through
// Qt's own translation.

#include "platform/Dialoge.h"

#include <QFileDialog>

#include <array>
#include <cstdint>

class QComboBox;
class QFileIconProvider;
class QFontDialog;
class QLineEdit;

namespace zw {

// The icon and type provider of the file dialogs.
QFileIconProvider* NamensTypen();

// Qt's own file dialog rather than the desktop's: its name filters ignore
// letter case and it speaks German with the rest of the program.
class DateiAuswahl : public QFileDialog {
    Q_OBJECT
public:
    DateiAuswahl(QWidget* eltern, const DateiDialog& dialog);

    // The chosen filter, counted from 1.
    int GewaehlterFilterIndex() const;

protected:
    // A save refuses a missing folder and a read-only file before Qt's own
    // overwrite question.
    void accept() override;
    // Closes the name completer's list first; see there.
    void done(int ergebnis) override;

private:
    // The entry of a Qt name filter, counted from 1; 0 for none.
    int FilterPosition(const QString& filter) const;
    void EndungFolgtFilter(const QString& namensFilter);
    void NamenEndungReparieren(const QString& namensFilter);
    // The extension an open dialog tries for a name typed without one.
    QString OeffnenEndung() const;

    QLineEdit* namensFeld_ = nullptr;
    QString letzterName_, vorletzterName_;
    QString filter_;
    QString standardEndung_;
};

// The sixteen colours of the Windows font dialog, as colour values
// 0x00BBGGRR, named as the background list names the same values.
struct SchriftFarbe {
    const char* Name;
    std::uint32_t Wert;
};
const std::array<SchriftFarbe, 16>& SchriftFarben();

// Adds the colour to Qt's font dialog, which offers underline and strike-out
// but no colour: a list "&Farbe:" among the effects, on `farbe`. A colour
// that is none of the sixteen (the system's text colour, a value from the
// settings) is kept as long as the user does not choose another.
class SchriftFarbWahl {
public:
    SchriftFarbWahl(QFontDialog& dialog, std::uint32_t farbe);
    // The colour the user chose, or the one the dialog began with.
    std::uint32_t Farbe() const;

    QComboBox* Liste = nullptr;
};

// Gives the controls of Qt's own font dialog the names of their labels for a
// screen reader: Qt names the size field only, and leaves the lists and the
// fields above them unnamed. A name set before stays.
void SchriftDialogBenennen(QFontDialog& dialog);

class QtDialoge : public Dialoge {
public:
    bool DateiWaehlen(QWidget* eltern, DateiDialog& dialog) override;
    void Information(QWidget* eltern, const QString& text) override;
    Antwort Bestaetigung(QWidget* eltern, const QString& text) override;
    Antwort JaNein(QWidget* eltern, const QString& text) override;
    Antwort FehlerWiederholen(QWidget* eltern, const QString& text) override;
    void Warnung(QWidget* eltern, const QString& text) override;
    void Fehler(QWidget* eltern, const QString& text) override;
    bool SchriftWaehlen(QWidget* eltern, TSchrift& schrift) override;
};

} // namespace zw
