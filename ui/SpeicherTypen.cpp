#include "ui/SpeicherTypen.h"

#include <QFileInfo>

namespace zw {

SpeicherTypen::SpeicherTypen(std::initializer_list<SpeicherEintrag> eintraege)
    : eintraege_(eintraege) {}

QString SpeicherTypen::Filter() const {
    QString filter;
    for (const SpeicherEintrag& e : eintraege_)
        filter += e.Name + u'|' + e.Muster + u'|';
    return filter;
}

TTextFileType SpeicherTypen::TypZu(int filterIndex) const {
    if (filterIndex < 1 || filterIndex > int(eintraege_.size()))
        return tfText;
    return eintraege_[std::size_t(filterIndex - 1)].Typ;
}

int SpeicherTypen::IndexZu(TTextFileType& typ, const QString& datei) const {
    bool angeboten = false;
    for (const SpeicherEintrag& e : eintraege_)
        angeboten = angeboten || e.Typ == typ;
    if (!angeboten)
        typ = tfText;
    // Extensions count with their first three letters, as the dialogs'
    // patterns were written for three-letter names.
    const QString endung = QFileInfo(datei).suffix().left(3);
    int index = 0;
    for (int i = 0; i < int(eintraege_.size()); ++i) {
        const SpeicherEintrag& e = eintraege_[std::size_t(i)];
        if (e.Typ != typ)
            continue;
        index = i + 1;
        for (const QString& muster : e.Muster.split(u';'))
            if (!endung.isEmpty() && muster.mid(2).compare(endung, Qt::CaseInsensitive) == 0)
                return index;
    }
    return index;
}

} // namespace zw
