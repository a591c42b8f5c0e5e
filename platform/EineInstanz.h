#pragma once
// One running instance per user: the first start listens on a local socket
// that only its user can reach, a later start hands its request to it over
// that socket and ends. The protocol is in docs/einzelinstanz.md, so that
// other programs (an updater, zeichenwandler-cli) can send the close request.

#include <QObject>
#include <QString>

#include <chrono>

class QLocalServer;
class QLocalSocket;

namespace zw {

enum class InstanzAnfrage { Zeigen, Beenden, Oeffnen };

// The socket's name: the program title and the user, in the user's own
// runtime folder where there is one.
QString InstanzName(const QString& programmTitel);

enum class SendeErgebnis {
    KeineInstanz, // nothing listens, or only a socket left by a crashed run
    Angenommen,   // the running instance confirmed the request
    KeineAntwort, // something listens but did not confirm in time
    Unbekannt,    // the running instance does not know the request (an older one)
};

// Sends one request and waits at most `frist` in all. Never blocks longer,
// whatever the other end does. `datei` is the absolute path that Oeffnen
// hands over; the other requests take none.
SendeErgebnis AnfrageSenden(const QString& name, InstanzAnfrage anfrage,
                            std::chrono::milliseconds frist, const QString& datei = QString());

// The line of a request, and the request and file of a line (false for a
// line that is none). A path goes percent-encoded, so any file name fits in
// one ASCII line.
QByteArray AnfrageZeile(InstanzAnfrage anfrage, const QString& datei = QString());
bool AnfrageLesen(const QByteArray& zeile, InstanzAnfrage& anfrage, QString& datei);

// The single-instance check at start, and the server of the first instance.
class EineInstanz : public QObject {
    Q_OBJECT
public:
    explicit EineInstanz(const QString& name, QObject* eltern = nullptr);
    ~EineInstanz() override;

    // True when this process is the first instance; it then receives the
    // requests of later starts. False when another instance runs: it has
    // been asked to come to the front (or did not answer in time), and
    // this process should end without showing anything.
    // With a file, a running instance is asked to open it (and so to come to
    // the front); one too old for that is asked to come to the front.
    bool Starten(std::chrono::milliseconds frist = std::chrono::milliseconds(250),
                 const QString& datei = QString());

    // Whether the socket could be set up; a first instance without it still
    // runs, it just cannot be reached.
    bool Lauscht() const;

    const QString& Name() const { return name_; }

signals:
    // A later start asks the running instance to come to the front.
    void Zeigen();
    // Another program asks the running instance to close as if the user
    // chose Datei > Beenden.
    void Beenden();
    // A later start with a file asks the running instance to come to the
    // front and open it; the path is absolute.
    void Oeffnen(const QString& datei);

private:
    void Verbindung();
    void Lesen(QLocalSocket* verbindung);

    QString name_;
    QLocalServer* server_ = nullptr;
};

} // namespace zw
