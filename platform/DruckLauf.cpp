#include "platform/DruckLauf.h"

#include <QSocketNotifier>
#ifdef _WIN32
#include <QWinEventNotifier>
#endif

namespace zw {

DruckLauf::DruckLauf(QObject* eltern) : QObject(eltern) {
    zeit_.setSingleShot(true);
    connect(&zeit_, &QTimer::timeout, this, [this] { Schritt(); });
}

DruckLauf::~DruckLauf() {
    WartenAufraeumen();
}

void DruckLauf::Starten(const std::string& port, std::string bytes,
                        std::chrono::milliseconds stockLimit) {
    WartenAufraeumen();
    kopie_ = std::make_unique<DruckKopie>(port, std::move(bytes), stockLimit);
    zeit_.start(0);
}

void DruckLauf::Beenden() {
    if (!Laeuft())
        return;
    WartenAufraeumen();
    kopie_->Beenden();
    Ende();
}

void DruckLauf::WartenAufraeumen() {
    zeit_.stop();
    // A notifier is dropped later: this may run inside its own signal.
    if (notifier_) {
        notifier_->setEnabled(false);
        notifier_.release()->deleteLater();
    }
#ifdef _WIN32
    if (ereignis_) {
        ereignis_->setEnabled(false);
        ereignis_.release()->deleteLater();
    }
#endif
}

void DruckLauf::Ende() {
    if (Fortschritt)
        Fortschritt(kopie_->Gesendet(), kopie_->Groesse());
    if (Fertig)
        Fertig(kopie_->Ergebnis());
}

void DruckLauf::Schritt() {
    WartenAufraeumen();
    if (!kopie_ || !kopie_->Laeuft())
        return;
    if (!kopie_->Weiter()) {
        Ende();
        return;
    }
    if (Fortschritt)
        Fortschritt(kopie_->Gesendet(), kopie_->Groesse());
    // The callback may have ended the copy.
    if (!kopie_->Laeuft())
        return;
    const DruckWarten w = kopie_->Warten();
    switch (w.Worauf) {
    case DruckWarten::Art::Schreibbar:
    case DruckWarten::Art::Lesbar:
        notifier_ = std::make_unique<QSocketNotifier>(
            qintptr(w.Griff),
            w.Worauf == DruckWarten::Art::Lesbar ? QSocketNotifier::Read : QSocketNotifier::Write);
        connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Schritt(); });
        break;
    case DruckWarten::Art::Ereignis:
#ifdef _WIN32
        ereignis_ = std::make_unique<QWinEventNotifier>(reinterpret_cast<Qt::HANDLE>(w.Griff));
        connect(ereignis_.get(), &QWinEventNotifier::activated, this, [this] { Schritt(); });
#endif
        break;
    case DruckWarten::Art::Nichts:
        break;
    }
    // Also when the port stays silent: the stall limit is checked by the
    // next step.
    zeit_.start(int(std::max<long long>(w.Hoechstens.count(), 0)));
}

} // namespace zw
