#include "platform/EineInstanz.h"

#include <QDir>
#include <QElapsedTimer>
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

// A request is one short line; more than this without a line end is not one.
constexpr qint64 kZeilenGrenze = 256;

QByteArray AnfrageText(InstanzAnfrage anfrage) {
    return anfrage == InstanzAnfrage::Zeigen ? QByteArrayLiteral("zeigen\n")
                                             : QByteArrayLiteral("beenden\n");
}

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
                            std::chrono::milliseconds frist) {
    const Frist zeit(frist);
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(zeit.Rest())) {
        switch (socket.error()) {
        case QLocalSocket::ServerNotFoundError:
        case QLocalSocket::ConnectionRefusedError:
            return SendeErgebnis::KeineInstanz;
        case QLocalSocket::SocketAccessError:
            // Not ours to talk to; the start goes on as the first.
            return SendeErgebnis::KeineInstanz;
        default:
            return SendeErgebnis::KeineAntwort;
        }
    }
    socket.write(AnfrageText(anfrage));
    while (socket.bytesToWrite() > 0 && !zeit.Um())
        if (!socket.waitForBytesWritten(zeit.Rest()))
            break;
    while (!socket.canReadLine() && !zeit.Um() && socket.state() == QLocalSocket::ConnectedState)
        if (!socket.waitForReadyRead(zeit.Rest()))
            break;
    const bool ok = socket.canReadLine() && socket.readLine().trimmed() == "ok";
    socket.abort();
    return ok ? SendeErgebnis::Angenommen : SendeErgebnis::KeineAntwort;
}

EineInstanz::EineInstanz(const QString& name, QObject* eltern) : QObject(eltern), name_(name) {}

EineInstanz::~EineInstanz() = default;

bool EineInstanz::Lauscht() const {
    return server_ && server_->isListening();
}

bool EineInstanz::Starten(std::chrono::milliseconds frist) {
    QLockFile sperre(SperrDatei(name_));
    // A lock older than this belongs to a start that hangs; one of a
    // process that has ended is taken over at once.
    sperre.setStaleLockTime(2s);
    const bool gesperrt = sperre.tryLock(frist.count());

    if (AnfrageSenden(name_, InstanzAnfrage::Zeigen, frist) != SendeErgebnis::KeineInstanz)
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
    const QByteArray zeile = verbindung->readLine(kZeilenGrenze).trimmed();
    void (EineInstanz::*signal)() = nullptr;
    if (zeile == "zeigen")
        signal = &EineInstanz::Zeigen;
    else if (zeile == "beenden")
        signal = &EineInstanz::Beenden;
    verbindung->write(signal ? QByteArrayLiteral("ok\n") : QByteArrayLiteral("unbekannt\n"));
    verbindung->flush();
    verbindung->disconnectFromServer();
    // Answered first, acted on afterwards: the close request may wait for the
    // user's answer to the save question, the sender must not.
    if (signal)
        QMetaObject::invokeMethod(
            this, [this, signal] { emit(this->*signal)(); }, Qt::QueuedConnection);
}

} // namespace zw
