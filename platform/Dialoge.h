#pragma once
// Every file dialog and message box a window shows goes through this one
// interface: the program passes the real Qt dialogs, tests pass a script that
// answers them.

#include "core/Schrift.h"

#include <QString>

class QWidget;

namespace zw {

// The answer of a message box; Keine when no box was shown.
enum class Antwort { Keine, Ja, Nein, Abbrechen, OK, Wiederholen };

enum class DateiDialogArt { Oeffnen, Speichern };

// The settings of one file dialog, kept by its window between two uses as the
// dialog objects of a form are: what the user chose stays for the next run.
struct DateiDialog {
    DateiDialogArt Art = DateiDialogArt::Oeffnen;
    QString Titel;
    // In the form "Name|Muster;Muster|Name|Muster|", patterns as "*.EXT".
    QString Filter;
    int FilterIndex = 1; // counted from 1
    QString StandardEndung;
    // The folder the dialog starts in; empty for the current one.
    QString Ordner;
    // A file name to preselect, or after a confirmed run the chosen full path.
    QString DateiName;
};

class Dialoge {
public:
    virtual ~Dialoge() = default;

    // Shows the dialog; true when the user confirmed a file. Then DateiName
    // holds the full path and FilterIndex the chosen filter.
    virtual bool DateiWaehlen(QWidget* eltern, DateiDialog& dialog) = 0;

    // Information with the single button OK, for reports.
    virtual void Information(QWidget* eltern, const QString& text) = 0;
    // Confirmation with Ja, Nein and Abbrechen.
    virtual Antwort Bestaetigung(QWidget* eltern, const QString& text) = 0;
    // A question with Ja and Nein only.
    virtual Antwort JaNein(QWidget* eltern, const QString& text) = 0;
    // Error with Wiederholen and Abbrechen, for an action that can be retried.
    virtual Antwort FehlerWiederholen(QWidget* eltern, const QString& text) = 0;
    // Warning with OK.
    virtual void Warnung(QWidget* eltern, const QString& text) = 0;
    // Error with OK: the box of the general error handler.
    virtual void Fehler(QWidget* eltern, const QString& text) = 0;

    // The font dialog, opened on `schrift`. True when the user confirmed;
    // then face, size, style (underline and strike-out among it) and colour
    // are the chosen ones, while the character set stays as it was. A dialog
    // layer without a font dialog answers as if the user cancelled.
    virtual bool SchriftWaehlen(QWidget* eltern, TSchrift& schrift) {
        (void)eltern;
        (void)schrift;
        return false;
    }
};

} // namespace zw
