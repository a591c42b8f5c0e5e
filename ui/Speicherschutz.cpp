#include "ui/Speicherschutz.h"

#include "core/Konvertierung.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zw {

bool Geladen::DokumentQuelle(const QString& ziel) const {
    return Quelle != Herkunft::Textdatei && SelbeDatei(ziel, Pfad);
}

QString TextNameFuer(const QString& dokument) {
    const QFileInfo info(dokument);
    return QDir::toNativeSeparators(
        info.absoluteDir().filePath(info.completeBaseName() + QStringLiteral(".TXT")));
}

bool SelbeDatei(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo ia(a), ib(b);
    if (ia.exists() && ib.exists())
        return ia.canonicalFilePath() == ib.canonicalFilePath();
    return QDir::cleanPath(ia.absoluteFilePath()) == QDir::cleanPath(ib.absoluteFilePath());
}

bool IstDokumentDatei(const QString& pfad) {
    static const QStringList endungen = {QStringLiteral("docx"), QStringLiteral("docm"),
                                         QStringLiteral("dotx"), QStringLiteral("odt"),
                                         QStringLiteral("ott")};
    if (endungen.contains(QFileInfo(pfad).suffix().toLower()))
        return true;
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return false;
    const QByteArray anfang = datei.read(4);
    return IstZip(std::string_view(anfang.constData(), std::size_t(anfang.size())));
}

bool ErsetzenErlaubt(Dialoge& dialoge, QWidget* eltern, const Geladen& geladen,
                     const QString& ziel) {
    const QString name = QFileInfo(ziel).fileName();
    if (QFileInfo::exists(ziel) && IstDokumentDatei(ziel)) {
        const QString text =
            QStringLiteral("\"%1\" ist ein Word- oder OpenDocument-Dokument. Wenn Sie es durch "
                           "den Text ersetzen, gehen seine Formatierung, Bilder und alles "
                           "andere außer dem Text verloren. Trotzdem ersetzen?")
                .arg(name);
        if (dialoge.JaNein(eltern, text) != Antwort::Ja)
            return false;
    }
    if (geladen.Nul && SelbeDatei(ziel, geladen.Pfad)) {
        const QString text =
            QStringLiteral("\"%1\" wurde nur bis zu einem NUL-Zeichen gelesen. Beim Speichern "
                           "gehen die restlichen %2 Bytes der Datei verloren. Trotzdem "
                           "speichern?")
                .arg(name,
                     QString::fromStdString(ZahlGruppieren(std::int64_t(geladen.Nul->RestBytes))));
        if (dialoge.JaNein(eltern, text) != Antwort::Ja)
            return false;
    }
    return true;
}

void NulMelden(Dialoge& dialoge, QWidget* eltern, const Geladen& geladen) {
    if (geladen.Nul)
        dialoge.Information(eltern, QString::fromStdString(NulMeldung(*geladen.Nul)));
}

} // namespace zw
