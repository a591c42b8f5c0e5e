#pragma once
// File dialog filters as the windows write them, "Name|*.A;*.B|Name|*.C|",
// turned into the name filters of a Qt file dialog.

#include <QString>
#include <QStringList>

namespace zw {

// One Qt name filter per entry: the shown name followed by the patterns in
// parentheses. Every pattern is offered in upper and lower case as well as as
// written, because file names on Linux are case-sensitive and a table called
// "eng-ger.tab" must still show under "*.TAB". "*.*" stands for every file,
// with or without an extension. An entry without a pattern is dropped.
QStringList QtNamensFilter(const QString& filter);

// The extension of an entry's first pattern when it is a plain "*.EXT", for
// the extension a save dialog adds to a bare name; empty otherwise.
QString FilterEndung(const QString& filter, int index);

// The number of entries, the range of a filter index.
int FilterAnzahl(const QString& filter);

} // namespace zw
