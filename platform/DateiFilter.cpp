#include "platform/DateiFilter.h"

#include <QRegularExpression>

namespace zw {

namespace {

struct Eintrag {
    QString Name;
    QStringList Muster;
};

QList<Eintrag> Eintraege(const QString& filter) {
    const QStringList teile = filter.split(u'|');
    QList<Eintrag> ergebnis;
    for (qsizetype i = 0; i + 1 < teile.size(); i += 2) {
        Eintrag e;
        e.Name = teile[i].trimmed();
        for (const QString& m : teile[i + 1].split(u';', Qt::SkipEmptyParts)) {
            QString muster = m.trimmed();
            // "*.*" means every file, as on Windows; for Qt it would need a dot.
            if (muster == QStringLiteral("*.*"))
                muster = QStringLiteral("*");
            if (!muster.isEmpty())
                e.Muster << muster;
        }
        if (!e.Muster.isEmpty())
            ergebnis << e;
    }
    return ergebnis;
}

} // namespace

QStringList QtNamensFilter(const QString& filter) {
    QStringList ergebnis;
    for (const Eintrag& e : Eintraege(filter)) {
        QStringList muster;
        for (const QString& m : e.Muster)
            for (const QString& form : {m, m.toUpper(), m.toLower()})
                if (!muster.contains(form))
                    muster << form;
        // Qt reads the patterns from the last pair of parentheses, so a name
        // that shows its own patterns, as "Tabelle (*.TAB)" does, stays whole.
        ergebnis << e.Name + QStringLiteral(" (") + muster.join(u' ') + u')';
    }
    return ergebnis;
}

QString FilterEndung(const QString& filter, int index) {
    const auto eintraege = Eintraege(filter);
    if (index < 1 || index > eintraege.size())
        return {};
    static const QRegularExpression einfach(QStringLiteral("^\\*\\.([A-Za-z0-9_]+)$"));
    const auto treffer = einfach.match(eintraege[index - 1].Muster.first());
    return treffer.hasMatch() ? treffer.captured(1) : QString();
}

int FilterAnzahl(const QString& filter) {
    return int(Eintraege(filter).size());
}

} // namespace zw
