#pragma once
// The entries of a save dialog: what each offers and the file type it
// writes. The main window and the table editor each keep one list; the
// filter text, the type of a chosen entry and the entry that a loaded
// file's type preselects all come from it.

#include "core/MoFiles.h"

#include <QString>

#include <initializer_list>
#include <vector>

namespace zw {

struct SpeicherEintrag {
    QString Name;   // "Rich Text Format (*.RTF)"
    QString Muster; // "*.RTF", several joined by ";"
    TTextFileType Typ;
};

class SpeicherTypen {
public:
    SpeicherTypen(std::initializer_list<SpeicherEintrag> eintraege);

    // "Name|Muster|Name|Muster|", the form the file dialogs take.
    QString Filter() const;
    // The type the entry at this filter index (from 1) writes; any other
    // index writes ANSI text.
    TTextFileType TypZu(int filterIndex) const;
    // The entry a file of this type and name is offered with: of the entries
    // writing the type, the one whose pattern has the file's extension (its first
    // three letters),
    // otherwise the last. A type no entry writes is saved as ANSI text, so
    // it becomes tfText.
    int IndexZu(TTextFileType& typ, const QString& datei) const;

private:
    std::vector<SpeicherEintrag> eintraege_;
};

} // namespace zw
