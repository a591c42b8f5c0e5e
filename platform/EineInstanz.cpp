#include "platform/EineInstanz.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTimer>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace zw {

namespace {

using namespace std::chrono_literals;

// A request is one line; more than this without a line end is not one. A
// path of the longest length the systems allow, percent-encoded, fits.
constexpr qint64 kZeilenGrenze = 16384;

const QByteArray kOeffnen = QByteArrayLiteral("oeffnen ");

// Guards the check and the set-up of the socket against a start at the same
// moment: without it two starts could both find nothing, and the second would
// remove the first one's fresh socket as if it were left over.
QString SperrDatei(const QString& name) {
    if (QDir::isAbsolutePath(name))
        return name + QStringLiteral(".lock");
    return QDir::temp().filePath(name + QStringLiteral(".lock"));
}

class Frist {
public:
    explicit Frist(std::chrono::milliseconds dauer) : dauer_(dauer) { uhr_.start(); }
    // At least one millisecond: Qt's waits treat 0 as "do not wait at all"
    // and -1 as "forever".
    int Rest() const { return int(qMax<qint64>(1, dauer_.count() - uhr_.elapsed())); }
    bool Um() const { return uhr_.elapsed() >= dauer_.count(); }

private:
    std::chrono::milliseconds dauer_;
    QElapsedTimer uhr_;
};

} // namespace

QByteArray AnfrageZeile(InstanzAnfrage anfrage, const QString& datei) {
    switch (anfrage) {
    case InstanzAnfrage::Zeigen:
        return QByteArrayLiteral("zeigen\n");
    case InstanzAnfrage::Beenden:
        return QByteArrayLiteral("beenden\n");
    case InstanzAnfrage::Oeffnen:
        break;
    }
    // The bytes the system names the file with, so any name survives.
    return kOeffnen + QFile::encodeName(datei).toPercentEncoding("/") + '\n';
}

bool AnfrageLesen(const QByteArray& zeile, InstanzAnfrage& anfrage, QString& datei) {
    const QByteArray z = zeile.trimmed();
    datei.clear();
    if (z == "zeigen") {
        anfrage = InstanzAnfrage::Zeigen;
        return true;
    }
    if (z == "beenden") {
        anfrage = InstanzAnfrage::Beenden;
        return true;
    }
    if (z.startsWith(kOeffnen)) {
        datei = QFile::decodeName(QByteArray::fromPercentEncoding(z.mid(kOeffnen.size())));
        anfrage = InstanzAnfrage::Oeffnen;
        // Only a full path: the running instance has a folder of its own.
        return QDir::isAbsolutePath(datei);
    }
    return false;
}

QString InstanzName(const QString& programmTitel) {
#ifdef Q_OS_WIN
    // A named pipe; access is limited to the user when it is created.
    return programmTitel + u'-' + qEnvironmentVariable("USERNAME");
#else
    const QString datei = programmTitel + u'-' + QString::number(::getuid());
    // The runtime folder belongs to the user alone, so no one else can put
    // a socket of that name in the way. Qt's own lookup of it would warn
    // on every start of the command-line tool where there is none.
    const QString laufzeit = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QFileInfo ordner(laufzeit);
    if (!laufzeit.isEmpty() && ordner.isDir() && ordner.ownerId() == ::getuid())
        return QDir(laufzeit).filePath(datei);
    return QDir::temp().filePath(datei);
#endif
}

SendeErgebnis AnfrageSenden(const QString& name, InstanzAnfrage anfrage,
                            std::chrono::milliseconds frist, const QString& datei) {
    const Frist zeit(frist);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(zeit.Rest())) {
        // Nobody listens, or a socket that is not ours to talk to: the start
        // goes on as the first.
        const QLocalSocket::LocalSocketError fehler = socket.error();
        const bool keine = fehler == QLocalSocket::ServerNotFoundError ||
                           fehler == QLocalSocket::ConnectionRefusedError ||
                           fehler == QLocalSocket::SocketAccessError;
        return keine ? SendeErgebnis::KeineInstanz : SendeErgebnis::KeineAntwort;
    }
    socket.write(AnfrageZeile(anfrage, datei));
    while (socket.bytesToWrite() > 0 && !zeit.Um())
        if (!socket.waitForBytesWritten(zeit.Rest()))
            break;
    while (!socket.canReadLine() && !zeit.Um() && socket.state() == QLocalSocket::ConnectedState)
        if (!socket.waitForReadyRead(zeit.Rest()))
            break;
    const QByteArray antwort = socket.canReadLine() ? socket.readLine().trimmed() : QByteArray();
    socket.abort();
    if (antwort == "ok")
        return SendeErgebnis::Angenommen;
    return antwort == "unbekannt" ? SendeErgebnis::Unbekannt : SendeErgebnis::KeineAntwort;
}

EineInstanz::EineInstanz(const QString& name, QObject* eltern) : QObject(eltern), name_(name) {}

EineInstanz::~EineInstanz() = default;

bool EineInstanz::Lauscht() const {
    return server_ && server_->isListening();
}

bool EineInstanz::Starten(std::chrono::milliseconds frist, const QString& datei) {
    QLockFile sperre(SperrDatei(name_));
    // A lock older than this belongs to a start that hangs; one of a
    // process that has ended is taken over at once.
    sperre.setStaleLockTime(2s);
    const bool gesperrt = sperre.tryLock(frist.count());

    SendeErgebnis ergebnis = datei.isEmpty()
                                 ? AnfrageSenden(name_, InstanzAnfrage::Zeigen, frist)
                                 : AnfrageSenden(name_, InstanzAnfrage::Oeffnen, frist, datei);
    // An instance that does not know the file request still comes to the front.
    if (ergebnis == SendeErgebnis::Unbekannt)
        ergebnis = AnfrageSenden(name_, InstanzAnfrage::Zeigen, frist);
    if (ergebnis != SendeErgebnis::KeineInstanz)
        return false;

    // A socket that refuses the connection was left by a run that crashed.
    QLocalServer::removeServer(name_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(name_)) {
        connect(server_, &QLocalServer::newConnection, this, &EineInstanz::Verbindung);
    } else {
        delete server_;
        server_ = nullptr;
    }
    if (gesperrt)
        sperre.unlock();
    return true;
}

void EineInstanz::Verbindung() {
    while (QLocalSocket* verbindung = server_->nextPendingConnection()) {
        connect(verbindung, &QLocalSocket::disconnected, verbindung, &QObject::deleteLater);
        connect(verbindung, &QLocalSocket::readyRead, this,
                [this, verbindung] { Lesen(verbindung); });
        // A client that connects and says nothing is not kept.
        QTimer::singleShot(5s, verbindung, [verbindung] { verbindung->abort(); });
        Lesen(verbindung);
    }
}

void EineInstanz::Lesen(QLocalSocket* verbindung) {
    if (!verbindung->canReadLine()) {
        if (verbindung->bytesAvailable() > kZeilenGrenze)
            verbindung->abort();
        return;
    }
    InstanzAnfrage anfrage{};
    QString datei;
    const bool bekannt = AnfrageLesen(verbindung->readLine(kZeilenGrenze + 1), anfrage, datei);
    verbindung->write(bekannt ? QByteArrayLiteral("ok\n") : QByteArrayLiteral("unbekannt\n"));
    verbindung->flush();
    verbindung->disconnectFromServer();
    // Answered first, acted on afterwards: the close request and the file
    // may wait for the user's answer to the save question, the sender must not.
    if (bekannt)
        QMetaObject::invokeMethod(
            this,
            [this, anfrage, datei] {
                switch (anfrage) {
                case InstanzAnfrage::Zeigen:
                    emit Zeigen();
                    break;
                case InstanzAnfrage::Beenden:
                    emit Beenden();
                    break;
                case InstanzAnfrage::Oeffnen:
                    emit Oeffnen(datei);
                    break;
                }
            },
            Qt::QueuedConnection);
}

} // namespace zw
