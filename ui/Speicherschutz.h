#pragma once
// What a save must not destroy without asking: a Word or OpenDocument file
// (its text was read, its formatting would be lost), and the part of a file
// behind a NUL, which was never read. Shared by the main window and the
// table editor.

#include "core/MoFiles.h"
#include "platform/Dialoge.h"

#include <QString>

#include <optional>

namespace zw {

// Where the shown text was read from, and what reading it left out.
struct Geladen {
    QString Pfad;
    Herkunft Quelle = Herkunft::Textdatei;
    std::optional<NulStelle> Nul;

    static Geladen Aus(const QString& pfad, const Dokument& d) { return {pfad, d.Quelle, d.Nul}; }
    // A converted document that would be saved over its own source.
    bool DokumentQuelle(const QString& ziel) const;
};

// The name a document's text is offered under: the source's folder and
// name, ending in ".TXT".
QString TextNameFuer(const QString& dokument);

bool SelbeDatei(const QString& a, const QString& b);

// A Word or OpenDocument file by its extension or its first bytes.
bool IstDokumentDatei(const QString& pfad);

// Asks before a save to `ziel` replaces a Word or OpenDocument file, or
// shortens the file whose text a NUL cut short. "Nein" is the default;
// true means save.
bool ErsetzenErlaubt(Dialoge& dialoge, QWidget* eltern, const Geladen& geladen,
                     const QString& ziel);

// The report of the open command when a NUL cut the text short.
void NulMelden(Dialoge& dialoge, QWidget* eltern, const Geladen& geladen);

} // namespace zw
