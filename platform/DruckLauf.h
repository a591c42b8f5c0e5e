#pragma once
// A copy written by the event loop: each step runs when the port can take
// more (a socket notifier, on Windows an event notifier) or when its time is
// up, so the window stays responsive however long the copy takes.

#include "platform/Druckausgabe.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QSocketNotifier;
#ifdef _WIN32
class QWinEventNotifier;
#endif

namespace zw {

class DruckLauf : public QObject {
    Q_OBJECT
public:
    // Called after every step with the bytes taken so far.
    std::function<void(std::size_t gesendet, std::size_t groesse)> Fortschritt;
    // Called once, when the copy has ended (whole, failed or ended).
    std::function<void(const DruckErgebnis&)> Fertig;

    explicit DruckLauf(QObject* eltern = nullptr);
    ~DruckLauf() override;

    // Starts a copy; the first step runs from the event loop.
    void Starten(const std::string& port, std::string bytes,
                 std::chrono::milliseconds stockLimit = DruckZeitLimit);
    // Ends the running copy at once; Fertig is called with DruckFehler::Beendet.
    void Beenden();
    bool Laeuft() const { return kopie_ && kopie_->Laeuft(); }
    const DruckKopie* Kopie() const { return kopie_.get(); }

private:
    void Schritt();
    void WartenAufraeumen();
    void Ende();

    std::unique_ptr<DruckKopie> kopie_;
    QTimer zeit_;
    std::unique_ptr<QSocketNotifier> notifier_;
#ifdef _WIN32
    std::unique_ptr<QWinEventNotifier> ereignis_;
#endif
};

} // namespace zw
